#pragma once
// What a reset (Abort) leaves as it is: the instance's output file, storage that later
// documents reuse, and what callers may still read of the last one.

#include "pdf/core/ImageEntry.h"
#include "pdf/core/OutputFile.h"
#include "pdf/core/state/DrawingState.h"

#include <string>
#include <vector>

namespace tavlo {

struct LastingState {
    OutputFile file;  // Abort drops an unfinished document; the earlier file stays

    // Images[0 .. ImageCount - 1]; records past ImageCount are stale ones of an earlier
    // document, trimmed by the next DrawImage.
    std::vector<ImageEntry> Images;

    // Saved drawing states: entries 0 .. StateDepth - 1 are in use, the storage is reused.
    std::vector<StateEntry> StateStack;
    TableCursor Table;  // a reset leaves the cursor where it was
    // The tables around the open one (begun in one of its cells), the innermost last: each
    // comes back as it was when the table inside it ends.
    std::vector<TableCursor> OuterTables;

    float LineWidth = 0;  // points, as the line-width setter stored it (note box borders)

    std::string LastErrSource, LastErrDescription;
};

} // namespace tavlo
