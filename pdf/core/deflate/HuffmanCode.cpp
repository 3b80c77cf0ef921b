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

// A binary min-heap of tree nodes. Among equal weights the group with the higher
// representative symbol comes first: the order in which a scan of the groups from the
// lowest symbol upwards, keeping the later of equal weights, would pick them.
class NodeHeap {
public:
    NodeHeap(const std::uint64_t* weight, const int* representative) : weight_(weight), rep_(representative) {}
    void Push(int node)
    {
        int i = size_++;
        while (i > 0) {
            const int up = (i - 1) / 2;
            if (!Before(node, heap_[std::size_t(up)]))
                break;
            heap_[std::size_t(i)] = heap_[std::size_t(up)];
            i = up;
        }
        heap_[std::size_t(i)] = node;
    }
    int Pop()
    {
        const int top = heap_[0];
        const int moved = heap_[std::size_t(--size_)];
        int i = 0;
        for (;;) {
            int child = 2 * i + 1;
            if (child >= size_)
                break;
            if (child + 1 < size_ && Before(heap_[std::size_t(child + 1)], heap_[std::size_t(child)]))
                ++child;
            if (!Before(heap_[std::size_t(child)], moved))
                break;
            heap_[std::size_t(i)] = heap_[std::size_t(child)];
            i = child;
        }
        heap_[std::size_t(i)] = moved;
        return top;
    }
    int Size() const { return size_; }

private:
    bool Before(int a, int b) const
    {
        return weight_[a] < weight_[b] || (weight_[a] == weight_[b] && rep_[a] > rep_[b]);
    }
    const std::uint64_t* weight_;
    const int* rep_;
    std::array<int, kMaxSymbols> heap_;
    int size_ = 0;
};

} // namespace

int BuildHuffmanTree(std::span<HuffmanCode> table, const std::uint32_t* counts, int last, int maxBits)
{
    const int symbols = last + 1;
    if (symbols > kMaxSymbols)
        return -1;
    maxBits = std::min(maxBits, kMaxDepth);  // no tree is deeper
    // Nodes 0..symbols-1 are the symbols, later ones the merged groups in the order made.
    std::array<std::uint64_t, kMaxNodes> weight;
    std::array<int, kMaxNodes> representative;
    std::array<int, kMaxNodes> parent;
    int used = 0;
    for (int s = 0; s < symbols; ++s) {
        weight[std::size_t(s)] = counts[s];
        representative[std::size_t(s)] = s;
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
    // merged group keeps the first one's representative for later ties.
    NodeHeap heap(weight.data(), representative.data());
    for (int s = 0; s < symbols; ++s)
        if (weight[std::size_t(s)] > 0)
            heap.Push(s);
    const int leaves = heap.Size();
    int nodes = symbols;
    while (heap.Size() > 1) {
        const int smallest = heap.Pop();
        const int next = heap.Pop();
        weight[std::size_t(nodes)] = weight[std::size_t(smallest)] + weight[std::size_t(next)];
        representative[std::size_t(nodes)] = representative[std::size_t(smallest)];
        parent[std::size_t(smallest)] = parent[std::size_t(next)] = nodes;
        heap.Push(nodes++);
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
            for (int i = 0; i < count[std::size_t(b)] && k < leaves; ++i)
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
