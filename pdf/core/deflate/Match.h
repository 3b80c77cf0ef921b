#pragma once
#include "pdf/core/deflate/DeflateTables.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace tavlo::deflate {

// The best earlier occurrence found for a position. Its length is always all that the
// occurrence has in common with the position, up to MatchLimit.
struct Match {
    std::int32_t length = 2;  // below 3: no match
    std::int32_t position = 0;
};

// How far a match at p may reach in an input of length bytes: kMaxMatch bytes, and never
// its last byte.
inline int MatchLimit(std::int32_t p, std::int32_t length)
{
    return length - 1 - p < kMaxMatch ? length - 1 - p : kMaxMatch;
}

// How many bytes a and b have in common, the first `known` of them known equal, up to limit.
inline int CommonLength(const std::uint8_t* a, const std::uint8_t* b, int known, int limit)
{
    int k = known;
    while (k + 8 <= limit) {
        std::uint64_t x, y;
        std::memcpy(&x, a + k, 8);
        std::memcpy(&y, b + k, 8);
        if (x != y) {
            if constexpr (std::endian::native == std::endian::little)
                return k + (__builtin_ctzll(x ^ y) >> 3);
            break;
        }
        k += 8;
    }
    while (k < limit && a[k] == b[k])
        ++k;
    return k;
}

} // namespace tavlo::deflate
