#include "pdf/core/Windows1252.h"

#include <cstdint>

namespace tavlo {

namespace {

// Code points of 0x80-0x9F; the five unassigned bytes keep their C1 code points.
constexpr std::uint16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Bytes that PDFDocEncoding reads as the same character as Windows-1252 does.
bool SameInPdfDocEncoding(unsigned char c)
{
    if (c < 0x20)
        return c == '\t' || c == '\n' || c == '\r';
    return c < 0x7F || (c > 0xA0 && c != 0xAD);
}

void AppendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

std::uint32_t Windows1252CodePoint(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
}

std::string Utf8FromWindows1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        AppendUtf8(out, Windows1252CodePoint(c));
    }
    return out;
}

std::string PdfTextFromWindows1252(std::string_view text)
{
    bool same = true;
    for (char ch : text)
        same = same && SameInPdfDocEncoding(static_cast<unsigned char>(ch));
    if (same)
        return std::string(text);
    std::string out = "\xFE\xFF";
    out.reserve(2 + 2 * text.size());
    for (char ch : text) {
        const std::uint32_t code = Windows1252CodePoint(static_cast<unsigned char>(ch));
        out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    }
    return out;
}

} // namespace tavlo
