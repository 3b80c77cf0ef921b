// Huffman code construction, length limiting and the run-length coding of code lengths.

#include "pdf/core/deflate/CodeLengthRuns.h"
#include "pdf/core/deflate/HuffmanCode.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tavlo;
using namespace tavlo::deflate;

namespace {

// Sum of 2^-length over the used symbols, scaled by 2^maxBits: 2^maxBits for a complete code.
std::uint64_t KraftSum(const std::vector<HuffmanCode>& table, int maxBits)
{
    std::uint64_t sum = 0;
    for (const auto& c : table)
        if (c.length > 0)
            sum += std::uint64_t(1) << (maxBits - c.length);
    return sum;
}

bool PrefixFree(const std::vector<HuffmanCode>& table)
{
    for (std::size_t a = 0; a < table.size(); ++a)
        for (std::size_t b = 0; b < table.size(); ++b) {
            if (a == b || table[a].length == 0 || table[b].length == 0 || table[a].length > table[b].length)
                continue;
            if ((table[b].code >> (table[b].length - table[a].length)) == table[a].code)
                return false;
        }
    return true;
}

} // namespace

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

TEST(Huffman, NoSymbolAndSingleSymbol)
{
    std::vector<HuffmanCode> table(5, HuffmanCode{7, 99});
    const std::uint32_t none[5] = {};
    EXPECT_EQ(BuildHuffmanTree(table, none, 4, 15), -1);
    EXPECT_EQ(table[0].length, 7);  // untouched
    const std::uint32_t single[5] = {5, 0, 0, 9, 0};
    const std::uint32_t one[5] = {0, 0, 0, 9, 0};
    EXPECT_EQ(BuildHuffmanTree(table, one, 4, 15), 0);
    EXPECT_EQ(table[0].length, 1);  // the lowest unused symbol becomes the partner
    EXPECT_EQ(table[3].length, 1);
    EXPECT_EQ(table[1].length + table[2].length + table[4].length, 0);
    EXPECT_EQ(BuildHuffmanTree(table, single, 4, 15), 0);
    EXPECT_EQ(table[0].length, 1);
    EXPECT_EQ(table[3].length, 1);
}

TEST(Huffman, DeepTreesAreLimitedToACompleteCode)
{
    // Fibonacci counts make the deepest possible trees, far beyond the limit plus five.
    for (const auto& [symbols, maxBits] : {std::pair{19, 7}, std::pair{30, 15}, std::pair{45, 15}, std::pair{288, 15}}) {
        std::vector<std::uint32_t> counts(static_cast<std::size_t>(symbols));
        std::uint64_t a = 1, b = 1;
        for (int s = 0; s < symbols; ++s) {
            counts[static_cast<std::size_t>(s)] = static_cast<std::uint32_t>(std::min<std::uint64_t>(a, 0xFFFFFFFF / 64));
            const std::uint64_t next = a + b;
            a = b;
            b = next;
        }
        std::vector<HuffmanCode> table(static_cast<std::size_t>(symbols));
        ASSERT_EQ(BuildHuffmanTree(table, counts.data(), symbols - 1, maxBits), 0);
        for (const auto& c : table) {
            EXPECT_GE(c.length, 1);
            EXPECT_LE(c.length, maxBits);
        }
        EXPECT_EQ(KraftSum(table, maxBits), std::uint64_t(1) << maxBits) << symbols;
        EXPECT_TRUE(PrefixFree(table));
        // The rarest symbol never gets a shorter code than the most frequent one.
        EXPECT_GE(table[0].length, table[static_cast<std::size_t>(symbols - 1)].length);
    }
}

TEST(Huffman, OptimalLengthsForASmallExample)
{
    // Weights 1, 1, 2, 4: the classic chain gives lengths 3, 3, 2, 1.
    const std::uint32_t counts[] = {1, 1, 2, 4};
    std::vector<HuffmanCode> table(4);
    ASSERT_EQ(BuildHuffmanTree(table, counts, 3, 15), 0);
    EXPECT_EQ(table[0].length, 3);
    EXPECT_EQ(table[1].length, 3);
    EXPECT_EQ(table[2].length, 2);
    EXPECT_EQ(table[3].length, 1);
}

TEST(CodeLengthRuns, RunsUseSymbols16To18)
{
    auto scan = [](const std::vector<int>& lengths) {
        std::vector<HuffmanCode> table;
        for (int l : lengths)
            table.push_back(HuffmanCode{static_cast<std::int16_t>(l), 0});
        std::vector<std::uint32_t> counters(19, 0);
        ScanCodeLengths(table, static_cast<int>(table.size()) - 1, counters.data());
        return counters;
    };
    // 11 zeros then a length: symbol 18 for the zeros.
    auto c = scan({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5});
    EXPECT_EQ(c[18], 1u);
    EXPECT_EQ(c[5], 1u);
    // 3 to 10 zeros: symbol 17.
    c = scan({4, 0, 0, 0, 0, 4});
    EXPECT_EQ(c[17], 1u);
    EXPECT_EQ(c[4], 2u);
    // A repeated non-zero length: one explicit copy, then symbol 16.
    c = scan({6, 6, 6, 6, 6});
    EXPECT_EQ(c[6], 1u);
    EXPECT_EQ(c[16], 1u);
    // Two zeros are too short for a run.
    c = scan({3, 0, 0, 3});
    EXPECT_EQ(c[0], 2u);
    EXPECT_EQ(c[3], 2u);
    // Trailing zeros are not coded at all.
    c = scan({2, 2, 0, 0, 0, 0});
    EXPECT_EQ(c[2], 2u);
    EXPECT_EQ(c[17], 0u);
}

TEST(BitWriter, BitsWaitForAWholeByte)
{
    Bytes out;
    BitWriter bits(out);
    bits.PutBits(0b10110, 5);
    EXPECT_TRUE(out.empty());
    bits.PutBits(0b101, 3);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], 0b10110110);
    bits.ReverseBits(0b110, 3);  // most significant first: 0, 1, 1 from the low end
    bits.Flush();
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1], 0b011);
}
