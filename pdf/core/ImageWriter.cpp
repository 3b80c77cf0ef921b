#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"

namespace tavlo {

std::int32_t Tavlo::WriteImageXObject(const std::string& kind, const Bytes& pixels, const Bytes& palette,
                                      std::int32_t width, std::int32_t height, std::uint8_t bitsPerPixel,
                                      const std::string& name, const std::string& colourSpace,
                                      const std::string& presetFilters, const std::string& mask,
                                      const Bytes& softMask, const std::string& decode)
{
    const bool jpeg = kind == "JPG";
    const std::string space = jpeg ? colourSpace : "DeviceRGB";
    const std::string size = " /Width " + std::to_string(width) + " /Height " + std::to_string(height);
    const std::int32_t i = NewObj();
    PutLine("<< /Type /XObject /Subtype /Image /Name " + name + size);
    if (!mask.empty())
        PutLine("/Mask [" + mask + "]");
    const bool indexed = !jpeg && kind != "TGA" && bitsPerPixel <= 8;
    const bool withPalette = (kind == "BMP" || kind == "GIF") && indexed;
    if (!softMask.empty())
        PutLine("/SMask " + std::to_string(i + (withPalette ? 2 : 1)) + " 0 R");
    if (!decode.empty())
        PutLine("/Decode [" + decode + "]");
    if (jpeg || kind == "TGA" || bitsPerPixel == 24)
        PutLine("/BitsPerComponent 8 /ColorSpace /" + space);
    else if (bitsPerPixel <= 8)
        PutLine("/BitsPerComponent " + std::to_string(bitsPerPixel) + " /ColorSpace [/Indexed /" + space + " " +
                std::to_string((1 << bitsPerPixel) - 1) + " " + std::to_string(i + 1) + " 0 R]");
    Bytes data = pixels;
    WriteStream(data, 0, presetFilters, 0);
    EndObj();
    if (withPalette) {
        NewObj();
        PutLine("<<");
        Bytes colours = palette;
        WriteStream(colours, 0, presetFilters, 0);
        EndObj();
    }
    if (!softMask.empty()) {
        RequireVersion(1);
        NewObj();
        PutLine("<< /Type /XObject /Subtype /Image" + size + " /BitsPerComponent 8 /ColorSpace /DeviceGray");
        Bytes alpha = softMask;
        WriteStream(alpha, 0, "", 0);
        EndObj();
    }
    return i;
}

} // namespace tavlo
