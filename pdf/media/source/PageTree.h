#pragma once
// The pages of a source file in document order, and what a page inherits from the nodes
// above it. Both walks remember the objects they have seen, so a tree or /Parent chain that
// loops back ends instead of running on.

#include "pdf/media/source/SourceDocument.h"

#include <string_view>
#include <vector>

namespace tavlo::source {

// The page objects below the catalog's /Pages, depth first. A node is a /Pages dictionary
// or, without /Type, one with /Kids; a page is a /Page dictionary or, without /Type, one
// without /Kids. Anything else, and any object seen before, is skipped. A catalog without
// /Pages, and a tree that closes in a circle with no page in it, are the invalid-format error.
std::vector<ObjectId> WalkPageTree(const SourceDocument& document);

// The key's value in the page or, failing that, in the nearest node up its /Parent chain
// that has it, references resolved; null when none has it.
PdfValue InheritedValue(const SourceDocument& document, const PdfValue& page, std::string_view key);

struct PageGeometry {
    // The visible region in the page's own space: the crop box within the media box.
    double left = 0, bottom = 0, right = 0, top = 0;
    int rotate = 0;  // 0, 90, 180 or 270, clockwise as shown
    // The size as shown, rotation applied.
    double ShownWidth() const { return rotate % 180 == 0 ? right - left : top - bottom; }
    double ShownHeight() const { return rotate % 180 == 0 ? top - bottom : right - left; }
};

// The page's boxes and rotation; a missing or empty media box is the invalid-format error.
PageGeometry ReadPageGeometry(const SourceDocument& document, const PdfValue& page);

} // namespace tavlo::source
