#include "pdf/core/PdfName.h"

namespace tavlo {

namespace {

bool IsRegular(unsigned char c)
{
    if (c < 0x21 || c > 0x7E)
        return false;
    switch (c) {
    case '(': case ')': case '<': case '>': case '[': case ']':
    case '{': case '}': case '/': case '%': case '#':
        return false;
    default:
        return true;
    }
}

} // namespace

std::string PdfName(std::string_view name)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "/";
    out.reserve(name.size() + 1);
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == 0)
            continue;  // a name cannot hold a null byte, not even as #00
        if (IsRegular(c)) {
            out += ch;
        } else {
            out += '#';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

} // namespace tavlo
