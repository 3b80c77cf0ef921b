#include "pdf/core/deflate/HuffmanCode.h"

#include <algorithm>
#include <array>

namespace tavlo::deflate {

namespace {

constexpr int kMaxSymbols = 288;
constexpr int kMaxNodes = 2 * kMaxSymbols;
// Deepest tree a full alphabet can make: one less than its symbols.
constexpr int kMaxDepth = kMaxSymbols;
constexpr int kMaxAssignedLength = 63;

// countPerLength[1..maxLength]; count 0 is not looked at.
void CanonicalCodes(std::span<HuffmanCode> table, int last, const int* countPerLength, int maxLength)
{
    std::array<std::uint32_t, kMaxDepth + 2> next{};
    std::uint32_t code = 0;
    for (int b = 1; b <= maxLength; ++b) {
        code = (code + std::uint32_t(b > 1 ? countPerLength[b - 1] : 0)) << 1;
        next[std::size_t(b)] = code;
    }
    for (int s = 0; s <= last; ++s)
        if (table[s].length > 0)
            table[s].code = next[std::size_t(table[s].length)]++;
}

// A tree node as one sortable number: weight, then the group's representative symbol
// (the higher first among equal weights), then the node. Merging always takes the two
// smallest: the order in which a scan of the groups from the lowest symbol upwards,
// keeping the later of equal weights, would pick them.
constexpr int kNodeBits = 10, kSymbolBits = 9;
constexpr std::uint64_t kNodeMask = (1u << kNodeBits) - 1, kSymbolMask = (1u << kSymbolBits) - 1;

std::uint64_t NodeKey(std::uint64_t weight, int representative, int node)
{
    return weight << (kNodeBits + kSymbolBits) |
           (kSymbolMask - std::uint64_t(representative)) << kNodeBits | std::uint64_t(node);
}

} // namespace

int BuildHuffmanTree(std::span<HuffmanCode> table, const std::uint32_t* counts, int last, int maxBits)
{
    const int symbols = last + 1;
    if (symbols > kMaxSymbols)
        return -1;
    maxBits = std::min(maxBits, kMaxDepth);  // no tree is deeper
    // Nodes 0..symbols-1 are the symbols, later ones the merged groups in the order made.
    std::array<std::uint64_t, kMaxSymbols> weight;
    std::array<int, kMaxNodes> parent;
    int used = 0;
    for (int s = 0; s < symbols; ++s) {
        weight[std::size_t(s)] = counts[s];
        used += counts[s] > 0;
    }
    if (used == 0)
        return -1;
    if (used == 1) {
        for (int s = 0; s < symbols; ++s)
            if (weight[std::size_t(s)] == 0) {
                weight[std::size_t(s)] = 1;
                break;
            }
    }

    // Each merge takes the two lightest groups, the first of them absorbing the second: the
    // merged group keeps the first one's representative for later ties. Merged groups come
    // out in increasing order, so the symbols sorted once and a queue of merged groups
    // always hold the next two at their fronts.
    std::array<std::uint64_t, kMaxSymbols> leaves;
    int leafCount = 0;
    for (int s = 0; s < symbols; ++s)
        if (weight[std::size_t(s)] > 0)
            leaves[std::size_t(leafCount++)] = NodeKey(weight[std::size_t(s)], s, s);
    std::sort(leaves.begin(), leaves.begin() + leafCount);
    std::array<std::uint64_t, kMaxSymbols> merged;
    int leafAt = 0, mergedAt = 0, mergedCount = 0;
    auto take = [&] {
        if (mergedAt == mergedCount ||
            (leafAt < leafCount && leaves[std::size_t(leafAt)] < merged[std::size_t(mergedAt)]))
            return leaves[std::size_t(leafAt++)];
        return merged[std::size_t(mergedAt++)];
    };
    int nodes = symbols;
    for (int left = leafCount; left > 1; --left) {
        const std::uint64_t smallest = take();
        const std::uint64_t next = take();
        const std::uint64_t sum = (smallest >> (kNodeBits + kSymbolBits)) + (next >> (kNodeBits + kSymbolBits));
        const int representative = int(kSymbolMask - ((smallest >> kNodeBits) & kSymbolMask));
        parent[std::size_t(smallest & kNodeMask)] = parent[std::size_t(next & kNodeMask)] = nodes;
        merged[std::size_t(mergedCount++)] = NodeKey(sum, representative, nodes++);
    }

    // A symbol's length is its depth; a parent is always made after its children.
    std::array<int, kMaxNodes> depth;
    const int root = nodes - 1;
    depth[std::size_t(root)] = 0;
    std::array<int, kMaxSymbols> length{};
    int longest = 0;
    for (int n = root - 1; n >= 0; --n) {
        if (n < symbols && weight[std::size_t(n)] == 0)
            continue;
        depth[std::size_t(n)] = depth[std::size_t(parent[std::size_t(n)])] + 1;
        if (n < symbols) {
            length[std::size_t(n)] = depth[std::size_t(n)];
            longest = std::max(longest, depth[std::size_t(n)]);
        }
    }

    std::array<int, kMaxDepth + 2> count{};
    for (int s = 0; s < symbols; ++s)
        if (weight[std::size_t(s)] > 0)
            ++count[std::size_t(length[std::size_t(s)])];

    int maxLength = longest;
    if (longest > maxBits) {
        // Where each first length's symbols begin in the order shortest first, then by number.
        std::array<int, kMaxDepth + 2> start{};
        for (int b = 1; b <= longest; ++b)
            start[std::size_t(b + 1)] = start[std::size_t(b)] + count[std::size_t(b)];
        std::array<int, kMaxSymbols> order;
        for (int s = 0; s < symbols; ++s)
            if (weight[std::size_t(s)] > 0)
                order[std::size_t(start[std::size_t(length[std::size_t(s)])]++)] = s;

        for (int L = longest; L > maxBits; --L) {
            while (count[std::size_t(L)] > 0) {
                int j = L - 2;
                while (j > 0 && count[std::size_t(j)] == 0)
                    --j;
                if (j <= 0)
                    break;  // cannot happen for a full tree of this many symbols
                count[std::size_t(L)] -= 2;
                count[std::size_t(L - 1)] += 1;
                count[std::size_t(j + 1)] += 2;
                count[std::size_t(j)] -= 1;
            }
        }
        // Hand the lengths out anew in that order.
        int k = 0;
        for (int b = 1; b <= maxBits; ++b)
            for (int i = 0; i < count[std::size_t(b)] && k < leafCount; ++i)
                length[std::size_t(order[std::size_t(k++)])] = b;
        maxLength = maxBits;
    }

    for (int s = 0; s < symbols; ++s)
        table[s] = HuffmanCode{static_cast<std::int16_t>(weight[std::size_t(s)] > 0 ? length[std::size_t(s)] : 0), 0};
    CanonicalCodes(table, last, count.data(), maxLength);
    return 0;
}

int AssignHuffmanCodes(std::span<HuffmanCode> table, const int* lengths, int last)
{
    int maxLength = 0;
    for (int s = 0; s <= last; ++s)
        maxLength = std::max(maxLength, lengths[s]);
    if (maxLength > kMaxAssignedLength)
        return -1;  // far beyond any code space a table can fill
    std::array<int, kMaxAssignedLength + 1> count{};
    for (int s = 0; s <= last; ++s)
        ++count[std::size_t(lengths[s])];
    int left = 1;
    for (int b = 1; b <= maxLength; ++b) {
        left = left * 2 - count[std::size_t(b)];
        if (left < 0)
            return left;
    }
    for (int s = 0; s <= last; ++s)
        table[s] = HuffmanCode{static_cast<std::int16_t>(lengths[s]), 0};
    CanonicalCodes(table, last, count.data(), maxLength);
    return left;
}

} // namespace tavlo::deflate
