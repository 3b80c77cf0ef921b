#include "pdf/core/OutputFile.h"

#include "pdf/core/TavloError.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tavlo {

namespace {

std::int32_t FileErrorNumber(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return ErrorCode::PathNotFound;
    case ENOSPC:
    case EDQUOT: return ErrorCode::DiskFull;
    default: return ErrorCode::PathFileAccessError;
    }
}

// A name of its own in the folder, created here so that no other file is ever overwritten;
// the mode is the umask's, as for any new file.
int CreateBeside(const std::string& target, std::string& name)
{
    const std::filesystem::path parent = std::filesystem::path(target).parent_path();
    const std::string folder = parent.empty() ? std::string(".") : parent.string();
    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(device()));
        name = folder + "/.~tavlo-" + suffix + ".pdf";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The file a link leads to, link after link, also one that does not exist yet (which
// realpath cannot give); the path itself when it is no link, empty for links in a circle.
std::string LinkTarget(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path at = path;
    for (int hops = 0; fs::is_symlink(fs::symlink_status(at, error)); ++hops) {
        const fs::path next = fs::read_symlink(at, error);
        if (error || hops == 40)
            return {};
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    return at.string();
}

} // namespace

OutputFile::~OutputFile()
{
    Discard();
}

void OutputFile::Open(const std::string& path)
{
    Discard();
    position_ = 0;
    failed_ = false;
    failureCode_ = 0;
    errno = 0;
    struct stat earlier{};
    const bool exists = ::stat(path.c_str(), &earlier) == 0;
    if (exists && !S_ISREG(earlier.st_mode)) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file)
            throw TavloError(FileErrorNumber(errno));
        file_ = file;
        target_ = path;
        return;
    }
    // The earlier file must be one this process may replace, as if it were opened.
    if (exists && ::access(path.c_str(), W_OK) != 0)
        throw TavloError(FileErrorNumber(errno));
    // A link keeps its place: the file it leads to is the one replaced, or made.
    const std::string target = LinkTarget(path);
    if (target.empty())
        throw TavloError(FileErrorNumber(ELOOP));
    std::string name;
    const int fd = CreateBeside(target, name);
    if (fd < 0)
        throw TavloError(FileErrorNumber(errno));
    if (exists)
        ::fchmod(fd, earlier.st_mode & 07777);
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        const int error = errno;
        ::close(fd);
        ::unlink(name.c_str());
        throw TavloError(FileErrorNumber(error));
    }
    file_ = file;
    target_ = target;
    temporary_ = name;
}

void OutputFile::Discard()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
}

void OutputFile::Fail(int error)
{
    if (!failed_) {
        failed_ = true;
        failureCode_ = FileErrorNumber(error);
    }
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
    if (written != bytes.size())
        Fail(errno ? errno : ENOSPC);
}

void OutputFile::Overwrite(std::string_view bytes)
{
    if (!file_)
        return;
    errno = 0;
    if (std::fseek(file_, 0, SEEK_SET) != 0 || std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size() ||
        std::fseek(file_, 0, SEEK_END) != 0)
        Fail(errno ? errno : ENOSPC);
}

void OutputFile::Commit()
{
    if (!file_)
        throw TavloError(failed_ ? failureCode_ : ErrorCode::BadFileNameOrNumber);
    errno = 0;
    if (std::fflush(file_) != 0)
        Fail(errno);
    // On the disk before it takes the name, so that no crash leaves the name to an empty file.
    if (!temporary_.empty() && ::fsync(::fileno(file_)) != 0)
        Fail(errno);
    if (std::fclose(file_) != 0)
        Fail(errno);
    file_ = nullptr;
    if (!failed_ && !temporary_.empty() && std::rename(temporary_.c_str(), target_.c_str()) != 0)
        Fail(errno);
    if (failed_) {
        Discard();
        throw TavloError(failureCode_);
    }
    temporary_.clear();
}

} // namespace tavlo
