#include "pdf/media/BmpDecoder.h"

#include <algorithm>
#include <cstdlib>

namespace tavlo {

namespace {

// Two bytes of RLE data set at most 255 pixels: a picture announcing far more pixels than
// its data could set is forged, and would only fill memory with background.
constexpr std::uint64_t kMaxRlePixelsPerByte = 256;

struct Reader {
    const Bytes& file;
    std::uint32_t U16(std::size_t at) const
    {
        if (at + 2 > file.size())
            InvalidImage("intestazione troncata");
        return file[at] | (file[at + 1] << 8);
    }
    std::uint32_t U32(std::size_t at) const
    {
        if (at + 4 > file.size())
            InvalidImage("intestazione troncata");
        return file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) | (std::uint32_t{file[at + 3]} << 24);
    }
};

// One colour component of a direct-colour pixel scaled to 8 bits: wider fields keep their
// top 8 bits, narrower ones are shifted up (5 bits: × 8).
std::uint8_t Component(std::uint32_t value, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0)
        ++shift;
    int width = 0;
    while (shift + width < 32 && ((mask >> (shift + width)) & 1) != 0)
        ++width;
    const std::uint32_t field = (value & mask) >> shift;
    return static_cast<std::uint8_t>(width >= 8 ? field >> (width - 8) : field << (8 - width));
}

// RLE8 (bits 8) or RLE4 (bits 4) data straight into the samples, rows of rowBytes bytes
// (two indexes a byte for RLE4, the first in the high half), bottom row first. Runs and groups
// that pass the end of a row are clipped; a delta moves the position; the data may end
// without the end-of-bitmap escape, but not in the middle of a command.
Bytes DecodeRle(const Bytes& file, std::size_t from, std::int32_t width, std::int32_t height, int bits,
                std::size_t rowBytes)
{
    Bytes samples(rowBytes * static_cast<std::size_t>(height), 0);
    std::int64_t x = 0, y = 0;
    std::size_t at = from;
    auto next = [&]() -> std::uint8_t {
        if (at >= file.size())
            InvalidImage("dati compressi troncati");
        return file[at++];
    };
    auto put = [&](std::uint8_t index) {
        if (x < width && y < height) {
            std::uint8_t& at = samples[static_cast<std::size_t>(y) * rowBytes + static_cast<std::size_t>(bits == 8 ? x : x / 2)];
            if (bits == 8)
                at = index;
            else if (x % 2 == 0)
                at = static_cast<std::uint8_t>((at & 0x0F) | index << 4);
            else
                at = static_cast<std::uint8_t>((at & 0xF0) | index);
        }
        ++x;
    };
    while (at < file.size() && y < height) {
        const std::uint8_t count = next();
        const std::uint8_t second = next();
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(bits == 8 ? second : static_cast<std::uint8_t>(i % 2 == 0 ? second >> 4 : second & 15));
        } else if (second == 0) {
            x = 0;
            ++y;
        } else if (second == 1) {
            break;
        } else if (second == 2) {
            x += next();
            y += next();
        } else {
            const int groupBytes = bits == 8 ? second : (second + 1) / 2;
            for (int i = 0; i < groupBytes; ++i) {
                const std::uint8_t value = next();
                if (bits == 8) {
                    put(value);
                } else {
                    put(value >> 4);
                    if (2 * i + 1 < second)
                        put(value & 15);
                }
            }
            if (groupBytes % 2 != 0)
                next();  // groups are padded to a 16-bit boundary
        }
    }
    return samples;
}

} // namespace

DecodedBmp DecodeBmp(const Bytes& file, const std::string& keyColour)
{
    const Reader in{file};
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M')
        InvalidImage("non è un file BMP");
    const std::uint32_t dataOffset = in.U32(10);
    const std::uint32_t headerSize = in.U32(14);
    if (headerSize < 40 || headerSize > file.size())
        InvalidImage("intestazione non supportata");
    const auto rawWidth = static_cast<std::int32_t>(in.U32(18));
    const auto rawHeight = static_cast<std::int32_t>(in.U32(22));
    const std::uint32_t bitCount = in.U16(28);
    const std::uint32_t compression = in.U32(30);
    const std::uint32_t coloursUsed = in.U32(46);
    if (rawWidth <= 0 || rawHeight == 0 || rawHeight == INT32_MIN)
        InvalidImage("dimensioni non valide");
    const bool topDown = rawHeight < 0;
    const std::int32_t width = rawWidth, height = topDown ? -rawHeight : rawHeight;
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxImagePixels)
        InvalidImage("immagine troppo grande");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        InvalidImage("profondità di colore non supportata");
    const bool rle = compression == 1 || compression == 2;
    if (!(compression == 0 || (compression == 1 && bitCount == 8) || (compression == 2 && bitCount == 4) ||
          (compression == 3 && (bitCount == 16 || bitCount == 32))))
        InvalidImage("compressione non supportata");
    if (rle && topDown)
        InvalidImage("compressione non supportata");
    if (dataOffset >= file.size())
        InvalidImage("posizione dei dati non valida");

    DecodedBmp out;
    out.width = width;
    out.height = height;
    int keyRed = -1, keyGreen = -1, keyBlue = -1;
    if (keyColour.size() == 7 && keyColour[0] == '#' &&
        keyColour.find_first_not_of("0123456789ABCDEFabcdef", 1) == std::string::npos) {
        keyRed = static_cast<int>(std::strtol(keyColour.substr(1, 2).c_str(), nullptr, 16));
        keyGreen = static_cast<int>(std::strtol(keyColour.substr(3, 2).c_str(), nullptr, 16));
        keyBlue = static_cast<int>(std::strtol(keyColour.substr(5, 2).c_str(), nullptr, 16));
    }

    if (bitCount <= 8) {
        const std::uint32_t entries = 1u << bitCount;
        const std::uint32_t stored = coloursUsed > 0 && coloursUsed < entries ? coloursUsed : entries;
        const std::size_t table = 14 + static_cast<std::size_t>(headerSize);
        if (table + 4 * static_cast<std::size_t>(stored) > file.size())
            InvalidImage("tavolozza troncata");
        out.palette.assign(3 * static_cast<std::size_t>(entries), 0);
        for (std::uint32_t i = 0; i < stored; ++i) {
            const std::uint8_t* quad = &file[table + 4 * i];
            out.palette[3 * i] = quad[2];
            out.palette[3 * i + 1] = quad[1];
            out.palette[3 * i + 2] = quad[0];
            if (quad[2] == keyRed && quad[1] == keyGreen && quad[0] == keyBlue)
                out.mask = std::to_string(i) + " " + std::to_string(i) + " ";
        }
        out.bits = static_cast<std::uint8_t>(bitCount);
    } else {
        if (keyRed >= 0)
            for (int value : {keyRed, keyGreen, keyBlue})
                out.mask += std::to_string(value) + " " + std::to_string(value) + " ";
        out.bits = 24;
    }

    if (rle) {
        if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) >
            kMaxRlePixelsPerByte * (file.size() - dataOffset))
            InvalidImage("dati compressi insufficienti per le dimensioni dichiarate");
        const std::size_t rowBytes = bitCount == 8 ? static_cast<std::size_t>(width) : (width + 1) / 2;
        out.samples = DecodeRle(file, dataOffset, width, height, static_cast<int>(bitCount), rowBytes);
        return out;
    }

    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
    if (stride * static_cast<std::uint64_t>(height) > file.size() - dataOffset)
        InvalidImage("dati dell'immagine troncati");
    auto fileRow = [&](std::size_t row) {  // the output's row (bottom first) as stored in the file
        const std::size_t stored = topDown ? static_cast<std::size_t>(height) - 1 - row : row;
        return &file[dataOffset + stored * stride];
    };
    if (bitCount <= 8) {
        const std::size_t rowBytes = (static_cast<std::size_t>(width) * bitCount + 7) / 8;
        out.samples.reserve(rowBytes * static_cast<std::size_t>(height));
        for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row)
            out.samples.insert(out.samples.end(), fileRow(row), fileRow(row) + rowBytes);
        return out;
    }
    std::uint32_t redMask = 0xFF0000, greenMask = 0xFF00, blueMask = 0xFF;
    if (bitCount == 16) {
        redMask = 0x7C00;
        greenMask = 0x03E0;
        blueMask = 0x001F;
    }
    if (compression == 3) {
        redMask = in.U32(54);
        greenMask = in.U32(58);
        blueMask = in.U32(62);
    }
    out.samples.reserve(3 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row) {
        const std::uint8_t* pixel = fileRow(row);
        for (std::size_t col = 0; col < static_cast<std::size_t>(width); ++col) {
            if (bitCount == 24) {
                out.samples.insert(out.samples.end(), {pixel[2], pixel[1], pixel[0]});
                pixel += 3;
                continue;
            }
            std::uint32_t value = pixel[0] | (pixel[1] << 8);
            if (bitCount == 32)
                value |= (pixel[2] << 16) | (std::uint32_t{pixel[3]} << 24);
            pixel += bitCount / 8;
            out.samples.insert(out.samples.end(),
                               {Component(value, redMask), Component(value, greenMask), Component(value, blueMask)});
        }
    }
    return out;
}

} // namespace tavlo
