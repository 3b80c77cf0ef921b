// The Flate encoder: every output inflated by zlib (random sizes and alphabets, skewed ones
// that force length limiting, stored blocks at their size limit), and the fast match index
// against the literal trie.

#include "pdf/ErrorRaised.h"
#include "pdf/LiteralMatchTrie.h"
#include "support/pdf/tools.h"
#include "pdf/core/TavloError.h"
#include "pdf/core/deflate/FlateEncoder.h"
#include "pdf/core/deflate/HuffmanCode.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <cmath>
#include <random>

using namespace tavlo;
using namespace tavlo::deflate;
using namespace tavlo::test;

namespace {

// zlib's verdict on our stream: the inflated bytes, or an error text.
std::string Inflate(const Bytes& stream, std::size_t expectedSize, bool* ok)
{
    std::string out(expectedSize + 1, '\0');
    uLongf size = static_cast<uLongf>(out.size());
    const int rc = uncompress(reinterpret_cast<Bytef*>(out.data()), &size, stream.data(), stream.size());
    *ok = rc == Z_OK;
    out.resize(*ok ? size : 0);
    return out;
}

void ExpectRoundTrip(const Bytes& data, int level)
{
    FlateWorkspace workspace;
    const Bytes stream = FlateEncode(data.data(), data.size(), level, workspace);
    ASSERT_GE(stream.size(), 6u);
    EXPECT_EQ(stream[0], 0x78);
    EXPECT_EQ(stream[1], 0x5E);
    bool ok = false;
    const std::string inflated = Inflate(stream, data.size(), &ok);
    ASSERT_TRUE(ok) << "zlib refused the stream of " << data.size() << " bytes at level " << level;
    EXPECT_TRUE(inflated == TextOf(data)) << data.size() << " bytes at level " << level;
}

// Bytes with a geometric distribution: byte k appears about twice as often as byte k + 1,
// so the Huffman tree is deep and must be limited.
Bytes Skewed(std::size_t count, std::uint32_t seed, int symbols)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Bytes out(count);
    for (auto& b : out) {
        int k = static_cast<int>(-std::log2(1.0 - unit(random)));
        b = static_cast<std::uint8_t>(std::min(k, symbols - 1) * 7 % 256);
    }
    return out;
}

Bytes Text(std::size_t count, std::uint32_t seed)
{
    static const char* words[] = {"fattura ", "imponibile ", "aliquota ", "cessionario ", "1234,56 ", "IVA ",
                                  "\r\n", "0 0 m 10 20 l S ", "BT /F1 12 Tf ", "(Rossi) Tj ", "ET "};
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, 10);
    std::string text;
    while (text.size() < count)
        text += words[pick(random)];
    text.resize(count);
    return BytesOf(text);
}

DeflateTokens ParseWith(LiteralMatchTrie& trie, const Bytes& data, int level)
{
    DeflateTokens tokens;
    ParseDeflate(data.data(), static_cast<std::int32_t>(data.size()), DeflateLevelRow(level), trie, tokens);
    return tokens;
}

} // namespace

TEST(Flate, FastIndexGivesTheSameTokensAsTheLiteralTrie)
{
    FlateWorkspace workspace;  // reused across inputs: its tables are never cleared
    MatchIndex crowded(6);     // 64 buckets: nearly every walk passes other prefixes
    DeflateTokens crowdedTokens;
    LiteralMatchTrie trie;
    int cases = 0;
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        const std::vector<Bytes> inputs = {
            RandomBytes(5000 + seed * 977, seed, 4),    // many repeats, long chains
            RandomBytes(3000, seed + 100, 2),           // chains longer than MaxChain
            RandomBytes(70000, seed + 200, 16),         // distances across the 32 K window
            Text(60000, seed),
            Bytes(1000 + seed * 3, static_cast<std::uint8_t>(seed)),  // one long run
            RandomBytes(2000, seed + 300),
        };
        for (const Bytes& data : inputs) {
            for (int level = 0; level <= 5; ++level) {
                const DeflateTokens expected = ParseWith(trie, data, level);
                ParseDeflate(data.data(), static_cast<std::int32_t>(data.size()), DeflateLevelRow(level),
                             workspace.index, workspace.tokens);
                ASSERT_TRUE(workspace.tokens.stream == expected.stream)
                    << "seed " << seed << ", " << data.size() << " bytes, level " << level;
                ASSERT_EQ(workspace.tokens.litLenFreq, expected.litLenFreq);
                ASSERT_EQ(workspace.tokens.distFreq, expected.distFreq);
                ParseDeflate(data.data(), static_cast<std::int32_t>(data.size()), DeflateLevelRow(level), crowded,
                             crowdedTokens);
                ASSERT_TRUE(crowdedTokens.stream == expected.stream) << "crowded, seed " << seed << ", level " << level;
                ++cases;
            }
        }
    }
    EXPECT_EQ(cases, 6 * 6 * 6);
}

TEST(Flate, ZlibInflatesRandomSizesAndAlphabets)
{
    std::mt19937 random(1950);
    std::uniform_int_distribution<int> sizeExponent(0, 20);
    for (int i = 0; i < 40; ++i) {
        const std::size_t size = std::size_t(1) << sizeExponent(random);
        const std::size_t count = std::uniform_int_distribution<std::size_t>(0, size)(random);
        const int alphabet = std::array{2, 3, 16, 64, 256}[static_cast<std::size_t>(i % 5)];
        ExpectRoundTrip(RandomBytes(count, static_cast<std::uint32_t>(i), alphabet), i % 6);
    }
    ExpectRoundTrip(RandomBytes(1 << 20, 42, 256), 2);
    ExpectRoundTrip(Text(1 << 20, 42), 3);
}

TEST(Flate, SkewedAlphabetsForceLengthLimiting)
{
    for (int symbols : {20, 30, 40}) {
        const Bytes data = Skewed(300000, static_cast<std::uint32_t>(symbols), symbols);
        FlateWorkspace workspace;
        ParseDeflate(data.data(), static_cast<std::int32_t>(data.size()), DeflateLevelRow(0), workspace.index,
                     workspace.tokens);
        // Without a limit the literal/length tree would be deeper than 15 bits.
        std::array<HuffmanCode, 288> unlimited;
        ASSERT_EQ(BuildHuffmanTree(unlimited, workspace.tokens.litLenFreq.data(), 287, 200), 0);
        int deepest = 0;
        for (const auto& c : unlimited)
            deepest = std::max<int>(deepest, c.length);
        EXPECT_GT(deepest, 15) << symbols;
        BlockChoice choice;
        const Bytes stream = WriteFlateStream(data.data(), static_cast<std::int32_t>(data.size()), workspace.tokens,
                                              &choice);
        EXPECT_EQ(choice.kind, BlockKind::Dynamic);
        bool ok = false;
        EXPECT_TRUE(Inflate(stream, data.size(), &ok) == TextOf(data));
        EXPECT_TRUE(ok) << symbols;
        for (int level = 1; level <= 5; level += 2)
            ExpectRoundTrip(data, level);
    }
}

TEST(Flate, StoredBlocksHoldAtMost65535Bytes)
{
    for (std::size_t size : {65534u, 65535u, 65536u, 65537u, 131070u, 131071u, 200000u}) {
        const Bytes data = RandomBytes(size, static_cast<std::uint32_t>(size));
        const Bytes stream = FlateEncode(data, 2);
        const std::size_t blocks = (size + 65534) / 65535;
        ASSERT_EQ(stream.size(), 2 + size + 5 * blocks + 4) << size;
        EXPECT_EQ(stream[2], blocks == 1 ? 1 : 0) << "final flag only on the last block";
        bool ok = false;
        EXPECT_TRUE(Inflate(stream, size, &ok) == TextOf(data));
        EXPECT_TRUE(ok) << size;
    }
}

TEST(Flate, LevelAboveFiveIsRefusedBeforeAnyOutput)
{
    EXPECT_EQ(ErrorRaised([] { FlateEncode(BytesOf("abc"), 6); }), 9);
}

TEST(Flate, OutputsOfFixedInputsStayByteForByteTheSame)
{
    // CRC-32 and size of each stream as the encoder wrote it when these were recorded: a
    // faster way of computing the same parse and trees must not change a single byte.
    const std::vector<Bytes> inputs = {Text(200000, 7), RandomBytes(120000, 3, 4), Skewed(300000, 30, 30),
                                       RandomBytes(40000, 5, 24)};
    const char* expected[][6] = {
        {"de50517b/28207", "502ae64e/22805", "f4739f9b/21988", "7fa4b050/18954", "a92a3dad/18501", "a92a3dad/18501"},
        {"9ae29463/38799", "b52bc4e0/36174", "f8afbaa0/35448", "c04d5188/35500", "6ec5a5ff/35412", "6ec5a5ff/35412"},
        {"97507ca4/104817", "5c2dd5b7/100099", "25f0ba52/96984", "9ea152ec/95592", "8d663f22/93457", "305d36b0/92851"},
        {"25ca75e7/25101", "e243f8f7/25102", "e243f8f7/25102", "e243f8f7/25102", "e243f8f7/25102", "e243f8f7/25102"},
    };
    FlateWorkspace workspace;
    for (std::size_t i = 0; i < inputs.size(); ++i)
        for (int level = 0; level <= 5; ++level) {
            const Bytes stream = FlateEncode(inputs[i].data(), inputs[i].size(), level, workspace);
            char got[32];
            std::snprintf(got, sizeof got, "%08lx/%zu", crc32(0, stream.data(), static_cast<uInt>(stream.size())),
                          stream.size());
            EXPECT_STREQ(got, expected[i][level]) << "input " << i << ", level " << level;
        }
}
