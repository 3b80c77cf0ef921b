#pragma once
#include "pdf/core/Bytes.h"

namespace tavlo {

// Data for /RunLengthDecode, ending with the end-of-data byte 128.
Bytes RunLengthEncode(const Bytes& data);

} // namespace tavlo
