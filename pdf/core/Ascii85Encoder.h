#pragma once
#include "pdf/core/Bytes.h"

namespace tavlo {

// Data for /ASCII85Decode, closed by "~>", without line breaks.
Bytes Ascii85Encode(const Bytes& data);

} // namespace tavlo
