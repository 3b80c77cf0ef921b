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

// Code points of 0x80-0xFF in MacRomanEncoding.
constexpr std::uint16_t kMacHigh[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5,
    0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3, 0x00F2, 0x00F4,
    0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6,
    0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8, 0x221E, 0x00B1, 0x2264, 0x2265,
    0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF,
    0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, 0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5,
    0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044,
    0x00A4, 0x2039, 0x203A, 0xFB01, 0xFB02, 0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9,
    0x0131, 0x02C6, 0x02DC, 0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
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

// PDFDocEncoding's own characters at 0x18-0x1F and 0x80-0xA0 (0 where it has none).
constexpr std::uint16_t kPdfDocLow[8] = {0x02D8, 0x02C7, 0x02C6, 0x02D9, 0x02DD, 0x02DB, 0x02DA, 0x02DC};
constexpr std::uint16_t kPdfDocHigh[33] = {
    0x2022, 0x2020, 0x2021, 0x2026, 0x2014, 0x2013, 0x0192, 0x2044, 0x2039, 0x203A, 0x2212,
    0x2030, 0x201E, 0x201C, 0x201D, 0x2018, 0x2019, 0x201A, 0x2122, 0xFB01, 0xFB02, 0x0141,
    0x0152, 0x0160, 0x0178, 0x017D, 0x0131, 0x0142, 0x0153, 0x0161, 0x017E, 0x0000, 0x20AC,
};


std::uint32_t PdfDocCodePoint(unsigned char byte)
{
    if (byte >= 0x18 && byte < 0x20)
        return kPdfDocLow[byte - 0x18];
    if (byte >= 0x80 && byte <= 0xA0)
        return kPdfDocHigh[byte - 0x80];
    return byte;
}

} // namespace

std::uint32_t Windows1252CodePoint(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
}

int Windows1252Byte(std::uint32_t codePoint)
{
    if (codePoint < 0x100 && (codePoint < 0x80 || codePoint >= 0xA0))
        return static_cast<int>(codePoint);
    // The C1 controls of the five unassigned bytes are no characters of the code page.
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == codePoint && codePoint >= 0x100)
            return 0x80 + i;
    return -1;
}

std::uint32_t MacRomanCodePoint(unsigned char byte)
{
    return byte >= 0x80 ? kMacHigh[byte - 0x80] : byte;
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

std::string Windows1252FromUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;  // 0: no lead byte
        if (lead < 0x80)
            length = 1;
        else if (lead >= 0xC2 && lead < 0xE0)
            length = 2;
        else if (lead >= 0xE0 && lead < 0xF0)
            length = 3;
        else if (lead >= 0xF0 && lead < 0xF5)
            length = 4;
        std::uint32_t code = length <= 1 ? lead : lead & (0x7F >> length);
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = code << 6 | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past Unicode are no UTF-8 either.
        valid = valid && !(length == 3 && code < 0x800) && !(length == 4 && (code < 0x10000 || code > 0x10FFFF)) &&
                !(code >= 0xD800 && code < 0xE000);
        if (!valid) {
            out += text[i++];
            continue;
        }
        const int byte = Windows1252Byte(code);
        // The five bytes the code page leaves unassigned come back from their C1 code points.
        if (byte >= 0)
            out += static_cast<char>(byte);
        else if (code >= 0x80 && code < 0xA0 && Windows1252CodePoint(static_cast<unsigned char>(code)) == code)
            out += static_cast<char>(code);
        else
            out += '?';
        i += length;
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

std::string Windows1252FromPdfText(std::string_view text)
{
    std::string out;
    auto append = [&out](std::uint32_t code) {
        const int byte = Windows1252Byte(code);
        out += byte < 0 ? '?' : static_cast<char>(byte);
    };
    if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFE && static_cast<unsigned char>(text[1]) == 0xFF) {
        for (std::size_t i = 2; i + 1 < text.size(); i += 2) {
            std::uint32_t code = static_cast<unsigned char>(text[i]) << 8 | static_cast<unsigned char>(text[i + 1]);
            // A surrogate pair is one character outside Windows-1252.
            if (code >= 0xD800 && code < 0xDC00 && i + 3 < text.size())
                i += 2;
            append(code >= 0xD800 && code < 0xE000 ? 0xFFFD : code);
        }
        return out;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        for (std::size_t i = 3; i < text.size();) {
            const auto lead = static_cast<unsigned char>(text[i]);
            const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            std::uint32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
            for (int k = 1; k < length && i + k < text.size(); ++k)
                code = code << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
            append(code);
            i += length;
        }
        return out;
    }
    for (char c : text) {
        const std::uint32_t code = PdfDocCodePoint(static_cast<unsigned char>(c));
        append(code == 0 ? 0xFFFD : code);
    }
    return out;
}

} // namespace tavlo
