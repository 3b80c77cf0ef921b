#pragma once
// The parse of an input into literal runs and matches, as a byte token stream:
// a count byte n (1..127) followed by n literals; the byte 128, the distance (high byte
// first) and the length less 3; a final 0.

#include "pdf/core/Bytes.h"
#include "pdf/core/deflate/DeflateTables.h"
#include "pdf/core/deflate/Match.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tavlo::deflate {

constexpr std::uint8_t kMatchToken = 128;
constexpr int kLiteralRunLimit = 127;

struct DeflateTokens {
    Bytes stream;
    std::array<std::uint32_t, 288> litLenFreq{};
    std::array<std::uint32_t, 32> distFreq{};
};

// Finder: Begin(data, length, maxChain), Insert(p), Longest(p, stop, fromNewest, beat) -> Match;
// InsertRange(from, to) when it has a faster way than Insert one position at a time.
// Where only a match longer than `beat` would be taken, the finder may pass over shorter
// candidates and answer `beat` when none is longer.
template <class Finder>
void ParseDeflate(const std::uint8_t* data, std::int32_t length, const DeflateLevel& level, Finder& finder,
                  DeflateTokens& tokens)
{
    finder.Begin(data, length, level.maxChain);
    // The stream is written through a pointer: stores through the vector would reload its
    // bounds at every byte. It grows as the parse needs, so that a large input that
    // compresses well does not touch room for all its bytes.
    Bytes& stream = tokens.stream;
    // Longest parse: one literal with its count byte, then a three-byte match, over and over
    // (six bytes for four).
    const std::size_t longest = 3 * (std::size_t(length) / 2 + 1) + 16;
    stream.resize(std::min(longest, std::size_t(65536) + std::size_t(length) / 4));
    std::uint8_t* start = stream.data();
    std::uint8_t* out = start;
    std::uint8_t* roomEnd = start + stream.size();
    auto room = [&](std::size_t need) {
        if (std::size_t(roomEnd - out) >= need)
            return;
        const std::size_t at = std::size_t(out - start);
        // By a quarter: every byte of the room is touched (zeroed) when it is made.
        stream.resize(std::min(longest, std::max(stream.size() + stream.size() / 4, at + need)));
        start = stream.data();
        out = start + at;
        roomEnd = start + stream.size();
    };
    tokens.litLenFreq.fill(0);
    tokens.distFreq.fill(0);
    std::array<std::uint32_t, 288>& litLenFreq = tokens.litLenFreq;

    std::size_t runAt = 0;
    int runCount = 0;
    auto closeRun = [&] {
        if (runCount > 0)
            start[runAt] = std::uint8_t(runCount);
        runCount = 0;
    };
    auto literal = [&](std::int32_t p, bool index) {
        if (runCount == kLiteralRunLimit)
            closeRun();
        if (runCount == 0)
            runAt = std::size_t(out++ - start);
        if (index)
            finder.Insert(p);
        *out++ = data[p];
        ++litLenFreq[data[p]];
        ++runCount;
    };

    std::int32_t p = 0;
    while (p + 3 <= length - 1) {
        room(8);  // at most a literal with its count byte and a match
        Match match = finder.Longest(p, level.firstWalkStop, true, 2);
        if (match.length >= 3 && match.length < level.secondWalkStop) {
            const Match further = finder.Longest(p, level.secondWalkStop, false, match.length);
            if (further.length > match.length)
                match = further;
        }
        if (match.length >= 3 && match.length < level.lookaheadStop) {
            const Match ahead = finder.Longest(p + 1, level.lookaheadStop, true, match.length);
            if (ahead.length > match.length) {
                literal(p, true);
                ++p;
                match = ahead;
            }
        }
        if (match.length == 3 && p - match.position > kFarShortMatch)
            match.length = 1;
        if (match.length < 3) {
            literal(p, true);
            ++p;
            continue;
        }
        closeRun();
        const std::int32_t distance = p - match.position;
        out[0] = kMatchToken;
        out[1] = std::uint8_t(distance >> 8);
        out[2] = std::uint8_t(distance & 255);
        out[3] = std::uint8_t(match.length - 3);
        out += 4;
        ++tokens.distFreq[DistanceCode(distance)];
        ++litLenFreq[std::size_t(257 + LengthCode(match.length))];
        const std::int32_t end = p + match.length;
        const std::int32_t insertedEnd = std::min(end, length - 2);
        if constexpr (requires { finder.InsertRange(p, insertedEnd); }) {
            finder.InsertRange(p, insertedEnd);
        } else {
            for (std::int32_t i = p; i < insertedEnd; ++i)
                finder.Insert(i);
        }
        p = end;
    }
    while (p < length) {
        room(3);
        literal(p, false);
        ++p;
    }
    closeRun();
    room(1);
    *out++ = 0;
    stream.resize(std::size_t(out - start));
    tokens.litLenFreq[256] = 1;
}

} // namespace tavlo::deflate
