#include "platform/text/DecodeText.h"

#include "platform/text/Windows1252.h"

namespace quercino {

bool isValidUtf8(std::span<const std::uint8_t> bytes)
{
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const std::uint8_t b = bytes[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t extra = 0;
        std::uint32_t cp = 0;
        std::uint32_t min = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1; cp = b & 0x1Fu; min = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2; cp = b & 0x0Fu; min = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3; cp = b & 0x07u; min = 0x10000;
        } else {
            return false;
        }
        if (n - i - 1 < extra)
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const std::uint8_t c = bytes[i + k];
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

QString decodeUtf8OrWindows1252(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        bytes = bytes.subspan(3);
    if (isValidUtf8(bytes))
        return QString::fromUtf8(reinterpret_cast<const char*>(bytes.data()),
                                 static_cast<qsizetype>(bytes.size()));
    return decodeWindows1252(bytes);
}

} // namespace quercino
