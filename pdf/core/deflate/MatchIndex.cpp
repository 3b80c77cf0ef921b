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
    cursor_ = 0;
    cursorRank_ = 0;
}

Match MatchIndex::Longest(std::int32_t p, int stop, bool fromNewest, int beat)
{
    // A candidate not longer than `beat` would lose anyway: starting from it lets most
    // candidates fail on one byte, and the walk still stops where a full walk would.
    Match best;
    best.length = beat;
    std::uint32_t cursor = fromNewest ? head_[Bucket(p)] : cursor_;
    int rank = fromNewest ? 0 : cursorRank_;
    const int limit = std::min<std::int32_t>(kMaxMatch, length_ - 1 - p);
    const std::uint8_t* here = data_ + p;
    const std::uint32_t prefix = Load3(here);
    // Stamps of earlier inputs and of positions beyond the window are not above this one.
    const std::uint32_t oldest = base_ + std::uint32_t(std::max(0, p - kWindow));
    while (cursor > oldest && rank < maxChain_) {
        const std::int32_t q = std::int32_t(cursor - base_ - 1);
        cursor = previous_[std::uint32_t(q) & kRingMask];
        const std::uint8_t* there = data_ + q;
        if (Load3(there) != prefix)
            continue;  // another prefix in the same bucket
        ++rank;
        // Only a candidate that agrees on the four bytes up to the first one the best missed
        // can be longer.
        if (best.length < limit && (best.length < 3 || Load4(there + best.length - 3) == Load4(here + best.length - 3))) {
            const int k = Extend(here, there, 3, limit);
            if (k > best.length) {
                best.length = k;
                best.position = q;
                if (k >= stop)
                    break;
            }
        }
    }
    cursor_ = cursor;
    cursorRank_ = rank;
    return best;
}

} // namespace tavlo::deflate
