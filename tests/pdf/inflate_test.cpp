// The deflate decoder against zlib: every stream zlib's compress2 and deflate write, and
// every stream of our own Flate encoder, decodes to the original bytes; hand-built streams
// reach the corners zlib never writes; damaged streams (random mutations, every shortening,
// hand-built faults) raise TavloError and never decode to anything zlib would not.

#include "pdf/Tavlo.h"
#include "pdf/core/TavloError.h"
#include "pdf/core/TavloState.h"
#include "pdf/core/deflate/FlateEncoder.h"
#include "pdf/media/Inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <optional>
#include <random>

namespace tavlo {

// Reaches the private InflateData member; this program does not use the shared test peer.
class TavloTestPeer {
public:
    explicit TavloTestPeer(Tavlo& t) : t_(t) {}
    std::string InflateData(const Bytes& data) { return t_.InflateData(data); }
    const std::string& InflateOutput() { return t_.s_->InflateOutput.Text(); }

private:
    Tavlo& t_;
};

} // namespace tavlo

using namespace tavlo;

namespace {

// ---- zlib as the oracle --------------------------------------------------------------

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

// zlib's reading of raw deflate data: the bytes when the final block ends, nothing when
// it finds the data damaged or short.
std::optional<Bytes> ZlibInflate(const Bytes& raw)
{
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK)
        return std::nullopt;
    Bytes out;
    Bytes chunk(65536);
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
    if (rc != Z_STREAM_END)
        return std::nullopt;
    return out;
}

// Our reading: the bytes, or the number of the error raised.
struct Outcome {
    std::optional<Bytes> bytes;
    std::int32_t error = 0;
};

Outcome Ours(const Bytes& raw, std::size_t limit = inflate::kMaxInflateOutput)
{
    Outcome o;
    try {
        o.bytes = inflate::InflateData(raw, limit);
    } catch (const TavloError& e) {
        o.error = e.Number();
    }
    return o;
}

// ---- data ----------------------------------------------------------------------------

Bytes RandomBytes(std::size_t n, std::mt19937& random)
{
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes out(n);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(byte(random));
    return out;
}

Bytes Words(std::size_t n, std::mt19937& random)
{
    static const char* words[] = {"fattura ", "imponibile ", "aliquota 22% ", "cessionario ", "1234,56 ",
                                  "\r\n", "0 0 m 10 20 l S ", "BT /F1 12 Tf ", "(Rossi) Tj ", "ET ", "q 1 0 0 1 "};
    std::uniform_int_distribution<int> pick(0, 10);
    std::string text;
    while (text.size() < n)
        text += words[pick(random)];
    text.resize(n);
    return BytesOf(text);
}

// Long runs of few values, as in the samples of a flat image.
Bytes Runs(std::size_t n, std::mt19937& random)
{
    std::uniform_int_distribution<int> run(1, 600);
    std::uniform_int_distribution<int> value(0, 3);
    Bytes out;
    while (out.size() < n)
        out.insert(out.end(), static_cast<std::size_t>(run(random)), static_cast<std::uint8_t>(value(random) * 60));
    out.resize(n);
    return out;
}

Bytes Sample(int kind, std::size_t n, std::mt19937& random)
{
    switch (kind % 3) {
    case 0: return RandomBytes(n, random);
    case 1: return Words(n, random);
    default: return Runs(n, random);
    }
}

// Sizes spread over 0 .. 1 MB, small ones as likely as large ones.
std::size_t RandomSize(std::mt19937& random)
{
    std::uniform_real_distribution<double> exponent(0.0, 20.0);
    return static_cast<std::size_t>(std::pow(2.0, exponent(random))) - 1;
}

// ---- hand-built streams --------------------------------------------------------------

class BitWriter {
public:
    // Extra bits and header fields: least-significant bit first.
    void Bits(std::uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            Bit((value >> i) & 1u);
    }
    // Huffman codes: most-significant bit first.
    void Code(std::uint32_t code, int length)
    {
        for (int i = length - 1; i >= 0; --i)
            Bit((code >> i) & 1u);
    }
    void Byte(std::uint8_t b)
    {
        Align();
        bytes_.push_back(b);
    }
    void Align() { used_ = 0; }
    Bytes Done() const { return bytes_; }

private:
    void Bit(std::uint32_t b)
    {
        if (used_ == 0)
            bytes_.push_back(0);
        bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | (b << used_));
        used_ = (used_ + 1) % 8;
    }
    Bytes bytes_;
    int used_ = 0;
};

// Fixed codes of RFC 1951 3.2.6.
void FixedSymbol(BitWriter& w, int symbol)
{
    if (symbol < 144)
        w.Code(0x30 + symbol, 8);
    else if (symbol < 256)
        w.Code(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        w.Code(symbol - 256, 7);
    else
        w.Code(0xC0 + symbol - 280, 8);
}

// Canonical codes for the lengths, as RFC 1951 3.2.2 assigns them.
std::vector<std::uint32_t> CanonicalCodes(const std::vector<int>& lengths)
{
    int count[16] = {};
    for (int n : lengths)
        ++count[n];
    count[0] = 0;
    std::uint32_t next[16] = {};
    std::uint32_t code = 0;
    for (int n = 1; n < 16; ++n) {
        code = (code + count[n - 1]) << 1;
        next[n] = code;
    }
    std::vector<std::uint32_t> codes(lengths.size());
    for (std::size_t s = 0; s < lengths.size(); ++s)
        if (lengths[s] != 0)
            codes[s] = next[lengths[s]]++;
    return codes;
}

// A dynamic block header whose code-length code gives the symbols 0..15 four bits each
// (their code is their value) unless codeLengthLengths says otherwise; then every length
// written as its own symbol.
struct DynamicHeader {
    std::vector<int> literalLengths;
    std::vector<int> distanceLengths;
    std::vector<int> codeLengthLengths = std::vector<int>(19, 0);
};

void WriteDynamicHeader(BitWriter& w, bool final, DynamicHeader h)
{
    for (int s = 0; s < 16; ++s)
        if (h.codeLengthLengths[s] == 0)
            h.codeLengthLengths[s] = 4;
    static const int order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    w.Bits(final ? 1 : 0, 1);
    w.Bits(2, 2);
    w.Bits(static_cast<std::uint32_t>(h.literalLengths.size() - 257), 5);
    w.Bits(static_cast<std::uint32_t>(h.distanceLengths.size() - 1), 5);
    w.Bits(15, 4);
    for (int i = 0; i < 19; ++i)
        w.Bits(static_cast<std::uint32_t>(h.codeLengthLengths[order[i]]), 3);
    const auto clCodes = CanonicalCodes(h.codeLengthLengths);
    for (int n : h.literalLengths)
        w.Code(clCodes[n], h.codeLengthLengths[n]);
    for (int n : h.distanceLengths)
        w.Code(clCodes[n], h.codeLengthLengths[n]);
}

// 0..253 eight bits, 254..257 nine: a complete code over literals, the end and length 3.
std::vector<int> CompleteLiteralLengths()
{
    std::vector<int> lengths(258, 8);
    for (int s = 254; s < 258; ++s)
        lengths[s] = 9;
    return lengths;
}

void ExpectSameAsZlib(const Bytes& raw, const Bytes& expected)
{
    const Outcome ours = Ours(raw);
    ASSERT_TRUE(ours.bytes.has_value()) << "error " << ours.error;
    EXPECT_TRUE(*ours.bytes == expected);
    const auto zlib = ZlibInflate(raw);
    ASSERT_TRUE(zlib.has_value()) << "zlib refuses the hand-built stream";
    EXPECT_TRUE(*zlib == expected);
}

// The stream is damaged for zlib too, and we raise the given error.
void ExpectRefused(const Bytes& raw, std::int32_t error)
{
    EXPECT_FALSE(ZlibInflate(raw).has_value()) << "zlib takes the stream";
    const Outcome ours = Ours(raw);
    EXPECT_FALSE(ours.bytes.has_value());
    EXPECT_EQ(ours.error, error);
}

} // namespace

TEST(InflateBlocks, DistanceCodesThirtyAndThirtyOne)
{
    std::mt19937 random(7);
    const Bytes data = RandomBytes(65535, random);
    BitWriter w;
    w.Bits(0, 1);
    w.Bits(0, 2);
    w.Align();
    w.Byte(0xFF); w.Byte(0xFF); w.Byte(0x00); w.Byte(0x00);
    for (std::uint8_t b : data)
        w.Byte(b);
    w.Bits(1, 1);
    w.Bits(1, 2);
    FixedSymbol(w, 285);  // 258 bytes from 40000 back
    w.Code(30, 5);
    w.Bits(40000 - 32769, 14);
    FixedSymbol(w, 285);  // 258 bytes from 60000 back
    w.Code(31, 5);
    w.Bits(60000 - 49153, 14);
    FixedSymbol(w, 256);

    Bytes expected = data;
    Bytes first(expected.end() - 40000, expected.end() - 40000 + 258);
    expected.insert(expected.end(), first.begin(), first.end());
    Bytes second(expected.end() - 60000, expected.end() - 60000 + 258);
    expected.insert(expected.end(), second.begin(), second.end());

    const Outcome ours = Ours(w.Done());
    ASSERT_TRUE(ours.bytes.has_value()) << "error " << ours.error;
    EXPECT_TRUE(*ours.bytes == expected);
    EXPECT_FALSE(ZlibInflate(w.Done()).has_value()) << "beyond zlib's window: the stream did not test the far codes";
}

TEST(InflateBlocks, SingleCodeSetsAndUnknownBlocks)
{
    {  // one distance code of one bit
        BitWriter w;
        DynamicHeader h{CompleteLiteralLengths(), {1}};
        WriteDynamicHeader(w, true, h);
        const auto codes = CanonicalCodes(h.literalLengths);
        w.Code(codes['A'], 8);
        w.Code(codes[257], 9);
        w.Code(0, 1);
        w.Code(codes[256], 9);
        ExpectSameAsZlib(w.Done(), BytesOf("AAAA"));
    }
    {  // a block that holds its end only: one literal/length code, no distance code
        BitWriter w;
        std::vector<int> literals(257, 0);
        literals[256] = 1;
        WriteDynamicHeader(w, true, DynamicHeader{literals, {0}});
        w.Code(0, 1);
        ExpectSameAsZlib(w.Done(), {});
    }
    {  // a type-3 block passes; zlib refuses it
        BitWriter w;
        w.Bits(0, 1);
        w.Bits(3, 2);
        w.Bits(1, 1);
        w.Bits(0, 2);
        w.Align();
        for (std::uint8_t b : Bytes{0x02, 0x00, 0xFD, 0xFF, 'o', 'k'})
            w.Byte(b);
        const Outcome ours = Ours(w.Done());
        ASSERT_TRUE(ours.bytes.has_value());
        EXPECT_EQ(TextOf(*ours.bytes), "ok");
        EXPECT_FALSE(ZlibInflate(w.Done()).has_value());
    }
}

TEST(InflateMember, KeepsTheTextInItsBufferAndRaisesOnDamage)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    std::mt19937 random(3);
    const Bytes data = Words(5000, random);
    const Bytes zlib = ZlibDeflate(data, 6, Z_DEFAULT_STRATEGY);
    EXPECT_EQ(peer.InflateData(zlib), TextOf(data));
    EXPECT_EQ(peer.InflateOutput(), TextOf(data));
    EXPECT_EQ(peer.InflateData({0x4B, 0x4C, 0x4A, 0x06, 0x00}), "abc");
    EXPECT_EQ(peer.InflateOutput(), "abc");
    try {
        peer.InflateData({0x4B, 0x4C, 0x4A});
        ADD_FAILURE() << "a short stream decoded";
    } catch (const TavloError& e) {
        EXPECT_EQ(e.Number(), ErrorCode::SubscriptOutOfRange);
    }
}

TEST(InflateRoundTrip, OwnEncoderAtEveryLevelAndStoredBoundary)
{
    std::mt19937 random(19);
    const std::size_t sizes[] = {0, 1, 2, 257, 65534, 65535, 65536, 65537, 131069, 131070, 131071, 131072, 200003};
    for (int level = 0; level <= 5; ++level) {
        for (std::size_t size : sizes) {
            const Bytes data = Sample(static_cast<int>(size) + level, size, random);
            const Bytes stream = deflate::FlateEncode(data, level);
            const Outcome ours = Ours(Bytes(stream.begin() + 2, stream.end()));
            ASSERT_TRUE(ours.bytes.has_value()) << "level " << level << " size " << size << " error " << ours.error;
            EXPECT_TRUE(*ours.bytes == data) << "level " << level << " size " << size;
        }
        for (int kind = 0; kind < 3; ++kind) {
            const std::size_t size = RandomSize(random);
            const Bytes data = Sample(kind, size, random);
            const Bytes stream = deflate::FlateEncode(data, level);
            const Outcome ours = Ours(Bytes(stream.begin() + 2, stream.end()));
            ASSERT_TRUE(ours.bytes.has_value()) << "level " << level << " size " << size << " error " << ours.error;
            EXPECT_TRUE(*ours.bytes == data) << "level " << level << " size " << size;
        }
    }
}

TEST(InflateRoundTrip, ZlibAtEveryLevelAndStrategy)
{
    std::mt19937 random(23);
    const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_FIXED, Z_HUFFMAN_ONLY, Z_RLE};
    int kind = 0;
    for (int level = 0; level <= 9; ++level) {
        for (int strategy : strategies) {
            const std::size_t size = RandomSize(random);
            const Bytes data = Sample(kind++, size, random);
            const Outcome ours = Ours(ZlibDeflate(data, level, strategy));
            ASSERT_TRUE(ours.bytes.has_value())
                << "level " << level << " strategy " << strategy << " size " << size << " error " << ours.error;
            EXPECT_TRUE(*ours.bytes == data) << "level " << level << " strategy " << strategy << " size " << size;
        }
    }
    // compress2 as callers use it, one megabyte at the extremes.
    for (int level : {0, 1, 9}) {
        const Bytes data = Sample(level, 1 << 20, random);
        Bytes stream(compressBound(data.size()));
        uLongf size = static_cast<uLongf>(stream.size());
        ASSERT_EQ(compress2(stream.data(), &size, data.data(), data.size(), level), Z_OK);
        stream.resize(size);
        const Outcome ours = Ours(Bytes(stream.begin() + 2, stream.end()));
        ASSERT_TRUE(ours.bytes.has_value()) << "level " << level;
        EXPECT_TRUE(*ours.bytes == data) << "level " << level;
    }
}

TEST(InflateDamage, DistancesSymbolsSizesAndLimits)
{
    {  // a distance before the first byte
        BitWriter w;
        w.Bits(1, 1); w.Bits(1, 2);
        FixedSymbol(w, 'a');
        FixedSymbol(w, 257);
        w.Code(1, 5);  // distance 2
        FixedSymbol(w, 256);
        ExpectRefused(w.Done(), ErrorCode::InvalidArgument);
    }
    {  // length symbol 286
        BitWriter w;
        w.Bits(1, 1); w.Bits(1, 2);
        FixedSymbol(w, 'a');
        FixedSymbol(w, 286);
        w.Code(0, 5);
        FixedSymbol(w, 256);
        ExpectRefused(w.Done(), ErrorCode::InvalidArgument);
    }
    // a stored block claiming more bytes than follow
    ExpectRefused({0x01, 0xFF, 0xFF, 0x00, 0x00, 'a', 'b'}, ErrorCode::SubscriptOutOfRange);

    // an output above the limit raises the overflow error
    std::mt19937 random(5);
    const Bytes data = Runs(100000, random);
    const Bytes raw = ZlibDeflate(data, 9, Z_DEFAULT_STRATEGY);
    EXPECT_TRUE(Ours(raw, data.size()).bytes == data);
    EXPECT_EQ(Ours(raw, data.size() - 1).error, ErrorCode::Overflow);
    const Bytes stored = ZlibDeflate(data, 0, Z_DEFAULT_STRATEGY);
    EXPECT_EQ(Ours(stored, 1000).error, ErrorCode::Overflow);
}

// A few hundred kilobytes of fixed-code copies that would expand past the output cap.
TEST(InflateDamage, OutputCapRefusesABomb)
{
    BitWriter w;
    w.Bits(1, 1); w.Bits(1, 2);
    FixedSymbol(w, 0);
    for (std::size_t n = 1; n <= inflate::kMaxInflateOutput; n += 258) {
        FixedSymbol(w, 285);  // length 258
        w.Code(0, 5);         // distance 1
    }
    FixedSymbol(w, 256);
    const Bytes bomb = w.Done();
    ASSERT_LT(bomb.size(), inflate::kMaxInflateOutput / 100);
    EXPECT_EQ(Ours(bomb).error, ErrorCode::Overflow);
}

TEST(InflateDamage, EveryShortenedStreamRaises)
{
    std::mt19937 random(13);
    const Bytes data = Words(3000, random);
    const Bytes own = deflate::FlateEncode(data, 3);
    const Bytes streams[] = {ZlibDeflate(data, 9, Z_DEFAULT_STRATEGY), ZlibDeflate(data, 6, Z_FIXED),
                             ZlibDeflate(data, 0, Z_DEFAULT_STRATEGY), Bytes(own.begin() + 2, own.end())};
    for (const Bytes& stream : streams) {
        const Bytes raw(stream.begin(), stream.end() - 4);  // without the checksum
        ASSERT_TRUE(Ours(raw).bytes == data);
        int refused = 0;
        for (std::size_t n = 0; n < raw.size(); ++n) {
            const Bytes shortened(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(n));
            const Outcome ours = Ours(shortened);
            // An encoder may pad after the final block: zlib says where the data end.
            if (const auto zlib = ZlibInflate(shortened)) {
                ASSERT_TRUE(ours.bytes == zlib) << n;
            } else {
                ASSERT_EQ(ours.error, ErrorCode::SubscriptOutOfRange) << n;
                ++refused;
            }
        }
        EXPECT_EQ(refused, static_cast<int>(raw.size()));
    }
}

// Random damage: whatever zlib decodes we decode alike, whatever we refuse zlib refuses,
// and nothing but TavloError ever leaves the decoder.
TEST(InflateDamage, MutatedStreamsAgreeWithZlib)
{
    std::mt19937 random(29);
    std::vector<Bytes> seeds;
    for (int level : {1, 6, 9})
        seeds.push_back(ZlibDeflate(Words(2000, random), level, Z_DEFAULT_STRATEGY));
    seeds.push_back(ZlibDeflate(Runs(3000, random), 9, Z_RLE));
    seeds.push_back(ZlibDeflate(Words(500, random), 9, Z_FIXED));
    seeds.push_back(ZlibDeflate(RandomBytes(300, random), 0, Z_DEFAULT_STRATEGY));
    const Bytes own = deflate::FlateEncode(Words(2500, random), 5);
    seeds.push_back(Bytes(own.begin() + 2, own.end()));

    std::uniform_int_distribution<int> pickKind(0, 3);
    int decodedByBoth = 0;
    for (int round = 0; round < 4000; ++round) {
        Bytes raw = seeds[static_cast<std::size_t>(round) % seeds.size()];
        std::uniform_int_distribution<std::size_t> at(0, raw.size() - 1);
        switch (pickKind(random)) {
        case 0:
            for (int k = 0; k < 1 + round % 3; ++k)
                raw[at(random)] ^= static_cast<std::uint8_t>(1u << (random() % 8));
            break;
        case 1:
            raw[at(random)] = static_cast<std::uint8_t>(random());
            break;
        case 2:
            raw.resize(at(random));
            break;
        default:
            raw.insert(raw.begin() + static_cast<std::ptrdiff_t>(at(random)), static_cast<std::uint8_t>(random()));
            break;
        }
        Outcome ours;
        try {
            ours = Ours(raw);
        } catch (const std::exception& e) {
            FAIL() << "round " << round << ": " << e.what();
        }
        const auto zlib = ZlibInflate(raw);
        if (zlib.has_value()) {
            ASSERT_TRUE(ours.bytes.has_value()) << "round " << round << " error " << ours.error;
            ASSERT_TRUE(*ours.bytes == *zlib) << "round " << round;
            ++decodedByBoth;
        } else if (!ours.bytes.has_value()) {
            EXPECT_TRUE(ours.error == ErrorCode::SubscriptOutOfRange || ours.error == ErrorCode::InvalidArgument)
                << "round " << round << " error " << ours.error;
        }
    }
    EXPECT_GT(decodedByBoth, 100);  // the mutations did not all make hopeless streams
}
