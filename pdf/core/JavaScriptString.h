#pragma once
// A JavaScript string literal from a Windows-1252 text: quotes and backslashes escaped,
// every byte outside printable ASCII as a \uXXXX escape of its Unicode character, so the
// script means the same whatever encoding a viewer assumes for it.

#include <string>
#include <string_view>

namespace tavlo {

// The literal with its single quotes.
std::string JavaScriptString(std::string_view text);

} // namespace tavlo
