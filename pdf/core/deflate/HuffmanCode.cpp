#include "pdf/core/deflate/HuffmanCode.h"

#include <algorithm>
#include <vector>

namespace tavlo::deflate {

namespace {

void CanonicalCodes(std::span<HuffmanCode> table, int last, const std::vector<int>& countPerLength)
{
    const int maxLength = static_cast<int>(countPerLength.size()) - 1;
    std::vector<std::uint32_t> next(static_cast<std::size_t>(maxLength) + 2, 0);
    std::uint32_t code = 0;
    for (int b = 1; b <= maxLength; ++b) {
        code = (code + std::uint32_t(countPerLength[b - 1])) << 1;
        next[b] = code;
    }
    for (int s = 0; s <= last; ++s)
        if (table[s].length > 0)
            table[s].code = next[table[s].length]++;
}

} // namespace

int BuildHuffmanTree(std::span<HuffmanCode> table, const std::uint32_t* counts, int last, int maxBits)
{
    const int symbols = last + 1;
    std::vector<std::uint64_t> weight(counts, counts + symbols);
    int used = 0;
    for (int s = 0; s < symbols; ++s)
        used += weight[s] > 0;
    if (used == 0)
        return -1;
    if (used == 1) {
        for (int s = 0; s < symbols; ++s)
            if (weight[s] == 0) {
                weight[s] = 1;
                break;
            }
    }

    std::vector<int> group(symbols, -1);
    std::vector<int> length(symbols, 0);
    for (int s = 0; s < symbols; ++s)
        if (weight[s] > 0)
            group[s] = s;
    for (;;) {
        int smallest = -1, next = -1;
        for (int s = 0; s < symbols; ++s) {
            if (weight[s] == 0)
                continue;
            if (smallest < 0 || weight[s] <= weight[smallest]) {
                next = smallest;
                smallest = s;
            } else if (next < 0 || weight[s] <= weight[next]) {
                next = s;
            }
        }
        if (next < 0)
            break;
        weight[smallest] += weight[next];
        weight[next] = 0;
        for (int s = 0; s < symbols; ++s)
            if (group[s] == smallest || group[s] == next) {
                group[s] = smallest;
                ++length[s];
            }
    }

    // Counts per length sized for the deepest possible tree (one less than the symbols).
    int longest = 0;
    for (int s = 0; s < symbols; ++s)
        longest = std::max(longest, length[s]);
    std::vector<int> count(static_cast<std::size_t>(std::max(longest, maxBits)) + 2, 0);
    for (int s = 0; s < symbols; ++s)
        if (group[s] >= 0)
            ++count[length[s]];

    if (longest > maxBits) {
        for (int L = longest; L > maxBits; --L) {
            while (count[L] > 0) {
                int j = L - 2;
                while (j > 0 && count[j] == 0)
                    --j;
                if (j <= 0)
                    break;  // cannot happen for a full tree of this many symbols
                count[L] -= 2;
                count[L - 1] += 1;
                count[j + 1] += 2;
                count[j] -= 1;
            }
        }
        // Hand the lengths out anew, shortest first, by the order of the first lengths.
        std::vector<int> order;
        for (int s = 0; s < symbols; ++s)
            if (group[s] >= 0)
                order.push_back(s);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return length[a] < length[b]; });
        std::size_t k = 0;
        for (int b = 1; b <= maxBits; ++b)
            for (int i = 0; i < count[b] && k < order.size(); ++i)
                length[order[k++]] = b;
        count.resize(static_cast<std::size_t>(maxBits) + 1);
    }

    for (int s = 0; s < symbols; ++s)
        table[s] = HuffmanCode{static_cast<std::int16_t>(group[s] >= 0 ? length[s] : 0), 0};
    count[0] = 0;
    CanonicalCodes(table, last, count);
    return 0;
}

int AssignHuffmanCodes(std::span<HuffmanCode> table, const int* lengths, int last)
{
    int maxLength = 0;
    for (int s = 0; s <= last; ++s)
        maxLength = std::max(maxLength, lengths[s]);
    std::vector<int> count(static_cast<std::size_t>(maxLength) + 1, 0);
    for (int s = 0; s <= last; ++s)
        ++count[lengths[s]];
    int left = 1;
    for (int b = 1; b <= maxLength; ++b) {
        left = left * 2 - count[b];
        if (left < 0)
            return left;
    }
    count[0] = 0;
    for (int s = 0; s <= last; ++s)
        table[s] = HuffmanCode{static_cast<std::int16_t>(lengths[s]), 0};
    CanonicalCodes(table, last, count);
    return left;
}

} // namespace tavlo::deflate
