#include "pdf/core/AsciiHexEncoder.h"

namespace tavlo {

Bytes AsciiHexEncode(const Bytes& data)
{
    static const char digits[] = "0123456789ABCDEF";
    Bytes out(data.size() * 2);
    for (std::size_t i = 0; i < data.size(); ++i) {
        out[2 * i] = std::uint8_t(digits[data[i] >> 4]);
        out[2 * i + 1] = std::uint8_t(digits[data[i] & 15]);
    }
    return out;
}

std::string HexText(const Bytes& data)
{
    return TextOf(AsciiHexEncode(data));
}

} // namespace tavlo
