#include "pdf/core/LinkTargets.h"

#include "pdf/core/JavaScriptString.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloError.h"
#include "pdf/core/TextReplace.h"
#include "pdf/core/Windows1252.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace tavlo {

namespace {

// Upper case of the ASCII letters only, so the result does not follow the machine's locale.
std::string Upper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return out;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string DestinationView(std::int32_t fit, const DestinationBox& box, double zoomPercent)
{
    switch (fit) {
    case 0: return "/FitB";
    case 1: return "/FitV " + PdfNumber(box.x);
    case 2: return "/FitH " + PdfNumber(box.y);
    case 3:
        return "/FitR " + PdfNumber(box.x) + " " + PdfNumber(box.y) + " " + PdfNumber(box.x + box.width) + " " +
               PdfNumber(box.y - box.height);
    case 4: return "/XYZ " + PdfNumber(box.x) + " " + PdfNumber(box.y) + " " + PdfNumber(zoomPercent / 100.0);
    default: return std::string();
    }
}

namespace {

// The number at the start of the text (after blanks): its value, and where it ends, or
// no value when the text does not start with one. Read with a full stop as the decimal
// point whatever the machine's locale, as every number of a PDF is.
struct ScannedNumber {
    std::optional<double> value;
    std::size_t end = 0;
};

ScannedNumber ScanNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t digitsFrom = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
    }
    const std::size_t mantissaEnd = i;
    if (mantissaEnd == digitsFrom || (mantissaEnd == digitsFrom + 1 && text[digitsFrom] == '.'))
        return {};
    // An exponent counts only when digits follow it.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    double value = 0;
    const auto [ptr, error] = std::from_chars(text.data() + digitsFrom, text.data() + i, value);
    ScannedNumber scanned;
    scanned.end = i;
    // A number beyond the range of a double is no usable number.
    if (error == std::errc() && ptr == text.data() + i && std::isfinite(value))
        scanned.value = negative ? -value : value;
    return scanned;
}

} // namespace

double LeadingNumber(std::string_view text)
{
    return ScanNumber(text).value.value_or(0);
}

std::optional<double> WholeNumber(std::string_view text)
{
    const ScannedNumber scanned = ScanNumber(text);
    if (!scanned.value || !Trim(text.substr(scanned.end)).empty())
        return std::nullopt;
    return scanned.value;
}

std::int32_t RoundToInt32(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max()))
        throw TavloError(ErrorCode::Overflow);
    return static_cast<std::int32_t>(rounded);
}

std::int32_t LinkTargetPage(std::string_view text, std::int32_t openPage)
{
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        const std::int32_t page = RoundToInt32(static_cast<double>(openPage) + LeadingNumber(text));
        return std::max(page, 1);
    }
    if (!text.empty() && text.front() == '#') {
        const std::string word = Upper(Trim(text.substr(1)));
        if (word == "LAST")
            return -1;
        if (word == "NEXT")
            return CheckedInt32(static_cast<std::int64_t>(openPage) + 1);
        if (word == "PREV")
            return openPage - 1;
        if (word == "FIRST")
            return 1;
        return 0;
    }
    return RoundToInt32(LeadingNumber(text));
}

std::string AsciiUri(std::string_view text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : Utf8FromWindows1252(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F) {
            out += c;
        } else {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 15];
        }
    }
    return out;
}

std::string LayerSwitchScript(std::string_view text)
{
    std::string t;
    for (char c : text)
        if (c != ' ')
            t += c;
    const std::string upper = Upper(t);

    struct Group {
        const char* opening;
        const char* action;
    };
    static constexpr Group groups[] = {
        {"ON(", "ocgArray[i].state = true;"},
        {"OFF(", "ocgArray[i].state = false;"},
        {"TOGGLE(", "ocgArray[i].state = !ocgArray[i].state;"},
    };
    std::string js;
    for (const Group& group : groups) {
        const std::string opening = group.opening;
        std::size_t at = upper.find(opening);
        // "ON(" must not be the tail of another word such as "TOGGLEON(".
        while (at != std::string::npos && at > 0 && upper[at - 1] >= 'A' && upper[at - 1] <= 'Z')
            at = upper.find(opening, at + 1);
        if (at == std::string::npos)
            continue;
        const std::size_t from = at + opening.size();
        const std::size_t close = t.find(')', from);
        const std::string names = t.substr(from, close == std::string::npos ? std::string::npos : close - from);
        for (const std::string& name : SplitText(names, ",")) {
            if (name.empty())
                continue;
            js += "if (ocgArray[i].name.toUpperCase() == " + JavaScriptString(name) + ".toUpperCase()) { " +
                  group.action + " };\r";
        }
    }
    // getOCGs gives null when the document has no layers.
    return "var ocgArray = this.getOCGs() || [];for (var i=0; i < ocgArray.length; i++) {\r" + js + "}";
}

} // namespace tavlo
