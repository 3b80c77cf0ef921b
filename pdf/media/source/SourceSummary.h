#pragma once
// What GetInfo keeps of a source file: its version, pages and document information.

#include "pdf/media/source/PageTree.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo::source {

struct SourceSummary {
    std::int32_t versionNeed = 0;
    std::vector<PageLocation> pages;
    // Text strings as Windows-1252; empty when absent or not a string.
    std::string title, author, creator, producer, subject;
};

// The whole file's bytes; a file the reader refuses raises the invalid-format error.
SourceSummary ReadSourceSummary(std::string_view bytes);

} // namespace tavlo::source
