#pragma once
// The pieces of a link target and of a destination that need no writer state: the view
// of a destination, the number at the start of a text, the page a "page:" link asks for
// and the script of a "layer:" link.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavlo {

// A point and box already in page space (points, y upwards).
struct DestinationBox {
    double x = 0, y = 0, width = 0, height = 0;
};

// "/FitB", "/FitV x", "/FitH y", "/FitR x y x+w y-h", "/XYZ x y zoom/100"; empty for any
// other fit.
std::string DestinationView(std::int32_t fit, const DestinationBox& box, double zoomPercent);

// The number at the beginning of the text (blanks skipped, sign, digits, decimal point,
// exponent), 0 when there is none. The decimal point is a full stop whatever the locale.
double LeadingNumber(std::string_view text);

// The number that makes up the whole text (blanks around it allowed), read the same way;
// none when the text holds anything else or the number is beyond a double's range.
std::optional<double> WholeNumber(std::string_view text);

// Rounds to the nearest integer, halves to even; raises the overflow error beyond 32 bits.
std::int32_t RoundToInt32(double value);

// The page a "page:" target names, from the text after the prefix and the open page:
// "+n"/"-n" relative (at least 1), "#FIRST", "#LAST" (-1), "#NEXT", "#PREV" (any case),
// otherwise the number; an unknown word gives 0.
std::int32_t LinkTargetPage(std::string_view text, std::int32_t openPage);

// A web or mail address as the 7-bit ASCII a URI action holds: the characters of the
// Windows-1252 text that are not plain ASCII, blanks and control characters written as
// the %XX escapes of their UTF-8 bytes; everything else unchanged.
std::string AsciiUri(std::string_view text);

// The script of a "layer:" target such as "ON(A,B) OFF(C) TOGGLE(D)": each named layer
// is switched on, off or over, its name compared without regard to case.
std::string LayerSwitchScript(std::string_view text);

} // namespace tavlo
