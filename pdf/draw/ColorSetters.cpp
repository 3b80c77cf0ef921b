#include "pdf/Tavlo.h"

#include "pdf/core/Colors.h"
#include "pdf/core/PatternTwins.h"
#include "pdf/core/PdfName.h"
#include "pdf/core/TavloState.h"

namespace tavlo {

namespace {

// Whether a pattern of that name has been made (a gradient, or a tiling pattern whose
// recording has ended): naming another one would leave the page a resource that readers
// cannot find, and a tiling pattern cannot fill its own cell.
bool PatternDefined(const std::string& patterns, const std::string& name)
{
    const std::string entry = PdfName(name) + " ";
    for (std::size_t at = patterns.find(entry); at != std::string::npos; at = patterns.find(entry, at + 1))
        if (at == 0 || patterns[at - 1] == '\r')
            return true;
    return false;
}

} // namespace

void Tavlo::SetColor(const std::string& color, std::string& current, std::string& alternate, const char* rgbOp,
                     const char* spaceOp, const char* patternOp)
{
    if (color.empty() || s_->ColorLocked)
        return;
    ColorMemo::Entry& memo = s_->Colors.Parse(color);
    const ParsedColor& parsed = memo.parsed;
    // A text that gives no colour and no pattern made so far (a blank, "@1;2", "grey")
    // selects nothing.
    if (parsed.form.empty() || (parsed.form[0] != '#' && !PatternDefined(s_->Patterns, parsed.form)))
        return;
    // Nor does a pattern given something other than a colour ("Stripes;sky"): the colour in
    // force stays, and so do the fields a text line or a restored state writes it again from.
    if (parsed.form[0] != '#' && !parsed.second.empty() && parsed.second[0] != '#')
        return;
    // A pattern used inside a recorded object is its twin made for that space; on a page
    // whose origin differs from the one it was made for, a copy made for that page.
    std::string pattern = parsed.form;
    if (pattern[0] != '#') {
        if (s_->InObject) {
            if (PatternDefined(s_->Patterns, PatternTwinName(pattern)))
                pattern = PatternTwinName(pattern);
        } else if (!s_->InTiling && s_->InPage) {
            pattern = PatternForPage(pattern);
        }
    }
    // The operator is made first: a colour with bad digits changes nothing.
    std::string line;
    if (parsed.form[0] == '#')
        line = memo.Rgb(0) + " " + rgbOp;
    else if (!parsed.second.empty())
        line = std::string("/xxCSxx ") + spaceOp + " " + memo.Rgb(1) + " " + PdfName(pattern) + " " +
               patternOp;
    else
        line = std::string("/Pattern ") + spaceOp + " " + PdfName(pattern) + " " + patternOp;
    current = parsed.form;
    // A pattern is written again as it was chosen: an uncoloured one with its colour's
    // components, any other without (the colour of an earlier choice would be operands a
    // gradient or coloured pattern must not have).
    if (parsed.form[0] != '#')
        alternate = parsed.second;
    PutContent(line);
}

void Tavlo::SetColorFill(const std::string& color)
{
    SetColor(color, s_->FillColor, s_->doc.FillColorAlt, "rg", "cs", "scn");
}

void Tavlo::SetColorLine(const std::string& color)
{
    SetColor(color, s_->LineColor, s_->doc.LineColorAlt, "RG", "CS", "SCN");
}

void Tavlo::SetColorText(const std::string& color)
{
    TavloState& s = *s_;
    if (color.empty() || s.ColorLocked)
        return;
    const ParsedColor& parsed = s.Colors.Parse(color).parsed;
    if (parsed.form.empty() || (parsed.form[0] != '#' && !PatternDefined(s.Patterns, parsed.form)))
        return;
    s.doc.TextColorAlt = parsed.second;
    s.TextColor = parsed.form;
}

} // namespace tavlo
