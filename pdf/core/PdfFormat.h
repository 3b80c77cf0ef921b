#pragma once
// Number, flag and string tokens as the writer puts them in a file: three decimals with a
// full stop whatever the machine's locale, strings escaped for a literal.

#include <cstdint>
#include <string>
#include <string_view>

namespace tavlo {

// Three decimals, half away from zero, in single precision.
float Round3(double value);

// The largest magnitude a number written into a file may have. Readers take a number without
// a fraction as a 32-bit integer, PDF's own limit for them: past it qpdf refuses the file and
// mupdf reads another number.
constexpr double kPdfNumberLimit = 2147483647.0;

// The value, when a reader takes it as it stands; otherwise the overflow error (6).
double RequirePdfNumber(double value);

// At most seven significant digits, no trailing zeros, a full stop as separator. A value
// that, rounded, lies past kPdfNumberLimit (or is not finite) raises the overflow error.
std::string PdfNumber(double value);
// value × scale, held as a single-precision value, then as PdfNumber.
std::string PdfScaledNumber(double value, double scale);
std::string PdfBoolean(bool flag);
// A colour byte as a fraction of 255 (128 gives 0.502).
std::string PdfColorComponent(std::uint8_t value);

// Backslash, parentheses, CR and LF escaped; every other byte raw.
std::string EscapeString(std::string_view value);

} // namespace tavlo
