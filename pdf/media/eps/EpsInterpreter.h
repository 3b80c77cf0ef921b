#pragma once
// An EPS file's PostScript followed as far as a drawing needs, so that each name means in the
// drawing what the file makes it mean: the operand stack, arithmetic, comparisons and
// control, definitions in dictionaries (a prolog's "/rg { setrgbcolor } bind def"), arrays,
// strings, fonts chosen. What draws goes to the playback; the state set before the drawing
// (prolog, setup) carries into it, and nothing is painted before it. An operator PostScript
// defines that is not followed here, one that draws what cannot be played, and an error the
// file's own stopped does not catch refuse the file (EpsRefusal). A name neither the file
// nor PostScript defines, when it is one of the short operators of content streams and
// Illustrator, means what it means there; any other is passed over, with the operands
// before it.
//
// A content stream's data (the page a PDF carried in PostScript draws) is read by a reader
// of its own kind: operands and an operator, in a content stream's meaning.

#include "pdf/media/eps/EpsOperators.h"
#include "pdf/media/eps/EpsPlayback.h"
#include "pdf/media/eps/EpsTokens.h"
#include "pdf/media/eps/EpsValue.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace tavlo {

class EpsInterpreter {
public:
    // budget: the operators and values it may run in all, against loops without end.
    EpsInterpreter(EpsPlayback& playback, std::uint64_t budget, bool contentStream = false);
    ~EpsInterpreter();
    EpsInterpreter(const EpsInterpreter&) = delete;
    EpsInterpreter& operator=(const EpsInterpreter&) = delete;

    // One token of the file, outside any procedure being read.
    void Take(const EpsToken& token);
    // Outside the drawing (prolog, setup, resources) definitions are made, the graphics state
    // is set and nothing is painted.
    void SetDrawing(bool drawing)
    {
        drawing_ = drawing;
        playback_.SetDrawing(drawing);
    }
    // The file the PostScript reads its own data from (currentfile).
    void SetSource(EpsTokenizer* tokens) { source_ = tokens; }
    bool Drawing() const { return drawing_; }
    // showpage was met in the drawing.
    bool Ended() const { return ended_; }
    // A procedure is being read.
    bool Reading() const { return !building_.empty(); }
    // Procedures left open (binary data read as text) are given up.
    void AbandonOpen() { building_.clear(); }
    // The two operands on top are integers: an object's number and generation.
    bool TwoIntegers(std::int64_t& first) const;
    void ClearStack() { stack_.clear(); }

private:
    // PostScript's errors, which the file's stopped may catch: the operator that met it.
    struct SoftError {
        std::string_view op;
    };

    EpsValue TokenValue(const EpsToken& token);
    void Step(std::uint64_t steps = 1);
    void Execute(const EpsValue& value);        // met in the file or in a procedure's body
    void ExecuteObject(const EpsValue& value);  // the value of a name, or what exec was given
    void ExecuteName(std::string_view name);
    void Call(const EpsValue& procedure);
    bool LoopOnce(const EpsValue& body);        // one turn of a loop; false after exit
    bool Lookup(std::string_view name, EpsValue& value) const;
    void RunBuiltin(const EpsBuiltinOperator& op);
    void RunShort(const EpsShortOperator& op);
    void RunGraphics(const EpsBuiltinOperator& op);
    void RunStructure(EpsBuiltin op);
    void RunStrings(EpsBuiltin op);
    void RunFonts(EpsBuiltin op);
    void RunColour(EpsBuiltin op);
    [[noreturn]] void Unfollowed(std::string_view name) const;

    // Operands: a wrong one is a soft error, or refuses the file in a drawing operator.
    [[noreturn]] void Fail() const;
    EpsValue Pop();
    double PopNumber();
    std::int64_t PopInteger();
    bool PopBoolean();
    EpsValue PopProcedure();
    EpsValue PopArray();
    std::vector<double> PopNumbers(std::size_t count);
    std::vector<double> PopMatrix();  // an array of six numbers
    EpsValue PopString();
    EpsValue PopDict();
    std::string KeyText(const EpsValue& v) const;  // a name's or a string's, as a key
    EpsValue NewString(std::string bytes);
    EpsValue TokenOf(const EpsToken& token);  // read from a string or the file: names kept
    EpsValue FontWithMatrix(const EpsValue& font, const std::vector<double>& m);
    void Push(EpsValue value);
    void PushNumber(double value, bool integer = false);
    const EpsValue& Top(std::size_t below = 0) const;
    // A name made while reading (a dictionary's key), kept as long as the reader.
    std::string_view Intern(const std::string& text);
    void Made(std::size_t items);
    std::shared_ptr<std::vector<EpsValue>> NewArray(std::vector<EpsValue> items);
    std::shared_ptr<EpsDict> NewDict();

    void WriteColour(const std::vector<double>& components, bool fill, bool stroke);
    void Transform(const std::vector<double>& m);
    void ArcTangent(bool push);  // arct and arcto
    void SetDash();

    EpsPlayback& playback_;
    std::uint64_t steps_ = 0, budget_;
    bool content_;
    bool drawing_ = false, ended_ = false, exiting_ = false, stopping_ = false;
    int depth_ = 0;
    std::string_view running_;  // the operator running, for an error's reason
    std::string_view passed_;   // the last name passed over, for an error's reason
    EpsTokenizer* source_ = nullptr;
    std::shared_ptr<EpsDict> fonts_ = std::make_shared<EpsDict>();  // by name, as found or defined
    EpsValue currentFont_, encoding_;
    std::vector<EpsValue> stack_;
    std::vector<std::shared_ptr<EpsDict>> dicts_;
    std::shared_ptr<EpsDict> system_ = std::make_shared<EpsDict>();
    std::vector<std::vector<EpsValue>> building_;
    std::unordered_set<std::string> names_;
    // Every array and dictionary made, emptied at the end if still held.
    std::vector<std::weak_ptr<std::vector<EpsValue>>> arrays_;
    std::vector<std::weak_ptr<EpsDict>> madeDicts_;
    std::size_t made_ = 0;
};

} // namespace tavlo
