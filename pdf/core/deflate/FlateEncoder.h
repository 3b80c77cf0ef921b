#pragma once
// A zlib stream (header 78 5E, Adler-32 trailer) holding the input in one final deflate
// block of the smallest estimated kind: stored, fixed or dynamic Huffman codes. Stored
// data over 65535 bytes go into several stored blocks, the last one final.

#include "pdf/core/Bytes.h"
#include "pdf/core/deflate/DeflateTokens.h"
#include "pdf/core/deflate/MatchIndex.h"

#include <cstdint>

namespace tavlo::deflate {

enum class BlockKind { Stored = 0, Fixed = 1, Dynamic = 2 };

// What one encoding keeps between calls so that small streams do not pay for tables.
struct FlateWorkspace {
    MatchIndex index;
    DeflateTokens tokens;
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

// Writes the zlib stream for a finished parse.
Bytes WriteFlateStream(const std::uint8_t* data, std::int32_t length, const DeflateTokens& tokens,
                       BlockChoice* choice = nullptr);

} // namespace tavlo::deflate
