#include "pdf/media/EpsOperators.h"

#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloError.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tavlo {

namespace {

using Op = EpsOperator;

// More than any operator takes: a line holding more is not drawn, whatever its length.
constexpr std::size_t kMostOperands = 6, kMostItems = 32;

constexpr Op kOperators[] = {
    // Path construction, colours and line state.
    {"m", Op::kNumbers, 2, "m", Op::kPath, 0, false},
    {"l", Op::kNumbers, 2, "l", Op::kPath, 0, false},
    {"c", Op::kNumbers, 6, "c", Op::kPath, 0, false},
    {"v", Op::kNumbers, 4, "v", Op::kPath, 0, false},
    {"y", Op::kNumbers, 4, "y", Op::kPath, 0, false},
    {"re", Op::kNumbers, 4, "re", Op::kPath, 0, false},
    {"h", Op::kNumbers, 0, "h", Op::kPath, 0, false},
    {"k", Op::kNumbers, 4, "k", Op::kPath, 4, false},
    {"K", Op::kNumbers, 4, "K", Op::kPath, 4, true},
    {"g", Op::kNumbers, 1, "g", Op::kPath, 1, false},
    {"G", Op::kNumbers, 1, "G", Op::kPath, 1, true},
    {"rg", Op::kNumbers, 3, "rg", Op::kPath, 3, false},
    {"RG", Op::kNumbers, 3, "RG", Op::kPath, 3, true},
    {"x", Op::kCustom, 0, "k", Op::kPath, 4, false},
    {"X", Op::kCustom, 0, "K", Op::kPath, 4, true},
    {"cs", Op::kSpace, 0, "cs", Op::kPath, 0, false},
    {"CS", Op::kSpace, 0, "CS", Op::kPath, 0, true},
    {"sc", Op::kComponents, 0, "sc", Op::kPath, 0, false},
    {"SC", Op::kComponents, 0, "SC", Op::kPath, 0, true},
    {"J", Op::kNumbers, 1, "J", Op::kPath, 0, false},
    {"j", Op::kNumbers, 1, "j", Op::kPath, 0, false},
    {"w", Op::kNumbers, 1, "w", Op::kPath, 0, false},
    {"M", Op::kNumbers, 1, "M", Op::kPath, 0, false},
    {"d", Op::kDash, 0, "d", Op::kPath, 0, false},
    {"n", Op::kNumbers, 0, "n", Op::kPath, 0, false},
    // Painting: every fill with the even-odd rule.
    {"s", Op::kNumbers, 0, "s", Op::kStroke, 0, false},
    {"S", Op::kNumbers, 0, "S", Op::kStroke, 0, false},
    {"f", Op::kNumbers, 0, "f*", Op::kFill, 0, false},
    {"F", Op::kNumbers, 0, "f*", Op::kFill, 0, false},
    {"f*", Op::kNumbers, 0, "f*", Op::kFill, 0, false},
    {"b", Op::kNumbers, 0, "b*", Op::kFill, 0, false},
    {"b*", Op::kNumbers, 0, "b*", Op::kFill, 0, false},
    {"B", Op::kNumbers, 0, "B*", Op::kFill, 0, false},
    {"B*", Op::kNumbers, 0, "B*", Op::kFill, 0, false},
    // Illustrator's corner points and its colours of a drawing program's own.
    {"Y", Op::kNumbers, 4, "y", Op::kCorner, 0, false},
    {"N", Op::kNumbers, 0, "n", Op::kCorner, 0, false},
    {"L", Op::kNumbers, 2, "l", Op::kCorner, 0, false},
    {"C", Op::kNumbers, 6, "c", Op::kCorner, 0, false},
    {"V", Op::kNumbers, 4, "v", Op::kCorner, 0, false},
    {"Xa", Op::kNumbers, 3, "rg", Op::kColour, 3, false},
    {"XR", Op::kNumbers, 1, "G", Op::kColour, 1, true},
    // The state stack, the transformation and clipping of content streams.
    {"cm", Op::kMatrix, 0, "cm", Op::kMatrixChange, 0, false},
    {"q", Op::kNumbers, 0, "q", Op::kSave, 0, false},
    {"Q", Op::kNumbers, 0, "Q", Op::kRestore, 0, false},
    {"W", Op::kNumbers, 0, "W", Op::kClip, 0, false},
    {"W*", Op::kNumbers, 0, "W*", Op::kClip, 0, false},
};

using Operand = EpsCallReader::Operand;

// A number as written; when the text is not wanted, only the check that it can be written.
std::string Number(double value, bool write)
{
    if (write)
        return PdfNumber(value);
    if (!std::isfinite(Round3(value)))
        throw TavloError(ErrorCode::Overflow);
    return {};
}

std::string Numbers(const std::vector<double>& values, bool write)
{
    std::string text;
    for (const double value : values)
        text += Number(value, write) + " ";
    return text;
}

// The operands' numbers, when they are count numbers or, where taken, one array of count.
bool Values(const std::vector<Operand>& operands, const std::vector<double>& items, std::size_t count, bool array,
            std::vector<double>& values)
{
    if (array && operands.size() == 1 && operands[0].kind == EpsToken::kArrayOpen && operands[0].count == count) {
        const auto first = items.begin() + static_cast<std::ptrdiff_t>(operands[0].first);
        values.assign(first, first + static_cast<std::ptrdiff_t>(count));
        return true;
    }
    if (operands.size() != count)
        return false;
    for (const Operand& o : operands) {
        if (o.kind != EpsToken::kNumber)
            return false;
        values.push_back(o.value);
    }
    return true;
}

bool EmptyProcedure(std::string_view text)
{
    return text.find_first_not_of(" \t\f", 1) == text.size() - 1;
}

// The call's text (written only when wanted), or false when the operands are not those the
// operator takes: a dash needs lengths that are not negative, not all zero, a custom colour
// a tint from 0 to 1.
bool Format(const Op& op, const std::vector<Operand>& operands, const std::vector<double>& items, bool write,
            EpsCall& call)
{
    std::vector<double> values;
    switch (op.operands) {
    case Op::kNumbers:
        if (!Values(operands, items, static_cast<std::size_t>(op.count), false, values))
            return false;
        call.text = Numbers(values, write);
        break;
    case Op::kDash: {
        if (operands.size() != 2 || operands[0].kind != EpsToken::kArrayOpen ||
            operands[1].kind != EpsToken::kNumber)
            return false;
        const auto first = items.begin() + static_cast<std::ptrdiff_t>(operands[0].first);
        const auto last = first + static_cast<std::ptrdiff_t>(operands[0].count);
        if (std::any_of(first, last, [](double v) { return v < 0; }) ||
            (first != last && std::all_of(first, last, [](double v) { return v == 0; })))
            return false;
        call.text = "[";
        for (auto at = first; at != last; ++at)
            call.text += (at != first ? " " : "") + Number(*at, write);
        call.text += "] " + Number(operands[1].value, write) + " ";
        break;
    }
    case Op::kMatrix:
        if (!Values(operands, items, 6, true, values))
            return false;
        call.text = Numbers(values, write);
        break;
    case Op::kCustom: {
        if (operands.size() != 6 || operands[4].kind != EpsToken::kString || operands[5].kind != EpsToken::kNumber)
            return false;
        const double tint = operands[5].value;  // 0 the full colour, 1 none
        if (tint < 0 || tint > 1 || !Values({operands.begin(), operands.begin() + 4}, items, 4, false, values))
            return false;
        for (double& value : values)
            value *= 1 - tint;
        call.text = Numbers(values, write);
        break;
    }
    case Op::kSpace: {
        if (operands.empty() || operands.size() > 2 || operands[0].kind != EpsToken::kName ||
            (operands.size() == 2 &&
             (operands[1].kind != EpsToken::kProcedure || !EmptyProcedure(operands[1].text))))
            return false;
        const std::string_view name = operands[0].text;
        call.components = name == "/DeviceGray" ? 1 : name == "/DeviceRGB" ? 3 : name == "/DeviceCMYK" ? 4 : 0;
        if (call.components == 0)
            return false;
        call.text = std::string(name) + " ";
        break;
    }
    case Op::kComponents: {
        const std::size_t count = operands.size() == 1 && operands[0].kind == EpsToken::kArrayOpen
                                      ? operands[0].count
                                      : operands.size();
        if ((count != 1 && count != 3 && count != 4) || !Values(operands, items, count, true, values))
            return false;
        call.components = static_cast<int>(count);
        call.text = Numbers(values, write);
        break;
    }
    }
    call.text += op.written;
    return true;
}

} // namespace

const EpsOperator* FindEpsOperator(std::string_view name)
{
    const auto op = std::find_if(std::begin(kOperators), std::end(kOperators),
                                 [&](const Op& o) { return o.name == name; });
    return op == std::end(kOperators) ? nullptr : op;
}

void EpsCallReader::Take(const EpsToken& token)
{
    if (!whole_)
        return;
    if (inArray_) {
        if (token.kind == EpsToken::kNumber && items_.size() < kMostItems) {
            items_.push_back(token.value);
            ++operands_.back().count;
        } else {
            whole_ = token.kind == EpsToken::kArrayClose;
            inArray_ = false;
        }
        return;
    }
    switch (token.kind) {
    case EpsToken::kOperator: {
        const Op* op = FindEpsOperator(token.text);
        EpsCall call{op, {}};
        try {
            whole_ = op && Format(*op, operands_, items_, static_cast<bool>(play_), call);
        } catch (const TavloError&) {  // a number past single precision
            whole_ = false;
            overflow_ = true;
        }
        if (whole_ && play_)
            play_(call);
        operands_.clear();
        items_.clear();
        break;
    }
    case EpsToken::kArrayClose:
        whole_ = false;
        break;
    default:
        inArray_ = token.kind == EpsToken::kArrayOpen;
        whole_ = operands_.size() < kMostOperands;
        operands_.push_back({token.kind, token.value, items_.size(), 0, token.text});
        break;
    }
}

} // namespace tavlo
