#include "pdf/media/HuffmanDecodeTable.h"

#include <array>

namespace tavlo::inflate {

std::uint32_t ReverseHuffmanCode(std::uint32_t code, int length)
{
    std::uint32_t result = 0;
    for (int i = 0; i < length; ++i) {
        result = (result << 1) | (code & 1u);
        code >>= 1;
    }
    return result;
}

int BuildDecodeTable(DecodeTable& table, const std::uint8_t* lengths, int lastSymbol)
{
    std::array<int, kMaxCodeLength + 1> count{};
    int maxLength = 0;
    int minLength = kMaxCodeLength + 1;
    int codes = 0;
    for (int symbol = 0; symbol <= lastSymbol; ++symbol) {
        const int n = lengths[symbol];
        if (n > kMaxCodeLength)
            throw TavloError(ErrorCode::SubscriptOutOfRange);
        ++count[n];
        if (n == 0)
            continue;
        ++codes;
        if (n > maxLength)
            maxLength = n;
        if (n < minLength)
            minLength = n;
    }
    table.entries.clear();
    table.maxLength = maxLength;
    table.minLength = codes == 0 ? 0 : minLength;
    table.codeCount = codes;

    int balance = 1;
    for (int n = 1; n <= maxLength; ++n) {
        balance = balance * 2 - count[n];
        if (balance < 0) {
            table.maxLength = table.minLength = table.codeCount = 0;
            return balance;
        }
    }
    if (codes == 0)
        return balance;

    table.entries.assign(std::size_t{1} << maxLength, DecodeEntry{});
    std::array<std::uint32_t, kMaxCodeLength + 2> next{};
    std::uint32_t code = 0;
    count[0] = 0;
    for (int n = 1; n <= maxLength; ++n) {
        code = (code + static_cast<std::uint32_t>(count[n - 1])) << 1;
        next[n] = code;
    }
    for (int symbol = 0; symbol <= lastSymbol; ++symbol) {
        const int n = lengths[symbol];
        if (n != 0)
            table.entries[next[n]++] = DecodeEntry{static_cast<std::int16_t>(n), symbol};
    }
    return balance;
}

std::int32_t DecodeSymbol(BitReader& in, const DecodeTable& table)
{
    if (table.codeCount == 0)
        throw TavloError(ErrorCode::SubscriptOutOfRange);
    int length = table.minLength;
    std::uint32_t code = ReverseHuffmanCode(ReadBits(in, length), length);
    for (;;) {
        const DecodeEntry& entry = table.entries[code];
        if (entry.length == length)
            return entry.symbol;
        if (length == table.maxLength)
            throw TavloError(ErrorCode::SubscriptOutOfRange);
        code = (code << 1) | ReadBits(in, 1);
        ++length;
    }
}

} // namespace tavlo::inflate
