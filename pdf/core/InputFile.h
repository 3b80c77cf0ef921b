#pragma once
// Files the writer reads whole (pictures, fonts): missing, unreadable or larger than the
// caller's limit, they raise TavloError with the file error's number instead of being read.

#include "pdf/core/Bytes.h"

#include <cstdint>
#include <string>

namespace tavlo {

// tooLarge: the reason given (invalid file format, 321) for a file above maxSize bytes.
Bytes ReadWholeFile(const std::string& path, std::uintmax_t maxSize, const std::string& tooLarge);

} // namespace tavlo
