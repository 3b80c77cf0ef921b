#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"

namespace tavlo {

void Tavlo::ResetDocumentTables()
{
    TavloState& s = *s_;
    // Everything an earlier document left behind; the current font goes with its table.
    s.doc = DocumentTables();
    s.FontCount = s.CurrentFont = 0;
    s.RecordedCount = s.LayerCount = s.DestinationCount = s.BookmarkCount = 0;
    s.PageObjects.clear();
    s.PageKids.clear();
    s.DefaultTransition.clear();
    s.PageTransition.clear();
    s.DefaultDuration = s.PageDuration = 0;
    s.CurrentObject = 0;
    s.PageContent.Reset();
    s.ObjectContent.Reset();
    s.TilingContent.Reset();
    AddBookmark(s.InfoTitle, 0, 0, 0, 0, 0, 0, 0, std::string(), 0);
}

} // namespace tavlo
