#pragma once
// The match index exactly as the original encoder built it: a trie of sibling lists on the
// three prefix bytes, and per prefix a chain of at most maxChain occurrence records, the
// oldest reused first. Slow and memory-hungry; the tests check that the fast index gives
// the same token streams.

#include "pdf/core/deflate/Match.h"

#include <cstdint>
#include <vector>

namespace tavlo::test {

class LiteralMatchTrie {
public:
    void Begin(const std::uint8_t* data, std::int32_t length, int maxChain)
    {
        data_ = data;
        last_ = length - 1;
        maxChain_ = maxChain;
        for (auto& h : firstHeads_)
            h = 0;
        second_.assign(1, Node{});
        third_.assign(1, Node{});
        heads_.assign(1, Head{});
        occurrences_.assign(1, Occurrence{});
    }

    void Insert(std::int32_t p)
    {
        std::int32_t n = firstHeads_[data_[p]];
        if (n == 0) {
            n = NewNode(second_);
            firstHeads_[data_[p]] = n;
        }
        const std::int32_t t = Descend(second_, n, data_[p + 1], true, [&] { return NewNode(third_); });
        const std::int32_t h = Descend(third_, t, data_[p + 2], true, [&] { return NewHead(); });
        Head& head = heads_[h];
        if (head.count == 0) {
            const std::int32_t o = NewOccurrence(-1, p);
            heads_[h].newest = heads_[h].oldest = o;
            heads_[h].count = 1;
        } else if (head.count < maxChain_) {
            const std::int32_t o = NewOccurrence(heads_[h].newest, p);
            occurrences_[heads_[h].newest].newer = o;
            heads_[h].newest = o;
            ++heads_[h].count;
        } else {
            const std::int32_t reused = head.oldest;
            const std::int32_t nextNewer = occurrences_[reused].newer;
            head.oldest = nextNewer;
            occurrences_[nextNewer].older = -1;
            occurrences_[reused] = Occurrence{head.newest, -1, p};
            occurrences_[head.newest].newer = reused;
            head.newest = reused;
        }
    }

    // Considers every candidate, whatever the caller would take (beat).
    deflate::Match Longest(std::int32_t p, int stop, bool fromNewest, int /*beat*/)
    {
        deflate::Match best;
        std::int32_t n = firstHeads_[data_[p]];
        if (n == 0)
            return best;
        const std::int32_t t = Descend(second_, n, data_[p + 1], false, [] { return 0; });
        if (t == 0)
            return best;
        const std::int32_t h = Descend(third_, t, data_[p + 2], false, [] { return 0; });
        if (h == 0)
            return best;
        Head& head = heads_[h];
        if (fromNewest)
            head.cursor = head.newest;
        if (head.count < 1)
            return best;
        for (int i = 0; i < head.count; ++i) {
            if (head.cursor < 1)
                return best;
            const std::int32_t q = occurrences_[head.cursor].position;
            if (p - q > 32767)
                return best;
            int k = 2;
            while (data_[q + k] == data_[p + k]) {
                if (p + k == last_ || k == 258)
                    break;
                ++k;
            }
            head.cursor = occurrences_[head.cursor].older;
            if (k > best.length) {
                best.length = k;
                best.position = q;
            }
            if (best.length >= stop)
                return best;
        }
        return best;
    }

private:
    struct Node {
        std::uint8_t byte = 0;
        std::int32_t next = 0;
        std::int32_t child = 0;
    };
    struct Head {
        std::int32_t newest = 0, oldest = 0, cursor = 0;
        int count = 0;
    };
    struct Occurrence {
        std::int32_t older = -1, newer = -1, position = 0;
    };

    static std::int32_t NewNode(std::vector<Node>& nodes)
    {
        nodes.push_back(Node{});
        return static_cast<std::int32_t>(nodes.size() - 1);
    }
    std::int32_t NewHead()
    {
        heads_.push_back(Head{});
        return static_cast<std::int32_t>(heads_.size() - 1);
    }
    std::int32_t NewOccurrence(std::int32_t older, std::int32_t position)
    {
        occurrences_.push_back(Occurrence{older, -1, position});
        return static_cast<std::int32_t>(occurrences_.size() - 1);
    }

    // Walks a sibling list for byte; fills the closing empty node when adding.
    template <class MakeChild>
    std::int32_t Descend(std::vector<Node>& nodes, std::int32_t n, std::uint8_t byte, bool add, MakeChild makeChild)
    {
        for (;;) {
            if (nodes[n].next == 0) {
                if (!add)
                    return 0;
                const std::int32_t next = NewNode(nodes);
                const std::int32_t child = makeChild();
                nodes[n].next = next;
                nodes[n].child = child;
                nodes[n].byte = byte;
                return child;
            }
            if (nodes[n].byte == byte)
                return nodes[n].child;
            n = nodes[n].next;
        }
    }

    const std::uint8_t* data_ = nullptr;
    std::int32_t last_ = -1;
    int maxChain_ = 0;
    std::int32_t firstHeads_[256] = {};
    std::vector<Node> second_, third_;
    std::vector<Head> heads_;
    std::vector<Occurrence> occurrences_;
};

} // namespace tavlo::test
