#pragma once
// The parse of an input into literal runs and matches, as a byte token stream:
// a count byte n (1..127) followed by n literals; the byte 128, the distance (high byte
// first) and the length less 3; a final 0.

#include "pdf/core/Bytes.h"
#include "pdf/core/deflate/DeflateTables.h"
#include "pdf/core/deflate/Match.h"

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

// Finder: Begin(data, length, maxChain), Insert(p), Longest(p, stop, fromNewest, beat) -> Match.
// Where only a match longer than `beat` would be taken, the finder may pass over shorter
// candidates and answer `beat` when none is longer.
template <class Finder>
void ParseDeflate(const std::uint8_t* data, std::int32_t length, const DeflateLevel& level, Finder& finder,
                  DeflateTokens& tokens)
{
    finder.Begin(data, length, level.maxChain);
    Bytes& out = tokens.stream;
    out.clear();
    out.reserve(std::size_t(length) + std::size_t(length) / kLiteralRunLimit + 16);
    tokens.litLenFreq.fill(0);
    tokens.distFreq.fill(0);

    std::size_t runAt = 0;
    int runCount = 0;
    auto closeRun = [&] {
        if (runCount > 0)
            out[runAt] = std::uint8_t(runCount);
        runCount = 0;
    };
    auto literal = [&](std::int32_t p, bool index) {
        if (runCount == kLiteralRunLimit)
            closeRun();
        if (runCount == 0) {
            runAt = out.size();
            out.push_back(0);
        }
        if (index)
            finder.Insert(p);
        out.push_back(data[p]);
        ++tokens.litLenFreq[data[p]];
        ++runCount;
    };

    std::int32_t p = 0;
    while (p + 3 <= length - 1) {
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
        out.push_back(kMatchToken);
        out.push_back(std::uint8_t(distance >> 8));
        out.push_back(std::uint8_t(distance & 255));
        out.push_back(std::uint8_t(match.length - 3));
        ++tokens.distFreq[DistanceCode(distance)];
        ++tokens.litLenFreq[257 + LengthCode(match.length)];
        const std::int32_t end = p + match.length;
        for (std::int32_t i = p; i < end && i <= length - 3; ++i)
            finder.Insert(i);
        p = end;
    }
    while (p < length) {
        literal(p, false);
        ++p;
    }
    closeRun();
    out.push_back(0);
    tokens.litLenFreq[256] = 1;
}

} // namespace tavlo::deflate
