#pragma once
// Where the three-byte prefix at a position occurred before: a head table indexed by the
// exact prefix (2^24 entries, allocated as zero pages that cost memory only once touched)
// and a 32 K ring of links to the previous position with the same prefix. The candidates
// are exactly the `maxChain` newest earlier positions with the prefix, newest first,
// stopping beyond 32767 bytes, and no walk ever steps over another prefix.
// The tables are kept between inputs and never cleared: positions are stamped with a
// base that grows from one input to the next, and older stamps count as empty.

#include "pdf/core/deflate/Match.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace tavlo::deflate {

class MatchIndex {
public:
    void Begin(const std::uint8_t* data, std::int32_t length, int maxChain);
    // Records position p (p + 2 inside the input).
    void Insert(std::int32_t p);
    // The longest earlier match at p, stopping once `stop` bytes are matched; fromNewest
    // false walks on from where the last walk stopped.
    Match Longest(std::int32_t p, int stop, bool fromNewest);

private:
    static constexpr std::size_t kHeads = std::size_t(1) << 24;
    static constexpr std::uint32_t kRingMask = 32767;

    struct FreeDeleter {
        void operator()(std::uint32_t* p) const { std::free(p); }
    };

    std::uint32_t PrefixAt(std::int32_t p) const;
    bool Valid(std::uint32_t stamp) const { return stamp > base_; }

    const std::uint8_t* data_ = nullptr;
    std::int32_t length_ = 0;
    int maxChain_ = 0;
    std::uint32_t base_ = 0;
    std::uint32_t nextBase_ = 0;
    std::unique_ptr<std::uint32_t[], FreeDeleter> head_;
    std::vector<std::uint32_t> previous_;
    std::uint32_t cursor_ = 0;
    int cursorRank_ = 0;
};

} // namespace tavlo::deflate
