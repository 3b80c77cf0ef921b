#pragma once
// The document's settings: viewer preferences, memory use and stream compression.

#include "pdf/core/deflate/FlateEncoder.h"

#include <cstdint>

namespace tavlo {

struct WriterSettings {
    std::int32_t ViewerPreferences = 0;
    int MemoryUsage = 1;  // 0..10: how tables grow (TableGrowth.h)
    std::uint32_t Compression = 0;
    std::uint8_t CompressionLevel = 0;
    // The Flate encoder's match index (about 450 KB) and token room (kept up to 4 MiB), made
    // at the first stream and reused by every later stream of the document.
    deflate::FlateWorkspace flate;
};

} // namespace tavlo
