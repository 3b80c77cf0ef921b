#include "pdf/core/RunLengthEncoder.h"

namespace tavlo {

Bytes RunLengthEncode(const Bytes& data)
{
    Bytes out;
    out.reserve(data.size() + data.size() / 5 + 2);
    const std::size_t count = data.size();
    std::size_t i = 0;
    while (i < count) {
        if (i + 1 == count) {
            out.push_back(0);
            out.push_back(data[i]);
            ++i;
        } else if (data[i] == data[i + 1]) {
            std::size_t run = 1;
            while (run < 128 && i + run < count && data[i + run] == data[i])
                ++run;
            out.push_back(static_cast<std::uint8_t>(257 - run));
            out.push_back(data[i]);
            i += run;
        } else {
            // A literal run stops before two equal bytes, at 128 bytes, or takes the last byte.
            const std::size_t start = i;
            std::size_t run = 0;
            while (i + 1 < count && data[i] != data[i + 1] && run < 128) {
                ++i;
                ++run;
            }
            if (i + 1 == count && run < 128) {
                ++i;
                ++run;
            }
            out.push_back(static_cast<std::uint8_t>(run - 1));
            out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(start),
                       data.begin() + static_cast<std::ptrdiff_t>(start + run));
        }
    }
    out.push_back(128);
    return out;
}

} // namespace tavlo
