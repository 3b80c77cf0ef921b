#pragma once
// The pages of a source file in document order, and what a page inherits from the nodes
// above it.

#include "pdf/media/source/SourceDocument.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tavlo::source {

// The /Kids entries a walk examines, and the values it keeps of the nodes it has read, at
// most: a page tree is listed in full, so a tree that names its nodes again and again (each
// listed twice, twenty levels deep) is refused before it costs time and memory.
constexpr std::size_t kMaxPageTreeEntries = std::size_t{1} << 20;

// Where a page stands: the object that holds it and, for a page written out as a dictionary
// inside /Kids, the places that lead to it through the /Kids of that object and of the nodes
// written out below it. An empty path: the object is the page.
struct PageLocation {
    ObjectId object;
    std::vector<std::uint32_t> kids;
};

// The page objects below the catalog's /Pages, depth first. A node is a /Pages dictionary
// or, without /Type, one with /Kids; a page is a /Page dictionary or, without /Type, one
// without /Kids; either may be an object or written out in /Kids. A page listed twice counts
// twice. A kid that is one of its own ancestors is passed over, as viewers do; a tree with no
// page besides such a circle, a catalog without /Pages, a kid that cannot be read or is
// neither a page nor a node, and a tree past kMaxPageTreeEntries are the invalid-format error.
std::vector<PageLocation> WalkPageTree(const SourceDocument& document);

// A page's dictionary with the nodes written out around it, innermost first, ending with the
// object that holds them (none for a page that is an object of its own).
struct PageInTree {
    PdfValue page;
    std::vector<PdfValue> enclosing;
};

// The page at a location; one no longer there is the invalid-format error.
PageInTree LoadPage(const SourceDocument& document, const PageLocation& location);

// The key's value in the page or, failing that, in the nearest node above it that has it (the
// nodes it is written out in, then the /Parent chain), references resolved; null when none has it.
PdfValue InheritedValue(const SourceDocument& document, const PageInTree& page, std::string_view key);

struct PageGeometry {
    // The visible region in the page's own space: the crop box within the media box.
    double left = 0, bottom = 0, right = 0, top = 0;
    int rotate = 0;  // 0, 90, 180 or 270, clockwise as shown
    // The size as shown, rotation applied.
    double ShownWidth() const { return rotate % 180 == 0 ? right - left : top - bottom; }
    double ShownHeight() const { return rotate % 180 == 0 ? top - bottom : right - left; }
};

// The page's boxes and rotation; a missing or empty media box is the invalid-format error.
PageGeometry ReadPageGeometry(const SourceDocument& document, const PageInTree& page);

} // namespace tavlo::source
