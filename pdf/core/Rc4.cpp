#include "pdf/core/Rc4.h"

#include "pdf/core/TavloError.h"

#include <utility>

namespace tavlo {

namespace {

void Schedule(const Bytes& key, std::array<std::uint8_t, 256>& s)
{
    if (key.empty())
        throw TavloError(ErrorCode::InvalidArgument);
    for (int i = 0; i < 256; ++i)
        s[i] = std::uint8_t(i);
    std::uint8_t j = 0;
    for (int i = 0; i < 256; ++i) {
        j = std::uint8_t(j + s[i] + key[i % key.size()]);
        std::swap(s[i], s[j]);
    }
}

Bytes Run(std::array<std::uint8_t, 256> s, const std::uint8_t* data, std::size_t length)
{
    Bytes out(length);
    std::uint8_t i = 0, j = 0;
    for (std::size_t k = 0; k < length; ++k) {
        i = std::uint8_t(i + 1);
        j = std::uint8_t(j + s[i]);
        std::swap(s[i], s[j]);
        out[k] = data[k] ^ s[std::uint8_t(s[i] + s[j])];
    }
    return out;
}

} // namespace

Bytes Rc4Crypt(const Bytes& key, const std::uint8_t* data, std::size_t length)
{
    std::array<std::uint8_t, 256> s;
    Schedule(key, s);
    return Run(s, data, length);
}

Bytes Rc4Cache::Crypt(const Bytes& key, const std::uint8_t* data, std::size_t length)
{
    if (key != lastKey_ || lastKey_.empty()) {
        Schedule(key, state_);
        lastKey_ = key;
    }
    return Run(state_, data, length);
}

} // namespace tavlo
