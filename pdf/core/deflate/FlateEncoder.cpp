#include "pdf/core/deflate/FlateEncoder.h"

#include "pdf/core/TavloError.h"
#include "pdf/core/deflate/Adler32.h"
#include "pdf/core/deflate/BitWriter.h"
#include "pdf/core/deflate/CodeLengthRuns.h"
#include "pdf/core/deflate/HuffmanCode.h"

#include <array>
#include <limits>

namespace tavlo::deflate {

namespace {

constexpr std::int64_t kNotACandidate = std::int64_t(1) << 30;

struct Codes {
    std::array<HuffmanCode, 288> litLen{};
    std::array<HuffmanCode, 32> dist{};
    std::array<HuffmanCode, 19> lengths{};
    int lastLitLen = 0;
    int lastDist = 0;
    int lastOrder = 0;  // last position in CodeLengthOrder with a code
};

std::int64_t StoredSize(std::int64_t length)
{
    const std::int64_t blocks = std::max<std::int64_t>(1, (length + kStoredBlockLimit - 1) / kStoredBlockLimit);
    return length + 5 * blocks;
}

std::int64_t FixedSize(const DeflateTokens& t)
{
    std::int64_t bits = 0;
    for (int s = 0; s <= 287; ++s) {
        const int width = s <= 143 ? 8 : s <= 255 ? 9 : s <= 279 ? 7 : 8;
        bits += std::int64_t(t.litLenFreq[s]) * width;
    }
    for (int s = 257; s <= 287; ++s)
        bits += std::int64_t(t.litLenFreq[s]) * LengthExtraBits[s - 257];
    for (int c = 0; c < 32; ++c)
        bits += std::int64_t(t.distFreq[c]) * (5 + DistanceExtraBits[c]);
    return (bits + 3) / 8 + 1;
}

std::int64_t DynamicSize(const DeflateTokens& t, Codes& codes)
{
    if (BuildHuffmanTree(codes.litLen, t.litLenFreq.data(), 287, 15) < 0 ||
        BuildHuffmanTree(codes.dist, t.distFreq.data(), 29, 15) < 0)
        return kNotACandidate;
    std::int64_t bits = 0;
    for (int s = 0; s <= 287; ++s)
        bits += std::int64_t(codes.litLen[s].length) * t.litLenFreq[s];
    for (int s = 257; s <= 287; ++s)
        bits += std::int64_t(LengthExtraBits[s - 257]) * t.litLenFreq[s];
    for (int c = 0; c <= 29; ++c)
        bits += std::int64_t(codes.dist[c].length + DistanceExtraBits[c]) * t.distFreq[c];

    std::array<std::uint32_t, 19> runFreq{};
    codes.lastLitLen = LastCodedSymbol(codes.litLen, 287);
    ScanCodeLengths(codes.litLen, codes.lastLitLen, runFreq.data());
    codes.lastDist = LastCodedSymbol(codes.dist, 29);
    ScanCodeLengths(codes.dist, codes.lastDist, runFreq.data());
    BuildHuffmanTree(codes.lengths, runFreq.data(), 18, 7);
    codes.lastOrder = 0;
    for (int k = 0; k < 19; ++k)
        if (codes.lengths[CodeLengthOrder[k]].length > 0)
            codes.lastOrder = k;
    bits += 3 * codes.lastOrder;
    for (int s = 0; s <= 15; ++s)
        bits += std::int64_t(codes.lengths[s].length) * runFreq[s];
    bits += std::int64_t(codes.lengths[16].length + 2) * runFreq[16];
    bits += std::int64_t(codes.lengths[17].length + 3) * runFreq[17];
    bits += std::int64_t(codes.lengths[18].length + 7) * runFreq[18];
    return (bits + 3) / 8 + 1;
}

void FixedCodes(Codes& codes)
{
    int lengths[288];
    for (int s = 0; s < 288; ++s)
        lengths[s] = s <= 143 ? 8 : s <= 255 ? 9 : s <= 279 ? 7 : 8;
    AssignHuffmanCodes(codes.litLen, lengths, 287);
    int distLengths[32];
    for (int& l : distLengths)
        l = 5;
    AssignHuffmanCodes(codes.dist, distLengths, 31);
}

// Writes each literal and match as its code and extra bits.
class CodeSink {
public:
    CodeSink(const Codes& codes, BitWriter& bits) : bits_(&bits)
    {
        // Codes reversed once, so that each symbol is one PutBits.
        for (std::size_t s = 0; s < litLen_.size(); ++s) {
            litLen_[s] = ReversedBits(codes.litLen[s].code, codes.litLen[s].length);
            litLenBits_[s] = std::uint8_t(codes.litLen[s].length);
        }
        for (std::size_t c = 0; c < dist_.size(); ++c) {
            dist_[c] = ReversedBits(codes.dist[c].code, codes.dist[c].length);
            distBits_[c] = std::uint8_t(codes.dist[c].length);
        }
    }
    static bool Full() { return false; }
    void Literal(std::uint8_t byte) { bits_->PutBits(litLen_[byte], litLenBits_[byte]); }
    void Match(std::int32_t distance, std::int32_t length)
    {
        // A code and its extra bits together: at most 15 + 5 and 15 + 13 bits.
        const std::size_t lc = std::size_t(LengthCode(length)), ls = 257 + lc;
        bits_->PutBits(litLen_[ls] | std::uint32_t(length - LengthBase[lc]) << litLenBits_[ls],
                       litLenBits_[ls] + LengthExtraBits[lc]);
        const std::size_t dc = std::size_t(DistanceCode(distance));
        bits_->PutBits(dist_[dc] | std::uint32_t(distance - DistanceBase[dc]) << distBits_[dc],
                       distBits_[dc] + DistanceExtraBits[dc]);
    }
    void EndOfBlock() { bits_->PutBits(litLen_[256], litLenBits_[256]); }

private:
    BitWriter* bits_;
    std::array<std::uint32_t, 288> litLen_;
    std::array<std::uint32_t, 32> dist_;
    std::array<std::uint8_t, 288> litLenBits_;
    std::array<std::uint8_t, 32> distBits_;
};

// The kept tokens with the input they were parsed from: literals and match lengths come
// from the input again.
void ReplayTokens(std::span<const std::uint8_t> tokens, const std::uint8_t* data, std::int32_t length,
                  CodeSink& sink)
{
    const std::uint8_t* s = tokens.data();
    std::int32_t p = 0;
    for (;;) {
        const std::uint8_t token = *s++;
        if (token == 0)
            break;
        if (token & kMatchToken) {
            const std::int32_t distance = (token & 0x7F) << 8 | *s++;
            const std::int32_t matched = CommonLength(data + p, data + p - distance, 3, MatchLimit(p, length));
            sink.Match(distance, matched);
            p += matched;
        } else {
            for (const std::int32_t end = p + token; p < end; ++p)
                sink.Literal(data[p]);
        }
    }
}

void WriteStored(const std::uint8_t* data, std::int32_t length, BitWriter& bits)
{
    std::int32_t done = 0;
    do {
        const std::int32_t n = std::min<std::int32_t>(kStoredBlockLimit, length - done);
        const bool final = done + n == length;
        bits.PutBits(final ? 1 : 0, 1);
        bits.PutBits(0, 2);
        bits.Flush();
        const std::uint8_t header[4] = {std::uint8_t(n & 255), std::uint8_t(n >> 8), std::uint8_t(~n & 255),
                                        std::uint8_t((~n >> 8) & 255)};
        bits.PutBytes(header, 4);
        bits.PutBytes(data + done, std::size_t(n));
        done += n;
    } while (done < length);
}

// The tokens kept, then those of the rest: the codes they go to write them.
template <class Rest>
Bytes WriteBlock(const std::uint8_t* data, std::int32_t length, const DeflateTokens& tokens, BlockChoice* choice,
                 Rest rest)
{
    Codes codes;
    BlockChoice chosen;
    chosen.storedSize = StoredSize(length);
    chosen.fixedSize = FixedSize(tokens);
    chosen.dynamicSize = DynamicSize(tokens, codes);
    std::int64_t best = chosen.storedSize;
    if (chosen.fixedSize < best) {
        chosen.kind = BlockKind::Fixed;
        best = chosen.fixedSize;
    }
    if (chosen.dynamicSize < best) {
        chosen.kind = BlockKind::Dynamic;
        best = chosen.dynamicSize;
    }
    if (choice)
        *choice = chosen;

    // The chosen size is the block's own: the output is made once, and touched no further
    // than it is written.
    Bytes out;
    out.reserve(static_cast<std::size_t>(best) + 16);
    out.push_back(0x78);
    out.push_back(0x5E);
    BitWriter bits(out);
    if (chosen.kind == BlockKind::Stored) {
        WriteStored(data, length, bits);
    } else {
        bits.PutBits(1, 1);
        bits.PutBits(chosen.kind == BlockKind::Fixed ? 1 : 2, 2);
        if (chosen.kind == BlockKind::Dynamic) {
            bits.PutBits(std::uint32_t(codes.lastLitLen - 256), 5);
            bits.PutBits(std::uint32_t(codes.lastDist), 5);
            bits.PutBits(std::uint32_t(codes.lastOrder - 3), 4);
            for (int k = 0; k <= codes.lastOrder; ++k)
                bits.PutBits(std::uint32_t(codes.lengths[CodeLengthOrder[k]].length), 3);
            SendDynamicTrees(codes.litLen, codes.lastLitLen, codes.lengths, bits);
            SendDynamicTrees(codes.dist, codes.lastDist, codes.lengths, bits);
        } else {
            FixedCodes(codes);
        }
        CodeSink sink(codes, bits);
        ReplayTokens(tokens.Stream(), data, length, sink);
        rest(sink);
        sink.EndOfBlock();
        bits.Flush();
    }
    const std::uint32_t adler = Adler32(data, std::size_t(length));
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(adler >> shift));
    return out;
}

} // namespace

Bytes WriteFlateStream(const std::uint8_t* data, std::int32_t length, const DeflateTokens& tokens,
                       BlockChoice* choice)
{
    if (tokens.end != length)
        throw TavloError(ErrorCode::InvalidArgument);  // a parse that stopped needs the rest found again
    return WriteBlock(data, length, tokens, choice, [](CodeSink&) {});
}

Bytes FlateEncode(const std::uint8_t* data, std::size_t length, int level, FlateWorkspace& workspace)
{
    const DeflateLevel& row = DeflateLevelRow(level);
    if (length > std::size_t(std::numeric_limits<std::int32_t>::max() - 1024))
        throw TavloError(ErrorCode::Overflow);
    const auto n = static_cast<std::int32_t>(length);
    MatchIndex& index = workspace.index;
    DeflateTokens& tokens = workspace.tokens;
    tokens.MakeRoom(std::max(TokenSink::kReserve, std::min(LongestTokenStream(n) + TokenSink::kReserve, workspace.tokenRoom)));
    index.Begin(data, n, row.maxChain);
    TokenSink kept(tokens);
    const std::int32_t stop = ParseDeflate(data, n, 0, row, index, kept);
    kept.Close(stop);
    if (stop < n) {
        CountSink counted(tokens);
        ParseDeflate(data, n, stop, row, index, counted);
    }
    tokens.litLenFreq[256] = 1;
    Bytes stream = WriteBlock(data, n, tokens, nullptr, [&](CodeSink& sink) {
        if (stop < n) {
            index.Resume(data, n, row.maxChain, stop);
            ParseDeflate(data, n, stop, row, index, sink);
        }
    });
    // Small streams reuse the token room; a big one should not stay allocated.
    constexpr std::size_t kKeptTokenBytes = std::size_t(4) << 20;
    if (tokens.capacity > kKeptTokenBytes) {
        tokens.room.reset();
        tokens.capacity = tokens.limit = tokens.size = 0;
    }
    return stream;
}

Bytes FlateEncode(const Bytes& data, int level)
{
    FlateWorkspace workspace;
    return FlateEncode(data.data(), data.size(), level, workspace);
}

} // namespace tavlo::deflate
