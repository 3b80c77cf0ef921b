#include "pdf/core/Colors.h"

#include "pdf/core/AsciiCase.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloError.h"
#include "pdf/core/TextReplace.h"

#include <algorithm>
#include <charconv>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace tavlo {

namespace {

constexpr std::int32_t kTypeMismatch = 13;

constexpr std::array<std::pair<const char*, const char*>, 35> kNames = {{
    {"BLACK", "#000000"},     {"GRAY", "#808080"},       {"SILVER", "#C0C0C0"},    {"WHITE", "#FFFFFF"},
    {"MAROON", "#800000"},    {"RED", "#FF0000"},        {"PURPLE", "#800080"},    {"FUCHSIA", "#FF00FF"},
    {"MAGENTA", "#FF00FF"},   {"GREEN", "#008000"},      {"LIME", "#00FF00"},      {"OLIVE", "#808000"},
    {"YELLOW", "#FFFF00"},    {"AQUA", "#00FFFF"},       {"CYAN", "#00FFFF"},      {"ORANGE", "#FF7F00"},
    {"AZURE", "#F0FFFF"},     {"GOLD", "#FFD700"},       {"LIGHTBLUE", "#ADD8E6"}, {"LIGHTCYAN", "#E0FFFF"},
    {"LIGHTGREEN", "#90EE90"}, {"LIGHTPINK", "#FFB6C1"}, {"NAVY", "#000080"},      {"BLUE", "#0000FF"},
    {"TEAL", "#008080"},      {"LIGHTYELLOW", "#FFFFE0"}, {"TOMATO", "#FF6347"},   {"VIOLET", "#EE82EE"},
    {"PINK", "#FFC0CB"},      {"IVORY", "#FFFFF0"},      {"DARKGRAY", "#A9A9A9"},  {"DARKCYAN", "#008B8B"},
    {"DARKBLUE", "#00008B"},  {"BROWN", "#A52A2A"},      {"BEIGE", "#F5F5DC"},
}};

std::string TrimmedUpper(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return AsciiUpper(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// The leading decimal number of a text, blanks skipped, "." as the point; 0 when none.
double LeadingNumber(const std::string& text)
{
    std::string digits;
    bool point = false;
    for (char c : text) {
        if (c == ' ')
            continue;
        if ((c == '-' || c == '+') && digits.empty()) {
            digits += c;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            digits += c;
        } else if (c == '.' && !point) {
            point = true;
            digits += c;
        } else {
            break;
        }
    }
    // from_chars ignores the machine's locale; it takes no leading "+".
    const char* first = digits.data();
    if (!digits.empty() && digits[0] == '+')
        ++first;
    double value = 0;
    if (std::from_chars(first, digits.data() + digits.size(), value).ec != std::errc())
        return 0;
    return value;
}

std::int64_t CheckedRound(double value, double limit)
{
    const double rounded = std::nearbyint(value);  // halves to even
    if (!(std::fabs(rounded) <= limit))
        throw TavloError(ErrorCode::Overflow);
    return static_cast<std::int64_t>(rounded);
}

std::string Hex2(std::int64_t value)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(value & 0xFF));
    return text;
}

std::string FiguresColor(const std::string& color)
{
    const std::string figures = ReplaceText(color.substr(1), ",", ".");
    const std::vector<std::string> parts = SplitText(figures, ";");
    std::array<double, 3> channels{};
    if (parts.size() == 3) {
        for (std::size_t i = 0; i < 3; ++i)
            channels[i] = LeadingNumber(parts[i]);
    } else if (parts.size() == 4) {
        const double k = LeadingNumber(parts[3]);
        for (std::size_t i = 0; i < 3; ++i)
            channels[i] = std::fabs(100 - (LeadingNumber(parts[i]) + k)) * 2.55;
    } else {
        return std::string();
    }
    std::string out = "#";
    for (double channel : channels)
        out += Hex2(CheckedRound(channel, 2147483647.0));
    return out;
}

std::string GreyColor(const std::string& color)
{
    const double p = LeadingNumber(color.substr(1));
    const double grey = 255 - std::floor(p * 255 / 100);
    if (!(grey >= -32768 && grey <= 32767))
        throw TavloError(ErrorCode::Overflow);
    const std::string g = Hex2(static_cast<std::int64_t>(grey));
    return "#" + g + g + g;
}

} // namespace

ParsedColor ParseColor(const std::string& color)
{
    if (color.empty())
        return {};
    switch (color[0]) {
    case '#': return {color.substr(0, 7), std::string()};
    case '%': return {GreyColor(color), std::string()};
    case '@': return {FiguresColor(color), std::string()};
    default: break;
    }
    const std::vector<std::string> parts = SplitText(color, ";");
    const std::string name = TrimmedUpper(parts[0]);
    for (const auto& [known, value] : kNames)
        if (name == known)
            return {value, std::string()};
    ParsedColor parsed{name, std::string()};
    if (parts.size() > 1) {
        const std::string second = TrimmedUpper(parts[1]);
        if (!second.empty())
            parsed.second = ParseColor(second).form;
    }
    return parsed;
}

std::string HexColorToRgb(const std::string& color)
{
    const std::string digits = color.size() > 1 ? color.substr(1) : std::string();
    if (digits.empty() || digits.size() > 8 ||
        !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isxdigit(c); }))
        throw TavloError(kTypeMismatch, "Tipo non corrispondente");
    const unsigned long value = std::stoul(digits, nullptr, 16);
    const unsigned red = (value >> 16) & 255, green = (value >> 8) & 255, blue = value & 255;
    return PdfColorComponent(static_cast<std::uint8_t>(red)) + " " +
           PdfColorComponent(static_cast<std::uint8_t>(green)) + " " +
           PdfColorComponent(static_cast<std::uint8_t>(blue));
}

ColorMemo::Entry& ColorMemo::Parse(const std::string& color)
{
    for (Entry& e : entries_)
        if (e.used && e.text == color)
            return e;
    ParsedColor parsed = ParseColor(color);
    Entry& e = entries_[next_];
    next_ = (next_ + 1) % entries_.size();
    e = Entry{color, std::move(parsed), {}, {false, false}, true};
    return e;
}

const std::string& ColorMemo::Entry::Rgb(int part)
{
    if (!made[part]) {
        rgb[part] = HexColorToRgb(part == 0 ? parsed.form : parsed.second);
        made[part] = true;
    }
    return rgb[part];
}

} // namespace tavlo
