#pragma once
// The writer's texts are Windows-1252 bytes; the XMP packet is UTF-8.

#include <string>
#include <string_view>

namespace tavlo {

std::string Utf8FromWindows1252(std::string_view text);

} // namespace tavlo
