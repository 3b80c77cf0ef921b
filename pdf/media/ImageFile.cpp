#include "pdf/media/ImageFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace tavlo {

void InvalidImage(const std::string& why)
{
    throw TavloError(ErrorCode::InvalidFileFormat, TavloError::StandardDescription(ErrorCode::InvalidFileFormat) +
                                                       ": " + why);
}

Bytes ReadImageFile(const std::string& path, std::uintmax_t limit)
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
    if (size > limit)
        InvalidImage("immagine troppo grande");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw TavloError(ErrorCode::PathFileAccessError);
    Bytes bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad() || bytes.size() > limit)
        throw TavloError(ErrorCode::PathFileAccessError);
    return bytes;
}

} // namespace tavlo
