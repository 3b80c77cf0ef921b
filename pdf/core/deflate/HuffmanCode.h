#pragma once
// Length-limited Huffman codes and canonical code assignment (RFC 1951, 3.2.2).

#include <cstdint>
#include <span>

namespace tavlo::deflate {

struct HuffmanCode {
    std::int16_t length = 0;  // 0: symbol not in use
    std::uint32_t code = 0;   // first bit is the most significant
};

// Codes for counts of symbols 0..last, at most maxBits long. Returns -1 (table untouched)
// when no symbol has a count; a single used symbol gets a partner so two codes exist.
int BuildHuffmanTree(std::span<HuffmanCode> table, const std::uint32_t* counts, int last, int maxBits);

// Canonical codes for given lengths of symbols 0..last. Returns the unused code space
// (0 for a complete code), or a negative value when the lengths over-fill it.
int AssignHuffmanCodes(std::span<HuffmanCode> table, const int* lengths, int last);

} // namespace tavlo::deflate
