// The Flate encoder and the inflate decoder against zlib. Every stream the encoder writes is
// inflated by zlib (random sizes and alphabets, skewed ones that force length limiting,
// stored blocks at their size limit), and the bytes it writes for fixed inputs are pinned by
// their CRC-32. Every stream zlib's compress2 and deflate write, and every stream of our own
// encoder, decodes to the bytes it was made from; hand-built streams (deflate_streams.py) reach the
// corners zlib never writes; damaged streams (random mutations, every shortening) raise
// TavloError and never decode to anything zlib would not.

#include "pdf/error_raised.h"
#include "pdf/tavlo_test_peer.h"
#include "pdf/core/deflate/FlateEncoder.h"
#include "pdf/core/deflate/HuffmanCode.h"
#include "pdf/media/Inflate.h"
#include "support/pdf/golden_files.h"
#include "support/pdf/tools.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <random>
#include <sstream>

using namespace tavlo;
using namespace tavlo::deflate;
using namespace tavlo::test;

namespace {

// A zlib stream of data at the level and strategy, without its two-byte header.
Bytes ZlibDeflate(const Bytes& data, int level, int strategy)
{
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, 15, 8, strategy), Z_OK);
    Bytes out(deflateBound(&z, data.size()) + 16);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(::deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return Bytes(out.begin() + 2, out.end());
}

// zlib's reading of raw deflate data: the bytes when the final block ends, nothing when it
// finds the data damaged or short.
std::optional<Bytes> ZlibInflate(const Bytes& raw)
{
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK)
        return std::nullopt;
    Bytes out, chunk(65536);
    z.next_in = const_cast<Bytef*>(raw.data());
    z.avail_in = static_cast<uInt>(raw.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = chunk.data();
        z.avail_out = static_cast<uInt>(chunk.size());
        rc = ::inflate(&z, Z_NO_FLUSH);
        out.insert(out.end(), chunk.begin(), chunk.end() - z.avail_out);
        if (rc == Z_OK && z.avail_in == 0 && z.avail_out != 0)
            break;  // wants more input than there is
    }
    inflateEnd(&z);
    return rc == Z_STREAM_END ? std::optional<Bytes>(out) : std::nullopt;
}

// zlib's uncompress of a whole zlib stream, its checksum included.
std::optional<Bytes> ZlibUncompress(const Bytes& stream, std::size_t size)
{
    Bytes out(size + 1);
    uLongf length = static_cast<uLongf>(out.size());
    if (uncompress(out.data(), &length, stream.data(), stream.size()) != Z_OK)
        return std::nullopt;
    out.resize(length);
    return out;
}

// Our encoder's stream as zlib reads it, checked for the header we write.
void ExpectRoundTrip(const Bytes& data, int level)
{
    FlateWorkspace workspace;
    const Bytes stream = FlateEncode(data.data(), data.size(), level, workspace);
    ASSERT_GE(stream.size(), 6u);
    EXPECT_EQ(stream[0], 0x78);
    EXPECT_EQ(stream[1], 0x5E);
    EXPECT_TRUE(ZlibUncompress(stream, data.size()) == data) << data.size() << " bytes, level " << level;
}

// Our decoding: the bytes, or the number of the error raised.
struct Outcome {
    std::optional<Bytes> bytes;
    std::int32_t error = 0;
};

Outcome Ours(const Bytes& raw, std::size_t limit = inflate::kMaxInflateOutput)
{
    Outcome o;
    o.error = ErrorRaised([&] { o.bytes = inflate::InflateData(raw, limit); });
    return o;
}

// Text of invoice words and content-stream operators.
Bytes Words(std::size_t n, std::mt19937& random)
{
    static const char* words[] = {"fattura ", "imponibile ", "aliquota 22% ", "cessionario ", "1234,56 ", "\r\n",
                                  "0 0 m 10 20 l S ", "BT /F1 12 Tf ", "(Rossi) Tj ", "ET ", "q 1 0 0 1 "};
    std::string text;
    while (text.size() < n)
        text += words[random() % 11];
    text.resize(n);
    return BytesOf(text);
}

// Long runs of few values, as in the samples of a flat image.
Bytes Runs(std::size_t n, std::mt19937& random)
{
    Bytes out;
    while (out.size() < n)
        out.insert(out.end(), 1 + random() % 600, static_cast<std::uint8_t>(random() % 4 * 60));
    out.resize(n);
    return out;
}

// Bytes with a geometric distribution: byte k appears about twice as often as byte k + 1, so
// the Huffman tree is deep and must be limited.
Bytes Skewed(std::size_t count, std::uint32_t seed, int symbols)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Bytes out(count);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(std::min(static_cast<int>(-std::log2(1.0 - unit(random))), symbols - 1) * 7 % 256);
    return out;
}

Bytes Sample(int kind, std::size_t n, std::mt19937& random)
{
    return kind % 3 == 0 ? RandomBytes(n, random()) : kind % 3 == 1 ? Words(n, random) : Runs(n, random);
}

// Sizes spread over 0 .. 1 MB, small ones as likely as large ones.
std::size_t RandomSize(std::mt19937& random)
{
    return static_cast<std::size_t>(std::pow(2.0, std::uniform_real_distribution<double>(0.0, 20.0)(random))) - 1;
}

} // namespace

TEST(Flate, ZlibInflatesRandomSizesAndAlphabets)
{
    std::mt19937 random(1950);
    std::uniform_int_distribution<int> sizeExponent(0, 20);
    for (int i = 0; i < 40; ++i) {
        const std::size_t count = std::uniform_int_distribution<std::size_t>(0, std::size_t(1) << sizeExponent(random))(random);
        ExpectRoundTrip(RandomBytes(count, static_cast<std::uint32_t>(i), std::array{2, 3, 16, 64, 256}[i % 5]), i % 6);
    }
    ExpectRoundTrip(RandomBytes(1 << 20, 42, 256), 2);
    ExpectRoundTrip(Words(1 << 20, random), 3);
    EXPECT_EQ(ErrorRaised([] { FlateEncode(BytesOf("abc"), 6); }), 9) << "a level above 5, before any output";
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
        EXPECT_TRUE(ZlibUncompress(stream, data.size()) == data) << symbols;
        for (int level = 1; level <= 5; level += 2)
            ExpectRoundTrip(data, level);
    }
    // Canonical codes against RFC 1951's own example (3.2.2: lengths 3, 3, 3, 3, 3, 2, 4, 4).
    const int lengths[] = {3, 3, 3, 3, 3, 2, 4, 4}, overfull[] = {1, 1, 1};
    std::vector<HuffmanCode> table(8), small(3);
    EXPECT_EQ(AssignHuffmanCodes(table, lengths, 7), 0);
    const std::uint32_t expected[] = {0b010, 0b011, 0b100, 0b101, 0b110, 0b00, 0b1110, 0b1111};
    for (int s = 0; s < 8; ++s)
        EXPECT_EQ(table[s].code, expected[s]) << s;
    EXPECT_LT(AssignHuffmanCodes(small, overfull, 2), 0);
}

TEST(Flate, StoredBlocksHoldAtMost65535Bytes)
{
    for (std::size_t size : {65534u, 65535u, 65536u, 65537u, 131070u, 131071u, 200000u}) {
        const Bytes data = RandomBytes(size, static_cast<std::uint32_t>(size));
        const Bytes stream = FlateEncode(data, 2);
        const std::size_t blocks = (size + 65534) / 65535;
        ASSERT_EQ(stream.size(), 2 + size + 5 * blocks + 4) << size;
        EXPECT_EQ(stream[2], blocks == 1 ? 1 : 0) << "final flag only on the last block";
        EXPECT_TRUE(ZlibUncompress(stream, size) == data) << size;
    }
}

// CRC-32 and size of each stream as the encoder wrote it when the golden file was recorded
// (then checked token by token against a plain, slow implementation of the match index: a
// trie of the three prefix bytes with a chain of occurrences for each): a faster way of
// computing the same parse and trees must not change a single byte.
// The inputs hold many repeats and long chains, chains longer than MaxChain, distances
// across the 32 K window, text, one long run; for those a crowded index of 64 buckets, where
// nearly every walk passes other prefixes, gives the same tokens as the ordinary one.
TEST(Flate, OutputsOfFixedInputsStayByteForByteTheSame)
{
    std::mt19937 random(7);
    std::vector<Bytes> inputs = {Words(200000, random), RandomBytes(120000, 3, 4), Skewed(300000, 30, 30),
                                 RandomBytes(40000, 5, 24)};
    for (std::uint32_t seed = 1; seed <= 6; ++seed)
        for (const Bytes& data : {RandomBytes(5000 + seed * 977, seed, 4), RandomBytes(3000, seed + 100, 2),
                                  RandomBytes(70000, seed + 200, 16), Words(60000, random),
                                  Bytes(1000 + seed * 3, static_cast<std::uint8_t>(seed)), RandomBytes(2000, seed + 300)})
            inputs.push_back(data);
    FlateWorkspace workspace, crowdedSpace;
    MatchIndex crowded(6);
    std::ostringstream streams;
    for (std::size_t i = 0; i < inputs.size(); ++i)
        for (int level = 0; level <= 5; ++level) {
            const Bytes stream = FlateEncode(inputs[i].data(), inputs[i].size(), level, workspace);
            char line[64];
            std::snprintf(line, sizeof line, "input %zu level %d: %08lx/%zu\n", i, level,
                          crc32(0, stream.data(), static_cast<uInt>(stream.size())), stream.size());
            streams << line;
            if (i < 4)
                continue;
            // The same bytes, which zlib reads, when the tokens find no room (all found again by
            // a second parse), half of it, or about as much as they take.
            const std::size_t kept = workspace.tokens.size;
            FlateWorkspace bounded;
            bounded.tokenRoom = std::array{TokenSink::kReserve, kept / 2, kept, kept + TokenSink::kReserve}[(i + level) % 4];
            const Bytes twoParses = FlateEncode(inputs[i].data(), inputs[i].size(), level, bounded);
            EXPECT_TRUE(twoParses == stream) << "room " << bounded.tokenRoom << ", input " << i << " level " << level;
            EXPECT_TRUE(ZlibUncompress(twoParses, inputs[i].size()) == inputs[i]);
            EXPECT_TRUE(bounded.tokenRoom >= kept || bounded.tokens.end < static_cast<std::int32_t>(inputs[i].size()));
            ParseDeflate(inputs[i].data(), static_cast<std::int32_t>(inputs[i].size()), DeflateLevelRow(level), crowded,
                         crowdedSpace.tokens);
            EXPECT_TRUE(std::ranges::equal(crowdedSpace.tokens.Stream(), workspace.tokens.Stream())) << "crowded, input " << i << " level " << level;
        }
    ExpectGolden("flate_streams.txt", streams.str());
}

TEST(Inflate, HandBuiltStreams)
{
    ScratchDir dir;
    ASSERT_EQ(RunTool("/usr/bin/python3 " QUERCINO_SOURCE_DIR "/tests/pdf/deflate_streams.py " + Quote(dir.Path())).exitCode, 0);
    std::istringstream cases(ReadFile(dir.File("cases.txt")));
    int count = 0;
    for (std::string name, kind; cases >> name >> kind; ++count) {
        SCOPED_TRACE(name);
        const Bytes raw = BytesOf(ReadFile(dir.File(name + ".raw"))), out = BytesOf(ReadFile(dir.File(name + ".out")));
        const Outcome ours = Ours(raw);
        if (kind == "capped") {
            EXPECT_LT(raw.size(), inflate::kMaxInflateOutput / 100);
            EXPECT_EQ(ours.error, ErrorCode::Overflow);
            continue;
        }
        const auto zlib = ZlibInflate(raw);
        EXPECT_EQ(zlib.has_value(), kind == "same");
        EXPECT_TRUE(!zlib || *zlib == out);
        int error = 0;
        if (kind == "error")
            cases >> error;
        EXPECT_EQ(ours.error, error);
        EXPECT_TRUE(error || ours.bytes == out);
    }
    EXPECT_EQ(count, 9);
}

TEST(Inflate, MemberKeepsTheTextInItsBufferAndRaisesOnDamage)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    std::mt19937 random(3);
    const Bytes data = Words(5000, random);
    EXPECT_EQ(peer.InflateData(ZlibDeflate(data, 6, Z_DEFAULT_STRATEGY)), TextOf(data));
    EXPECT_EQ(peer.State().InflateOutput.Text(), TextOf(data));
    EXPECT_EQ(peer.InflateData({0x4B, 0x4C, 0x4A, 0x06, 0x00}), "abc");
    EXPECT_EQ(peer.State().InflateOutput.Text(), "abc");
    EXPECT_EQ(ErrorRaised([&] { peer.InflateData({0x4B, 0x4C, 0x4A}); }), ErrorCode::SubscriptOutOfRange);
}

TEST(Inflate, OwnEncoderAndZlibAtEveryLevelAndStoredBoundary)
{
    std::mt19937 random(19);
    auto expectDecoded = [](const Bytes& raw, const Bytes& data, const std::string& what) {
        const Outcome ours = Ours(raw);
        ASSERT_TRUE(ours.bytes.has_value()) << what << " error " << ours.error;
        EXPECT_TRUE(*ours.bytes == data) << what;
    };
    const std::size_t sizes[] = {0, 1, 2, 257, 65534, 65535, 65536, 65537, 131069, 131070, 131071, 131072, 200003};
    for (int level = 0; level <= 5; ++level) {
        std::vector<std::pair<int, std::size_t>> samples;
        for (std::size_t size : sizes)
            samples.emplace_back(static_cast<int>(size) + level, size);
        for (int kind = 0; kind < 3; ++kind)
            samples.emplace_back(kind, RandomSize(random));
        for (const auto& [kind, size] : samples) {
            const Bytes data = Sample(kind, size, random), stream = FlateEncode(data, level);
            expectDecoded(Bytes(stream.begin() + 2, stream.end()), data, "level " + std::to_string(level) + " size " + std::to_string(size));
        }
    }
    int kind = 0;
    for (int level = 0; level <= 9; ++level)
        for (int strategy : {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_FIXED, Z_HUFFMAN_ONLY, Z_RLE}) {
            const Bytes data = Sample(kind++, RandomSize(random), random);
            expectDecoded(ZlibDeflate(data, level, strategy), data, "zlib " + std::to_string(level) + "/" + std::to_string(strategy));
        }
    // compress2 as callers use it, one megabyte at the extremes.
    for (int level : {0, 1, 9}) {
        const Bytes data = Sample(level, 1 << 20, random);
        Bytes stream(compressBound(data.size()));
        uLongf size = static_cast<uLongf>(stream.size());
        ASSERT_EQ(compress2(stream.data(), &size, data.data(), data.size(), level), Z_OK);
        expectDecoded(Bytes(stream.begin() + 2, stream.begin() + static_cast<std::ptrdiff_t>(size)), data,
                      "compress2 " + std::to_string(level));
    }
}

TEST(InflateDamage, OutputLimitsAndEveryShortenedStream)
{
    // An output above the limit raises the overflow error.
    std::mt19937 random(5);
    const Bytes runs = Runs(100000, random);
    const Bytes raw = ZlibDeflate(runs, 9, Z_DEFAULT_STRATEGY);
    EXPECT_TRUE(Ours(raw, runs.size()).bytes == runs);
    EXPECT_EQ(Ours(raw, runs.size() - 1).error, ErrorCode::Overflow);
    EXPECT_EQ(Ours(ZlibDeflate(runs, 0, Z_DEFAULT_STRATEGY), 1000).error, ErrorCode::Overflow);

    const Bytes data = Words(3000, random), own = FlateEncode(data, 3);
    for (const Bytes& stream : {ZlibDeflate(data, 9, Z_DEFAULT_STRATEGY), ZlibDeflate(data, 6, Z_FIXED),
                                ZlibDeflate(data, 0, Z_DEFAULT_STRATEGY), Bytes(own.begin() + 2, own.end())}) {
        const Bytes whole(stream.begin(), stream.end() - 4);  // without the checksum
        ASSERT_TRUE(Ours(whole).bytes == data);
        int refused = 0;
        for (std::size_t n = 0; n < whole.size(); ++n) {
            const Bytes shortened(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
            const Outcome ours = Ours(shortened);
            // An encoder may pad after the final block: zlib says where the data end.
            if (const auto zlib = ZlibInflate(shortened)) {
                ASSERT_TRUE(ours.bytes == zlib) << n;
            } else {
                ASSERT_EQ(ours.error, ErrorCode::SubscriptOutOfRange) << n;
                ++refused;
            }
        }
        EXPECT_EQ(refused, static_cast<int>(whole.size()));
    }
}

// Random damage: whatever zlib decodes we decode alike, whatever we refuse zlib refuses, and
// nothing but TavloError ever leaves the decoder.
TEST(InflateDamage, MutatedStreamsAgreeWithZlib)
{
    std::mt19937 random(29);
    std::vector<Bytes> seeds;
    for (int level : {1, 6, 9})
        seeds.push_back(ZlibDeflate(Words(2000, random), level, Z_DEFAULT_STRATEGY));
    seeds.push_back(ZlibDeflate(Runs(3000, random), 9, Z_RLE));
    seeds.push_back(ZlibDeflate(Words(500, random), 9, Z_FIXED));
    seeds.push_back(ZlibDeflate(RandomBytes(300, random()), 0, Z_DEFAULT_STRATEGY));
    const Bytes own = FlateEncode(Words(2500, random), 5);
    seeds.push_back(Bytes(own.begin() + 2, own.end()));
    int decodedByBoth = 0;
    for (int round = 0; round < 4000; ++round) {
        Bytes raw = seeds[static_cast<std::size_t>(round) % seeds.size()];
        std::uniform_int_distribution<std::size_t> at(0, raw.size() - 1);
        switch (random() % 4) {
        case 0:
            for (int k = 0; k < 1 + round % 3; ++k)
                raw[at(random)] ^= static_cast<std::uint8_t>(1u << (random() % 8));
            break;
        case 1: raw[at(random)] = static_cast<std::uint8_t>(random()); break;
        case 2: raw.resize(at(random)); break;
        default: raw.insert(raw.begin() + static_cast<std::ptrdiff_t>(at(random)), static_cast<std::uint8_t>(random()));
        }
        Outcome ours;
        try {
            ours = Ours(raw);
        } catch (const std::exception& e) {
            FAIL() << "round " << round << ": " << e.what();
        }
        if (const auto zlib = ZlibInflate(raw)) {
            ASSERT_TRUE(ours.bytes == zlib) << "round " << round << " error " << ours.error;
            ++decodedByBoth;
        } else if (!ours.bytes) {
            EXPECT_TRUE(ours.error == ErrorCode::SubscriptOutOfRange || ours.error == ErrorCode::InvalidArgument)
                << "round " << round << " error " << ours.error;
        }
    }
    EXPECT_GT(decodedByBoth, 100);  // the mutations did not all make hopeless streams
}
