#pragma once
// Where content lines go (PutContent): the recorded object's content, else the tiling
// cell's, else the open page's. InflateOutput holds what the inflate decoder gave last.

#include "pdf/core/StringBuffer.h"

#include <cstdint>

namespace tavlo {

struct ContentTargets {
    StringBuffer PageContent, ObjectContent, TilingContent, InflateOutput;
    bool InPage = false, InObject = false, InTiling = false;
    bool ColorLocked = false;
    // Drawing spaces, tables and cells whose "q" is open in each stream.
    std::int32_t PageSpaces = 0, ObjectSpaces = 0, TilingSpaces = 0;  // an uncoloured tiling cell is recorded: the colour setters do nothing
};

} // namespace tavlo
