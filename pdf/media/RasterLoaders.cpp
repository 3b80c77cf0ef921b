#include "pdf/Tavlo.h"

#include "pdf/core/AsciiCase.h"
#include "pdf/core/TavloState.h"
#include "pdf/media/BmpDecoder.h"
#include "pdf/media/GifDecoder.h"
#include "pdf/media/JpegScanner.h"
#include "pdf/media/TgaDecoder.h"

namespace tavlo {

void Tavlo::LoadBmp(std::int32_t index, const std::string& path, const std::string& keyColour)
{
    LoadRaster(index, path, "BMP", [&](const Bytes& file) { return DecodeBmp(file, keyColour); });
}

void Tavlo::LoadGif(std::int32_t index, const std::string& path, std::int16_t frame)
{
    LoadRaster(index, path, "GIF", [&](const Bytes& file) { return DecodeGif(file, frame); });
}

void Tavlo::LoadJpeg(std::int32_t index, const std::string& path)
{
    LoadRaster(index, path, "JPG", ScanJpeg);
}

void Tavlo::LoadTga(std::int32_t index, const std::string& path)
{
    LoadRaster(index, path, "TGA", DecodeTga);
}

void Tavlo::LoadRaster(std::int32_t index, const std::string& path, const std::string& kind,
                       const std::function<RasterImage(const Bytes&)>& decode)
{
    TavloState& s = *s_;
    const std::string key = AsciiUpper(path);
    // Everything is decoded before the first object is written, so a damaged file leaves
    // no half-written object behind.
    RasterImage image;
    try {
        image = decode(ReadImageFile(path));
    } catch (const std::exception& error) {
        CaptureError("DrawImage", key, error);
        return;
    }
    const std::string name = "/_IMG_" + std::to_string(index);
    const std::int32_t object =
        WriteImageXObject(kind, std::move(image.samples), image.palette, image.width, image.height, image.bits, name,
                          image.colourSpace, kind == "JPG" ? "/DCTDecode " : "", image.mask, std::move(image.alpha),
                          image.decode);
    ImageEntry& entry = s.Images[static_cast<std::size_t>(index) - 1];
    entry.PixelWidth = image.width;
    entry.PixelHeight = image.height;
    s.ImageResources += name + " " + std::to_string(object) + " 0 R ";
    if (image.damage)
        CaptureError("DrawImage", key, *image.damage);
}

} // namespace tavlo
