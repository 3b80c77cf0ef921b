#include "pdf/core/deflate/Adler32.h"

#include <algorithm>

namespace tavlo::deflate {

std::uint32_t Adler32(const std::uint8_t* data, std::size_t length)
{
    constexpr std::uint64_t kModulus = 65521;
    // Sixteen columns summed side by side, which the compiler turns into vector adds. A byte
    // of a block of n enters b n - j times (j its place): once for each later row through
    // `before` (sixteen places a row) and once for each place from its own to the row's end.
    // 4096 rows keep `before` within 32 bits.
    constexpr std::size_t kColumns = 16, kRows = 4096;
    std::uint64_t a = 1, b = 0;
    while (length >= kColumns) {
        const std::size_t rows = std::min(length / kColumns, kRows);
        std::uint32_t sums[kColumns] = {}, before[kColumns] = {};
        for (std::size_t r = 0; r < rows; ++r, data += kColumns)
            for (std::size_t k = 0; k < kColumns; ++k) {
                before[k] += sums[k];
                sums[k] += data[k];
            }
        const std::uint64_t n = rows * kColumns;
        std::uint64_t total = 0, weighted = 0;
        for (std::size_t k = 0; k < kColumns; ++k) {
            total += sums[k];
            weighted += kColumns * std::uint64_t(before[k]) + (kColumns - k) * std::uint64_t(sums[k]);
        }
        b = (b + n * a + weighted) % kModulus;
        a = (a + total) % kModulus;
        length -= n;
    }
    for (; length > 0; --length) {
        a += *data++;
        b += a;
    }
    return std::uint32_t((b % kModulus) << 16 | a % kModulus);
}

} // namespace tavlo::deflate
