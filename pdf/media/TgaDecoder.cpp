#include "pdf/media/TgaDecoder.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tavlo {

namespace {

using Rgba = std::array<std::uint8_t, 4>;

// One stored pixel or colour-map entry of `bytes` bytes (little-endian, blue first).
Rgba Colour(const std::uint8_t* p, int bytes, bool grey, bool alphaBits)
{
    if (grey)
        return {p[0], p[0], p[0], static_cast<std::uint8_t>(bytes == 2 && alphaBits ? p[1] : 255)};
    if (bytes == 2) {
        const std::uint32_t v = p[0] | std::uint32_t{p[1]} << 8;
        auto five = [](std::uint32_t field) { return static_cast<std::uint8_t>((field & 31) * 255 / 31); };
        return {five(v >> 10), five(v >> 5), five(v), static_cast<std::uint8_t>(alphaBits && !(v & 0x8000) ? 0 : 255)};
    }
    return {p[2], p[1], p[0], static_cast<std::uint8_t>(bytes == 4 && alphaBits ? p[3] : 255)};
}

} // namespace

RasterImage DecodeTga(const Bytes& file)
{
    if (file.size() < 18)
        InvalidImage("intestazione troncata");
    const std::uint32_t idLength = file[0], mapType = file[1], type = file[2];
    const std::uint32_t mapFirst = file[3] | file[4] << 8, mapLength = file[5] | file[6] << 8, mapDepth = file[7];
    const std::uint32_t width = file[12] | file[13] << 8, height = file[14] | file[15] << 8;
    const std::uint32_t depth = file[16], descriptor = file[17];
    const std::uint32_t kind = type & 7;  // 1 colour-mapped, 2 true colour, 3 grey; +8 run-length
    const bool rle = type >= 8;
    const bool alphaBits = (descriptor & 15) != 0;
    if ((type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11) || mapType > 1 ||
        (kind == 1 && mapType != 1))
        InvalidImage("tipo di TGA non supportato");
    const bool depthRead = kind == 1   ? depth == 8 || depth == 16
                           : kind == 2 ? depth == 15 || depth == 16 || depth == 24 || depth == 32
                                       : depth == 8 || depth == 16;
    if (!depthRead || (descriptor & 0xC0) != 0 ||
        (mapType == 1 && mapDepth != 15 && mapDepth != 16 && mapDepth != 24 && mapDepth != 32))
        InvalidImage("profondità di colore non supportata");
    if (width == 0 || height == 0)
        InvalidImage("dimensioni non valide");
    const std::uint64_t pixels = std::uint64_t{width} * height;
    if (pixels > kMaxImagePixels)
        InvalidImage("immagine troppo grande");

    std::size_t at = 18 + idLength;
    std::vector<Rgba> map;
    if (mapType == 1) {
        const std::size_t entryBytes = (mapDepth + 7) / 8;
        if (at + entryBytes * mapLength > file.size())
            InvalidImage("tavolozza troncata");
        // A true-colour or grey picture may carry a map it does not use: skipped.
        if (kind == 1)
            for (std::uint32_t i = 0; i < mapLength; ++i)
                map.push_back(Colour(&file[at + i * entryBytes], static_cast<int>(entryBytes), false, alphaBits));
        at += entryBytes * mapLength;
    }

    const int pixelBytes = static_cast<int>((depth + 7) / 8);
    auto decodePixel = [&](const std::uint8_t* p) -> Rgba {
        if (kind != 1)
            return Colour(p, pixelBytes, kind == 3, alphaBits);
        const std::uint32_t index = (pixelBytes == 2 ? p[0] | p[1] << 8 : p[0]) - mapFirst;
        return index < map.size() ? map[index] : Rgba{0, 0, 0, 255};
    };
    auto need = [&](std::size_t bytes) {
        if (bytes > file.size() - std::min(at, file.size()))
            InvalidImage("dati dell'immagine troncati");
    };
    // Even fully packed data hold at least this much: a forged size fails before allocating.
    need(rle ? (pixels + 127) / 128 * (1 + static_cast<std::uint64_t>(pixelBytes)) : pixels * pixelBytes);

    RasterImage out;
    out.width = static_cast<std::int32_t>(width);
    out.height = static_cast<std::int32_t>(height);
    out.bits = 24;
    out.samples.assign(3 * static_cast<std::size_t>(pixels), 0);
    const bool topFirst = (descriptor & 0x20) != 0, rightFirst = (descriptor & 0x10) != 0;
    std::uint32_t row = 0, col = 0;  // of the next pixel in file order
    auto put = [&](const Rgba& p) {
        const std::size_t y = topFirst ? height - 1 - row : row, x = rightFirst ? width - 1 - col : col;
        const std::size_t i = y * width + x;
        std::copy_n(p.begin(), 3, out.samples.begin() + static_cast<std::ptrdiff_t>(3 * i));
        // The alpha channel only from the first pixel not fully opaque: an opaque picture at
        // the pixel limit would hold 64 MB of it for nothing. Each pixel is put once.
        if (p[3] != 255) {
            if (out.alpha.empty())
                out.alpha.assign(static_cast<std::size_t>(pixels), 255);
            out.alpha[i] = p[3];
        }
        if (++col == width) {
            col = 0;
            ++row;
        }
    };
    // A run that passes the last pixel writes what fits.
    for (std::uint64_t done = 0; done < pixels;) {
        std::uint64_t count = 1;
        bool run = false;
        if (rle) {
            need(1);
            const std::uint8_t header = file[at++];
            count = (header & 0x7Fu) + 1;
            run = (header & 0x80) != 0;
        }
        count = std::min(count, pixels - done);
        done += count;
        if (run) {
            need(static_cast<std::size_t>(pixelBytes));
            const Rgba p = decodePixel(&file[at]);
            at += static_cast<std::size_t>(pixelBytes);
            for (std::uint64_t i = 0; i < count; ++i)
                put(p);
        } else {
            need(static_cast<std::size_t>(count) * static_cast<std::size_t>(pixelBytes));
            for (std::uint64_t i = 0; i < count; ++i, at += static_cast<std::size_t>(pixelBytes))
                put(decodePixel(&file[at]));
        }
    }
    return out;
}

} // namespace tavlo
