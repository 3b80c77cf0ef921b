#pragma once
// RC4 for the standard security handler. Every call starts the key stream afresh.

#include "pdf/core/Bytes.h"

#include <array>
#include <cstdint>

namespace tavlo {

Bytes Rc4Crypt(const Bytes& key, const std::uint8_t* data, std::size_t length);
inline Bytes Rc4Crypt(const Bytes& key, const Bytes& data)
{
    return Rc4Crypt(key, data.data(), data.size());
}

// Keeps the schedule of the last key, since every string and the stream of one object
// share that object's key.
class Rc4Cache {
public:
    Bytes Crypt(const Bytes& key, const std::uint8_t* data, std::size_t length);
    Bytes Crypt(const Bytes& key, const Bytes& data) { return Crypt(key, data.data(), data.size()); }
    void Forget() { lastKey_.clear(); }
    const Bytes& LastKey() const { return lastKey_; }

private:
    Bytes lastKey_;
    std::array<std::uint8_t, 256> state_{};
};

} // namespace tavlo
