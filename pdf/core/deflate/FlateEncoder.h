#pragma once
// A zlib stream (header 78 5E, Adler-32 trailer) holding the input in one final deflate
// block of the smallest estimated kind: stored, fixed or dynamic Huffman codes. Stored
// data over 65535 bytes go into several stored blocks, the last one final.
//
// The codes of one block depend on the counts of the whole stream, so its tokens are found
// before the first code is written. They are kept while they fit in the token room; the
// parse goes on counting past it, and the writing finds the rest of the tokens again with a
// second parse from where the room ran out. Memory thus stays bounded at any stream size,
// and the bytes are those of a single parse.

#include "pdf/core/Bytes.h"
#include "pdf/core/deflate/DeflateTokens.h"
#include "pdf/core/deflate/MatchIndex.h"

#include <cstdint>

namespace tavlo::deflate {

enum class BlockKind { Stored = 0, Fixed = 1, Dynamic = 2 };

// Token room of one stream: the tokens of about 40 MB of text, 100 MB of page content or
// 28 MB of an executable.
constexpr std::size_t kTokenRoom = std::size_t(8) << 20;

// What one encoding keeps between calls so that small streams do not pay for tables.
struct FlateWorkspace {
    MatchIndex index;
    DeflateTokens tokens;
    std::size_t tokenRoom = kTokenRoom;  // the tests make it small
};

struct BlockChoice {
    BlockKind kind = BlockKind::Stored;
    std::int64_t storedSize = 0;
    std::int64_t fixedSize = 0;
    std::int64_t dynamicSize = 0;
};

// Level 0..5 (above 5: subscript out of range, before any output).
Bytes FlateEncode(const std::uint8_t* data, std::size_t length, int level, FlateWorkspace& workspace);
Bytes FlateEncode(const Bytes& data, int level);

// Writes the zlib stream for a parse whose tokens are all kept.
Bytes WriteFlateStream(const std::uint8_t* data, std::int32_t length, const DeflateTokens& tokens,
                       BlockChoice* choice = nullptr);

} // namespace tavlo::deflate
