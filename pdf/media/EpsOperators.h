#pragma once
// The operators an EPS or Illustrator line may hold to be drawn: the short path, colour and
// line-state operators drawing programs share with content streams, Illustrator's own forms
// of a few, and the content operators of files written by PDF converters. A line is read
// token by token into calls, each operator with its operands in the writer's number form.

#include "pdf/media/EpsTokens.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavlo {

struct EpsOperator {
    std::string_view name;
    enum Operands {
        kNumbers,     // count numbers
        kDash,        // an array of lengths and a phase
        kMatrix,      // six numbers, or an array of six
        kCustom,      // Illustrator's custom colour: c m y k (name) tint
        kSpace,       // a device colour space's name, with an empty procedure after it
        kComponents,  // a colour's components, or an array of them
    } operands;
    int count;
    std::string_view written;
    enum Kind { kPath, kStroke, kCorner, kFill, kColour, kMatrixChange, kSave, kRestore, kClip } kind;
    int sets;       // the components of the colour space it sets, or 0
    bool stroking;  // the colour it sets is the stroking one
};

struct EpsCall {
    const EpsOperator* op;
    std::string text;    // the operator with its operands, as written
    int components = 0;  // of a colour set through a colour space
};

// Gathers the calls of a line token by token and hands each to play as it is complete. The
// line is whole when it held nothing else: no other operator, no operand of another kind or
// count, none left over. Operands beyond what any operator takes are not kept.
class EpsCallReader {
public:
    using Play = std::function<void(const EpsCall&)>;

    explicit EpsCallReader(Play play = {}) : play_(std::move(play)) {}
    void Take(const EpsToken& token);
    bool Whole() const { return whole_ && !inArray_ && operands_.empty(); }
    // A number the writer cannot write (beyond single precision) made the line not whole.
    bool Overflow() const { return overflow_; }

    struct Operand {
        EpsToken::Kind kind;  // kArrayOpen for an array
        double value = 0;
        std::size_t first = 0, count = 0;  // an array's numbers among the line's items
        std::string_view text;
    };

private:
    Play play_;
    std::vector<Operand> operands_;
    std::vector<double> items_;
    bool inArray_ = false, whole_ = true, overflow_ = false;
};

// The operator of that name, or nullptr.
const EpsOperator* FindEpsOperator(std::string_view name);

} // namespace tavlo
