#include "pdf/core/deflate/MatchIndex.h"

#include "pdf/core/deflate/DeflateTables.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>

namespace tavlo::deflate {

namespace {

// Length of the match at p against q, whose first three bytes are known equal, up to
// limit (at least 3).
int Extend(const std::uint8_t* data, std::int32_t p, std::int32_t q, int limit)
{
    int k = 3;
    const std::uint8_t* a = data + p;
    const std::uint8_t* b = data + q;
    while (k + 8 <= limit) {
        std::uint64_t x, y;
        std::memcpy(&x, a + k, 8);
        std::memcpy(&y, b + k, 8);
        if (x != y) {
            const std::uint64_t diff = x ^ y;
            if constexpr (std::endian::native == std::endian::little)
                return k + (__builtin_ctzll(diff) >> 3);
            break;
        }
        k += 8;
    }
    while (k < limit && a[k] == b[k])
        ++k;
    return k;
}

} // namespace

std::uint32_t MatchIndex::PrefixAt(std::int32_t p) const
{
    return std::uint32_t(data_[p]) << 16 | std::uint32_t(data_[p + 1]) << 8 | data_[p + 2];
}

void MatchIndex::Begin(const std::uint8_t* data, std::int32_t length, int maxChain)
{
    if (!head_) {
        head_.reset(static_cast<std::uint32_t*>(std::calloc(kHeads, sizeof(std::uint32_t))));
        if (!head_)
            throw std::bad_alloc();
        previous_.assign(kRingMask + 1, 0);
    }
    data_ = data;
    length_ = length;
    maxChain_ = maxChain;
    const std::uint64_t needed = std::uint64_t(nextBase_) + std::uint64_t(length) + 2;
    if (needed >= std::numeric_limits<std::uint32_t>::max()) {
        std::fill(head_.get(), head_.get() + kHeads, 0);
        std::fill(previous_.begin(), previous_.end(), 0);
        nextBase_ = 0;
    }
    base_ = nextBase_;
    nextBase_ = base_ + std::uint32_t(length) + 1;
    cursor_ = 0;
    cursorRank_ = 0;
}

void MatchIndex::Insert(std::int32_t p)
{
    const std::uint32_t prefix = PrefixAt(p);
    previous_[std::uint32_t(p) & kRingMask] = head_[prefix];
    head_[prefix] = base_ + std::uint32_t(p) + 1;
}

Match MatchIndex::Longest(std::int32_t p, int stop, bool fromNewest)
{
    Match best;
    if (fromNewest) {
#if defined(__GNUC__)
        // The next position's head is a random place in a large table: ask for it early.
        if (p + 3 < length_)
            __builtin_prefetch(&head_[PrefixAt(p + 1)]);
#endif
        cursor_ = head_[PrefixAt(p)];
        cursorRank_ = 0;
    }
    const int limit = std::min<std::int32_t>(kMaxMatch, length_ - 1 - p);
    for (;;) {
        if (!Valid(cursor_) || cursorRank_ >= maxChain_)
            return best;
        const std::int32_t q = std::int32_t(cursor_ - base_ - 1);
        if (p - q > kWindow)
            return best;
        const std::uint32_t older = previous_[std::uint32_t(q) & kRingMask];
        const int k = limit <= 2 ? limit : Extend(data_, p, q, limit);
        cursor_ = older;
        ++cursorRank_;
        if (k > best.length) {
            best.length = k;
            best.position = q;
        }
        if (best.length >= stop)
            return best;
    }
}

} // namespace tavlo::deflate
