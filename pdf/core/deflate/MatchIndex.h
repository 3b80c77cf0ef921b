#pragma once
// Where the three-byte prefix at a position occurred before: a head table of 2^16 buckets,
// each holding the newest position whose prefix hashes there, and a 32 K ring giving each
// position the distance back to the previous one of its bucket. A walk skips the positions
// of other prefixes that share the bucket without counting them, so the candidates are
// exactly the `maxChain` newest earlier positions with the same prefix, newest first,
// stopping beyond 32767 bytes. The tables (about 320 KB) are kept between inputs and never
// cleared: the heads are stamped with a base that grows from one input to the next, older
// stamps count as empty, and a ring entry is read only for a position of the current input.

#include "pdf/core/deflate/Match.h"

#include <cstdint>
#include <vector>

namespace tavlo::deflate {

class MatchIndex {
public:
    static constexpr int kHashBits = 16;
    // Fewer buckets only make the walks longer: the tests use them to force sharing.
    explicit MatchIndex(int hashBits = kHashBits) : hashShift_(32 - hashBits) {}

    void Begin(const std::uint8_t* data, std::int32_t length, int maxChain);
    // Records position p (p + 2 inside the input).
    void Insert(std::int32_t p)
    {
        const std::uint32_t bucket = Bucket(p);
        const std::uint32_t newest = head_[bucket];
        const std::uint32_t back = base_ + std::uint32_t(p) + 1 - newest;
        previous_[std::uint32_t(p) & kRingMask] = Valid(newest) && back <= kWindowSpan ? std::uint16_t(back) : 0;
        head_[bucket] = base_ + std::uint32_t(p) + 1;
    }
    // The longest earlier match at p, stopping once `stop` bytes are matched; fromNewest
    // false walks on from where the last walk stopped. Only candidates longer than `beat`
    // (at least 2) are considered: the answer is `beat` long when none is.
    Match Longest(std::int32_t p, int stop, bool fromNewest, int beat);

private:
    static constexpr std::uint32_t kRingMask = 32767;
    static constexpr std::uint32_t kWindowSpan = 32767;  // farthest distance

    std::uint32_t PrefixAt(std::int32_t p) const
    {
        return std::uint32_t(data_[p]) << 16 | std::uint32_t(data_[p + 1]) << 8 | data_[p + 2];
    }
    std::uint32_t Bucket(std::int32_t p) const { return (PrefixAt(p) * 0x9E3779B1u) >> hashShift_; }
    bool Valid(std::uint32_t stamp) const { return stamp > base_; }

    int hashShift_;
    const std::uint8_t* data_ = nullptr;
    std::int32_t length_ = 0;
    int maxChain_ = 0;
    std::uint32_t base_ = 0;
    std::uint32_t nextBase_ = 0;
    std::vector<std::uint32_t> head_;
    // How far back the previous position of the same bucket lies, 0 for none within reach:
    // half the room of whole positions, so that more of a walk stays in the nearest cache.
    std::vector<std::uint16_t> previous_;
    std::int32_t cursor_ = -1;  // the next candidate of a walk that goes on, -1 for none
    int cursorRank_ = 0;
};

} // namespace tavlo::deflate
