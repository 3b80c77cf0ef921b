#pragma once
// Form fields, scripts, bookmarks, named destinations and layers (their records are in
// DocumentTables).

#include <array>
#include <cstdint>
#include <string>

namespace tavlo {

struct InteractiveState {
    std::int32_t FieldCount = 0;
    std::string FieldRefs, CalcOrder;  // reference lists of the form dictionary
    std::array<std::string, 9> DocScripts;
    std::int32_t BookmarkCount = 0, DestinationCount = 0, LayerCount = 0;
};

} // namespace tavlo
