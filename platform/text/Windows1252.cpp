#include "platform/text/Windows1252.h"

#include <array>

namespace quercino {
namespace {

// Codes 0x80..0x9F; the rest of the page is Latin-1. The unassigned codes keep the
// control character of the same number.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

char16_t windows1252Char(std::uint8_t code)
{
    if (code >= 0x80 && code <= 0x9F)
        return kHighControls[code - 0x80];
    return code;
}

int windows1252Code(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

std::uint8_t windows1252CodeOrQuestionMark(char16_t c)
{
    const int code = windows1252Code(c);
    return code < 0 ? std::uint8_t('?') : static_cast<std::uint8_t>(code);
}

QString decodeWindows1252(std::span<const std::uint8_t> bytes)
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (std::uint8_t b : bytes)
        *out++ = QChar(windows1252Char(b));
    return text;
}

std::vector<std::uint8_t> encodeWindows1252(QStringView text, bool* lossless)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    bool all = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const int code = windows1252Code(c);
        if (code >= 0) {
            bytes.push_back(static_cast<std::uint8_t>(code));
            continue;
        }
        all = false;
        bytes.push_back('?');
        // A character outside the basic plane is one character, not two.
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    if (lossless)
        *lossless = all;
    return bytes;
}

bool fitsWindows1252(QStringView text)
{
    for (QChar c : text) {
        if (windows1252Code(c.unicode()) < 0)
            return false;
    }
    return true;
}

} // namespace quercino
