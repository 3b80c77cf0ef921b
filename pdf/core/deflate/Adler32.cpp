#include "pdf/core/deflate/Adler32.h"

#include <algorithm>

namespace tavlo::deflate {

std::uint32_t Adler32(const std::uint8_t* data, std::size_t length)
{
    constexpr std::uint32_t kModulus = 65521;
    constexpr std::size_t kChunk = 5552;  // largest run before the sums can overflow
    std::uint32_t a = 1, b = 0;
    while (length > 0) {
        const std::size_t n = std::min(length, kChunk);
        std::size_t i = 0;
        // Eight bytes a step: b gains 8 a and the bytes weighted by how many sums they enter,
        // so that the adds of one step do not wait for each other.
        for (; i + 8 <= n; i += 8) {
            const std::uint8_t* d = data + i;
            b += 8 * a + 8u * d[0] + 7u * d[1] + 6u * d[2] + 5u * d[3] + 4u * d[4] + 3u * d[5] + 2u * d[6] + d[7];
            a += std::uint32_t(d[0]) + d[1] + d[2] + d[3] + d[4] + d[5] + d[6] + d[7];
        }
        for (; i < n; ++i) {
            a += data[i];
            b += a;
        }
        a %= kModulus;
        b %= kModulus;
        data += n;
        length -= n;
    }
    return (b << 16) | a;
}

} // namespace tavlo::deflate
