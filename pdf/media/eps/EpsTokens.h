#pragma once
// The tokens of an EPS file's PostScript, read in one pass over the whole text: line ends are
// white space like any other, so a call's operands may run over several lines, and strings
// and procedures over many. Document-structuring comments ("%%" at the start of a line) are
// tokens of their own, in their place among the others; other comments are skipped.

#include <cstddef>
#include <string_view>

namespace tavlo {

struct EpsToken {
    enum Kind {
        kNumber,
        kName,           // executable: moveto
        kLiteralName,    // /moveto (text without the slash)
        kImmediateName,  // //moveto (text without the slashes)
        kString,         // (...), <...> or <~...~>, with its delimiters
        kProcedureOpen,
        kProcedureClose,
        kArrayOpen,
        kArrayClose,
        kDictOpen,
        kDictClose,
        kComment,  // a structuring comment: the whole line, "%%" included
    } kind;
    std::string_view text;
    double value = 0;  // of a number
};

class EpsTokenizer {
public:
    explicit EpsTokenizer(std::string_view text) : text_(text) {}
    // The next token; false at the end of the text.
    bool Next(EpsToken& token);
    // Past the next occurrence of word (a stream's data up to "endstream"), or to the end.
    void SkipPast(std::string_view word);
    // The rest of the current line, the line end read past (CR, LF or both); false when the
    // text ended before a line end. What the file's own readline reads.
    bool ReadLine(std::string_view& line);

private:
    bool LineStart() const { return at_ == 0 || text_[at_ - 1] == '\n' || text_[at_ - 1] == '\r'; }
    // Past a string, or up to a line that begins a structuring comment's "%%End": a string
    // left open (binary data read as text) does not swallow the rest of the file.
    std::size_t StringEnd(std::size_t from) const;
    std::size_t DelimitedEnd(std::size_t from, std::string_view close) const;

    std::string_view text_;
    std::size_t at_ = 0;
};

// A PostScript number: decimal (sign, digits, point, exponent) or radix (16#FF); nothing else.
bool EpsNumber(std::string_view token, double& value);

// The bytes a string token stands for: (...) with its escapes, <hex> or <~ASCII85~>.
std::string EpsStringBytes(std::string_view token);

} // namespace tavlo
