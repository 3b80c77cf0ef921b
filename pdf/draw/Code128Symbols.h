#pragma once
// Code 128 symbols as module strings and the walk that turns a text into symbol values.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavlo {

namespace code128 {
constexpr int CodeC = 99;
constexpr int CodeB = 100;
constexpr int StartB = 104;
constexpr int StartC = 105;
constexpr int Stop = 106;
} // namespace code128

// "1" a dark module, "0" a light one: 11 modules for values 0 to 105, 13 for the stop.
const std::string& Code128Modules(int value);

// The symbol values of a text, start first, then data and code-set switches, check and
// stop. Empty when the text is empty or holds a character outside 32 to 126.
// Raises the overflow error where a position times a value passes 32767, as the weighted
// sum was always kept in 16 bits.
std::vector<int> Code128Values(const std::string& code);

} // namespace tavlo
