#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"

#include <locale>
#include <sstream>
#include <vector>

namespace tavlo {

namespace {

// The pixels of indexes packed at 1, 2 or 4 bits (rows padded to a byte) that fall in the
// colour-key ranges "min max ...": a stencil of one bit a pixel, 1 where nothing is painted.
// Empty for other depths.
Bytes KeyStencil(const Bytes& packed, std::int32_t width, std::int32_t height, std::uint8_t bits,
                 const std::string& ranges)
{
    const auto w = static_cast<std::size_t>(width);
    const std::size_t rowBytes = (w * bits + 7) / 8, maskRow = (w + 7) / 8;
    if (bits == 0 || bits >= 8 || 8 % bits != 0 || packed.size() < rowBytes * static_cast<std::size_t>(height))
        return {};
    std::vector<int> bounds;
    std::istringstream in(ranges);
    in.imbue(std::locale::classic());
    for (int value = 0; in >> value;)
        bounds.push_back(value);
    Bytes stencil(maskRow * static_cast<std::size_t>(height));
    for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row) {
        for (std::size_t x = 0; x < w; ++x) {
            const std::size_t bit = x * bits;
            const int index = (packed[row * rowBytes + bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
            for (std::size_t k = 0; k + 1 < bounds.size(); k += 2)
                if (index >= bounds[k] && index <= bounds[k + 1])
                    stencil[row * maskRow + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    return stencil;
}

} // namespace

std::int32_t Tavlo::WriteImageXObject(const std::string& kind, Bytes pixels, const Bytes& palette,
                                      std::int32_t width, std::int32_t height, std::uint8_t bitsPerPixel,
                                      const std::string& name, const std::string& colourSpace,
                                      const std::string& presetFilters, const std::string& mask,
                                      Bytes softMask, const std::string& decode)
{
    const bool jpeg = kind == "JPG";
    const std::string space = jpeg ? colourSpace : "DeviceRGB";
    const std::string size = " /Width " + std::to_string(width) + " /Height " + std::to_string(height);
    const bool indexed = !jpeg && kind != "TGA" && bitsPerPixel <= 8;
    const bool withPalette = (kind == "BMP" || kind == "GIF") && indexed;
    // Some readers ignore a colour key on indexes of fewer than 8 bits: there the key is
    // written as a stencil of the transparent pixels, in the place a soft mask would take.
    Bytes stencil = withPalette && !mask.empty() && softMask.empty()
                        ? KeyStencil(pixels, width, height, bitsPerPixel, mask)
                        : Bytes();
    const std::int32_t i = NewObj();
    const std::string maskObject = std::to_string(i + (withPalette ? 2 : 1)) + " 0 R";
    PutLine("<< /Type /XObject /Subtype /Image /Name " + name + size);
    if (!mask.empty())
        PutLine("/Mask " + (stencil.empty() ? "[" + mask + "]" : maskObject));
    if (!softMask.empty())
        PutLine("/SMask " + maskObject);
    if (!decode.empty())
        PutLine("/Decode [" + decode + "]");
    if (jpeg || kind == "TGA" || bitsPerPixel == 24)
        PutLine("/BitsPerComponent 8 /ColorSpace /" + space);
    else if (bitsPerPixel <= 8)
        PutLine("/BitsPerComponent " + std::to_string(bitsPerPixel) + " /ColorSpace [/Indexed /" + space + " " +
                std::to_string((1 << bitsPerPixel) - 1) + " " + std::to_string(i + 1) + " 0 R]");
    WriteStream(pixels, 0, presetFilters, 0);
    Bytes().swap(pixels);  // what was written need not wait for the soft mask
    EndObj();
    if (withPalette) {
        NewObj();
        PutLine("<<");
        Bytes colours = palette;
        WriteStream(colours, 0, presetFilters, 0);
        EndObj();
    }
    if (!stencil.empty()) {
        NewObj();
        PutLine("<< /Type /XObject /Subtype /Image" + size + " /ImageMask true /BitsPerComponent 1");
        WriteStream(stencil, 0, "", 0);
        EndObj();
    }
    if (!softMask.empty()) {
        RequireVersion(1);
        NewObj();
        PutLine("<< /Type /XObject /Subtype /Image" + size + " /BitsPerComponent 8 /ColorSpace /DeviceGray");
        WriteStream(softMask, 0, "", 0);
        EndObj();
    }
    return i;
}

} // namespace tavlo
