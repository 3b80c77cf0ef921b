#pragma once
#include "pdf/core/Bytes.h"

#include <cstdint>

namespace tavlo {

// Data for /LZWDecode (early change). The level (0..3) sets the largest code before a
// clear: 511, 1023, 2047 or 4095.
Bytes LzwEncode(const Bytes& data, int level);

} // namespace tavlo
