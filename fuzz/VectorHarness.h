#pragma once
// What the content lines of a vector picture must be, whatever the file: nothing, or "q"
// first, "Q" last and neither in between (the page's state is restored), and no number the
// writer cannot write.

#include "pdf/media/VectorPictures.h"

#include <cstdlib>
#include <string_view>

inline void CheckVectorDrawing(const tavlo::VectorDrawing& drawing)
{
    const std::string_view lines = drawing.lines;
    if (lines.empty())
        return;
    if (lines.size() < 3)
        std::abort();
    const std::string_view inside = lines.substr(1, lines.size() - 2);  // each inner line between CRs
    if (lines.substr(0, 2) != "q\r" || lines.substr(lines.size() - 2) != "\rQ" ||
        inside.find("\rQ\r") != std::string_view::npos || inside.find("\rq\r") != std::string_view::npos ||
        lines.find("inf") != std::string_view::npos || lines.find("nan") != std::string_view::npos)
        std::abort();
}
