#pragma once
// Upper case of the ASCII letters only: names compared or written upper-cased (patterns,
// layers, fonts, colours) come out the same whatever the machine's locale.

#include <string>

namespace tavlo {

inline char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string AsciiUpper(std::string text)
{
    for (char& c : text)
        c = AsciiUpper(c);
    return text;
}

} // namespace tavlo
