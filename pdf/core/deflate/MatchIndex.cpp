#include "pdf/core/deflate/MatchIndex.h"

#include "pdf/core/deflate/DeflateTables.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace tavlo::deflate {

namespace {

std::uint32_t Load4(const std::uint8_t* at)
{
    std::uint32_t value;
    std::memcpy(&value, at, 4);
    return value;
}

// The bytes of the first three of Load4 (the fourth must lie inside the input).
constexpr std::uint32_t kFirstThree = std::endian::native == std::endian::little ? 0x00FFFFFFu : 0xFFFFFF00u;

} // namespace

void MatchIndex::Begin(const std::uint8_t* data, std::int32_t length, int maxChain)
{
    if (head_.empty()) {
        head_.assign(std::size_t(1) << (32 - hashShift_), 0);
        links_.assign(kRingMask + 1, kNoLinks);
        counts_.assign(kRingMask + 1, 0);
    }
    data_ = data;
    length_ = length;
    maxChain_ = maxChain;
    counting_ = length <= kCountedLength && maxChain >= kCountedChain;
    // The stamps of one input lie more than a window above those of the one before.
    const std::uint64_t needed = std::uint64_t(nextBase_) + std::uint64_t(length) + 2 + kWindowSpan;
    if (needed >= std::numeric_limits<std::uint32_t>::max()) {
        std::fill(head_.begin(), head_.end(), 0);
        nextBase_ = kWindowSpan + 1;
    }
    base_ = nextBase_;
    nextBase_ = base_ + std::uint32_t(length) + 1 + kWindowSpan;
    cursor_ = -1;
    cursorRank_ = 0;
}

void MatchIndex::Resume(const std::uint8_t* data, std::int32_t length, int maxChain, std::int32_t from)
{
    Begin(data, length, maxChain);
    counting_ = false;
    // A walk from p ends at p - kWindow; an entry older than that may lead elsewhere than it
    // did before, but only to positions that are older still.
    InsertRange(std::max<std::int32_t>(0, from - kWindow), std::min(from, length - 2));
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
    const int limit = MatchLimit(p, length_);
    const std::uint8_t* const data = data_;
    const std::uint32_t* const links = links_.data();
    const std::uint8_t* here = data + p;
    const std::uint32_t prefix = PrefixAt(p);
    const std::int32_t oldest = std::max(0, p - kWindow);
    // Only a candidate that agrees on the four bytes up to the first one the best missed
    // can be longer (read only while a longer one fits before the end).
    auto wanted = [&] { return best.length >= 3 && best.length < limit ? Load4(here + best.length - 3) : 0; };
    std::uint32_t want = wanted();
    // Looks at one candidate; true when the walk stops there.
    auto stopsAt = [&](std::int32_t at) {
        const std::uint8_t* there = data + at;
        if ((Load4(there) & kFirstThree) != prefix)
            return false;  // another prefix in the same bucket
        ++rank;
        if (best.length < limit && (best.length < 3 || Load4(there + best.length - 3) == want)) {
            const int k = CommonLength(here, there, 3, limit);
            if (k > best.length) {
                best.length = k;
                best.position = at;
                if (k >= stop)
                    return true;
                want = wanted();
            }
        }
        return false;
    };
    if (counting_ && fromNewest && best.length >= 3 && best.length < limit && q >= oldest) {
        // A candidate longer than `beat` also shares the three bytes that end where it must
        // reach. Where the chain of those is the shorter one, and the chain at p too short
        // for maxChain to cut, the walk goes down that chain instead: only the candidates
        // newer than it can hold (less than `beat` back) are taken from p's own. Both go
        // newest first, so the answer is the one the walk at p gives.
        const int reach = best.length;
        const std::int32_t s = p + reach - 2;
        const std::uint16_t* const counts = counts_.data();
        const int chainAtP = counts[std::uint32_t(q) & kRingMask];
        const std::uint32_t newestOfS = chainAtP < maxChain_ ? head_[Bucket(s)] : 0;
        const int chainAtS = Valid(newestOfS) ? counts[(newestOfS - base_ - 1) & kRingMask] : -1;
        if (chainAtP < maxChain_ && chainAtS < chainAtP) {
            auto tries = [&](std::int32_t at) {
                const std::uint8_t* there = data + at;
                if (Load4(there + best.length - 3) != want || (Load4(there) & kFirstThree) != prefix)
                    return false;
                const int k = CommonLength(here, there, 3, limit);
                if (k > best.length) {
                    best.length = k;
                    best.position = at;
                    if (k >= stop || k >= limit)
                        return true;
                    want = wanted();
                }
                return false;
            };
            cursor_ = -1;
            for (; q >= oldest && q > p - reach; q -= std::int32_t(links[std::uint32_t(q) & kRingMask] & 0xFFFF))
                if (tries(q))
                    return best;
            if (!Valid(newestOfS))
                return best;
            for (std::int32_t at = std::int32_t(newestOfS - base_ - 1); at - (reach - 2) >= oldest;
                 at -= std::int32_t(links[std::uint32_t(at) & kRingMask] & 0xFFFF))
                if (tries(at - (reach - 2)))
                    return best;
            return best;
        }
    }
    // Two candidates a step: the second comes from the first one's link too.
    while (q >= oldest && rank < maxChain_) {
        const std::uint32_t link = links[std::uint32_t(q) & kRingMask];
        const std::int32_t next = q - std::int32_t(link & 0xFFFF);
        if (stopsAt(q)) {
            q = next;
            break;
        }
        if (next < oldest || rank >= maxChain_) {
            q = next;
            break;
        }
        q -= std::int32_t(link >> 16);
        if (stopsAt(next))
            break;
    }
    cursor_ = q;
    cursorRank_ = rank;
    return best;
}

} // namespace tavlo::deflate
