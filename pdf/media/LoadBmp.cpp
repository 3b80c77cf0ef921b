#include "pdf/Tavlo.h"

#include "pdf/core/AsciiCase.h"
#include "pdf/core/TavloState.h"
#include "pdf/media/BmpDecoder.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace tavlo {

namespace {

// Larger than any bitmap the decoder accepts (2^26 pixels of 4 bytes plus headers).
constexpr std::uintmax_t kMaxFileSize = (std::uintmax_t{1} << 28) + (1 << 20);
constexpr std::int32_t kInvalidFileFormat = 321;

Bytes ReadImageFile(const std::string& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status))
        throw TavloError(ErrorCode::FileNotFound);
    if (!std::filesystem::is_regular_file(status))
        throw TavloError(ErrorCode::PathFileAccessError);
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        throw TavloError(ErrorCode::PathFileAccessError);
    if (size > kMaxFileSize)
        throw TavloError(kInvalidFileFormat, "Formato di file non valido: immagine troppo grande");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw TavloError(ErrorCode::PathFileAccessError);
    Bytes bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad())
        throw TavloError(ErrorCode::PathFileAccessError);
    return bytes;
}

} // namespace

void Tavlo::LoadBmp(std::int32_t index, const std::string& path, const std::string& keyColour)
{
    TavloState& s = *s_;
    // Everything is decoded before the first object is written, so a damaged file leaves
    // no half-written object behind.
    DecodedBmp image;
    try {
        image = DecodeBmp(ReadImageFile(path), keyColour);
    } catch (const std::exception& error) {
        CaptureError("DrawImage", AsciiUpper(path), error);
        return;
    }
    const std::string name = "/_IMG_" + std::to_string(index);
    const std::int32_t object = WriteImageXObject("BMP", image.samples, image.palette, image.width, image.height,
                                                  image.bits, name, "", "", image.mask);
    ImageEntry& entry = s.Images[static_cast<std::size_t>(index) - 1];
    entry.PixelWidth = image.width;
    entry.PixelHeight = image.height;
    s.ImageResources += name + " " + std::to_string(object) + " 0 R ";
}

} // namespace tavlo
