#pragma once
// The parse of an input into literals and matches, handed to a sink as it goes: kept as a
// byte token stream, only counted, or written as codes at once. The token stream holds what
// the input cannot give again: a count byte n (1..127) for n literals, which are the input's
// next bytes; a match as 128 plus the distance's high seven bits and its low eight bits, its
// length being all that the input has in common there (Match); a final 0.

#include "pdf/core/deflate/DeflateTables.h"
#include "pdf/core/deflate/Match.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <span>

namespace tavlo::deflate {

constexpr std::uint8_t kMatchToken = 128;
constexpr int kLiteralRunLimit = 127;

// Bytes of token stream an input can need at most: one literal's count byte, then a match
// of three bytes, over and over (three bytes for four), and the final 0.
inline std::size_t LongestTokenStream(std::int32_t length)
{
    return 3 * (std::size_t(length) / 4 + 1) + 16;
}

struct SymbolCounts {
    std::array<std::uint32_t, 288> litLenFreq{};
    std::array<std::uint32_t, 32> distFreq{};
};

struct DeflateTokens : SymbolCounts {
    // The room is allocated without being filled, so that the pages a parse never reaches
    // are never touched.
    std::unique_ptr<std::uint8_t[]> room;
    std::size_t capacity = 0;  // allocated
    std::size_t limit = 0;     // what this parse may fill
    std::size_t size = 0;
    // Where the kept tokens stop: the input's length, or the position from which a second
    // parse must find the rest.
    std::int32_t end = 0;

    std::span<const std::uint8_t> Stream() const { return {room.get(), size}; }
    void MakeRoom(std::size_t bytes)
    {
        if (capacity < bytes || !room) {
            room.reset(new std::uint8_t[bytes]);
            capacity = bytes;
        }
        limit = bytes;
        size = 0;
    }
};

// Keeps the tokens while there is room for them; counts the symbols.
class TokenSink {
public:
    // What a step of the parse and the end after it may need: a literal's count byte and a
    // match, then a count byte for three literals and the final 0.
    static constexpr std::size_t kReserve = 16;

    explicit TokenSink(DeflateTokens& tokens)
        : tokens_(&tokens), start_(tokens.room.get()), out_(start_), roomEnd_(start_ + tokens.limit)
    {
        tokens.litLenFreq.fill(0);
        tokens.distFreq.fill(0);
    }
    bool Full() const { return std::size_t(roomEnd_ - out_) < kReserve; }
    void Literal(std::uint8_t byte)
    {
        if (runCount_ == kLiteralRunLimit)
            CloseRun();
        if (runCount_ == 0)
            runAt_ = out_++;
        ++tokens_->litLenFreq[byte];
        ++runCount_;
    }
    void Match(std::int32_t distance, std::int32_t length)
    {
        CloseRun();
        out_[0] = std::uint8_t(kMatchToken | distance >> 8);
        out_[1] = std::uint8_t(distance & 255);
        out_ += 2;
        ++tokens_->distFreq[std::size_t(DistanceCode(distance))];
        ++tokens_->litLenFreq[std::size_t(257 + LengthCode(length))];
    }
    // The final 0 after the tokens up to position end.
    void Close(std::int32_t end)
    {
        CloseRun();
        *out_++ = 0;
        tokens_->size = std::size_t(out_ - start_);
        tokens_->end = end;
    }

private:
    void CloseRun()
    {
        if (runCount_ > 0)
            *runAt_ = std::uint8_t(runCount_);
        runCount_ = 0;
    }

    DeflateTokens* tokens_;
    std::uint8_t* start_;
    std::uint8_t* out_;
    std::uint8_t* roomEnd_;
    std::uint8_t* runAt_ = nullptr;
    int runCount_ = 0;
};

// Counts the symbols of the tokens the room could not keep.
class CountSink {
public:
    explicit CountSink(SymbolCounts& counts) : counts_(&counts) {}
    static bool Full() { return false; }
    void Literal(std::uint8_t byte) { ++counts_->litLenFreq[byte]; }
    void Match(std::int32_t distance, std::int32_t length)
    {
        ++counts_->distFreq[std::size_t(DistanceCode(distance))];
        ++counts_->litLenFreq[std::size_t(257 + LengthCode(length))];
    }

private:
    SymbolCounts* counts_;
};

// Finder: Begin(data, length, maxChain), Insert(p), Longest(p, stop, fromNewest, beat) -> Match;
// InsertRange(from, to) when it has a faster way than Insert one position at a time.
// Where only a match longer than `beat` would be taken, the finder may pass over shorter
// candidates and answer `beat` when none is longer.
// Sink: Full() (asked before each step: true stops the parse there), Literal(byte),
// Match(distance, length).
//
// Parses from position `from`, where the finder holds every earlier position (0 after
// Begin); returns where it stopped: the length, or the position at which the sink was full.
// A parse resumed there gives the tokens an unbroken one would.
template <class Finder, class Sink>
std::int32_t ParseDeflate(const std::uint8_t* data, std::int32_t length, std::int32_t from, const DeflateLevel& level,
                          Finder& finder, Sink& sink)
{
    // The sink as a local: its stores into the token bytes cannot then change its pointers,
    // so they stay in registers.
    Sink out = sink;
    std::int32_t p = from;
    while (p + 3 <= length - 1) {
        if (out.Full()) {
            sink = out;
            return p;
        }
        Match match = finder.Longest(p, level.firstWalkStop, true, 2);
        if (match.length >= 3 && match.length < level.secondWalkStop) {
            const Match further = finder.Longest(p, level.secondWalkStop, false, match.length);
            if (further.length > match.length)
                match = further;
        }
        if (match.length >= 3 && match.length < level.lookaheadStop) {
            const Match ahead = finder.Longest(p + 1, level.lookaheadStop, true, match.length);
            if (ahead.length > match.length) {
                finder.Insert(p);
                out.Literal(data[p]);
                ++p;
                match = ahead;
            }
        }
        if (match.length == 3 && p - match.position > kFarShortMatch)
            match.length = 1;
        if (match.length < 3) {
            finder.Insert(p);
            out.Literal(data[p]);
            ++p;
            continue;
        }
        out.Match(p - match.position, match.length);
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
    for (; p < length; ++p)
        out.Literal(data[p]);
    sink = out;
    return length;
}

// The whole input's tokens kept, as many as they are.
template <class Finder>
void ParseDeflate(const std::uint8_t* data, std::int32_t length, const DeflateLevel& level, Finder& finder,
                  DeflateTokens& tokens)
{
    tokens.MakeRoom(LongestTokenStream(length) + TokenSink::kReserve);
    finder.Begin(data, length, level.maxChain);
    TokenSink sink(tokens);
    sink.Close(ParseDeflate(data, length, 0, level, finder, sink));
    tokens.litLenFreq[256] = 1;
}

} // namespace tavlo::deflate
