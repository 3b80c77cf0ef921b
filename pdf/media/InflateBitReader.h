#pragma once
// Bits of a deflate stream, least-significant first, taken a byte at a time so that a
// stream that ends exactly after its final block is never read past its last byte.

#include "pdf/core/TavloError.h"

#include <cstddef>
#include <cstdint>

namespace tavlo::inflate {

struct BitReader {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;  // next byte to take
    std::uint32_t buffer = 0;  // bits taken but not yet read, the first in bit 0
    int held = 0;              // fewer than 8 after every read: the rest of the current byte

    BitReader(const std::uint8_t* bytes, std::size_t count) : data(bytes), size(count) {}
};

// The next count bits (0..16), the first of them in bit 0. Reading past the end of the
// data is the subscript error.
inline std::uint32_t ReadBits(BitReader& in, int count)
{
    while (in.held < count) {
        if (in.position >= in.size)
            throw TavloError(ErrorCode::SubscriptOutOfRange);
        in.buffer |= static_cast<std::uint32_t>(in.data[in.position]) << in.held;
        in.held += 8;
        ++in.position;
    }
    const std::uint32_t value = in.buffer & ((1u << count) - 1u);
    in.buffer >>= count;
    in.held -= count;
    return value;
}

// Drops the rest of the current byte: stored blocks begin on a whole byte.
inline void AlignToByte(BitReader& in)
{
    in.buffer = 0;
    in.held = 0;
}

} // namespace tavlo::inflate
