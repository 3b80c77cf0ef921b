#include "pdf/core/PdfFormat.h"

#include <charconv>
#include <cmath>

namespace tavlo {

float Round3(double value)
{
    if (value < 0) {
        const float t = static_cast<float>(-value * 1000.0 + 0.5);
        return static_cast<float>(-std::floor(t) * 0.001);
    }
    const float t = static_cast<float>(value * 1000.0 + 0.5);
    return static_cast<float>(std::floor(t) * 0.001);
}

std::string PdfNumber(double value)
{
    const float rounded = Round3(value);
    if (rounded == 0.0f || std::isnan(rounded))
        return "0";
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
    return PdfNumber(static_cast<float>(value * scale));
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
