#include "pdf/Tavlo.h"

#include "pdf/core/ContentMark.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"
#include "pdf/draw/TextBoxLayout.h"

#include <cstdint>
#include <string>

namespace tavlo {

namespace {

constexpr std::int32_t kLeft = 1, kBottom = 16, kMiddle = 32, kJustify = 64, kShrink = 128, kFit = 256;
constexpr std::int32_t kNoRectangle = 1;
constexpr std::int32_t kSuperscript = 1, kSubscript = 2, kReduced = 3;

const FontEntry* Selected(const TavloState& s)
{
    if (s.CurrentFont < 1 || static_cast<std::size_t>(s.CurrentFont) > s.doc.Fonts.size())
        return nullptr;
    return &s.doc.Fonts[static_cast<std::size_t>(s.CurrentFont) - 1];
}

} // namespace

std::string Tavlo::DrawTextBox(float x, float y, float width, float height, const std::string& text,
                               float indentation, std::int32_t align, std::int32_t options)
try {
    TavloState& s = *s_;
    const FontEntry* font = Selected(s);
    const double lineAdvance = TextHeight() * s.Scale * s.LineSpacing;
    // Without a font or with no line height every line would land on one baseline and the
    // box would never fill: nothing is written and the whole text goes back to the caller.
    if (font == nullptr || !(lineAdvance > 0)) {
        CaptureError("DrawTextBox", "",
                     TavloError(ErrorCode::InvalidArgument, font == nullptr ? "Nessun font scelto per il testo"
                                                                            : "Altezza della riga nulla"));
        return text;
    }
    const std::int32_t descent = font->Descent;

    BoxRules rules;
    rules.width = width;
    rules.indent = indentation;
    rules.justify = (align & kJustify) != 0;
    rules.unbroken = (align & (kShrink | kFit)) != 0;
    rules.lineAdvance = lineAdvance;
    rules.height = height > 0 ? static_cast<double>(height) * s.Scale : 0;
    const BoxLayout layout =
        LayOutTextBox(text, rules, [this](const std::string& piece) { return static_cast<double>(TextLength(piece)); });

    // The box's own graphics state: a clipping rectangle ends with the box. A line that
    // fails (a number no reader takes) takes the whole box back with it.
    ContentMark mark(ActiveContent());
    const bool rectangle = options != kNoRectangle;
    if (rectangle) {
        PutContent("q");
        PutContent(PdfScaledNumber(x) + " " + PdfScaledNumber(y) + " " + PdfScaledNumber(width) + " " +
                   PdfScaledNumber(height) + " re");
        PaintPath(options);
        if (!(options & 4) && (options & 1))
            PutContent("n");  // a path left open by the style ends unpainted before the text
    }

    const double lines = static_cast<double>(layout.lines.size());
    double first;
    if (align & kMiddle)
        first = (y + height / 2.0) * s.Scale + lineAdvance / 2 * (2 - lines);
    else if (align & kBottom)
        first = (y + static_cast<double>(height)) * s.Scale - (lines - 1) * lineAdvance;
    else
        first = y * s.Scale + lineAdvance;
    first += static_cast<double>(s.doc.FontSize) * descent / 1000;

    for (std::size_t k = 0; k < layout.lines.size(); ++k) {
        const BoxLine& line = layout.lines[k];
        const float indent = line.opens ? indentation : 0;
        std::int32_t flags = align;
        // The last line of a justified paragraph, and a line wider than the box (its first
        // word alone), are left-aligned: justifying them would squeeze the blanks.
        if ((align & kJustify) && (line.closes || line.width + indent > width))
            flags = kLeft;
        EmitTextLine(x, static_cast<float>((static_cast<double>(k) * lineAdvance + first) / s.Scale), width, line.text,
                     indent, flags, false);
    }
    if (rectangle)
        PutContent("Q");
    mark.Keep();

    const double top = PageSpaceY(y);
    SetLastBox(PageSpaceX(x), top, PageSpaceX(static_cast<double>(x) + width), top - lineAdvance * lines);
    SetXY(x, static_cast<float>(y + lineAdvance * lines / s.Scale));
    return layout.overflow;
} catch (...) {
    RaiseRecorded("DrawTextBox");
}

void Tavlo::WriteText(const std::string& text, std::int32_t textStyle, float percenteSize)
try {
    TavloState& s = *s_;
    const float size = s.doc.FontSize;
    const double currentY = s.CurrentY;
    const FontEntry* font = Selected(s);
    const double descent = font == nullptr ? 0 : font->Descent;
    // A style of no meaning would have no baseline: the piece is written as a normal one.
    if (textStyle < 0 || textStyle > kReduced)
        textStyle = 0;
    double y = currentY / s.Scale;
    if (textStyle != 0) {
        const double h = TextHeight();
        s.doc.FontSize = static_cast<float>(percenteSize / 100.0 * size);
        const double small = s.doc.FontSize;
        if (textStyle == kSuperscript)
            y = (currentY - small * descent / 1000) / s.Scale - h / 2;
        else if (textStyle == kSubscript)
            y = (currentY - (size + small) * descent / 1000) / s.Scale;
    }
    struct Restore {
        TavloState& s;
        float size;
        double y;
        ~Restore()
        {
            s.doc.FontSize = size;
            s.CurrentY = y;
        }
    } restore{s, size, currentY};
    EmitTextLine(static_cast<float>(s.CurrentX / s.Scale), static_cast<float>(y), 0, text, 0, kLeft, false);
} catch (...) {
    RaiseRecorded("WriteText");
}

void Tavlo::WriteTextLn(const std::string& text)
try {
    TavloState& s = *s_;
    const float y = static_cast<float>(s.CurrentY / s.Scale);
    EmitTextLine(static_cast<float>(s.CurrentX / s.Scale), y, 0, text, 0, kLeft, true);
    // An empty line still moves down one line: writing "" is how callers leave a blank line.
    if (text.find_first_not_of(' ') == std::string::npos)
        s.CurrentY = y * s.Scale + TextHeight() * s.Scale * s.LineSpacing;
} catch (...) {
    RaiseRecorded("WriteTextLn");
}

} // namespace tavlo
