#include "pdf/Tavlo.h"

#include "pdf/core/AsciiCase.h"
#include "pdf/core/LinkTargets.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"
#include "pdf/core/TextReplace.h"
#include "pdf/draw/ShapeBox.h"

#include <string>
#include <string_view>
#include <vector>

namespace tavlo {

namespace {

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// Dash and gap lengths of the named patterns, in user units.
std::vector<float> NamedDash(const std::string& name, bool& known)
{
    known = true;
    if (name == "DASH")
        return {0.1f};
    if (name == "DOT")
        return {0.05f};
    if (name == "DASHDOT")
        return {0.1f, 0.05f, 0.05f, 0.05f};
    if (name == "DASHDOTDOT")
        return {0.1f, 0.05f, 0.05f, 0.05f, 0.05f, 0.05f};
    known = false;
    return {};
}

// A cap or join of 3 is none that readers define: such a value is left out.
constexpr int kUndefinedStyle = 3;

} // namespace

void Tavlo::SetLineWidth(float width)
try {
    TavloState& s = *s_;
    if (width < 0)
        return;
    const double points = width * s.Scale;
    RequirePdfRange({points});
    const float lineWidth = static_cast<float>(points);
    const std::string line = PdfNumber(lineWidth) + " w";
    s.LineWidth = lineWidth;
    PutContent(line);
} catch (...) {
    RaiseRecorded("SetLineWidth");
}

void Tavlo::SetLineStyle(std::int32_t style, float miterLimit)
try {
    const int cap = (style & 112) / 32;
    const int join = (style & 7) / 2;
    const std::string limit = miterLimit >= 1 ? PdfNumber(miterLimit) + " M" : std::string();
    if (cap != kUndefinedStyle)
        PutContent(std::to_string(cap) + " J");
    if (join != kUndefinedStyle)
        PutContent(std::to_string(join) + " j");
    if (!limit.empty())
        PutContent(limit);
} catch (...) {
    RaiseRecorded("SetLineStyle");
}

void Tavlo::SetDash(const std::string& pattern, float phase)
try {
    const std::string name = AsciiUpper(std::string(TrimBlanks(pattern)));
    std::string lengths;
    bool solid = name.empty() || name == "SOLID";
    if (!solid) {
        bool known = false;
        const std::vector<float> named = NamedDash(name, known);
        if (known) {
            for (const float length : named)
                lengths += (lengths.empty() ? "" : " ") + PdfScaledNumber(length);
        } else {
            // A list of lengths: the number at the start of each piece, 0 for none.
            bool anyDash = false, negative = false;
            for (const std::string& piece : SplitText(name, ";")) {
                const double value = LeadingNumber(piece);
                RequireSingleRange({value});
                const float length = static_cast<float>(value);
                lengths += " " + PdfScaledNumber(length);
                anyDash = anyDash || length > 0;
                negative = negative || length < 0;
            }
            // Readers define no pattern with a negative length or without any length
            // above zero: such a list strokes a solid line.
            solid = negative || !anyDash;
        }
    }
    if (solid)
        PutContent("[ ] 0 d");
    else
        PutContent("[" + lengths + " ] " + PdfScaledNumber(phase) + " d");
} catch (...) {
    RaiseRecorded("SetDash");
}

} // namespace tavlo
