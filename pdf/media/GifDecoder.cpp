#include "pdf/media/GifDecoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tavlo {

namespace {

struct Cursor {
    const Bytes& file;
    std::size_t at = 0;

    bool AtEnd() const { return at >= file.size(); }
    std::uint8_t Byte()
    {
        if (at >= file.size())
            InvalidImage("file troncato");
        return file[at++];
    }
    std::uint32_t U16()
    {
        const std::uint32_t low = Byte();
        return low | std::uint32_t{Byte()} << 8;
    }
};

// A colour table of 2^(size + 1) colours, widened to the index depths the image writer
// takes (3 bits become 4, 5 to 7 become 8); the added entries are black.
struct ColourTable {
    Bytes rgb;
    int bits = 0;
};

ColourTable ReadTable(Cursor& in, int size)
{
    constexpr int kBits[8] = {1, 2, 4, 4, 8, 8, 8, 8};
    ColourTable table;
    table.bits = kBits[size & 7];
    table.rgb.assign(std::size_t{3} << table.bits, 0);
    const std::size_t stored = std::size_t{3} << ((size & 7) + 1);
    if (stored > in.file.size() - std::min(in.at, in.file.size()))
        InvalidImage("tavolozza troncata");
    std::copy_n(in.file.begin() + static_cast<std::ptrdiff_t>(in.at), stored, table.rgb.begin());
    in.at += stored;
    return table;
}

// Data sub-blocks up to the zero-length one, joined into `joined` when given; false when
// the file ends first.
bool ReadSubBlocks(Cursor& in, Bytes* joined)
{
    while (!in.AtEnd()) {
        const std::size_t length = in.file[in.at++];
        if (length == 0)
            return true;
        const std::size_t available = std::min(length, in.file.size() - in.at);
        if (joined)
            joined->insert(joined->end(), in.file.begin() + static_cast<std::ptrdiff_t>(in.at),
                           in.file.begin() + static_cast<std::ptrdiff_t>(in.at + available));
        in.at += available;
        if (available < length)
            return false;
    }
    return false;
}

// GIF's variable-width LZW: codes least significant bit first; the table holds 4096 entries
// and, once full, waits for the encoder's clear code. Each index goes to put; decoding
// stops at the end code, when the data run out or after `limit` indexes. False when a code
// stood for no entry (the encoder and this table are out of step).
template <typename Put>
bool DecodeLzw(const Bytes& data, int minimumSize, std::uint64_t limit, Put put)
{
    constexpr int kCodes = 4096;
    std::vector<std::uint16_t> prefix(kCodes), length(kCodes);
    std::vector<std::uint8_t> suffix(kCodes), first(kCodes), string(kCodes);
    const int clear = 1 << minimumSize, end = clear + 1;
    for (int code = 0; code < clear; ++code) {
        suffix[code] = first[code] = static_cast<std::uint8_t>(code);
        length[code] = 1;
    }
    int next = clear + 2, width = minimumSize + 1, previous = -1;
    const std::uint64_t totalBits = std::uint64_t{data.size()} * 8;
    std::uint64_t bit = 0, written = 0;
    while (written < limit && bit + static_cast<std::uint64_t>(width) <= totalBits) {
        const std::size_t byte = static_cast<std::size_t>(bit >> 3);
        std::uint32_t window = data[byte];
        if (byte + 1 < data.size())
            window |= std::uint32_t{data[byte + 1]} << 8;
        if (byte + 2 < data.size())
            window |= std::uint32_t{data[byte + 2]} << 16;
        const int code = static_cast<int>((window >> (bit & 7)) & ((1u << width) - 1));
        bit += static_cast<std::uint64_t>(width);
        if (code == clear) {
            next = clear + 2;
            width = minimumSize + 1;
            previous = -1;
            continue;
        }
        if (code == end)
            break;
        if (code > next || (code == next && previous < 0))
            return false;
        if (previous >= 0 && next < kCodes) {
            prefix[next] = static_cast<std::uint16_t>(previous);
            first[next] = first[previous];
            suffix[next] = code == next ? first[previous] : first[code];
            length[next] = static_cast<std::uint16_t>(length[previous] + 1);
            ++next;
            if (next == 1 << width && width < 12)
                ++width;
        }
        int walk = code;
        for (int i = length[code] - 1; i >= 0; --i) {
            string[static_cast<std::size_t>(i)] = suffix[walk];
            walk = prefix[walk];
        }
        for (int i = 0; i < length[code] && written < limit; ++i, ++written)
            put(string[static_cast<std::size_t>(i)]);
        previous = code;
    }
    return true;
}

} // namespace

RasterImage DecodeGif(const Bytes& file, std::int32_t frame)
{
    if (file.size() < 13 || (std::memcmp(file.data(), "GIF87a", 6) != 0 && std::memcmp(file.data(), "GIF89a", 6) != 0))
        InvalidImage("non è un file GIF");
    Cursor in{file, 6};
    const std::uint32_t screenWidth = in.U16(), screenHeight = in.U16();
    const std::uint8_t screenFlags = in.Byte(), background = in.Byte();
    in.Byte();  // aspect ratio
    if (screenWidth == 0 || screenHeight == 0)
        InvalidImage("dimensioni non valide");
    if (std::uint64_t{screenWidth} * screenHeight > kMaxImagePixels)
        InvalidImage("immagine troppo grande");
    ColourTable global;
    if (screenFlags & 0x80)
        global = ReadTable(in, screenFlags & 7);

    // A graphic control block applies to the image that follows it only.
    bool transparent = false;
    std::uint8_t transparentIndex = 0;
    std::int32_t count = 0;
    while (!in.AtEnd()) {
        const std::uint8_t block = in.Byte();
        if (block == 0x3B)
            break;
        if (block == 0x21) {
            if (in.AtEnd())
                break;
            if (in.Byte() == 0xF9 && in.at + 4 < file.size() && file[in.at] >= 4) {
                transparent = (file[in.at + 1] & 1) != 0;
                transparentIndex = file[in.at + 4];
            }
            ReadSubBlocks(in, nullptr);
            continue;
        }
        if (block != 0x2C)
            continue;
        const std::uint32_t left = in.U16(), top = in.U16(), width = in.U16(), height = in.U16();
        const std::uint8_t imageFlags = in.Byte();
        ColourTable local;
        if (imageFlags & 0x80)
            local = ReadTable(in, imageFlags & 7);
        const int minimumSize = in.Byte();
        if (++count != frame) {
            ReadSubBlocks(in, nullptr);
            transparent = false;
            continue;
        }

        const ColourTable& table = (imageFlags & 0x80) ? local : global;
        if (table.rgb.empty())
            InvalidImage("tavolozza mancante");
        if (minimumSize < 1 || minimumSize > 11)
            InvalidImage("dati compressi non validi");
        if (std::uint64_t{width} * height > kMaxImagePixels)
            InvalidImage("immagine troppo grande");
        Bytes data;
        const bool complete = ReadSubBlocks(in, &data);

        RasterImage out;
        out.width = static_cast<std::int32_t>(screenWidth);
        out.height = static_cast<std::int32_t>(screenHeight);
        out.bits = static_cast<std::uint8_t>(table.bits);
        out.palette = table.rgb;
        const int bits = table.bits;
        const std::uint32_t colours = 1u << bits;
        const bool keyed = transparent && transparentIndex < colours;
        if (keyed)
            out.mask = std::to_string(transparentIndex) + " " + std::to_string(transparentIndex) + " ";
        // The screen the frame leaves uncovered: transparent when the frame keys a colour,
        // else the screen's background colour (an index into the global table).
        const std::uint32_t fill =
            keyed ? transparentIndex : ((imageFlags & 0x80) == 0 && background < colours ? background : 0);
        std::uint8_t pattern = 0;
        for (int shift = 0; shift < 8; shift += bits)
            pattern = static_cast<std::uint8_t>(pattern | fill << shift);
        const std::size_t rowBytes = (std::size_t{screenWidth} * static_cast<std::size_t>(bits) + 7) / 8;
        out.samples.assign(rowBytes * screenHeight, pattern);

        std::vector<std::uint32_t> rows(height);
        if (imageFlags & 0x40) {
            constexpr std::uint32_t kPasses[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
            std::size_t k = 0;
            for (const auto& pass : kPasses)
                for (std::uint32_t r = pass[0]; r < height; r += pass[1])
                    rows[k++] = r;
        } else {
            for (std::uint32_t r = 0; r < height; ++r)
                rows[r] = r;
        }
        std::uint32_t x = 0, y = 0;
        const bool coded = DecodeLzw(data, minimumSize, std::uint64_t{width} * height, [&](std::uint8_t index) {
            const std::uint32_t column = left + x, row = top + rows[y];
            if (++x == width) {
                x = 0;
                ++y;
            }
            if (column >= screenWidth || row >= screenHeight)
                return;
            const int shift = 8 - bits - static_cast<int>(column * static_cast<std::uint32_t>(bits) % 8);
            std::uint8_t& target = out.samples[(screenHeight - 1 - row) * rowBytes + column * bits / 8];
            target = static_cast<std::uint8_t>((target & ~((colours - 1) << shift)) |
                                               (index & (colours - 1)) << shift);
        });
        if (!coded)
            out.damage = TavloError(ErrorCode::InvalidFileFormat,
                                    TavloError::StandardDescription(ErrorCode::InvalidFileFormat) +
                                        ": codice LZW non valido");
        else if (!complete)
            out.damage = TavloError(ErrorCode::InputPastEndOfFile);
        return out;
    }
    InvalidImage("il fotogramma " + std::to_string(frame) + " non è nel file");
}

} // namespace tavlo
