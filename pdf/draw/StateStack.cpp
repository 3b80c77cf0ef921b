#include "pdf/Tavlo.h"

#include "pdf/core/PdfFormat.h"
#include "pdf/core/TableGrowth.h"
#include "pdf/core/TavloState.h"

#include <algorithm>

namespace tavlo {

void Tavlo::PushGraphicState()
{
    TavloState& s = *s_;
    std::vector<StateEntry>& stack = s.StateStack;
    const std::int32_t depth = CheckedInt32(static_cast<std::int64_t>(s.StateDepth) + 1);
    if (stack.capacity() < static_cast<std::size_t>(depth))
        stack.reserve(static_cast<std::size_t>(stack.capacity() == 0
                                                   ? std::max(depth, InitialUpperBound(s.MemoryUsage))
                                                   : GrownUpperBound(depth, s.MemoryUsage)));
    if (stack.size() < static_cast<std::size_t>(depth))
        stack.resize(static_cast<std::size_t>(depth));
    const DocumentTables& d = s.doc;
    stack[static_cast<std::size_t>(depth) - 1] =
        StateEntry{s.Scale,         s.CurrentX,     s.CurrentY,  s.FillColor,     d.FillColorAlt,
                   s.LineColor,     d.LineColorAlt, s.TextColor, d.TextColorAlt,  d.FontName,
                   d.FontResource,  d.FontStyle,    s.CurrentFont, d.FontSize,    s.LineWidth};
    s.StateDepth = depth;
}

void Tavlo::PopGraphicState()
{
    TavloState& s = *s_;
    if (s.StateDepth < 1)
        return;
    // Off the stack first: an error of a setter below leaves it balanced.
    const StateEntry entry = s.StateStack[static_cast<std::size_t>(s.StateDepth) - 1];
    --s.StateDepth;
    RestoreDrawingState(entry, true);
}

void Tavlo::RestoreDrawingState(const StateEntry& entry, bool write)
{
    TavloState& s = *s_;
    DocumentTables& d = s.doc;
    s.CurrentX = entry.CurrentX;
    s.CurrentY = entry.CurrentY;
    s.Scale = entry.Scale;
    if (write) {
        SetColorLine(entry.LineColor + ";" + entry.LineColorAlt);
        SetColorFill(entry.FillColor + ";" + entry.FillColorAlt);
        SetColorText(entry.TextColor + ";" + entry.TextColorAlt);
        // A width never set is 0 here and the reader's own 1 in the content: written only
        // when it was changed since, so that it is not turned into a hairline.
        if (entry.LineWidth != s.LineWidth)
            PutContent(PdfNumber(entry.LineWidth) + " w");
    }
    s.FillColor = entry.FillColor;
    d.FillColorAlt = entry.FillColorAlt;
    s.LineColor = entry.LineColor;
    d.LineColorAlt = entry.LineColorAlt;
    s.TextColor = entry.TextColor;
    d.TextColorAlt = entry.TextColorAlt;
    s.LineWidth = entry.LineWidth;
    // No font selects none again; a chosen one comes back as the very record it was.
    d.FontName = entry.FontName;
    d.FontResource = entry.FontResource;
    d.FontStyle = entry.FontStyle;
    d.FontSize = entry.FontSize;
    s.CurrentFont = entry.CurrentFont;
}

} // namespace tavlo
