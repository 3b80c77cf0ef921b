#include "pdf/core/OutputFile.h"

#include "pdf/core/TavloError.h"

#include <cerrno>

namespace tavlo {

namespace {

std::int32_t FileErrorNumber(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return ErrorCode::PathNotFound;
    case ENOSPC: return ErrorCode::DiskFull;
    default: return ErrorCode::PathFileAccessError;
    }
}

} // namespace

OutputFile::~OutputFile()
{
    Close();
}

void OutputFile::Open(const std::string& path)
{
    Close();
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw TavloError(FileErrorNumber(errno));
    file_ = file;
    position_ = 0;
    failed_ = false;
    failureCode_ = 0;
}

void OutputFile::Close()
{
    if (!file_)
        return;
    if (std::fclose(file_) != 0 && !failed_) {
        failed_ = true;
        failureCode_ = FileErrorNumber(errno);
    }
    file_ = nullptr;
}

void OutputFile::Write(std::string_view bytes)
{
    if (!file_) {
        if (!failed_) {
            failed_ = true;
            failureCode_ = ErrorCode::BadFileNameOrNumber;
        }
        return;
    }
    if (bytes.empty())
        return;
    errno = 0;
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file_);
    position_ += static_cast<std::int64_t>(written);
    if (written != bytes.size() && !failed_) {
        failed_ = true;
        failureCode_ = FileErrorNumber(errno ? errno : ENOSPC);
    }
}

} // namespace tavlo
