#include "pdf/core/InputFile.h"

#include "pdf/core/TavloError.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace tavlo {

Bytes ReadWholeFile(const std::string& path, std::uintmax_t maxSize, const std::string& tooLarge)
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
    if (size > maxSize)
        throw TavloError(ErrorCode::InvalidFileFormat,
                         TavloError::StandardDescription(ErrorCode::InvalidFileFormat) + ": " + tooLarge);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw TavloError(ErrorCode::PathFileAccessError);
    Bytes bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    // A file that grew while it was read is not taken past the limit either.
    if (in.bad() || bytes.size() > maxSize)
        throw TavloError(ErrorCode::PathFileAccessError);
    return bytes;
}

} // namespace tavlo
