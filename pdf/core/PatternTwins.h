#pragma once
// Tiling patterns and gradients are drawn in the drawing members' space, whose origin is the
// top-left corner inside the margins. A pattern object holds that origin in its matrix, so
// each is written for the page it was made on, once more for recorded objects (drawn in the
// page's flipped space already), and again for a page whose origin lies elsewhere.

#include "pdf/core/DocumentTables.h"

#include <string>

namespace tavlo {

// The resource name of the pattern's twin for recorded objects.
std::string PatternTwinName(const std::string& name);

// The origin of the drawing members on a page, as the key of a pattern written for it:
// the left margin and the page height less the top margin, in points.
std::string PatternFrame(double marginLeft, double top);

// The matrix that puts a pattern's space at that origin.
std::string PatternPageMatrix(const PatternRecipe& recipe, double marginLeft, double top);

} // namespace tavlo
