#pragma once
// EAN-13 and EAN-8: digits and check digit of a text, and the symbol's modules.

#include <string>

namespace tavlo {

struct EanSymbol {
    std::string digits;   // the encoded digits, check digit last (13 or 8)
    std::string printed;  // the caller's characters, check digit last: what the caption shows
    std::string modules;  // "1" dark, "0" light, guards included (95 or 67)
};

// dataLength 12 (EAN-13) or 7 (EAN-8). A character other than "0" to "9" is encoded
// as 0 yet printed as given; a short text is completed with zeros; the character in
// the check digit's place and anything after it are ignored.
EanSymbol MakeEanSymbol(const std::string& code, std::size_t dataLength);

} // namespace tavlo
