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
extern const std::array<std::uint8_t, 259>& LengthCodes;
extern const std::array<std::uint8_t, 32769>& DistanceCodes;
inline int LengthCode(int length)
{
    return LengthCodes[std::size_t(length)];
}
inline int DistanceCode(int distance)
{
    return DistanceCodes[std::size_t(distance)];
}

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
