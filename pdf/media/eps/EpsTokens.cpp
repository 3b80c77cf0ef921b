#include "pdf/media/eps/EpsTokens.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <system_error>

namespace tavlo {

namespace {

bool Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0';
}

bool Delimiter(char c)
{
    switch (c) {
    case '(': case ')': case '<': case '>': case '[': case ']': case '{': case '}': case '/': case '%':
        return true;
    default:
        return Blank(c);
    }
}

bool LineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// The value of a digit in bases up to 36, or 36 for none.
int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 36;
}

bool RadixNumber(std::string_view token, double& value)
{
    const std::size_t hash = token.find('#');
    if (hash == 0 || hash == std::string_view::npos || hash > 2 || hash + 1 == token.size())
        return false;
    int base = 0;
    for (std::size_t i = 0; i < hash; ++i) {
        if (token[i] < '0' || token[i] > '9')
            return false;
        base = base * 10 + (token[i] - '0');
    }
    if (base < 2 || base > 36)
        return false;
    double n = 0;
    for (std::size_t i = hash + 1; i < token.size(); ++i) {
        const int digit = DigitValue(token[i]);
        if (digit >= base)
            return false;
        n = n * base + digit;
    }
    value = n;
    return true;
}

} // namespace

bool EpsNumber(std::string_view token, double& value)
{
    if (RadixNumber(token, value))
        return true;
    std::size_t at = 0;
    if (at < token.size() && (token[at] == '+' || token[at] == '-'))
        ++at;
    bool digits = false;
    int points = 0;
    for (; at < token.size() && ((token[at] >= '0' && token[at] <= '9') || token[at] == '.'); ++at) {
        digits = digits || token[at] != '.';
        points += token[at] == '.';
    }
    if (!digits || points > 1)
        return false;
    if (at < token.size() && (token[at] == 'e' || token[at] == 'E')) {
        ++at;
        if (at < token.size() && (token[at] == '+' || token[at] == '-'))
            ++at;
        const std::size_t exponent = at;
        while (at < token.size() && token[at] >= '0' && token[at] <= '9')
            ++at;
        if (at == exponent)
            return false;
    }
    if (at != token.size())
        return false;
    const char* first = token.data() + (token[0] == '+' ? 1 : 0);
    const auto result = std::from_chars(first, token.data() + token.size(), value);
    // A number too large for a double is one no drawing can hold: taken as infinite, it is
    // refused where it would be written.
    if (result.ec == std::errc::result_out_of_range && result.ptr == token.data() + token.size()) {
        value = token[0] == '-' ? -HUGE_VAL : HUGE_VAL;
        return true;
    }
    return result.ec == std::errc() && result.ptr == token.data() + token.size();
}

std::size_t EpsTokenizer::StringEnd(std::size_t from) const
{
    int depth = 1;
    std::size_t at = from;
    while (at < text_.size()) {
        const char c = text_[at++];
        if (c == '\\') {
            ++at;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth == 0)
                return at;
        } else if (LineEnd(c) && text_.substr(at, 5) == "%%End") {
            return at;
        }
    }
    return text_.size();
}

std::size_t EpsTokenizer::DelimitedEnd(std::size_t from, std::string_view close) const
{
    for (std::size_t at = from; at < text_.size(); ++at) {
        if (text_.substr(at, close.size()) == close)
            return at + close.size();
        if (LineEnd(text_[at]) && text_.substr(at + 1, 5) == "%%End")
            return at + 1;
    }
    return text_.size();
}

void EpsTokenizer::SkipPast(std::string_view word)
{
    const std::size_t found = text_.find(word, at_);
    at_ = found == std::string_view::npos ? text_.size() : found + word.size();
}

bool EpsTokenizer::ReadLine(std::string_view& line)
{
    const std::size_t end = std::min(text_.find_first_of("\r\n", at_), text_.size());
    line = text_.substr(at_, end - at_);
    at_ = end;
    if (at_ == text_.size())
        return false;
    at_ += text_.substr(at_, 2) == "\r\n" ? 2 : 1;
    return true;
}

std::string EpsStringBytes(std::string_view token)
{
    std::string bytes;
    if (token.substr(0, 2) == "<~") {
        // Groups of five base-85 digits make four bytes; z is four zeros; a last group of n
        // digits makes n - 1 bytes.
        std::uint32_t group = 0;
        int digits = 0;
        auto flush = [&](int count) {
            for (int i = 0; i < count; ++i)
                bytes += static_cast<char>((group >> (24 - 8 * i)) & 255);
        };
        for (std::size_t i = 2; i < token.size() && token[i] != '~'; ++i) {
            const char c = token[i];
            if (c == 'z' && digits == 0) {
                bytes.append(4, '\0');
            } else if (c >= '!' && c <= 'u') {
                group = group * 85 + static_cast<std::uint32_t>(c - '!');
                if (++digits == 5) {
                    flush(4);
                    group = 0;
                    digits = 0;
                }
            }
        }
        if (digits > 1) {
            for (int i = digits; i < 5; ++i)
                group = group * 85 + 84;
            flush(digits - 1);
        }
        return bytes;
    }
    if (token.substr(0, 1) == "<") {
        int high = -1;
        for (std::size_t i = 1; i < token.size() && token[i] != '>'; ++i) {
            const int digit = DigitValue(token[i]);
            if (digit >= 16)
                continue;
            if (high < 0) {
                high = digit;
            } else {
                bytes += static_cast<char>(high * 16 + digit);
                high = -1;
            }
        }
        if (high >= 0)
            bytes += static_cast<char>(high * 16);
        return bytes;
    }
    const std::size_t end = token.size() >= 2 && token.back() == ')' ? token.size() - 1 : token.size();
    for (std::size_t i = 1; i < end; ++i) {
        char c = token[i];
        if (c == '\r') {  // a line end in a string is a newline, whichever it was
            i += i + 1 < end && token[i + 1] == '\n';
            bytes += '\n';
            continue;
        }
        if (c != '\\' || i + 1 >= end) {
            bytes += c;
            continue;
        }
        c = token[++i];
        switch (c) {
        case 'n': bytes += '\n'; break;
        case 'r': bytes += '\r'; break;
        case 't': bytes += '\t'; break;
        case 'b': bytes += '\b'; break;
        case 'f': bytes += '\f'; break;
        case '\r': i += i + 1 < end && token[i + 1] == '\n'; break;  // a line continued
        case '\n': break;
        default:
            if (c >= '0' && c <= '7') {
                int code = c - '0';
                for (int n = 1; n < 3 && i + 1 < end && token[i + 1] >= '0' && token[i + 1] <= '7'; ++n)
                    code = code * 8 + (token[++i] - '0');
                bytes += static_cast<char>(code & 255);
            } else {
                bytes += c;
            }
        }
    }
    return bytes;
}

bool EpsTokenizer::Next(EpsToken& token)
{
    while (at_ < text_.size()) {
        const std::size_t start = at_;
        const char c = text_[at_];
        if (Blank(c)) {
            ++at_;
            continue;
        }
        if (c == '%') {
            const bool structuring = LineStart() && at_ + 1 < text_.size() && text_[at_ + 1] == '%';
            while (at_ < text_.size() && !LineEnd(text_[at_]))
                ++at_;
            if (!structuring)
                continue;
            token = {EpsToken::kComment, text_.substr(start, at_ - start)};
            return true;
        }
        token.value = 0;
        switch (c) {
        case '(':
            at_ = StringEnd(start + 1);
            token = {EpsToken::kString, text_.substr(start, at_ - start)};
            return true;
        case '<':
            if (text_.substr(start, 2) == "<<") {
                at_ += 2;
                token = {EpsToken::kDictOpen, text_.substr(start, 2)};
            } else {
                const bool ascii85 = text_.substr(start, 2) == "<~";
                at_ = DelimitedEnd(start + (ascii85 ? 2 : 1), ascii85 ? "~>" : ">");
                token = {EpsToken::kString, text_.substr(start, at_ - start)};
            }
            return true;
        case '>':
            at_ += text_.substr(start, 2) == ">>" ? 2 : 1;
            token = {at_ - start == 2 ? EpsToken::kDictClose : EpsToken::kName, text_.substr(start, at_ - start)};
            return true;
        case '[': case ']': case '{': case '}': case ')':
            ++at_;
            token = {c == '[' ? EpsToken::kArrayOpen
                     : c == ']' ? EpsToken::kArrayClose
                     : c == '{' ? EpsToken::kProcedureOpen
                     : c == '}' ? EpsToken::kProcedureClose
                                : EpsToken::kName,
                     text_.substr(start, 1)};
            return true;
        case '/': {
            const bool immediate = text_.substr(start, 2) == "//";
            at_ = start + (immediate ? 2 : 1);
            const std::size_t name = at_;
            while (at_ < text_.size() && !Delimiter(text_[at_]))
                ++at_;
            token = {immediate ? EpsToken::kImmediateName : EpsToken::kLiteralName, text_.substr(name, at_ - name)};
            return true;
        }
        default: {
            while (at_ < text_.size() && !Delimiter(text_[at_]))
                ++at_;
            const std::string_view text = text_.substr(start, at_ - start);
            double value = 0;
            token = {EpsNumber(text, value) ? EpsToken::kNumber : EpsToken::kName, text, value};
            // The blank that ends a name or a number is read with it: what the file reads
            // next (currentfile readline) begins after it.
            if (at_ < text_.size() && Blank(text_[at_]))
                at_ += text_.substr(at_, 2) == "\r\n" ? 2 : 1;
            return true;
        }
        }
    }
    return false;
}

} // namespace tavlo
