#pragma once
// The tokens of one line of an EPS file, read in one pass over its characters. Procedures,
// strings and a content stream's inline picture data may run over several lines: the reader
// remembers what is still open, and a line that lies partly inside one is marked, since
// nothing in it is drawn.

#include <functional>
#include <string_view>

namespace tavlo {

struct EpsToken {
    enum Kind { kNumber, kOperator, kName, kString, kProcedure, kArrayOpen, kArrayClose } kind;
    std::string_view text;  // a procedure with its braces
    double value = 0;       // of a number
};

// A small value: a copy remembers where the reading stood.
class EpsTokenReader {
public:
    using Take = std::function<void(const EpsToken&)>;

    // Hands over the line's tokens outside procedures, up to a comment. False when a part of
    // the line belongs to something an earlier or a later line opens or closes.
    bool Read(std::string_view line, const Take& take);
    // A structuring comment stands outside everything: what was left open (by binary data
    // read as text, say) is given up.
    void Reset() { open_ = {}; }

private:
    struct Open {
        int procedure = 0;       // braces
        int string = 0;          // parentheses
        bool hex = false;        // <...>
        bool ascii85 = false;    // <~...~>
        bool inlineData = false; // after ID, up to EI
    } open_;
};

// A PostScript number in decimal form (sign, digits, point, exponent); nothing else.
bool EpsNumber(std::string_view token, double& value);

} // namespace tavlo
