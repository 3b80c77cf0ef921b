#include "pdf/core/deflate/MatchIndex.h"

#include "pdf/core/deflate/DeflateTables.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

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

std::uint32_t MatchIndex::HashAt(std::int32_t p) const
{
    const std::uint32_t prefix = std::uint32_t(data_[p]) << 16 | std::uint32_t(data_[p + 1]) << 8 | data_[p + 2];
    return (prefix * 2654435761u) >> (32 - kHashBits);
}

void MatchIndex::Begin(const std::uint8_t* data, std::int32_t length, int maxChain)
{
    if (head_.empty()) {
        head_.assign(std::size_t(1) << kHashBits, 0);
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

void MatchIndex::Insert(std::int32_t p)
{
    const std::uint32_t h = HashAt(p);
    previous_[std::uint32_t(p) & kRingMask] = head_[h];
    head_[h] = base_ + std::uint32_t(p) + 1;
}

Match MatchIndex::Longest(std::int32_t p, int stop, bool fromNewest)
{
    Match best;
    if (fromNewest) {
        cursor_ = head_[HashAt(p)];
        cursorRank_ = 0;
    }
    const std::uint8_t* prefix = data_ + p;
    const int limit = std::min<std::int32_t>(kMaxMatch, length_ - 1 - p);
    for (;;) {
        if (!Valid(cursor_) || cursorRank_ >= maxChain_)
            return best;
        const std::int32_t q = std::int32_t(cursor_ - base_ - 1);
        if (p - q > kWindow)
            return best;
        const std::uint8_t* candidate = data_ + q;
        const std::uint32_t older = previous_[std::uint32_t(q) & kRingMask];
        if (candidate[0] != prefix[0] || candidate[1] != prefix[1] || candidate[2] != prefix[2]) {
            cursor_ = older;  // another prefix with the same hash
            continue;
        }
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
