#pragma once
// Layer sections (BDC ... EMC) kept balanced in each content stream: an EndLayer with no
// section open in the stream being written writes nothing, and the sections a caller left
// open are closed when the page, recorded object or tiling cell is finished.

#include "pdf/core/StringBuffer.h"

#include <cstdint>

namespace tavlo {

void CloseLayerSections(StringBuffer& content, std::int32_t& open);

} // namespace tavlo
