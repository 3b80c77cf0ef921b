#pragma once
// Bits of a deflate stream, lowest first, gathered into bytes. A byte is written as soon as
// its eight bits are there; the writer stores eight bytes at a time into room it keeps
// ahead in the output, and Flush trims the output to what was written.

#include "pdf/core/Bytes.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tavlo::deflate {

// The low count bits of code in the opposite order (a Huffman code is sent most
// significant bit first).
inline std::uint32_t ReversedBits(std::uint32_t code, int count)
{
    std::uint32_t reversed = 0;
    for (int i = 0; i < count; ++i)
        reversed |= ((code >> i) & 1u) << (count - 1 - i);
    return reversed;
}

class BitWriter {
public:
    explicit BitWriter(Bytes& out) : out_(out), at_(out.size()) {}

    // count is at most 32.
    void PutBits(std::uint32_t value, int count)
    {
        buffer_ |= std::uint64_t(value) << count_;
        count_ += count;
        if (at_ + 8 > out_.size())
            Grow();
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(out_.data() + at_, &buffer_, 8);
        } else {
            for (int i = 0; i < 8; ++i)
                out_[at_ + std::size_t(i)] = std::uint8_t(buffer_ >> (8 * i));
        }
        const int whole = count_ >> 3;
        at_ += std::size_t(whole);
        buffer_ >>= 8 * whole;
        count_ &= 7;
    }
    // A Huffman code, most significant bit first.
    void ReverseBits(std::uint32_t code, int count) { PutBits(ReversedBits(code, count), count); }
    // Completes a partly filled byte with zero bits; the output then ends with the last byte.
    void Flush()
    {
        if (count_ > 0)
            PutBits(0, 8 - count_);
        out_.resize(at_);
    }
    // Whole bytes, after a Flush.
    void PutBytes(const std::uint8_t* data, std::size_t count)
    {
        out_.insert(out_.end(), data, data + count);
        at_ = out_.size();
    }
    std::size_t Written() const { return at_; }

private:
    // Doubles the room, but not past what the output reserved while that still has room:
    // a stream whose size was known stays in the one allocation.
    void Grow()
    {
        std::size_t room = std::max(out_.size() * 2, at_ + 64);
        if (at_ + 8 <= out_.capacity())
            room = std::min(room, out_.capacity());
        out_.resize(room);
    }

    Bytes& out_;
    std::size_t at_;  // bytes complete; the output may hold room beyond them until Flush
    std::uint64_t buffer_ = 0;
    int count_ = 0;
};

} // namespace tavlo::deflate
