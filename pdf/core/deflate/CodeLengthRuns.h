#pragma once
// The code lengths of a dynamic block, run-length coded with the symbols 16, 17 and 18.

#include "pdf/core/deflate/BitWriter.h"
#include "pdf/core/deflate/HuffmanCode.h"

#include <cstdint>
#include <span>

namespace tavlo::deflate {

// The highest symbol with a code, or -1.
int LastCodedSymbol(std::span<const HuffmanCode> table, int last);

// Adds the run statistics of the lengths of symbols 0..last to the 19 counters.
void ScanCodeLengths(std::span<const HuffmanCode> table, int last, std::uint32_t* counters);

// Writes the lengths of symbols 0..last with the code-length code.
void SendDynamicTrees(std::span<const HuffmanCode> table, int last, std::span<const HuffmanCode> lengthCode,
                      BitWriter& bits);

} // namespace tavlo::deflate
