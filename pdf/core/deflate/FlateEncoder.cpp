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

void ReplayTokens(const DeflateTokens& t, const Codes& codes, BitWriter& bits)
{
    // Codes reversed once, so that each symbol is one PutBits.
    std::array<std::uint32_t, 288> litLen;
    for (std::size_t s = 0; s < litLen.size(); ++s)
        litLen[s] = ReversedBits(codes.litLen[s].code, codes.litLen[s].length);
    std::array<std::uint32_t, 32> dist;
    for (std::size_t c = 0; c < dist.size(); ++c)
        dist[c] = ReversedBits(codes.dist[c].code, codes.dist[c].length);

    const std::uint8_t* s = t.stream.data();
    for (;;) {
        const std::uint8_t token = *s++;
        if (token == 0)
            break;
        if (token == kMatchToken) {
            const int distance = s[0] << 8 | s[1];
            const int length = s[2] + 3;
            s += 3;
            // A code and its extra bits together: at most 15 + 5 and 15 + 13 bits.
            const int lc = LengthCode(length);
            const HuffmanCode& l = codes.litLen[std::size_t(257 + lc)];
            bits.PutBits(litLen[std::size_t(257 + lc)] | std::uint32_t(length - LengthBase[std::size_t(lc)]) << l.length,
                         l.length + LengthExtraBits[std::size_t(lc)]);
            const int dc = DistanceCode(distance);
            const HuffmanCode& d = codes.dist[std::size_t(dc)];
            bits.PutBits(dist[std::size_t(dc)] | std::uint32_t(distance - DistanceBase[std::size_t(dc)]) << d.length,
                         d.length + DistanceExtraBits[std::size_t(dc)]);
        } else {
            for (const std::uint8_t* end = s + token; s < end; ++s)
                bits.PutBits(litLen[*s], codes.litLen[*s].length);
        }
    }
    bits.PutBits(litLen[256], codes.litLen[256].length);
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

} // namespace

Bytes WriteFlateStream(const std::uint8_t* data, std::int32_t length, const DeflateTokens& tokens,
                       BlockChoice* choice)
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
    if (chosen.dynamicSize < best)
        chosen.kind = BlockKind::Dynamic;
    if (choice)
        *choice = chosen;

    Bytes out;
    out.reserve(static_cast<std::size_t>(std::min<std::int64_t>(best, chosen.storedSize)) + 16);
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
        ReplayTokens(tokens, codes, bits);
        bits.Flush();
    }
    const std::uint32_t adler = Adler32(data, std::size_t(length));
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(adler >> shift));
    return out;
}

Bytes FlateEncode(const std::uint8_t* data, std::size_t length, int level, FlateWorkspace& workspace)
{
    const DeflateLevel& row = DeflateLevelRow(level);
    if (length > std::size_t(std::numeric_limits<std::int32_t>::max() - 1024))
        throw TavloError(ErrorCode::Overflow);
    const auto n = static_cast<std::int32_t>(length);
    ParseDeflate(data, n, row, workspace.index, workspace.tokens);
    Bytes stream = WriteFlateStream(data, n, workspace.tokens);
    // Small streams reuse the token buffer; a big one should not stay allocated.
    constexpr std::size_t kKeptTokenBytes = std::size_t(4) << 20;
    if (workspace.tokens.stream.capacity() > kKeptTokenBytes)
        Bytes().swap(workspace.tokens.stream);
    return stream;
}

Bytes FlateEncode(const Bytes& data, int level)
{
    FlateWorkspace workspace;
    return FlateEncode(data.data(), data.size(), level, workspace);
}

} // namespace tavlo::deflate
