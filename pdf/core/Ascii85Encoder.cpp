#include "pdf/core/Ascii85Encoder.h"

namespace tavlo {

Bytes Ascii85Encode(const Bytes& data)
{
    Bytes out;
    out.reserve(data.size() / 4 * 5 + 8);
    const std::size_t count = data.size();
    for (std::size_t i = 0; i < count; i += 4) {
        const std::size_t r = std::min<std::size_t>(4, count - i);
        std::uint32_t value = 0;
        for (std::size_t k = 0; k < 4; ++k)
            value = (value << 8) | (k < r ? data[i + k] : 0u);
        if (r == 4 && value == 0) {
            out.push_back('z');
            continue;
        }
        std::uint8_t digits[5];
        for (int k = 4; k >= 0; --k) {
            digits[k] = std::uint8_t(33 + value % 85);
            value /= 85;
        }
        out.insert(out.end(), digits, digits + r + 1);
    }
    out.push_back('~');
    out.push_back('>');
    return out;
}

} // namespace tavlo
