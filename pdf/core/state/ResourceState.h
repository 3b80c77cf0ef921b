#pragma once
// The entries of the shared resource dictionary that EndDoc writes, and the record tables
// with their counts. The image records themselves outlive a reset (LastingState).

#include "pdf/core/DocumentTables.h"
#include "pdf/core/SourceEntry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavlo {

struct ResourceState {
    std::string FontResources, ImageResources, XObjectResources, ExtGStates, Patterns;

    std::int32_t FontCount = 0, CurrentFont = 0;
    std::int32_t ImageCount = 0;
    std::int32_t RecordedCount = 0;
    std::int32_t SourceCount = 0, CurrentSource = 0;
    std::vector<SourceEntry> Sources;  // SourceCount records: the files GetInfo could read

    // Fonts, outline, layers, recorded objects, destinations, page labels, the open page's
    // widgets, the current font and the pattern and transparency state.
    DocumentTables doc;
};

} // namespace tavlo
