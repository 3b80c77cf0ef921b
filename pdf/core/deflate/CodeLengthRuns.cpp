#include "pdf/core/deflate/CodeLengthRuns.h"

namespace tavlo::deflate {

namespace {

// Calls run(length, count, previousLength, minimum) for each run of equal lengths.
template <class Run>
void WalkRuns(std::span<const HuffmanCode> table, int last, Run run)
{
    int previous = -1;
    int next = table[0].length;
    int count = 0;
    int maxCount = next == 0 ? 138 : 7;
    int minCount = next == 0 ? 3 : 4;
    for (int n = 0; n <= last; ++n) {
        const int current = next;
        next = n + 1 <= last ? table[n + 1].length : -1;
        if (++count < maxCount && current == next)
            continue;
        run(current, count, previous, minCount);
        count = 0;
        previous = current;
        if (next == 0) {
            maxCount = 138;
            minCount = 3;
        } else if (current == next) {
            maxCount = 6;
            minCount = 3;
        } else {
            maxCount = 7;
            minCount = 4;
        }
    }
}

} // namespace

int LastCodedSymbol(std::span<const HuffmanCode> table, int last)
{
    while (last >= 0 && table[last].length == 0)
        --last;
    return last;
}

void ScanCodeLengths(std::span<const HuffmanCode> table, int last, std::uint32_t* counters)
{
    last = LastCodedSymbol(table, last);
    if (last < 0)
        return;
    WalkRuns(table, last, [&](int length, int count, int previous, int minCount) {
        if (count < minCount) {
            counters[length] += std::uint32_t(count);
        } else if (length != 0) {
            if (length != previous)
                ++counters[length];
            ++counters[16];
        } else if (count <= 10) {
            ++counters[17];
        } else {
            ++counters[18];
        }
    });
}

void SendDynamicTrees(std::span<const HuffmanCode> table, int last, std::span<const HuffmanCode> lengthCode,
                      BitWriter& bits)
{
    last = LastCodedSymbol(table, last);
    if (last < 0)
        return;
    auto send = [&](int symbol) { bits.ReverseBits(lengthCode[symbol].code, lengthCode[symbol].length); };
    WalkRuns(table, last, [&](int length, int count, int previous, int minCount) {
        if (count < minCount) {
            for (int i = 0; i < count; ++i)
                send(length);
        } else if (length != 0) {
            if (length != previous) {
                send(length);
                --count;
            }
            send(16);
            bits.PutBits(std::uint32_t(count - 3), 2);
        } else if (count <= 10) {
            send(17);
            bits.PutBits(std::uint32_t(count - 3), 3);
        } else {
            send(18);
            bits.PutBits(std::uint32_t(count - 11), 7);
        }
    });
}

} // namespace tavlo::deflate
