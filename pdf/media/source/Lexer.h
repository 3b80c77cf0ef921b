#pragma once
// Tokens of a PDF file's object syntax over the file's bytes. Every read is checked against
// the end of the data: a token cut off by the end is Invalid, never a read past it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavlo::source {

enum class TokenKind {
    End,         // no more data
    Integer,
    Real,
    Name,        // text: "/" and the name as written (# escapes kept)
    String,      // value: the decoded bytes of a literal or hexadecimal string
    ArrayOpen,
    ArrayClose,
    DictOpen,
    DictClose,
    Keyword,     // true, false, null, R, obj, endobj, stream, xref, trailer, n, f...
    Invalid,     // a byte no token begins with, or a string or name cut off by the end
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::size_t start = 0;  // offset of the first byte
    std::string_view text;  // the bytes as written
    std::string value;      // String: the decoded bytes
    std::int64_t integer = 0;
};

bool IsWhiteSpace(char c);
bool IsDelimiter(char c);

class Lexer {
public:
    explicit Lexer(std::string_view data, std::size_t position = 0) : data_(data), pos_(position) {}

    Token Next();
    // Skips white space and comments.
    void SkipBlanks();
    std::size_t Position() const { return pos_; }
    void Seek(std::size_t position) { pos_ = position < data_.size() ? position : data_.size(); }
    std::string_view Data() const { return data_; }

private:
    void LiteralString(Token& token);
    void HexString(Token& token);
    void Regular(Token& token);

    std::string_view data_;
    std::size_t pos_;
};

// A name's text ("/Type", "/A#20B") as its bytes after "/" ("Type", "A B").
std::string DecodeName(std::string_view text);

} // namespace tavlo::source
