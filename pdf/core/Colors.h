#pragma once
// Colour texts as callers give them ("#FF8000", "%25", "@255;128;0", "@0;50;100;0",
// "navy", "STRIPES;#FF0000") and the operands of PDF colour operators.

#include <array>
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

// The last colour texts met, parsed once, with the operands of their "#RRGGBB" parts made at
// the first need: drawing members give the same few texts line after line.
class ColorMemo {
public:
    struct Entry {
        std::string text;
        ParsedColor parsed;
        std::string rgb[2];  // of parsed.form and of parsed.second
        bool made[2] = {false, false};
        bool used = false;
        // HexColorToRgb of the form (part 0) or of the second colour (part 1), raising as it does.
        const std::string& Rgb(int part);
    };
    Entry& Parse(const std::string& color);

private:
    std::array<Entry, 4> entries_;
    std::size_t next_ = 0;
};

} // namespace tavlo
