#include "pdf/Tavlo.h"

#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"

namespace tavlo {

// Rows, columns and cells act only inside an open table, in the stream it is drawn in:
// outside it their cursor would be a stale one, and an end without its begin would pop a
// state or close a space that belongs to someone else. A table begun while another is open
// lies inside it (in its cell, when one is open): the outer one is set aside, whole, until the
// inner one ends.

void Tavlo::BeginTable(float x, float y)
{
    TavloState& s = *s_;
    TableCursor& table = s.Table;
    if (table.Open)
        s.OuterTables.push_back(table);
    table.TableX = x;
    table.TableY = y;
    SetXY(x, y);
    table.DepthBefore = s.StateDepth;
    PushGraphicState();
    table.RowOpen = table.ColumnOpen = false;
    table.Target = ActiveTarget();
    const std::int32_t* open = OpenSpaces(table.Target);
    table.SpacesBefore = open ? *open : 0;
    table.CellSpaces = -1;
    table.Open = true;
    OpenSpace(std::string());
}

void Tavlo::EndTable()
{
    TavloState& s = *s_;
    TableCursor& table = s.Table;
    if (!table.Open || table.Target != ActiveTarget())
        return;
    CloseSpacesTo(table.SpacesBefore);
    // Rows or columns left open are dropped; the table's own entry comes back.
    if (s.StateDepth > table.DepthBefore + 1)
        s.StateDepth = table.DepthBefore + 1;
    table.Open = table.RowOpen = table.ColumnOpen = false;
    table.CellSpaces = -1;
    PopGraphicState();
    ResumeOuterTable();
}

void Tavlo::ResumeOuterTable()
{
    TavloState& s = *s_;
    if (s.OuterTables.empty())
        return;
    s.Table = s.OuterTables.back();
    s.OuterTables.pop_back();
}

void Tavlo::BeginCell(float width, float height)
{
    TavloState& s = *s_;
    TableCursor& table = s.Table;
    // The cell's lines are made first: a number no reader takes raises before the cell opens.
    const float lw = s.LineWidth;
    const auto scale = static_cast<float>(s.Scale);
    const std::string background = PdfNumber(lw / 2) + " " + PdfNumber(lw / 2) + " " +
                                   PdfScaledNumber(width - lw / scale) + " " + PdfScaledNumber(height - lw / scale) +
                                   " re f*";
    const std::string border = "0 0 " + PdfScaledNumber(width) + " " + PdfScaledNumber(height) + " re S";
    PdfScaledNumber(table.TableX);
    PdfScaledNumber(table.TableY);
    // A cell not ended would hold the next one, whose origin would then be moved twice.
    EndCell();
    const std::int32_t* open = OpenSpaces(table.Target);
    table.CellSpaces = open ? *open : 0;
    BeginSpace(table.TableX, table.TableY, 1, 1, 0);
    if (!s.FillColor.empty())
        PutContent(background);
    if (lw > 0)
        PutContent(border);
}

void Tavlo::EndCell()
{
    TableCursor& table = s_->Table;
    if (table.CellSpaces < 0)
        return;
    CloseSpacesTo(table.CellSpaces);
    table.CellSpaces = -1;
}

void Tavlo::BeginRow(float height)
try {
    BeginRowOrColumn(true, height);
} catch (...) {
    RaiseRecorded("BeginRow");
}

void Tavlo::EndRow()
{
    EndRowOrColumn(true);
}

void Tavlo::BeginColumn(float width)
try {
    BeginRowOrColumn(false, width);
} catch (...) {
    RaiseRecorded("BeginColumn");
}

void Tavlo::EndColumn()
{
    EndRowOrColumn(false);
}

void Tavlo::BeginRowOrColumn(bool row, float size)
{
    TableCursor& table = s_->Table;
    if (!table.Open || table.Target != ActiveTarget())
        return;
    // Inside a column a row is a cell, and the other way round.
    if (row ? table.ColumnOpen : table.RowOpen) {
        BeginCell(row ? table.ColumnWidth : size, row ? size : table.RowHeight);
        (row ? table.TableY : table.TableX) += size;
        return;
    }
    bool& open = row ? table.RowOpen : table.ColumnOpen;
    if (open)
        EndRowOrColumn(row);
    (row ? table.RowHeight : table.ColumnWidth) = size;
    table.BandX = table.TableX;
    table.BandY = table.TableY;
    PushGraphicState();
    open = true;
}

void Tavlo::EndRowOrColumn(bool row)
{
    TableCursor& table = s_->Table;
    if (!table.Open || table.Target != ActiveTarget())
        return;
    bool& open = row ? table.RowOpen : table.ColumnOpen;
    if (open) {
        // The cursor comes back to the row's (column's) own corner, whatever moved the
        // position since: below the row, or right of the column.
        EndCell();
        PopGraphicState();
        table.TableX = table.BandX + (row ? 0 : table.ColumnWidth);
        table.TableY = table.BandY + (row ? table.RowHeight : 0);
        if (row)
            SetXY(table.TableX, table.TableY);
    } else if (row ? table.ColumnOpen : table.RowOpen) {
        EndCell();
    }
    open = false;
}

} // namespace tavlo
