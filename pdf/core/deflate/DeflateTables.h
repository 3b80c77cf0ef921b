#pragma once
// Length and distance codes of RFC 1951 and the encoder's level table.

#include <array>
#include <cstdint>

namespace tavlo::deflate {

extern const std::array<std::int32_t, 32> LengthBase;
extern const std::array<std::int32_t, 32> LengthExtraBits;
extern const std::array<std::int32_t, 32> DistanceBase;
extern const std::array<std::int32_t, 32> DistanceExtraBits;
extern const std::array<int, 19> CodeLengthOrder;

// The largest code whose base is not above the value (length 3..258, distance 1..32767).
int LengthCode(int length);
int DistanceCode(int distance);

struct DeflateLevel {
    int firstWalkStop;
    int secondWalkStop;
    int lookaheadStop;
    int maxChain;
};

// Rows 0..5; a higher level raises the subscript-out-of-range error.
const DeflateLevel& DeflateLevelRow(int level);

constexpr int kWindow = 32767;        // farthest distance
constexpr int kMaxMatch = 258;
constexpr int kFarShortMatch = 4096;  // a 3-byte match farther than this is not worth it
constexpr int kStoredBlockLimit = 65535;

} // namespace tavlo::deflate
