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
        for (std::size_t i = 0; i < n; ++i) {
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
