#pragma once
// Replacement and splitting of texts, used by the number and string writers and by the
// members that take lists (field options, link arguments, dash patterns).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo {

// Replaces the first `count` occurrences of `find` found from the 1-based `position` on,
// left to right and without overlap. An empty `find` leaves the text unchanged.
std::string ReplaceText(std::string_view text, std::string_view find, std::string_view replacement,
                        std::int32_t position = 1, std::int32_t count = 2147483647);

// Cuts text at every occurrence of delimiter; empty parts are kept. An empty text or
// delimiter gives the one element text.
std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter);

} // namespace tavlo
