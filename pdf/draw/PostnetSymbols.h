#pragma once
// POSTNET: the digits a ZIP code is drawn with and the full and half bars of the symbol.

#include <string>

namespace tavlo {

// The digits of a ZIP (5), ZIP+4 (9, or 10 characters with one separator after the
// fifth) or delivery point (11) code followed by the check digit. Empty for any other
// text: a code that is not one of these would be misdelivered, not refused by a reader.
std::string PostnetDigits(const std::string& code);

// "1" a full bar, "0" a half bar: the frame bars around the words of the digits.
std::string PostnetBars(const std::string& digits);

} // namespace tavlo
