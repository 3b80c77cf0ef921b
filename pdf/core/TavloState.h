#pragma once
// Everything one Tavlo instance knows, in parts by concern (pdf/core/state). Each part
// declares its fields with their defaults, and that is the one place a default is written:
// Abort renews DocumentState as a whole and leaves LastingState as it is.
//
// A new field goes, with its default, into the part of its concern, or into LastingState
// when a reset must keep it; nothing else needs to change. Where the state still to come
// belongs: the drawing-state stack and the table cursor in DrawingState, text-box state in
// TextState, TrueType fonts in DocumentTables' font records, image kinds in ImageEntry,
// source PDF files beside their counts in ResourceState; what of them a reset keeps (a
// table's storage, a cursor) in LastingState instead.
//
// The parts are bases rather than members so that each field keeps its own name
// (s.PageWidth, s.FillColor) in every member of the class.

#include "pdf/core/state/ContentTargets.h"
#include "pdf/core/state/DocumentInfo.h"
#include "pdf/core/state/DrawingState.h"
#include "pdf/core/state/ErrorState.h"
#include "pdf/core/state/InteractiveState.h"
#include "pdf/core/state/LastingState.h"
#include "pdf/core/state/OutputState.h"
#include "pdf/core/state/PageState.h"
#include "pdf/core/state/ResourceState.h"
#include "pdf/core/state/SecurityState.h"
#include "pdf/core/state/TextState.h"
#include "pdf/core/state/WriterSettings.h"

namespace tavlo {

// What one document uses; a fresh one is the state of a new document.
struct DocumentState : OutputState,
                       DocumentInfo,
                       PageState,
                       ContentTargets,
                       TextState,
                       DrawingState,
                       ResourceState,
                       InteractiveState,
                       SecurityState,
                       WriterSettings,
                       ErrorState {};

struct TavloState : DocumentState, LastingState {};

// Puts one part of the state back to its defaults.
template <class Part>
void Renew(Part& part)
{
    part = Part();
}

} // namespace tavlo
