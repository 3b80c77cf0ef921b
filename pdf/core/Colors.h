#pragma once
// Colour texts as callers give them ("#FF8000", "%25", "@255;128;0", "@0;50;100;0",
// "navy", "STRIPES;#FF0000") and the operands of PDF colour operators.

#include <string>

namespace tavlo {

struct ParsedColor {
    std::string form;    // "#" and six hexadecimal digits, or an upper-case pattern name
    std::string second;  // the colour given to an uncoloured pattern, or empty
};

ParsedColor ParseColor(const std::string& color);

// "#RRGGBB" to "r g b", each byte / 255 with three decimals ("#FF8000" gives "1 0.502 0").
// Raises the type-mismatch error (13) when the digits are not hexadecimal.
std::string HexColorToRgb(const std::string& color);

} // namespace tavlo
