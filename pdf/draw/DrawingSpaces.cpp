#include "pdf/Tavlo.h"

#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"

namespace tavlo {

ContentTarget Tavlo::ActiveTarget() const
{
    const TavloState& s = *s_;
    return s.InObject ? ContentTarget::Object
           : s.InTiling ? ContentTarget::Tiling
           : s.InPage  ? ContentTarget::Page
                       : ContentTarget::None;
}

std::int32_t* Tavlo::OpenSpaces(ContentTarget target)
{
    TavloState& d = *s_;
    switch (target) {
    case ContentTarget::Page: return &d.PageSpaces;
    case ContentTarget::Object: return &d.ObjectSpaces;
    case ContentTarget::Tiling: return &d.TilingSpaces;
    default: return nullptr;
    }
}

void Tavlo::OpenSpace(const std::string& transform)
{
    PutContent("q");
    if (std::int32_t* open = OpenSpaces(ActiveTarget()))
        ++*open;
    if (!transform.empty())
        PutContent(transform);
}

void Tavlo::CloseSpacesTo(std::int32_t count)
{
    std::int32_t* open = OpenSpaces(ActiveTarget());
    for (; open && *open > count; --*open)
        PutContent("Q");
}

void Tavlo::CloseSpacesAtEnd(ContentTarget target)
{
    TavloState& s = *s_;
    TableCursor& table = s.Table;
    // Tables left open end with their stream, the innermost first: the settings saved by the
    // outermost come back unwritten. Those under a table of another stream are forgotten.
    while (table.Open && table.Target == target) {
        if (s.StateDepth > table.DepthBefore) {
            const StateEntry entry = s.StateStack[static_cast<std::size_t>(table.DepthBefore)];
            s.StateDepth = table.DepthBefore;
            RestoreDrawingState(entry, false);
        }
        table.Open = table.RowOpen = table.ColumnOpen = false;
        table.CellSpaces = -1;
        ResumeOuterTable();
    }
    std::erase_if(s.OuterTables, [target](const TableCursor& outer) { return outer.Target == target; });
    std::int32_t* open = OpenSpaces(target);
    StringBuffer& content = target == ContentTarget::Object   ? s.ObjectContent
                            : target == ContentTarget::Tiling ? s.TilingContent
                                                              : s.PageContent;
    for (; open && *open > 0; --*open)
        content.Append("\rQ");
}

void Tavlo::BeginSpace(float newX, float newY, float scaleX, float scaleY, float angle)
try {
    std::string transform;
    if (newX != 0 || newY != 0 || scaleX != 1 || scaleY != 1)
        transform = PdfNumber(scaleX) + " 0 0 " + PdfNumber(scaleY) + " " + PdfScaledNumber(newX) + " " +
                    PdfScaledNumber(newY) + " cm";
    OpenSpace(transform);
    if (angle != 0)
        AxisRotation(angle);
    SetXY(0, 0);
} catch (...) {
    RaiseRecorded("BeginSpace");
}

void Tavlo::EndSpace()
{
    // A space cannot end the open cell or table around it; a "Q" with nothing open would
    // undo the page's own transformation.
    const TableCursor& table = s_->Table;
    std::int32_t floor = 0;
    if (table.Open && table.Target == ActiveTarget())
        floor = (table.CellSpaces >= 0 ? table.CellSpaces : table.SpacesBefore) + 1;
    const std::int32_t* open = OpenSpaces(ActiveTarget());
    if (open && *open > floor)
        CloseSpacesTo(*open - 1);
}

} // namespace tavlo
