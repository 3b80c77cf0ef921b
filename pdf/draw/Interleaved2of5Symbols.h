#pragma once
// Interleaved 2 of 5: the digits a text is drawn with and the element widths of the symbol.

#include <string>

namespace tavlo {

// The digits drawn: the text, the modulo-10 check digit when asked, and a leading zero
// when the count is odd. Empty when the text is empty or holds anything but digits.
std::string Interleaved2of5Digits(const std::string& code, bool addCheck);

// "n" narrow, "w" wide, bars at the odd places: start, the digit pairs (the first digit
// in the bars, the second in the spaces), stop with its trailing narrow space.
std::string Interleaved2of5Elements(const std::string& digits);

} // namespace tavlo
