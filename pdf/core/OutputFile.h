#pragma once
// The file a document is written to. A failed write is remembered (sticky) instead of
// being lost, so the end of the document can report a truncated file.

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

    // Creates (or truncates) the file; raises TavloError with the file error's number.
    void Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    void Write(std::string_view bytes);
    void Write(const Bytes& bytes) { Write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())); }

    // Bytes written so far (the offset of the next byte).
    std::int64_t Position() const { return position_; }
    bool Failed() const { return failed_; }
    int FailureCode() const { return failureCode_; }

private:
    std::FILE* file_ = nullptr;
    std::int64_t position_ = 0;
    bool failed_ = false;
    int failureCode_ = 0;
};

} // namespace tavlo
