#include "pdf/core/PdfFormat.h"

#include "pdf/core/TavloError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace tavlo {

namespace {

// The value as single precision; beyond its range an infinity (a plain cast would be
// undefined there).
float ToSingle(double value)
{
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        return value < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

// A number of thousandths as a decimal without trailing zeros: "-12.5", "0.001", "7". Below
// 10,000 a value rounded to thousandths is the nearest single-precision value to one, and
// its seven significant digits spell that number of thousandths exactly.
std::string Thousandths(long long value)
{
    char text[24];
    char* end = text + sizeof text;
    char* p = end;
    const bool negative = value < 0;
    unsigned long long n = static_cast<unsigned long long>(negative ? -value : value);
    unsigned fraction = static_cast<unsigned>(n % 1000);
    n /= 1000;
    if (fraction != 0) {
        int digits = 3;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        for (int i = 0; i < digits; ++i) {
            *--p = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        *--p = '.';
    }
    do {
        *--p = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    if (negative)
        *--p = '-';
    return std::string(p, end);
}

} // namespace

double RequirePdfNumber(double value)
{
    if (!(std::fabs(value) <= kPdfNumberLimit)) {
        char text[32];
        const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 9);
        throw TavloError(ErrorCode::Overflow, TavloError::StandardDescription(ErrorCode::Overflow) + ": " +
                                                  std::string(text, written.ptr) +
                                                  " oltre il limite dei numeri PDF (2147483647)");
    }
    return value;
}

float Round3(double value)
{
    // The value is a single-precision one: 20000.0007 is already 20000 before rounding.
    const double v = ToSingle(value);
    if (v < 0) {
        const float t = ToSingle(-v * 1000.0 + 0.5);
        return static_cast<float>(-std::floor(t) * 0.001);
    }
    const float t = ToSingle(v * 1000.0 + 0.5);
    return static_cast<float>(std::floor(t) * 0.001);
}

std::string PdfNumber(double value)
{
    const float rounded = Round3(value);
    // "inf" or "nan" would be a token no reader takes, and a larger integer one that some
    // refuse or misread.
    if (!std::isfinite(rounded))
        throw TavloError(ErrorCode::Overflow);
    RequirePdfNumber(rounded);
    if (rounded == 0.0f)
        return "0";
    if (std::fabs(rounded) < 1e4f)
        return Thousandths(std::llround(static_cast<double>(rounded) * 1000));
    char text[64];
    std::to_chars_result written;
    if (std::fabs(rounded) < 1e7f)
        written = std::to_chars(text, text + sizeof text, rounded, std::chars_format::general, 7);
    else
        written = std::to_chars(text, text + sizeof text, rounded, std::chars_format::fixed, 0);
    return std::string(text, written.ptr);
}

std::string PdfScaledNumber(double value, double scale)
{
    return PdfNumber(ToSingle(value * scale));
}

std::string PdfBoolean(bool flag)
{
    return flag ? "true" : "false";
}

std::string PdfColorComponent(std::uint8_t value)
{
    return PdfNumber(static_cast<float>(value / 255.0));
}

std::string EscapeString(std::string_view value)
{
    if (std::none_of(value.begin(), value.end(),
                     [](char c) { return c == '\\' || c == '(' || c == ')' || c == '\r' || c == '\n'; }))
        return std::string(value);
    std::string out;
    out.reserve(value.size() + 8);
    for (char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '(': out += "\\("; break;
        case ')': out += "\\)"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace tavlo
