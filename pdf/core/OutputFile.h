#pragma once
// The file a document is written to. The document goes into a new file beside the one
// named, which takes the name only once it is whole (Commit), so a full disk or an
// abandoned document leaves the earlier file of that name as it was. A failed write is
// remembered (sticky) and reported by Commit. A name that is no regular file (a device
// such as /dev/full) is written in place.

#include "pdf/core/Bytes.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace tavlo {

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // Creates the new file; raises TavloError with the file error's number.
    void Open(const std::string& path);
    // Drops what was written: the earlier file stays.
    void Discard();
    bool IsOpen() const { return file_ != nullptr; }

    void Write(std::string_view bytes);
    void Write(const Bytes& bytes) { Write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())); }
    // Writes bytes over the first ones (the header's version, known only at the end).
    void Overwrite(std::string_view bytes);

    // Flushes, syncs and closes the file, then puts it in place of the earlier one; on any
    // failure removes it and raises TavloError (61 for a full disk).
    void Commit();

    // Bytes written so far (the offset of the next byte).
    std::int64_t Position() const { return position_; }

private:
    void Fail(int error);

    std::FILE* file_ = nullptr;
    std::string target_, temporary_;  // temporary_ empty: written in place
    std::int64_t position_ = 0;
    bool failed_ = false;
    int failureCode_ = 0;
};

} // namespace tavlo
