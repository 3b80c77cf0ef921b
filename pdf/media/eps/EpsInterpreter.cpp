#include "pdf/media/eps/EpsInterpreter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace tavlo {

namespace {

// Far beyond what a drawing program's file holds; a file past them is no drawing to play.
constexpr int kMostDepth = 100;                // procedures running inside one another
constexpr std::size_t kMostOperands = 100000;  // on the stack
constexpr std::size_t kMostDicts = 100;        // begun
constexpr std::int64_t kMostItems = 65536;     // in an array made by "array"
constexpr std::size_t kMostMade = 4000000;     // arrays, dictionaries and their items made in all

bool Integral(std::string_view text)
{
    return text.find_first_of(".eE") == std::string_view::npos;
}

EpsValue Operator(std::uint16_t index)
{
    EpsValue v;
    v.kind = EpsValue::kOperator;
    v.executable = true;
    v.op = index;
    return v;
}

// Short operators follow the builtins in the operators' numbering.
constexpr std::uint16_t kShortBase = 0x8000;

std::string_view TypeName(const EpsValue& v)
{
    switch (v.kind) {
    case EpsValue::kNumber: return v.integer ? "integertype" : "realtype";
    case EpsValue::kBoolean: return "booleantype";
    case EpsValue::kName: return "nametype";
    case EpsValue::kString: return "stringtype";
    case EpsValue::kArray: return "arraytype";
    case EpsValue::kMark: return "marktype";
    case EpsValue::kDict: return "dicttype";
    case EpsValue::kOperator: return "operatortype";
    case EpsValue::kSave: return "savetype";
    case EpsValue::kFile: return "filetype";
    case EpsValue::kGState: return "gstatetype";
    default: return "nulltype";
    }
}

// The text a name or a string stands for as a dictionary's key.
// Numbers and booleans are keys too, marked apart from every name.
constexpr char kNumberKey = '\x01', kBooleanKey = '\x02';

bool KeyOf(const EpsValue& v, std::string& key)
{
    if (v.kind == EpsValue::kName) {
        key = std::string(v.text);
    } else if (v.kind == EpsValue::kString) {
        key = std::string(v.Bytes());
    } else if (v.kind == EpsValue::kNumber && std::isfinite(v.number)) {
        char text[32];
        const auto written = std::to_chars(text, text + sizeof text, v.number);
        key = kNumberKey + std::string(text, written.ptr);
    } else if (v.kind == EpsValue::kBoolean) {
        key = std::string(1, kBooleanKey) + (v.number != 0 ? "1" : "0");
    } else {
        return false;
    }
    return true;
}

bool Equal(const EpsValue& a, const EpsValue& b)
{
    if (a.kind == EpsValue::kNumber && b.kind == EpsValue::kNumber)
        return a.number == b.number;
    if ((a.kind == EpsValue::kName || a.kind == EpsValue::kString) &&
        (b.kind == EpsValue::kName || b.kind == EpsValue::kString)) {
        std::string x, y;
        return KeyOf(a, x) && KeyOf(b, y) && x == y;
    }
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case EpsValue::kBoolean: return a.number == b.number;
    case EpsValue::kArray: return a.items == b.items;
    case EpsValue::kDict: return a.dict == b.dict;
    case EpsValue::kOperator: return a.op == b.op;
    case EpsValue::kFile: return a.number == b.number;
    default: return true;
    }
}

} // namespace

EpsInterpreter::EpsInterpreter(EpsPlayback& playback, std::uint64_t budget, bool contentStream)
    : playback_(playback), budget_(budget), content_(contentStream)
{
    dicts_.push_back(NewDict());
}

EpsInterpreter::~EpsInterpreter()
{
    // A procedure may hold itself (put into its own body): emptied, none keeps another alive.
    for (const auto& made : arrays_)
        if (const auto items = made.lock())
            items->clear();
    for (const auto& made : madeDicts_)
        if (const auto dict = made.lock())
            dict->entries.clear();
    fonts_->entries.clear();
    system_->entries.clear();
}

void EpsInterpreter::Made(std::size_t items)
{
    made_ += 1 + items;
    if (made_ > kMostMade)
        throw EpsRefusal{"programma PostScript troppo grande"};
}

std::shared_ptr<std::vector<EpsValue>> EpsInterpreter::NewArray(std::vector<EpsValue> items)
{
    Made(items.size());
    // Allocated apart from its count, so that a temporary one is freed whatever watches it.
    std::shared_ptr<std::vector<EpsValue>> made(new std::vector<EpsValue>(std::move(items)));
    arrays_.push_back(made);
    return made;
}

std::shared_ptr<EpsDict> EpsInterpreter::NewDict()
{
    Made(0);
    std::shared_ptr<EpsDict> made(new EpsDict);
    madeDicts_.push_back(made);
    return made;
}

void EpsInterpreter::Step(std::uint64_t steps)
{
    steps_ += steps;
    if (steps_ > budget_)
        throw EpsRefusal{"programma PostScript troppo lungo"};
}

EpsValue EpsInterpreter::TokenValue(const EpsToken& token)
{
    EpsValue v;
    switch (token.kind) {
    case EpsToken::kNumber: return EpsValue::Number(token.value, Integral(token.text));
    case EpsToken::kName: return EpsValue::Name(token.text, true);
    case EpsToken::kLiteralName: return EpsValue::Name(token.text, false);
    case EpsToken::kImmediateName:
        if (!Lookup(token.text, v))
            v = EpsValue::Name(token.text, true);
        return v;
    case EpsToken::kString: return NewString(EpsStringBytes(token.text));
    case EpsToken::kArrayOpen: return EpsValue::Name("[", true);
    case EpsToken::kArrayClose: return EpsValue::Name("]", true);
    case EpsToken::kDictOpen: return EpsValue::Name("<<", true);
    case EpsToken::kDictClose: return EpsValue::Name(">>", true);
    default: return v;
    }
}

void EpsInterpreter::Take(const EpsToken& token)
{
    Step();
    if (token.kind == EpsToken::kComment)
        return;
    if (token.kind == EpsToken::kProcedureOpen) {
        if (!content_)
            building_.emplace_back();
        return;
    }
    if (token.kind == EpsToken::kProcedureClose) {
        if (building_.empty())
            return;
        EpsValue procedure;
        procedure.kind = EpsValue::kArray;
        procedure.executable = true;
        procedure.items = NewArray(std::move(building_.back()));
        building_.pop_back();
        if (!building_.empty())
            building_.back().push_back(std::move(procedure));
        else if (stack_.size() < kMostOperands)
            stack_.push_back(std::move(procedure));
        return;
    }
    if (!building_.empty()) {
        building_.back().push_back(TokenValue(token));
        return;
    }
    try {
        Execute(TokenValue(token));
    } catch (const EpsUnfollowed&) {
        if (drawing_)
            throw;
        stack_.clear();
    } catch (const SoftError& error) {
        // An error the file does not catch ends its drawing where Ghostscript ends it; a
        // prolog's only leaves a definition unmade.
        if (drawing_)
            throw EpsRefusal{"errore PostScript" + (error.op.empty() ? "" : " in «" + std::string(error.op) + "»") +
                             (passed_.empty() ? "" : " (dopo «" + std::string(passed_) + "», che non è riprodotto)")};
        stack_.clear();
    }
    // A stop outside any stopped ends the file's PostScript.
    if (stopping_)
        throw EpsRefusal{"stop senza stopped"};
    exiting_ = false;
    running_ = passed_ = {};
    depth_ = 0;
}

bool EpsInterpreter::TwoIntegers(std::int64_t& first) const
{
    if (stack_.size() < 2)
        return false;
    const EpsValue& a = stack_[stack_.size() - 2];
    const EpsValue& b = stack_.back();
    if (a.kind != EpsValue::kNumber || !a.integer || b.kind != EpsValue::kNumber || !b.integer)
        return false;
    first = static_cast<std::int64_t>(a.number);
    return true;
}

// Operands.

void EpsInterpreter::Fail() const
{
    throw SoftError{running_};
}

void EpsInterpreter::Unfollowed(std::string_view name) const
{
    throw EpsUnfollowed{{"il file usa «" + std::string(name) + "», operatore PostScript che non è seguito"}};
}

EpsValue EpsInterpreter::PopString()
{
    if (stack_.empty() || stack_.back().kind != EpsValue::kString)
        Fail();
    return Pop();
}

EpsValue EpsInterpreter::PopDict()
{
    if (stack_.empty() || stack_.back().kind != EpsValue::kDict)
        Fail();
    return Pop();
}

std::string EpsInterpreter::KeyText(const EpsValue& v) const
{
    std::string key;
    if (!KeyOf(v, key))
        Fail();
    return key;
}

EpsValue EpsInterpreter::NewString(std::string bytes)
{
    Made(bytes.size() / 16);
    return EpsValue::String(std::move(bytes));
}

void EpsInterpreter::Push(EpsValue value)
{
    if (stack_.size() >= kMostOperands)
        Fail();
    stack_.push_back(std::move(value));
}

void EpsInterpreter::PushNumber(double value, bool integer)
{
    // PostScript's undefinedresult: nothing a drawing can go on with.
    if (!std::isfinite(value))
        Fail();
    Push(EpsValue::Number(value, integer));
}

const EpsValue& EpsInterpreter::Top(std::size_t below) const
{
    if (stack_.size() <= below)
        Fail();
    return stack_[stack_.size() - 1 - below];
}

EpsValue EpsInterpreter::Pop()
{
    if (stack_.empty())
        Fail();
    EpsValue v = std::move(stack_.back());
    stack_.pop_back();
    return v;
}

double EpsInterpreter::PopNumber()
{
    if (stack_.empty() || stack_.back().kind != EpsValue::kNumber)
        Fail();
    return Pop().number;
}

std::int64_t EpsInterpreter::PopInteger()
{
    const double n = PopNumber();
    if (n != std::floor(n) || std::fabs(n) > 1e15)
        Fail();
    return static_cast<std::int64_t>(n);
}

bool EpsInterpreter::PopBoolean()
{
    if (stack_.empty() || stack_.back().kind != EpsValue::kBoolean)
        Fail();
    return Pop().number != 0;
}

EpsValue EpsInterpreter::PopProcedure()
{
    if (stack_.empty() || !stack_.back().IsProcedure())
        Fail();
    return Pop();
}

EpsValue EpsInterpreter::PopArray()
{
    if (stack_.empty() || stack_.back().kind != EpsValue::kArray)
        Fail();
    return Pop();
}

std::vector<double> EpsInterpreter::PopNumbers(std::size_t count)
{
    if (stack_.size() < count)
        Fail();
    std::vector<double> values(count);
    for (std::size_t i = count; i-- > 0;)
        values[i] = PopNumber();
    return values;
}

std::vector<double> EpsInterpreter::PopMatrix()
{
    const EpsValue m = PopArray();
    if (m.items->size() != 6)
        Fail();
    std::vector<double> values;
    for (const EpsValue& item : *m.items) {
        if (item.kind != EpsValue::kNumber)
            Fail();
        values.push_back(item.number);
    }
    return values;
}

// Running.

bool EpsInterpreter::Lookup(std::string_view name, EpsValue& value) const
{
    const std::string key(name);
    for (auto dict = dicts_.rbegin(); dict != dicts_.rend(); ++dict) {
        const auto found = (*dict)->entries.find(key);
        if (found != (*dict)->entries.end()) {
            value = found->second;
            return true;
        }
    }
    return false;
}

void EpsInterpreter::Execute(const EpsValue& value)
{
    Step();
    if (value.kind == EpsValue::kName && value.executable)
        ExecuteName(value.text);
    else if (value.kind == EpsValue::kOperator)
        ExecuteObject(value);
    else
        Push(value);  // a procedure met in the text is kept, not run
}

void EpsInterpreter::ExecuteObject(const EpsValue& value)
{
    if (value.IsProcedure()) {
        Call(value);
    } else if (value.kind == EpsValue::kOperator) {
        if (value.op >= kShortBase)
            RunShort(EpsShortAt(static_cast<std::uint16_t>(value.op - kShortBase)));
        else
            RunBuiltin(EpsBuiltinAt(value.op));
    } else if (value.kind == EpsValue::kFile && value.executable) {
        throw EpsRefusal{"il file esegue PostScript compresso o codificato (exec di un filtro), che non è seguito"};
    } else if (value.kind == EpsValue::kName && value.executable) {
        if (++depth_ > kMostDepth)
            throw EpsRefusal{"programma PostScript troppo annidato"};
        ExecuteName(value.text);
        --depth_;
    } else {
        Push(value);
    }
}

void EpsInterpreter::ExecuteName(std::string_view name)
{
    if (name == "[" || name == "<<") {
        EpsValue mark;
        mark.kind = EpsValue::kMark;
        Push(mark);
        return;
    }
    if (name == "]" || name == ">>") {
        std::size_t at = stack_.size();
        while (at > 0 && stack_[at - 1].kind != EpsValue::kMark)
            --at;
        if (at == 0)
            Fail();
        EpsValue made;
        if (name == "]") {
            made.kind = EpsValue::kArray;
            made.items = NewArray({stack_.begin() + static_cast<std::ptrdiff_t>(at), stack_.end()});
        } else {
            if ((stack_.size() - at) % 2 != 0)
                Fail();
            made.kind = EpsValue::kDict;
            made.dict = NewDict();
            for (std::size_t i = at; i < stack_.size(); i += 2) {
                std::string key;
                if (KeyOf(stack_[i], key))
                    made.dict->entries[key] = stack_[i + 1];
            }
        }
        stack_.resize(at - 1);
        Push(std::move(made));
        return;
    }
    if (content_) {
        // A content stream: operands, then the operator that takes them all.
        const EpsShortOperator* op = FindEpsShort(name);
        if (name == "true" || name == "false") {
            Push(EpsValue::Boolean(name == "true"));
        } else if (op && op->inContent) {
            RunShort(*op);
            stack_.clear();
        } else {
            stack_.clear();
        }
        return;
    }
    EpsValue value;
    if (Lookup(name, value)) {
        ExecuteObject(value);
    } else if (const EpsBuiltinOperator* op = FindEpsBuiltin(name)) {
        RunBuiltin(*op);
    } else if (const EpsShortOperator* shortOp = FindEpsShort(name); shortOp && shortOp->inIllustrator) {
        RunShort(*shortOp);
    } else {
        // A name no one defines here (a printer's operator, an Illustrator procedure left
        // out): passed over with what was given to it, the rest of the procedure goes on.
        stack_.clear();
        passed_ = name;
    }
}

bool EpsInterpreter::LoopOnce(const EpsValue& body)
{
    Step();
    Call(body);
    if (!exiting_)
        return true;
    exiting_ = false;
    return false;
}

void EpsInterpreter::Call(const EpsValue& procedure)
{
    if (++depth_ > kMostDepth)
        throw EpsRefusal{"programma PostScript troppo annidato"};
    const std::shared_ptr<std::vector<EpsValue>> body = procedure.items;  // a redefinition keeps it alive
    for (const EpsValue& item : *body) {
        Execute(item);
        if (exiting_ || stopping_ || ended_)
            break;
    }
    --depth_;
}

void EpsInterpreter::RunBuiltin(const EpsBuiltinOperator& op)
{
    if (op.op == EpsBuiltin::kUnfollowed)
        Unfollowed(op.name);
    running_ = op.name;
    if (EpsBuiltinDraws(op.op))
        RunGraphics(op);
    else if (op.op >= EpsBuiltin::kCountDictStack && op.op <= EpsBuiltin::kGState)
        RunStrings(op.op);
    else if (op.op >= EpsBuiltin::kFindFont && op.op <= EpsBuiltin::kFontDirectory)
        RunFonts(op.op);
    else
        RunStructure(op.op);
    running_ = {};
}

std::string_view EpsInterpreter::Intern(const std::string& text)
{
    return *names_.insert(text).first;
}

void EpsInterpreter::RunStructure(EpsBuiltin op)
{
    using B = EpsBuiltin;
    switch (op) {
    case B::kPop: Pop(); break;
    case B::kExch: {
        EpsValue a = Pop(), b = Pop();
        Push(std::move(a));
        Push(std::move(b));
        break;
    }
    case B::kDup: {
        EpsValue top = Top();
        Push(std::move(top));
        break;
    }
    case B::kCopy: {
        if (!stack_.empty() && stack_.back().kind == EpsValue::kNumber) {
            const std::int64_t n = PopInteger();
            if (n < 0 || static_cast<std::size_t>(n) > stack_.size())
                Fail();
            Step(static_cast<std::uint64_t>(n));
            const std::size_t from = stack_.size() - static_cast<std::size_t>(n);
            for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
                EpsValue copy = stack_[from + i];
                Push(std::move(copy));
            }
        } else {
            // One composite into another: the copy is the second, filled from the first.
            EpsValue to = Pop(), from = Pop();
            if (to.kind == EpsValue::kDict && from.kind == EpsValue::kDict) {
                Step(from.dict->entries.size());
                for (const auto& entry : from.dict->entries)
                    to.dict->entries[entry.first] = entry.second;
            } else if (to.kind == EpsValue::kArray && from.kind == EpsValue::kArray &&
                       to.items->size() >= from.items->size()) {
                std::copy(from.items->begin(), from.items->end(), to.items->begin());
            } else if (to.kind == EpsValue::kString && from.kind == EpsValue::kString && to.length >= from.length) {
                const std::string bytes(from.Bytes());
                to.bytes->replace(to.start, bytes.size(), bytes);
                to.length = from.length;
            } else {
                Fail();
            }
            Push(std::move(to));
        }
        break;
    }
    case B::kIndex: {
        const std::int64_t n = PopInteger();
        if (n < 0)
            Fail();
        EpsValue copy = Top(static_cast<std::size_t>(n));
        Push(std::move(copy));
        break;
    }
    case B::kRoll: {
        const std::int64_t j = PopInteger(), n = PopInteger();
        if (n < 0 || static_cast<std::size_t>(n) > stack_.size())
            Fail();
        if (n > 0) {
            Step(static_cast<std::uint64_t>(n));
            const auto first = stack_.end() - n;
            const std::int64_t shift = ((j % n) + n) % n;
            std::rotate(first, stack_.end() - shift, stack_.end());
        }
        break;
    }
    case B::kClear: stack_.clear(); break;
    case B::kCount: PushNumber(static_cast<double>(stack_.size()), true); break;
    case B::kMark: {
        EpsValue mark;
        mark.kind = EpsValue::kMark;
        Push(mark);
        break;
    }
    case B::kClearToMark:
    case B::kCountToMark: {
        std::size_t at = stack_.size();
        while (at > 0 && stack_[at - 1].kind != EpsValue::kMark)
            --at;
        if (at == 0)
            Fail();
        if (op == B::kClearToMark)
            stack_.resize(at - 1);
        else
            PushNumber(static_cast<double>(stack_.size() - at), true);
        break;
    }

    case B::kAdd: case B::kSub: case B::kMul: case B::kDiv: case B::kIdiv: case B::kMod: {
        const bool integers = Top().integer && Top(1).integer;
        const double b = PopNumber(), a = PopNumber();
        switch (op) {
        case B::kAdd: PushNumber(a + b, integers); break;
        case B::kSub: PushNumber(a - b, integers); break;
        case B::kMul: PushNumber(a * b, integers); break;
        case B::kDiv:
            if (b == 0)
                Fail();
            PushNumber(a / b);
            break;
        default:
            if (!integers || b == 0)
                Fail();
            PushNumber(op == B::kIdiv ? std::trunc(a / b) : std::fmod(a, b), true);
            break;
        }
        break;
    }
    case B::kNeg: case B::kAbs: case B::kRound: case B::kFloor: case B::kCeiling: case B::kTruncate: {
        const bool integer = Top().integer;
        const double a = PopNumber();
        const double r = op == B::kNeg     ? -a
                         : op == B::kAbs   ? std::fabs(a)
                         : op == B::kRound ? std::floor(a + 0.5)
                         : op == B::kFloor ? std::floor(a)
                         : op == B::kCeiling ? std::ceil(a)
                                             : std::trunc(a);
        PushNumber(r, integer);
        break;
    }
    case B::kSqrt: case B::kSin: case B::kCos: case B::kExp: case B::kLn: case B::kLog: case B::kCvi:
    case B::kCvr: {
        constexpr double kDegree = 3.14159265358979323846 / 180;
        const double a = PopNumber();
        if ((op == B::kSqrt && a < 0) || ((op == B::kLn || op == B::kLog) && a <= 0))
            Fail();
        switch (op) {
        case B::kSqrt: PushNumber(std::sqrt(a)); break;
        case B::kSin: PushNumber(std::sin(a * kDegree)); break;
        case B::kCos: PushNumber(std::cos(a * kDegree)); break;
        case B::kLn: PushNumber(std::log(a)); break;
        case B::kLog: PushNumber(std::log10(a)); break;
        case B::kCvi: PushNumber(std::trunc(a), true); break;
        case B::kCvr: PushNumber(a); break;
        default: {
            const double e = PopNumber();
            PushNumber(std::pow(e, a));
            break;
        }
        }
        break;
    }
    case B::kAtan: {
        const double den = PopNumber(), num = PopNumber();
        if (num == 0 && den == 0)
            Fail();
        double angle = std::atan2(num, den) * 180 / 3.14159265358979323846;
        PushNumber(angle < 0 ? angle + 360 : angle);
        break;
    }

    case B::kEq: case B::kNe: {
        const EpsValue b = Pop(), a = Pop();
        Push(EpsValue::Boolean(Equal(a, b) == (op == B::kEq)));
        break;
    }
    case B::kGt: case B::kGe: case B::kLt: case B::kLe: {
        const double b = PopNumber(), a = PopNumber();
        Push(EpsValue::Boolean(op == B::kGt ? a > b : op == B::kGe ? a >= b : op == B::kLt ? a < b : a <= b));
        break;
    }
    case B::kNot:
        if (!stack_.empty() && stack_.back().kind == EpsValue::kNumber)
            PushNumber(static_cast<double>(~PopInteger()), true);
        else
            Push(EpsValue::Boolean(!PopBoolean()));
        break;
    case B::kAnd: case B::kOr: case B::kXor: {
        if (!stack_.empty() && stack_.back().kind == EpsValue::kNumber) {
            const std::int64_t b = PopInteger(), a = PopInteger();
            PushNumber(static_cast<double>(op == B::kAnd ? (a & b) : op == B::kOr ? (a | b) : (a ^ b)), true);
        } else {
            const bool b = PopBoolean(), a = PopBoolean();
            Push(EpsValue::Boolean(op == B::kAnd ? (a && b) : op == B::kOr ? (a || b) : (a != b)));
        }
        break;
    }
    case B::kTrue: Push(EpsValue::Boolean(true)); break;
    case B::kFalse: Push(EpsValue::Boolean(false)); break;
    case B::kNull: Push(EpsValue()); break;

    case B::kIf: {
        const EpsValue body = PopProcedure();
        if (PopBoolean())
            Call(body);
        break;
    }
    case B::kIfElse: {
        const EpsValue no = PopProcedure(), yes = PopProcedure();
        Call(PopBoolean() ? yes : no);
        break;
    }
    case B::kRepeat: {
        const EpsValue body = PopProcedure();
        const std::int64_t n = PopInteger();
        for (std::int64_t i = 0; i < n && !stopping_ && !ended_; ++i)
            if (!LoopOnce(body))
                break;
        break;
    }
    case B::kFor: {
        const EpsValue body = PopProcedure();
        const bool integers = Top().integer && Top(1).integer && Top(2).integer;
        const double limit = PopNumber(), increment = PopNumber(), initial = PopNumber();
        if (increment == 0 && initial <= limit)
            Fail();
        for (double i = initial; (increment > 0 ? i <= limit : i >= limit) && !stopping_ && !ended_; i += increment) {
            PushNumber(i, integers);
            if (!LoopOnce(body))
                break;
        }
        break;
    }
    case B::kLoop: {
        const EpsValue body = PopProcedure();
        while (!stopping_ && !ended_)
            if (!LoopOnce(body))
                break;
        break;
    }
    case B::kForall: {
        const EpsValue body = PopProcedure();
        const EpsValue over = Pop();
        if (over.kind == EpsValue::kArray) {
            const auto items = over.items;
            for (const EpsValue& item : *items) {
                Step();
                Push(item);
                Call(body);
                if (exiting_ || stopping_ || ended_)
                    break;
            }
        } else if (over.kind == EpsValue::kString) {
            const std::string bytes(over.Bytes());
            for (const char c : bytes) {
                Step();
                PushNumber(static_cast<unsigned char>(c), true);
                Call(body);
                if (exiting_ || stopping_ || ended_)
                    break;
            }
        } else if (over.kind == EpsValue::kDict) {
            const EpsDict entries = *over.dict;
            for (const auto& [key, value] : entries.entries) {
                Step();
                double number = 0;
                if (!key.empty() && key[0] == kNumberKey) {
                    std::from_chars(key.data() + 1, key.data() + key.size(), number);
                    PushNumber(number, number == std::floor(number));
                } else if (!key.empty() && key[0] == kBooleanKey) {
                    Push(EpsValue::Boolean(key == std::string(1, kBooleanKey) + "1"));
                } else {
                    Push(EpsValue::Name(Intern(key), false));
                }
                Push(value);
                Call(body);
                if (exiting_ || stopping_ || ended_)
                    break;
            }
        } else {
            Fail();
        }
        exiting_ = false;
        break;
    }
    case B::kExit: exiting_ = true; break;
    case B::kExec: ExecuteObject(Pop()); break;
    case B::kStop: stopping_ = true; break;
    case B::kStopped: {
        const EpsValue body = Pop();
        const std::size_t height = stack_.size();
        const int depth = depth_;
        bool stopped = false;
        try {
            ExecuteObject(body);
        } catch (const SoftError&) {
            stack_.resize(std::min(height, stack_.size()));
            depth_ = depth;
            exiting_ = false;
            stopped = true;
        }
        stopped = stopped || stopping_;
        stopping_ = false;
        Push(EpsValue::Boolean(stopped));
        break;
    }

    default: {
        // Dictionaries, arrays and the rest.
        switch (op) {
        case B::kDict: {
            const std::int64_t n = PopInteger();
            if (n < 0)
                Fail();
            EpsValue d;
            d.kind = EpsValue::kDict;
            d.dict = NewDict();
            Push(std::move(d));
            break;
        }
        case B::kBegin: {
            if (Top().kind != EpsValue::kDict || dicts_.size() >= kMostDicts)
                Fail();
            dicts_.push_back(Pop().dict);
            break;
        }
        case B::kEnd:
            if (dicts_.size() <= 1)
                Fail();
            dicts_.pop_back();
            break;
        case B::kDef: {
            EpsValue value = Pop();
            std::string key;
            if (!KeyOf(Pop(), key))
                Fail();
            dicts_.back()->entries[key] = std::move(value);
            break;
        }
        case B::kStore: {
            EpsValue value = Pop();
            std::string key;
            if (!KeyOf(Pop(), key))
                Fail();
            auto dict = std::find_if(dicts_.rbegin(), dicts_.rend(),
                                     [&](const auto& d) { return d->entries.count(key) != 0; });
            (dict == dicts_.rend() ? *dicts_.back() : **dict).entries[key] = std::move(value);
            break;
        }
        case B::kLoad: {
            const EpsValue name = Pop();
            if (name.kind != EpsValue::kName)
                Fail();
            EpsValue value;
            if (Lookup(name.text, value))
                Push(std::move(value));
            else if (const EpsBuiltinOperator* builtin = FindEpsBuiltin(name.text))
                Push(Operator(EpsBuiltinIndex(*builtin)));
            else if (const EpsShortOperator* shortOp = FindEpsShort(name.text); shortOp && shortOp->inIllustrator)
                Push(Operator(static_cast<std::uint16_t>(kShortBase + EpsShortIndex(*shortOp))));
            else
                Fail();
            break;
        }
        case B::kWhere: {
            std::string key;
            if (!KeyOf(Pop(), key))
                Fail();
            const auto dict = std::find_if(dicts_.rbegin(), dicts_.rend(),
                                           [&](const auto& d) { return d->entries.count(key) != 0; });
            EpsValue found;
            found.kind = EpsValue::kDict;
            if (dict != dicts_.rend()) {
                found.dict = *dict;
            } else if (FindEpsBuiltin(key)) {
                found.dict = system_;
            } else {
                Push(EpsValue::Boolean(false));
                break;
            }
            Push(std::move(found));
            Push(EpsValue::Boolean(true));
            break;
        }
        case B::kKnown: case B::kUndef: {
            std::string key;
            if (!KeyOf(Pop(), key) || Top().kind != EpsValue::kDict)
                Fail();
            const EpsValue dict = Pop();
            if (op == B::kUndef)
                dict.dict->entries.erase(key);
            else
                Push(EpsValue::Boolean(dict.dict->entries.count(key) != 0 ||
                                       (dict.dict == system_ && FindEpsBuiltin(key) != nullptr)));
            break;
        }
        case B::kCurrentDict: {
            EpsValue d;
            d.kind = EpsValue::kDict;
            d.dict = dicts_.back();
            Push(std::move(d));
            break;
        }
        case B::kUserDict: case B::kSystemDict: {
            EpsValue d;
            d.kind = EpsValue::kDict;
            d.dict = op == B::kUserDict ? dicts_.front() : system_;
            Push(std::move(d));
            break;
        }
        case B::kGet: {
            const EpsValue key = Pop(), from = Pop();
            std::string name;
            if (from.kind == EpsValue::kArray && key.kind == EpsValue::kNumber && key.number >= 0 &&
                key.number < static_cast<double>(from.items->size())) {
                Push((*from.items)[static_cast<std::size_t>(key.number)]);
            } else if (from.kind == EpsValue::kDict && KeyOf(key, name) && from.dict->entries.count(name) != 0) {
                Push(from.dict->entries.at(name));
            } else if (from.kind == EpsValue::kString && key.kind == EpsValue::kNumber && key.number >= 0 &&
                       key.number < from.length) {
                PushNumber(static_cast<unsigned char>(from.Bytes()[static_cast<std::size_t>(key.number)]), true);
            } else {
                Fail();
            }
            break;
        }
        case B::kPut: {
            EpsValue value = Pop();
            const EpsValue key = Pop(), into = Pop();
            std::string name;
            if (into.kind == EpsValue::kArray && key.kind == EpsValue::kNumber && key.number >= 0 &&
                key.number < static_cast<double>(into.items->size()))
                (*into.items)[static_cast<std::size_t>(key.number)] = std::move(value);
            else if (into.kind == EpsValue::kDict && KeyOf(key, name))
                into.dict->entries[name] = std::move(value);
            else if (into.kind == EpsValue::kString && key.kind == EpsValue::kNumber && key.number >= 0 &&
                     key.number < into.length && value.kind == EpsValue::kNumber)
                (*into.bytes)[into.start + static_cast<std::size_t>(key.number)] =
                    static_cast<char>(static_cast<std::int64_t>(value.number) & 255);
            else
                Fail();
            break;
        }
        case B::kLength: {
            const EpsValue v = Pop();
            const std::size_t n = v.kind == EpsValue::kArray    ? v.items->size()
                                  : v.kind == EpsValue::kDict   ? v.dict->entries.size()
                                  : v.kind == EpsValue::kName   ? v.text.size()
                                  : v.kind == EpsValue::kString ? v.length
                                                                : static_cast<std::size_t>(-1);
            if (n == static_cast<std::size_t>(-1))
                Fail();
            PushNumber(static_cast<double>(n), true);
            break;
        }
        case B::kBind: case B::kUnchanged: Top(); break;
        case B::kType: Push(EpsValue::Name(TypeName(Pop()), true)); break;
        case B::kXcheck: Push(EpsValue::Boolean(Pop().executable)); break;
        case B::kCvx: case B::kCvlit: {
            EpsValue v = Pop();
            v.executable = op == B::kCvx;
            Push(std::move(v));
            break;
        }
        case B::kArray: {
            const std::int64_t n = PopInteger();
            if (n < 0 || n > kMostItems)
                Fail();
            Step(static_cast<std::uint64_t>(n));
            EpsValue a;
            a.kind = EpsValue::kArray;
            a.items = NewArray(std::vector<EpsValue>(static_cast<std::size_t>(n)));
            Push(std::move(a));
            break;
        }
        case B::kAstore: {
            EpsValue a = PopArray();
            const std::size_t n = a.items->size();
            if (stack_.size() < n)
                Fail();
            Step(n);
            std::copy(stack_.end() - static_cast<std::ptrdiff_t>(n), stack_.end(), a.items->begin());
            stack_.resize(stack_.size() - n);
            Push(std::move(a));
            break;
        }
        case B::kAload: {
            EpsValue a = PopArray();
            Step(a.items->size());
            for (const EpsValue& item : *a.items)
                Push(item);
            Push(std::move(a));
            break;
        }
        case B::kMatrix: {
            EpsValue m;
            m.kind = EpsValue::kArray;
            m.items = NewArray({});
            for (const double v : {1, 0, 0, 1, 0, 0})
                m.items->push_back(EpsValue::Number(v, true));
            Push(std::move(m));
            break;
        }
        case B::kConcatMatrix: {
            EpsValue to = PopArray();
            const std::vector<double> b = PopMatrix(), a = PopMatrix();
            if (to.items->size() != 6)
                Fail();
            const double r[6] = {a[0] * b[0] + a[1] * b[2], a[0] * b[1] + a[1] * b[3],
                                 a[2] * b[0] + a[3] * b[2], a[2] * b[1] + a[3] * b[3],
                                 a[4] * b[0] + a[5] * b[2] + b[4], a[4] * b[1] + a[5] * b[3] + b[5]};
            for (int i = 0; i < 6; ++i)
                (*to.items)[static_cast<std::size_t>(i)] = EpsValue::Number(r[i]);
            Push(std::move(to));
            break;
        }
        case B::kString: {
            const std::int64_t n = PopInteger();
            if (n < 0 || n > kMostItems)
                Fail();
            Push(NewString(std::string(static_cast<std::size_t>(n), '\0')));
            break;
        }
        case B::kPrint: Pop(); break;
        case B::kIgnore: break;
        default: Fail();
        }
        break;
    }
    }
}

} // namespace tavlo
