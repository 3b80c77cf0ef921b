#pragma once
// Bits of a deflate stream, lowest first, gathered into bytes.

#include "pdf/core/Bytes.h"

#include <cstdint>

namespace tavlo::deflate {

class BitWriter {
public:
    explicit BitWriter(Bytes& out) : out_(out) {}

    void PutBits(std::uint32_t value, int count)
    {
        buffer_ |= std::uint64_t(value) << count_;
        count_ += count;
        while (count_ > 7) {
            out_.push_back(std::uint8_t(buffer_));
            buffer_ >>= 8;
            count_ -= 8;
        }
    }
    // A Huffman code, most significant bit first.
    void ReverseBits(std::uint32_t code, int count)
    {
        std::uint32_t reversed = 0;
        for (int i = 0; i < count; ++i)
            reversed |= ((code >> i) & 1u) << (count - 1 - i);
        PutBits(reversed, count);
    }
    // Completes a partly filled byte with zero bits.
    void Flush()
    {
        if (count_ > 0)
            out_.push_back(std::uint8_t(buffer_));
        buffer_ = 0;
        count_ = 0;
    }
    void PutByte(std::uint8_t value) { out_.push_back(value); }
    int PendingBits() const { return count_; }

private:
    Bytes& out_;
    std::uint64_t buffer_ = 0;
    int count_ = 0;
};

} // namespace tavlo::deflate
