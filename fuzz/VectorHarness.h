#pragma once
// What the content lines of a vector picture must be, whatever the file: nothing, or "q"
// first and "Q" last, every state the lines save restored in between, never the page's own
// (the page's state is restored), and no number the writer cannot write.

#include "pdf/media/VectorPictures.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

inline void CheckVectorDrawing(const tavlo::VectorDrawing& drawing)
{
    const std::string_view lines = drawing.lines;
    if (lines.empty())
        return;
    if (lines.size() < 3 || lines.substr(0, 2) != "q\r" || lines.substr(lines.size() - 2) != "\rQ" ||
        lines.find("inf") != std::string_view::npos || lines.find("nan") != std::string_view::npos)
        std::abort();
    long saved = 0;
    for (std::size_t at = 0; at < lines.size();) {
        const std::size_t end = std::min(lines.find_first_of(" \r", at), lines.size());
        const std::string_view token = lines.substr(at, end - at);
        saved += token == "q" ? 1 : token == "Q" ? -1 : 0;
        if (saved < 0 || (saved == 0 && end != lines.size()))
            std::abort();
        at = end + 1;
    }
    if (saved != 0)
        std::abort();
}
