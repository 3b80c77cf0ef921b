#include "pdf/core/JavaScriptString.h"

#include "pdf/core/Windows1252.h"

#include <cstdint>
#include <cstdio>

namespace tavlo {

std::string JavaScriptString(std::string_view text)
{
    std::string out = "'";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\'' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte >= 0x20 && byte < 0x7F) {
            out += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(Windows1252CodePoint(byte)));
            out += escape;
        }
    }
    return out + "'";
}

} // namespace tavlo
