#include "pdf/core/deflate/MatchIndex.h"

#include "pdf/core/deflate/DeflateTables.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace tavlo::deflate {

namespace {

// Length of the match at p against q, whose first `known` bytes are equal, up to limit.
int Extend(const std::uint8_t* a, const std::uint8_t* b, int known, int limit)
{
    int k = known;
    while (k + 8 <= limit) {
        std::uint64_t x, y;
        std::memcpy(&x, a + k, 8);
        std::memcpy(&y, b + k, 8);
        if (x != y) {
            if constexpr (std::endian::native == std::endian::little)
                return k + (__builtin_ctzll(x ^ y) >> 3);
            break;
        }
        k += 8;
    }
    while (k < limit && a[k] == b[k])
        ++k;
    return k;
}

} // namespace

void MatchIndex::Begin(const std::uint8_t* data, std::int32_t length, int maxChain)
{
    if (head_.empty()) {
        head_.assign(std::size_t(1) << (32 - hashShift_), 0);
        previous_.assign(kRingMask + 1, 0);
    }
    data_ = data;
    length_ = length;
    maxChain_ = maxChain;
    const std::uint64_t needed = std::uint64_t(nextBase_) + std::uint64_t(length) + 2;
    if (needed >= std::numeric_limits<std::uint32_t>::max()) {
        std::fill(head_.begin(), head_.end(), 0);
        std::fill(previous_.begin(), previous_.end(), 0);
        nextBase_ = 0;
    }
    base_ = nextBase_;
    nextBase_ = base_ + std::uint32_t(length) + 1;
    cursor_ = 0;
    cursorRank_ = 0;
}

Match MatchIndex::Longest(std::int32_t p, int stop, bool fromNewest)
{
    Match best;
    if (fromNewest) {
        cursor_ = head_[Bucket(p)];
        cursorRank_ = 0;
    }
    const int limit = std::min<std::int32_t>(kMaxMatch, length_ - 1 - p);
    const std::uint8_t* here = data_ + p;
    for (;;) {
        if (!Valid(cursor_) || cursorRank_ >= maxChain_)
            return best;
        const std::int32_t q = std::int32_t(cursor_ - base_ - 1);
        if (p - q > kWindow)
            return best;
        cursor_ = previous_[std::uint32_t(q) & kRingMask];
        const std::uint8_t* there = data_ + q;
        if (there[0] != here[0] || there[1] != here[1] || there[2] != here[2])
            continue;  // another prefix in the same bucket
        ++cursorRank_;
        // Only a candidate that agrees at the first byte the best one missed can beat it.
        if (best.length < limit && there[best.length] == here[best.length]) {
            const int k = Extend(here, there, 3, limit);
            if (k > best.length) {
                best.length = k;
                best.position = q;
            }
        }
        if (best.length >= stop)
            return best;
    }
}

} // namespace tavlo::deflate
