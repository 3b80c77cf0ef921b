#include "pdf/media/Inflate.h"

#include "pdf/core/TavloError.h"
#include "pdf/media/HuffmanDecodeTable.h"
#include "pdf/media/InflateBitReader.h"

#include <array>

namespace tavlo::inflate {

namespace {

struct ExtraBase {
    int extraBits;
    int base;
};

constexpr std::array<int, 19> InflateCodeOrder = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// Length symbols 257..285; 286 and 287 have no length.
constexpr std::array<ExtraBase, 29> InflateLengthTable = {{
    {0, 3}, {0, 4}, {0, 5}, {0, 6}, {0, 7}, {0, 8}, {0, 9}, {0, 10},
    {1, 11}, {1, 13}, {1, 15}, {1, 17}, {2, 19}, {2, 23}, {2, 27}, {2, 31},
    {3, 35}, {3, 43}, {3, 51}, {3, 59}, {4, 67}, {4, 83}, {4, 99}, {4, 115},
    {5, 131}, {5, 163}, {5, 195}, {5, 227}, {0, 258},
}};

// Distance codes 0..29, and 30 and 31 as the Flate encoder may write them.
constexpr std::array<ExtraBase, 32> InflateDistanceTable = {{
    {0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 5}, {1, 7}, {2, 9}, {2, 13},
    {3, 17}, {3, 25}, {4, 33}, {4, 49}, {5, 65}, {5, 97}, {6, 129}, {6, 193},
    {7, 257}, {7, 385}, {8, 513}, {8, 769}, {9, 1025}, {9, 1537}, {10, 2049}, {10, 3073},
    {11, 4097}, {11, 6145}, {12, 8193}, {12, 12289}, {13, 16385}, {13, 24577}, {14, 32769}, {14, 49153},
}};

constexpr int kEndOfBlock = 256;

struct FixedTables {
    DecodeTable literals;
    DecodeTable distances;

    FixedTables()
    {
        std::array<std::uint8_t, 288> lengths{};
        for (int i = 0; i < 288; ++i)
            lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
        BuildDecodeTable(literals, lengths.data(), 287);
        std::array<std::uint8_t, 32> distanceLengths;
        distanceLengths.fill(5);
        BuildDecodeTable(distances, distanceLengths.data(), 31);
    }
};

const FixedTables& Fixed()
{
    static const FixedTables tables;
    return tables;
}

[[noreturn]] void CodeSetError(const char* what)
{
    throw TavloError(ErrorCode::InvalidArgument,
                     TavloError::StandardDescription(ErrorCode::InvalidArgument) + " (" + what + ")");
}

void Append(Bytes& out, std::uint8_t value, std::size_t limit)
{
    if (out.size() >= limit)
        throw TavloError(ErrorCode::Overflow);
    out.push_back(value);
}

void CopyStored(BitReader& in, Bytes& out, std::size_t limit)
{
    AlignToByte(in);
    if (in.size - in.position < 4)
        throw TavloError(ErrorCode::SubscriptOutOfRange);
    const std::size_t len = in.data[in.position] | (in.data[in.position + 1] << 8);
    in.position += 4;  // NLEN is not checked
    if (in.size - in.position < len)
        throw TavloError(ErrorCode::SubscriptOutOfRange);
    if (limit - out.size() < len)
        throw TavloError(ErrorCode::Overflow);
    out.insert(out.end(), in.data + in.position, in.data + in.position + len);
    in.position += len;
}

// The code lengths of a dynamic block and its two tables.
void ReadDynamicTables(BitReader& in, DecodeTable& literals, DecodeTable& distances)
{
    const int hlit = static_cast<int>(ReadBits(in, 5)) + 257;
    const int hdist = static_cast<int>(ReadBits(in, 5)) + 1;
    const int hclen = static_cast<int>(ReadBits(in, 4)) + 4;

    std::array<std::uint8_t, 19> codeLengthLengths{};
    for (int i = 0; i < hclen; ++i)
        codeLengthLengths[InflateCodeOrder[i]] = static_cast<std::uint8_t>(ReadBits(in, 3));
    DecodeTable codeLengths;
    if (BuildDecodeTable(codeLengths, codeLengthLengths.data(), 18) != 0)
        CodeSetError("codice delle lunghezze non valido");

    std::array<std::uint8_t, 288 + 32> lengths{};
    const int total = hlit + hdist;
    int i = 0;
    while (i < total) {
        const int symbol = DecodeSymbol(in, codeLengths);
        if (symbol < 16) {
            lengths[i++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        std::uint8_t value = 0;
        int repeat = 0;
        if (symbol == 16) {
            if (i == 0)
                CodeSetError("ripetizione senza lunghezza precedente");
            value = lengths[i - 1];
            repeat = static_cast<int>(ReadBits(in, 2)) + 3;
        } else if (symbol == 17) {
            repeat = static_cast<int>(ReadBits(in, 3)) + 3;
        } else {
            repeat = static_cast<int>(ReadBits(in, 7)) + 11;
        }
        if (repeat > total - i)
            CodeSetError("ripetizione oltre le lunghezze dichiarate");
        for (; repeat > 0; --repeat)
            lengths[i++] = value;
    }

    const int literalBalance = BuildDecodeTable(literals, lengths.data(), hlit - 1);
    // A single code of one bit (a block holding only its end) is the one incomplete
    // literal/length code that encoders write.
    if (literalBalance != 0 && !(literalBalance > 0 && literals.codeCount == 1 && literals.maxLength == 1))
        CodeSetError("codice dei letterali non valido");
    // Distance codes may be incomplete (a single code, or none for a block of literals);
    // a value that is no code fails when it is read.
    if (BuildDecodeTable(distances, lengths.data() + hlit, hdist - 1) < 0)
        CodeSetError("codice delle distanze non valido");
}

void DecodeCompressed(BitReader& in, const DecodeTable& literals, const DecodeTable& distances, Bytes& out,
                      std::size_t limit)
{
    for (;;) {
        const int symbol = DecodeSymbol(in, literals);
        if (symbol < kEndOfBlock) {
            Append(out, static_cast<std::uint8_t>(symbol), limit);
            continue;
        }
        if (symbol == kEndOfBlock)
            return;
        const int lengthIndex = symbol - 257;
        if (lengthIndex >= static_cast<int>(InflateLengthTable.size()))
            CodeSetError("simbolo di lunghezza non valido");
        const ExtraBase& l = InflateLengthTable[lengthIndex];
        const std::size_t length = static_cast<std::size_t>(l.base) + ReadBits(in, l.extraBits);
        const ExtraBase& d = InflateDistanceTable[DecodeSymbol(in, distances)];
        const std::size_t distance = static_cast<std::size_t>(d.base) + ReadBits(in, d.extraBits);
        if (distance > out.size())
            CodeSetError("distanza prima dell'inizio dei dati");
        if (limit - out.size() < length)
            throw TavloError(ErrorCode::Overflow);
        // Byte by byte: a distance shorter than the length repeats what was just copied.
        std::size_t from = out.size() - distance;
        for (std::size_t k = 0; k < length; ++k) {
            const std::uint8_t value = out[from++];
            out.push_back(value);
        }
    }
}

} // namespace

Bytes InflateData(const std::uint8_t* data, std::size_t size, std::size_t outputLimit)
{
    BitReader in(data, size);
    Bytes out;
    DecodeTable literals;
    DecodeTable distances;
    bool final = false;
    while (!final) {
        final = ReadBits(in, 1) == 1;
        switch (ReadBits(in, 2)) {
        case 0:
            CopyStored(in, out, outputLimit);
            break;
        case 1:
            DecodeCompressed(in, Fixed().literals, Fixed().distances, out, outputLimit);
            break;
        case 2:
            ReadDynamicTables(in, literals, distances);
            DecodeCompressed(in, literals, distances, out, outputLimit);
            break;
        default:
            break;  // type 3: nothing, the next bits are the next block's header
        }
    }
    return out;
}

} // namespace tavlo::inflate
