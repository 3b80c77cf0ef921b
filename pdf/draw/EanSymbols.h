#pragma once
// EAN-13 and EAN-8: digits and check digit of a text, and the symbol's modules.

#include <string>

namespace tavlo {

struct EanSymbol {
    std::string digits;   // the encoded digits, check digit last (13 or 8); empty: refused
    std::string modules;  // "1" dark, "0" light, guards included (95 or 67)
};

// dataLength 12 (EAN-13) or 7 (EAN-8): a text of that many digits, or of one more whose
// last one, in the check digit's place, is ignored (the check digit is always computed).
// Any other text is refused: the symbol would carry digits the caller did not give.
EanSymbol MakeEanSymbol(const std::string& code, std::size_t dataLength);

} // namespace tavlo
