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

std::uint32_t Load3(const std::uint8_t* at)
{
    return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16;
}

std::uint32_t Load4(const std::uint8_t* at)
{
    std::uint32_t value;
    std::memcpy(&value, at, 4);
    return value;
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
    cursor_ = -1;
    cursorRank_ = 0;
}

Match MatchIndex::Longest(std::int32_t p, int stop, bool fromNewest, int beat)
{
    // A candidate not longer than `beat` would lose anyway: starting from it lets most
    // candidates fail on one byte, and the walk still stops where a full walk would.
    Match best;
    best.length = beat;
    std::int32_t q = cursor_;
    if (fromNewest) {
#if defined(__GNUC__)
        // The next position's bucket is asked for next: fetch it meanwhile.
        if (p + 3 < length_)
            __builtin_prefetch(&head_[Bucket(p + 1)]);
#endif
        const std::uint32_t newest = head_[Bucket(p)];
        q = Valid(newest) ? std::int32_t(newest - base_ - 1) : -1;
    }
    int rank = fromNewest ? 0 : cursorRank_;
    const int limit = std::min<std::int32_t>(kMaxMatch, length_ - 1 - p);
    const std::uint8_t* here = data_ + p;
    const std::uint32_t prefix = Load3(here);
    const std::int32_t oldest = std::max(0, p - kWindow);
    while (q >= oldest && rank < maxChain_) {
        const std::int32_t at = q;
        const std::uint16_t back = previous_[std::uint32_t(q) & kRingMask];
        q = back != 0 ? q - back : -1;
        const std::uint8_t* there = data_ + at;
        if (Load3(there) != prefix)
            continue;  // another prefix in the same bucket
        ++rank;
        // Only a candidate that agrees on the four bytes up to the first one the best missed
        // can be longer.
        if (best.length < limit && (best.length < 3 || Load4(there + best.length - 3) == Load4(here + best.length - 3))) {
            const int k = Extend(here, there, 3, limit);
            if (k > best.length) {
                best.length = k;
                best.position = at;
                if (k >= stop)
                    break;
            }
        }
    }
    cursor_ = q;
    cursorRank_ = rank;
    return best;
}

} // namespace tavlo::deflate
