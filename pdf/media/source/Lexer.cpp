#include "pdf/media/source/Lexer.h"

namespace tavlo::source {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// [+-] digits [. digits] or [+-] . digits, as PDF writes numbers (no exponent).
TokenKind NumberKind(std::string_view text, std::int64_t& integer)
{
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
        ++i;
    std::size_t digits = 0, fraction = 0;
    bool point = false, fits = true;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (IsDigit(c)) {
            (point ? fraction : digits) += 1;
            if (!point) {
                fits = fits && value <= (UINT64_MAX - 9) / 10;
                value = value * 10 + static_cast<unsigned>(c - '0');
                fits = fits && value <= static_cast<std::uint64_t>(INT64_MAX);
            }
        } else {
            return TokenKind::Keyword;
        }
    }
    if (digits + fraction == 0)
        return TokenKind::Keyword;
    if (point || !fits)
        return TokenKind::Real;
    integer = negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
    return TokenKind::Integer;
}

} // namespace

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool IsDelimiter(char c)
{
    switch (c) {
    case '(': case ')': case '<': case '>': case '[': case ']': case '{': case '}': case '/': case '%':
        return true;
    default:
        return false;
    }
}

void Lexer::SkipBlanks()
{
    while (pos_ < data_.size()) {
        const char c = data_[pos_];
        if (IsWhiteSpace(c)) {
            ++pos_;
        } else if (c == '%') {
            while (pos_ < data_.size() && data_[pos_] != '\n' && data_[pos_] != '\r')
                ++pos_;
        } else {
            return;
        }
    }
}

Token Lexer::Next()
{
    SkipBlanks();
    Token token;
    token.start = pos_;
    if (pos_ >= data_.size()) {
        token.kind = TokenKind::End;
        return token;
    }
    const char c = data_[pos_];
    const bool hasNext = pos_ + 1 < data_.size();
    switch (c) {
    case '(':
        LiteralString(token);
        break;
    case '<':
        if (hasNext && data_[pos_ + 1] == '<') {
            token.kind = TokenKind::DictOpen;
            pos_ += 2;
        } else {
            HexString(token);
        }
        break;
    case '>':
        token.kind = hasNext && data_[pos_ + 1] == '>' ? TokenKind::DictClose : TokenKind::Invalid;
        pos_ += token.kind == TokenKind::DictClose ? 2 : 1;
        break;
    case '[':
        token.kind = TokenKind::ArrayOpen;
        ++pos_;
        break;
    case ']':
        token.kind = TokenKind::ArrayClose;
        ++pos_;
        break;
    case '/':
        ++pos_;
        while (pos_ < data_.size() && !IsWhiteSpace(data_[pos_]) && !IsDelimiter(data_[pos_]))
            ++pos_;
        token.kind = TokenKind::Name;
        break;
    case ')': case '{': case '}':
        token.kind = TokenKind::Invalid;
        ++pos_;
        break;
    default:
        Regular(token);
        break;
    }
    token.text = data_.substr(token.start, pos_ - token.start);
    return token;
}

void Lexer::Regular(Token& token)
{
    while (pos_ < data_.size() && !IsWhiteSpace(data_[pos_]) && !IsDelimiter(data_[pos_]))
        ++pos_;
    token.kind = NumberKind(data_.substr(token.start, pos_ - token.start), token.integer);
}

// Parentheses nest; a backslash escapes the next character or line end; a bare line end
// (CR, CR LF or LF) is read as LF.
void Lexer::LiteralString(Token& token)
{
    ++pos_;
    int depth = 1;
    std::string& out = token.value;
    while (pos_ < data_.size()) {
        const char c = data_[pos_++];
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth == 0) {
                token.kind = TokenKind::String;
                return;
            }
        } else if (c == '\r') {
            if (pos_ < data_.size() && data_[pos_] == '\n')
                ++pos_;
            out += '\n';
            continue;
        } else if (c == '\\') {
            if (pos_ >= data_.size())
                break;
            const char e = data_[pos_++];
            switch (e) {
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case '\r':
                if (pos_ < data_.size() && data_[pos_] == '\n')
                    ++pos_;
                break;
            case '\n':
                break;
            default:
                if (e >= '0' && e <= '7') {
                    int value = e - '0';
                    for (int k = 0; k < 2 && pos_ < data_.size() && data_[pos_] >= '0' && data_[pos_] <= '7'; ++k)
                        value = value * 8 + (data_[pos_++] - '0');
                    out += static_cast<char>(value & 0xFF);
                } else {
                    out += e;  // \( \) \\ and any other character stand for themselves
                }
            }
            continue;
        }
        out += c;
    }
    token.kind = TokenKind::Invalid;
}

// Pairs of hexadecimal digits, white space between them ignored; a last odd digit is
// followed by an implied 0.
void Lexer::HexString(Token& token)
{
    ++pos_;
    int high = -1;
    while (pos_ < data_.size()) {
        const char c = data_[pos_++];
        if (c == '>') {
            if (high >= 0)
                token.value += static_cast<char>(high << 4);
            token.kind = TokenKind::String;
            return;
        }
        if (IsWhiteSpace(c))
            continue;
        const int digit = HexDigit(c);
        if (digit < 0)
            break;
        if (high < 0) {
            high = digit;
        } else {
            token.value += static_cast<char>((high << 4) | digit);
            high = -1;
        }
    }
    token.kind = TokenKind::Invalid;
}

std::string DecodeName(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = text.empty() || text[0] != '/' ? 0 : 1; i < text.size(); ++i) {
        if (text[i] == '#' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace tavlo::source
