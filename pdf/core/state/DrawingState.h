#pragma once
// The current colours and the drawing-state stack's depth; the saved entries, the table
// cursor and the line width outlive a reset (LastingState).

#include "pdf/core/Colors.h"

#include <cstdint>
#include <string>

namespace tavlo {

// The class's own drawing settings, saved by PushGraphicState. The font is kept as the
// record it was, not as a name to select again: a Mac-encoded font stays Mac-encoded and
// no font at all stays none.
struct StateEntry {
    double Scale = 1, CurrentX = 0, CurrentY = 0;
    std::string FillColor, FillColorAlt, LineColor, LineColorAlt, TextColor, TextColorAlt;
    std::string FontName, FontResource;
    std::int32_t FontStyle = 0, CurrentFont = 0;
    float FontSize = 0;
    float LineWidth = 0;  // points
};

// Which content stream PutContent writes to.
enum class ContentTarget { None, Page, Object, Tiling };

// A table's cursor, in user units: the top-left corner of the next cell.
struct TableCursor {
    float TableX = 0, TableY = 0;
    bool RowOpen = false, ColumnOpen = false;
    float RowHeight = 0, ColumnWidth = 0;
    // The open row's (column's) top-left corner, where the cursor goes back to at its end.
    float BandX = 0, BandY = 0;
    bool Open = false;  // between BeginTable and EndTable
    ContentTarget Target = ContentTarget::None;  // the stream the table is drawn in
    std::int32_t SpacesBefore = 0;  // open spaces of that stream before the table's own
    std::int32_t CellSpaces = -1;   // ... before the open cell's; -1 when no cell is open
    std::int32_t DepthBefore = 0;   // StateDepth before the table's entry
};

struct DrawingState {
    std::string FillColor = "#FFFFFF", LineColor = "#000000", TextColor = "#000000";
    std::int32_t StateDepth = 0;  // saved drawing states
    ColorMemo Colors;             // colour texts already parsed
};

} // namespace tavlo
