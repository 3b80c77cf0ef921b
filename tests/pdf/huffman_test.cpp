// Canonical Huffman codes against RFC 1951's own example. Tree building, length limiting and
// the run-length coding of code lengths are checked by zlib inflating every stream the
// encoder writes (flate_test), skewed alphabets included.

#include "pdf/core/deflate/HuffmanCode.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tavlo;
using namespace tavlo::deflate;

TEST(Huffman, CanonicalCodesOfRfc1951Example)
{
    // RFC 1951, 3.2.2: lengths (3, 3, 3, 3, 3, 2, 4, 4) for A..H.
    const int lengths[] = {3, 3, 3, 3, 3, 2, 4, 4};
    std::vector<HuffmanCode> table(8);
    EXPECT_EQ(AssignHuffmanCodes(table, lengths, 7), 0);
    const std::uint32_t expected[] = {0b010, 0b011, 0b100, 0b101, 0b110, 0b00, 0b1110, 0b1111};
    for (int s = 0; s < 8; ++s)
        EXPECT_EQ(table[s].code, expected[s]) << s;
    const int overfull[] = {1, 1, 1};
    std::vector<HuffmanCode> small(3);
    EXPECT_LT(AssignHuffmanCodes(small, overfull, 2), 0);
}
