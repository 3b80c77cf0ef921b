#pragma once
// The file being written and its indirect objects.

#include <cstdint>
#include <string>
#include <vector>

namespace tavlo {

struct OutputState {
    std::string FileName;
    std::int32_t FileLength = 0;   // set by EndDoc
    std::int32_t VersionBump = 0;  // how far the minor version must exceed 1.3 (RequireVersion)

    std::int32_t LastObjectNumber = 0;
    std::vector<std::string> XrefEntries = std::vector<std::string>(1);  // by object number, entry 0 unused
    std::int32_t CurrentObject = 0;  // whose key encrypts strings and streams
    bool ObjectsWritten = false;     // set when an object is begun; SetProtection then refuses
};

} // namespace tavlo
