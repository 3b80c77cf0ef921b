#pragma once
// Each tiling pattern and gradient is written twice: once for pages, once for recorded
// objects, whose content is drawn in the page's flipped space inside the margins; the colour
// setters choose by where they write.

#include <string>

namespace tavlo {

// The resource name of the pattern's twin for recorded objects.
std::string PatternTwinName(const std::string& name);

} // namespace tavlo
