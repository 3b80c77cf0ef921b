#include "pdf/core/LzwEncoder.h"

#include "pdf/core/TavloError.h"

#include <vector>

namespace tavlo {

namespace {

constexpr int kSlots = 5021;
constexpr int kClear = 256;
constexpr int kEnd = 257;

class CodeWriter {
public:
    explicit CodeWriter(Bytes& out) : out_(out) {}
    void Put(int code, int width)
    {
        bits_ = (bits_ << width) | std::uint32_t(code);
        count_ += width;
        while (count_ >= 8) {
            count_ -= 8;
            out_.push_back(std::uint8_t(bits_ >> count_));
        }
        bits_ &= (1u << count_) - 1;
    }
    void Flush()
    {
        if (count_ > 0)
            out_.push_back(std::uint8_t(bits_ << (8 - count_)));
        count_ = 0;
        bits_ = 0;
    }

private:
    Bytes& out_;
    std::uint32_t bits_ = 0;
    int count_ = 0;
};

} // namespace

Bytes LzwEncode(const Bytes& data, int level)
{
    if (level < 0 || level > 3)
        throw TavloError(ErrorCode::SubscriptOutOfRange);
    Bytes out;
    out.reserve(data.size() + data.size() / 2 + 2);
    CodeWriter writer(out);
    if (data.empty()) {
        writer.Put(kClear, 9);
        writer.Put(kEnd, 9);
        writer.Flush();
        return out;
    }

    const int highest = (1 << (level + 9)) - 1;
    const int multiplier = 1 << (level + 1);
    std::vector<std::int16_t> slotCode(kSlots);
    std::vector<std::int16_t> slotPrefix(kSlots);
    std::vector<std::uint8_t> slotByte(kSlots);

    const std::size_t last = data.size() - 1;
    int width = 9;
    int assigned = highest;
    int prefix = data[0];
    for (std::size_t i = 0; i <= last; ++i) {
        if (assigned == highest) {
            std::fill(slotCode.begin(), slotCode.end(), 0);
            writer.Put(kClear, width);
            width = 9;
            assigned = kEnd;
        }
        int c = 0;
        int h = 0;
        if (i < last) {
            c = data[i + 1];
            h = (c * multiplier) ^ prefix;
            const int step = h == 0 ? 1 : kSlots - h;
            while (slotCode[h] != 0 && !(slotPrefix[h] == prefix && slotByte[h] == c)) {
                h -= step;
                if (h < 0)
                    h += kSlots;
            }
            if (slotCode[h] != 0) {
                prefix = slotCode[h];
                continue;
            }
        }
        ++assigned;
        if (i < last) {
            slotCode[h] = std::int16_t(assigned);
            slotPrefix[h] = std::int16_t(prefix);
            slotByte[h] = std::uint8_t(c);
        }
        writer.Put(prefix, width);
        if (assigned == 511 || assigned == 1023 || assigned == 2047)
            ++width;
        prefix = c;
    }
    writer.Put(kEnd, width);
    writer.Flush();
    return out;
}

} // namespace tavlo
