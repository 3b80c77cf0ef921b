#pragma once
// Code 39: the symbol patterns, the full-ASCII translation of a text into symbol values
// and the modulo-43 check.

#include <string>
#include <vector>

namespace tavlo {

namespace code39 {
// "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%": values 0 to 42; the start and stop
// symbol "*" is value 43.
constexpr int StartStop = 43;
} // namespace code39

// Nine letters, bar first: "b" narrow bar, "B" wide bar, "w" narrow space, "W" wide space.
const std::string& Code39Word(int value);

// The symbol values that carry a text, pairs of the full-ASCII extension included, start
// and stop left out. Empty when the text is empty or holds a code above 127, which the
// extension cannot carry: such a text is refused as a whole.
std::vector<int> Code39Values(const std::string& code);

// The check character's value for the data symbols of a text.
int Code39Check(const std::vector<int>& values);

} // namespace tavlo
