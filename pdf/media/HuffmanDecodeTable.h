#pragma once
// Canonical Huffman codes of deflate, decoded through one flat table indexed by the code
// value read most-significant bit first: in a canonical code no two codes of different
// lengths have the same value, so every length fits in the one array.

#include "pdf/media/InflateBitReader.h"

#include <cstdint>
#include <vector>

namespace tavlo::inflate {

constexpr int kMaxCodeLength = 15;

struct DecodeEntry {
    std::int16_t length = 0;  // 0: no code has this value
    std::int32_t symbol = 0;
};

struct DecodeTable {
    std::vector<DecodeEntry> entries;  // 2^maxLength entries
    int maxLength = 0;
    int minLength = 0;
    int codeCount = 0;
};

// The low length bits of code in reverse order.
std::uint32_t ReverseHuffmanCode(std::uint32_t code, int length);

// Builds the table of the code whose lengths (0..15, 0 = unused) are given for symbols
// 0..lastSymbol. Returns the balance: 0 for a complete code, above 0 for an incomplete
// one, below 0 for an over-subscribed one, which leaves the table empty.
int BuildDecodeTable(DecodeTable& table, const std::uint8_t* lengths, int lastSymbol);

// Reads one symbol. A bit sequence that is no code of the table (an incomplete code, or
// a table without codes) is the subscript error, as a value past the table would be.
std::int32_t DecodeSymbol(BitReader& in, const DecodeTable& table);

} // namespace tavlo::inflate
