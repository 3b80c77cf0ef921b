#include "pdf/media/eps/EpsTokens.h"

#include <charconv>
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
            return true;
        }
        }
    }
    return false;
}

} // namespace tavlo
