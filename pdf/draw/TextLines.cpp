#include "pdf/Tavlo.h"

#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"
#include "pdf/core/TextReplace.h"
#include "pdf/draw/ShapeBox.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavlo {

namespace {

constexpr std::int32_t kAlignMask = 0x1C7;
constexpr std::int32_t kRight = 2, kCentre = 4, kJustify = 64, kShrink = 128, kFit = 256;
constexpr std::int32_t kUnderline = 4, kOverline = 8, kStrike = 16;
constexpr std::int32_t kDivisionByZero = 11;

bool OnlyBlanks(const std::string& text)
{
    return text.find_first_not_of(' ') == std::string::npos;
}

// Measuring a fitted line unscaled sets the scaling to 100 for the call; it comes back
// however the call ends, so the field agrees with the scaling in force in the content.
class ScalingHold {
public:
    ScalingHold(double& field, bool active) : field_(field), kept_(field), active_(active)
    {
        if (active_)
            field_ = 100;
    }
    ~ScalingHold()
    {
        if (active_)
            field_ = kept_;
    }
    ScalingHold(const ScalingHold&) = delete;
    ScalingHold& operator=(const ScalingHold&) = delete;
    double Kept() const { return kept_; }

private:
    double& field_;
    double kept_;
    bool active_;
};

} // namespace

void Tavlo::DrawText(float x, float y, const std::string& text, std::int32_t align)
try {
    EmitTextLine(x, y, 0, text, 0, align & 7, false);
} catch (...) {
    RaiseRecorded("DrawText");
}

void Tavlo::EmitTextLine(float x, float y, float width, const std::string& text, float indent, std::int32_t flags,
                         bool nextLine)
{
    TavloState& s = *s_;
    double length = 0, advance = 0;
    if (!OnlyBlanks(text)) {
        if (s.CurrentFont < 1 || static_cast<std::size_t>(s.CurrentFont) > s.doc.Fonts.size())
            throw TavloError(ErrorCode::SubscriptOutOfRange);
        const FontEntry& font = s.doc.Fonts[static_cast<std::size_t>(s.CurrentFont) - 1];
        const std::int32_t align = flags & kAlignMask;
        const bool justifying = (flags & kJustify) != 0;
        ScalingHold hold(s.HorizontalScaling, !justifying && (flags & (kShrink | kFit)) != 0);

        double measured = 0, blank = 0;
        std::size_t gaps = 0;
        if (justifying) {
            const std::vector<std::string> words = SplitText(text, " ");
            gaps = words.size() - 1;
            for (const std::string& word : words)
                measured += TextLength(word);
            blank = TextLength(" ");
            length = static_cast<double>(gaps) * blank + measured;
        } else {
            measured = length = TextLength(text);
        }
        const double textWidth = measured;  // the text itself, without the indent
        measured += indent;

        // Horizontal extent of what is drawn, from the left end of the text, in user units.
        double drawn = length;
        double dx = 0;
        std::string prefix, suffix;
        if (align == kRight) {
            dx = width - measured;
        } else if (align == kCentre) {
            dx = (width - measured) / 2;
        } else if (align == kJustify && gaps >= 1) {
            const double extra = (width - measured) - static_cast<double>(gaps) * blank;
            // Word spacing is scaled horizontally like the glyphs, and it replaces the spacing
            // in force: the widening in text space is added to that spacing.
            const double scaling = s.HorizontalScaling / 100;
            if (scaling == 0)
                throw TavloError(kDivisionByZero, "Divisione per zero");
            const double spacing = s.WordSpacing + extra * s.Scale / static_cast<double>(gaps) / scaling;
            prefix = PdfNumber(spacing) + " Tw ";
            suffix = " " + PdfNumber(s.WordSpacing) + " Tw";
            length += extra;
            drawn = length;
        } else if ((align == kShrink || align == kFit) && (measured > width || (flags & kFit) != 0) &&
                   textWidth > 0) {
            // The text alone fills what the indent leaves of the width; a text of no width
            // has nothing to scale.
            const double z = (width - indent) * 100 / textWidth;
            prefix = PdfNumber(z) + " Tz ";
            suffix = " " + PdfNumber(hold.Kept()) + " Tz";
            drawn = textWidth * z / 100;
        }
        dx += indent;

        // The line box, from the descender line up by one spaced line height, in page space.
        const double height = TextHeight();
        const double descent = static_cast<double>(s.doc.FontSize) * font.Descent / 1000;
        const double bottom = PageSpaceY(y) + descent;
        const double top = bottom + height * s.LineSpacing * s.Scale;
        const double left = PageSpaceX(x + dx), right = PageSpaceX(x + dx + drawn);
        advance = height * s.Scale * s.LineSpacing;
        const double xp = (x + dx) * s.Scale;
        RequirePdfRange({left, top, right, bottom, advance, xp, (x + length) * s.Scale});

        // Every line is formed before the first is written: a value no reader takes raises
        // with nothing of the line in the content.
        const std::string size = PdfNumber(s.doc.FontSize);
        const std::string fontLine = "/" + s.doc.FontResource + " " + size + " Tf " + size + " TL";
        const std::string matrix = "1 0 0 -1 " + PdfNumber(xp) + " " + PdfScaledNumber(y) + " Tm";
        const std::string show = prefix + "(" + EscapeString(text) + ") Tj" + suffix;
        std::vector<std::string> decorations;
        const std::int32_t style = s.doc.FontStyle;
        if (style & (kUnderline | kOverline | kStrike)) {
            const std::string l = PdfScaledNumber(drawn);
            const std::pair<std::int32_t, double> lines[] = {{kUnderline, s.doc.FontSize / 8.0},
                                                             {kOverline, s.doc.FontSize * -0.8},
                                                             {kStrike, s.doc.FontSize * -0.3}};
            decorations.push_back(PdfNumber(s.doc.FontSize / 16.0) + " w ");
            decorations.push_back("1 0 0 1 " + PdfNumber(xp) + " " + PdfScaledNumber(y) + " cm");
            for (const auto& [bit, offset] : lines)
                if (style & bit) {
                    const std::string o = PdfNumber(offset);
                    decorations.push_back("0 " + o + " m " + l + " " + o + " l S");
                }
        }

        const std::string fill = s.FillColor + ";" + s.doc.FillColorAlt;
        SetColorFill(s.TextColor + ";" + s.doc.TextColorAlt);
        PutContent("BT");
        PutContent(fontLine);
        PutContent(matrix);
        PutContent(show);
        PutContent("ET");
        SetColorFill(fill);
        if (!decorations.empty()) {
            const std::string line = s.LineColor + ";" + s.doc.LineColorAlt;
            PutContent("q");
            SetColorLine(s.TextColor + ";" + s.doc.TextColorAlt);
            for (const std::string& decoration : decorations)
                PutContent(decoration);
            SetColorLine(line);
            PutContent("Q");
        }
        SetLastBox(left, top, right, bottom);
    }
    if (nextLine) {
        s.CurrentX = 0;
        s.CurrentY = y * s.Scale + advance;
    } else {
        s.CurrentX = (x + length) * s.Scale;
        s.CurrentY = y * s.Scale;
    }
}

} // namespace tavlo
