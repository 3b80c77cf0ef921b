#pragma once
// Where the three-byte prefix at a position occurred before: a head table of 2^16 buckets,
// each holding the newest position whose prefix hashes there, and a 32 K ring giving each
// position the distances back to the previous two of its bucket. A walk skips the positions
// of other prefixes that share the bucket without counting them, so the candidates are
// exactly the `maxChain` newest earlier positions with the same prefix, newest first,
// stopping beyond 32767 bytes. The tables (448 KB with the chain counts) are kept between
// inputs and never cleared: positions are stamped with a base that grows from one input to
// the next by more than a window, so that a head of an earlier input lies out of reach and
// the ring entries it would lead to are never read.

#include "pdf/core/deflate/Match.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

namespace tavlo::deflate {

class MatchIndex {
public:
    static constexpr int kHashBits = 16;
    // Fewer buckets only make the walks longer: the tests use them to force sharing.
    explicit MatchIndex(int hashBits = kHashBits) : hashShift_(32 - hashBits) {}

    void Begin(const std::uint8_t* data, std::int32_t length, int maxChain);
    // Begins the input again at position from, answering every walk from there on as the
    // index that recorded all earlier positions did: those a window back are recorded anew,
    // and the chain counts, which would need the whole input, stay out of use.
    void Resume(const std::uint8_t* data, std::int32_t length, int maxChain, std::int32_t from);
    // Records position p (p + 2 inside the input).
    void Insert(std::int32_t p) { InsertRange(p, p + 1); }
    // Records positions from to to - 1, in order.
    void InsertRange(std::int32_t from, std::int32_t to)
    {
        if (counting_)
            Record<true>(from, to);
        else
            Record<false>(from, to);
    }
    // The longest earlier match at p, stopping once `stop` bytes are matched; fromNewest
    // false walks on from where the last walk stopped (one that began with `beat` 2). Only
    // candidates longer than `beat` (at least 2) are considered: the answer is `beat` long
    // when none is.
    Match Longest(std::int32_t p, int stop, bool fromNewest, int beat);

private:
    static constexpr std::uint32_t kRingMask = 32767;
    static constexpr std::uint32_t kWindowSpan = 32767;  // farthest distance
    // No earlier position of the bucket within reach: a step back this far leaves any window,
    // and added to a step within it still fits in 16 bits.
    static constexpr std::uint32_t kNone = 32768;
    static constexpr std::uint32_t kNoLinks = kNone | kNone << 16;

    template <bool kCounting>
    void Record(std::int32_t from, std::int32_t to)
    {
        if (from >= to)
            return;
        // The tables through locals: stores into them cannot change these.
        const std::uint8_t* const data = data_;
        std::uint32_t* const head = head_.data();
        std::uint32_t* const ring = links_.data();
        std::uint16_t* const counts = counts_.data();
        const std::uint32_t base = base_;
        const int shift = hashShift_;
        std::uint32_t prefix = PrefixAt(from);
        for (std::int32_t p = from;;) {
            const std::uint32_t bucket = (prefix * 0x9E3779B1u) >> shift;
            const std::uint32_t stamp = base + std::uint32_t(p) + 1;
            // An empty head (a stamp of an earlier input) lies farther back than any window.
            const std::uint32_t back = stamp - head[bucket];
            head[bucket] = stamp;
            const std::uint32_t before = (std::uint32_t(p) - back) & kRingMask;
            const std::uint32_t further = back + (ring[before] & 0xFFFF);
            const bool inReach = back <= kWindowSpan;
            ring[std::uint32_t(p) & kRingMask] = inReach ? back | further << 16 : kNoLinks;
            if constexpr (kCounting)
                counts[std::uint32_t(p) & kRingMask] = std::uint16_t(inReach ? std::min(counts[before] + 1, 0xFFFF) : 0);
            if (++p == to)
                break;
            prefix = NextPrefix(prefix, data[p + 2]);
        }
    }
    // The first three bytes at p, as the first three of a four-byte load would hold them.
    std::uint32_t PrefixAt(std::int32_t p) const
    {
        const std::uint32_t a = data_[p], b = data_[p + 1], c = data_[p + 2];
        if constexpr (std::endian::native == std::endian::little)
            return a | b << 8 | c << 16;
        else
            return a << 24 | b << 16 | c << 8;
    }
    // The prefix at p + 1 from the one at p and the byte at p + 3.
    static std::uint32_t NextPrefix(std::uint32_t prefix, std::uint32_t next)
    {
        if constexpr (std::endian::native == std::endian::little)
            return prefix >> 8 | next << 16;
        else
            return (prefix << 8 | next << 8) & 0xFFFFFF00u;
    }
    std::uint32_t Bucket(std::int32_t p) const { return (PrefixAt(p) * 0x9E3779B1u) >> hashShift_; }
    bool Valid(std::uint32_t stamp) const { return stamp > base_; }

    int hashShift_;
    const std::uint8_t* data_ = nullptr;
    std::int32_t length_ = 0;
    int maxChain_ = 0;
    std::uint32_t base_ = 0;
    std::uint32_t nextBase_ = kWindowSpan + 1;  // above the zeros of a new head table
    std::vector<std::uint32_t> head_;
    // How far back the previous position of the same bucket lies (low 16 bits), and the one
    // before it (high 16 bits), kNone for none within reach. With both, a walk waits for one
    // read every two steps; 16 bits each, so that more of a walk stays in the nearest cache.
    std::vector<std::uint32_t> links_;
    // Kept for inputs up to kCountedLength walked up to kCountedChain candidates or more:
    // how many earlier positions of the bucket the chain through each position holds without
    // a gap beyond reach (at most 65535). There most chains are short enough for a walk past
    // a match to take another chain (Longest); in a large input, or under a smaller maxChain,
    // their upkeep costs more than that saves.
    static constexpr std::int32_t kCountedLength = 131072;
    static constexpr int kCountedChain = 128;
    bool counting_ = false;
    std::vector<std::uint16_t> counts_;
    std::int32_t cursor_ = -1;  // the next candidate of a walk that goes on, -1 for none
    int cursorRank_ = 0;
};

} // namespace tavlo::deflate
