#pragma once
#include "pdf/core/Bytes.h"

#include <string>

namespace tavlo {

// Two upper-case hexadecimal digits per byte, nothing else (no ">" end marker).
Bytes AsciiHexEncode(const Bytes& data);
std::string HexText(const Bytes& data);

} // namespace tavlo
