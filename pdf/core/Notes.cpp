#include "pdf/Tavlo.h"

#include "pdf/core/Colors.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"

namespace tavlo {

namespace {

bool IsRgb(const std::string& colour)
{
    return !colour.empty() && colour[0] == '#';
}

} // namespace

void Tavlo::AddNoteBox(const std::string& text, float x, float y, float w, float h, std::int32_t align,
                       std::int32_t border, float dash, float gap, std::int32_t flags)
try {
    TavloState& s = *s_;
    const double left = RequirePdfNumber(PageSpaceX(x)), top = RequirePdfNumber(PageSpaceY(y));
    const std::string rect = PdfNumber(left) + " " + PdfNumber(top) + " " +
                             PdfNumber(RequirePdfNumber(left + w * s.Scale)) + " " +
                             PdfNumber(RequirePdfNumber(top - h * s.Scale));
    RequirePdfNumber(s.LineWidth);
    if (border == 1) {
        RequirePdfNumber(dash);
        RequirePdfNumber(gap);
    }
    std::string d = "<< /Type /Annot /Subtype /FreeText\r/Rect [" + rect + "]\r /F " + std::to_string(flags);
    if (align == 2)
        d += "\r/Q 2";
    else if (align == 4)
        d += "\r/Q 1";

    // The text's font and colour: the current font, as Tf needs a font before the size,
    // and the line colour as the three operands of rg (readers draw the text black when
    // they are put in brackets). Without a chosen font, Helvetica: a name the document's
    // fonts (and so the form's resources) hold.
    if (s.doc.FontResource.empty())
        SetFont("Helvetica", s.doc.FontSize, 0, 0);
    std::string appearance = "/" + s.doc.FontResource + " " + PdfNumber(s.doc.FontSize) + " Tf";
    if (IsRgb(s.LineColor))
        appearance += " " + HexColorToRgb(s.LineColor) + " rg";

    if (IsRgb(s.FillColor))
        d += "\r/C [" + HexColorToRgb(s.FillColor) + "]";
    d += "\r/BS << /Type /Border /W " + PdfNumber(s.LineWidth);
    switch (border) {
    case 0: d += "/S /S"; break;
    case 1: d += "/S /D /D [" + PdfNumber(dash) + " " + PdfNumber(gap) + "]"; break;
    case 2: d += "/S /B"; break;
    case 3: d += "/S /I"; break;
    case 4: d += "/S /U"; break;
    default: break;
    }
    d += ">>\r";
    WriteAnnotation(d, text, s.InfoAuthor, appearance, std::string());
} catch (...) {
    RaiseRecorded("AddNoteBox");
}

void Tavlo::AddNoteIcon(const std::string& text, std::int32_t icon, float x, float y, bool open, std::int32_t flags)
try {
    TavloState& s = *s_;
    const std::string px = PdfNumber(RequirePdfNumber(PageSpaceX(x))), py = PdfNumber(RequirePdfNumber(PageSpaceY(y)));
    std::string d = "<< /Type /Annot\r/Subtype /Text\r/Rect [" + px + " " + py + " " + px + " " + py + "]\r/F " +
                    std::to_string(flags);
    if (IsRgb(s.FillColor))
        d += "\r/C [" + HexColorToRgb(s.FillColor) + "]";
    static const char* const icons[] = {"Note", "Comment", "Key", "Help", "Paragraph", "NewParagraph", "Insert"};
    if (icon >= 0 && icon < 7)
        d += std::string("\r /Name /") + icons[icon];
    d += "\r /Open " + PdfBoolean(open) + " ";
    WriteAnnotation(d, text, s.InfoAuthor, std::string(), std::string());
} catch (...) {
    RaiseRecorded("AddNoteIcon");
}

} // namespace tavlo
