#pragma once
// Name tokens: every byte outside PDF's regular characters (blanks, delimiters, "#",
// controls and bytes above 126) is written as "#" and two hexadecimal digits, so any text
// given as a name makes a valid token; ordinary names come out unchanged.

#include <string>
#include <string_view>

namespace tavlo {

// The name with its leading "/".
std::string PdfName(std::string_view name);

} // namespace tavlo
