#include "pdf/Tavlo.h"

#include "pdf/core/AsciiCase.h"
#include "pdf/core/Colors.h"
#include "pdf/core/TableGrowth.h"
#include "pdf/core/TavloState.h"
#include "pdf/draw/ShapeBox.h"

#include <algorithm>
#include <string>

namespace tavlo {

namespace {

constexpr std::int32_t kMaxImages = 32767;  // the record index is a 16-bit value

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

void Tavlo::DrawImage(const std::string& fileName, float x, float y, float width, float height, std::int16_t frame,
                      const std::string& colorMask)
try {
    TavloState& s = *s_;
    const std::string key = AsciiUpper(fileName);
    // A corner or a size no reader takes is refused before the picture's object is made.
    RequirePdfRange({PageSpaceX(x), PageSpaceY(y), x * s.Scale, y * s.Scale, width * s.Scale, height * s.Scale});
    if (EndsWith(key, ".EPS") || EndsWith(key, ".AI")) {
        ImportEps(fileName, x, y, width, height);
        return;
    }
    if (EndsWith(key, ".WMF")) {
        PlayWmf(fileName, x, y, width, height);
        return;
    }

    // ".JPEG" is the other name of the same files.
    const std::string extension = EndsWith(key, ".JPEG") ? ".JPG" : key.size() >= 4 ? key.substr(key.size() - 4) : "";
    // Only the BMP loader reads the key colour: for it the same file with another key
    // colour is another image.
    const std::string keyColour =
        extension == ".BMP" && !colorMask.empty() ? ParseColor(colorMask).form : std::string();
    // Records past ImageCount belong to a document an Abort has ended.
    if (s.Images.size() > static_cast<std::size_t>(s.ImageCount))
        s.Images.resize(static_cast<std::size_t>(s.ImageCount));
    std::int32_t index = 0;
    for (std::int32_t n = 1; n <= s.ImageCount && index == 0; ++n) {
        const ImageEntry& entry = s.Images[n - 1];
        if (entry.Path == key && entry.Frame == frame && entry.KeyColour == keyColour)
            index = n;
    }
    if (index == 0) {
        if (s.ImageCount >= kMaxImages)
            throw TavloError(ErrorCode::Overflow);
        index = s.ImageCount + 1;
        if (s.Images.capacity() < static_cast<std::size_t>(index))
            s.Images.reserve(static_cast<std::size_t>(
                s.Images.empty() ? std::max(index, InitialUpperBound(s.MemoryUsage))
                                 : GrownUpperBound(index, s.MemoryUsage)));
        ImageEntry entry;
        entry.Path = key;
        entry.Frame = frame;
        entry.KeyColour = keyColour;
        s.Images.push_back(entry);
        s.ImageCount = index;
        if (extension == ".BMP")
            LoadBmp(index, fileName, keyColour);
        else if (extension == ".GIF")
            LoadGif(index, fileName, frame);
        else if (extension == ".JPG")
            LoadJpeg(index, fileName);
        else if (extension == ".TGA")
            LoadTga(index, fileName);
        else
            CaptureError("DrawImage", key,
                         TavloError(ErrorCode::InvalidFileFormat,
                                    "Formato di immagine non supportato: " +
                                        (key.rfind('.') == std::string::npos ? key : key.substr(key.rfind('.') + 1))));
    }

    SetXY(x, y);
    const ImageEntry& image = s.Images[index - 1];
    // Without an image object there is nothing to name: the error stays recorded.
    if (image.PixelWidth == 0 || image.PixelHeight == 0)
        return;
    float w = width, h = height;
    if (w == 0 && h == 0) {
        w = static_cast<float>(image.PixelWidth / s.Scale);
        h = static_cast<float>(image.PixelHeight / s.Scale);
    } else if (w == 0) {
        w = h * static_cast<float>(image.PixelWidth) / static_cast<float>(image.PixelHeight);
    } else if (h == 0) {
        h = w * static_cast<float>(image.PixelHeight) / static_cast<float>(image.PixelWidth);
    }
    const double box[] = {PageSpaceX(x), PageSpaceY(y), PageSpaceX(x + w), PageSpaceY(y + h)};
    RequireSingleRange({static_cast<double>(x + w), static_cast<double>(y + h)});
    RequirePdfRange({box[0], box[1], box[2], box[3]});
    // JPEG rows cannot be reordered: the picture is turned over instead.
    const bool mirrored = extension == ".JPG";
    PutContent("q " + PdfScaledNumber(w) + " 0 0 " + PdfScaledNumber(mirrored ? -h : h) + " " + PdfScaledNumber(x) +
               " " + PdfScaledNumber(mirrored ? y + h : y) + " cm /_IMG_" + std::to_string(index) + " Do Q");
    SetLastBox(box[0], box[1], box[2], box[3]);
} catch (...) {
    RaiseRecorded("DrawImage");
}

} // namespace tavlo
