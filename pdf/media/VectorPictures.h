#pragma once
// Vector pictures turned into content lines: Windows metafiles played record by record,
// EPS and Illustrator files read as PostScript. Both are pure functions over the file's
// bytes; the Tavlo members put the lines into the content target and record the error.

#include "pdf/core/Bytes.h"
#include "pdf/core/TavloError.h"

#include <optional>
#include <string>

namespace tavlo {

// The placement box: top-left corner and size in user units (a size of 0 is derived from
// the picture), and the document's points per user unit.
struct VectorPlacement {
    float x = 0, y = 0, width = 0, height = 0;
    double scale = 1;
};

// lines: the content lines separated by CR, "q" first and "Q" last, or empty when nothing
// could be placed. error: the last error met; what followed it was still played.
struct VectorDrawing {
    std::string lines;
    std::optional<TavloError> error;

    void Add(const std::string& line)
    {
        if (!lines.empty())
            lines += '\r';
        lines += line;
    }
};

VectorDrawing PlayWmfData(const Bytes& file, const VectorPlacement& place);
VectorDrawing ImportEpsData(const Bytes& file, const VectorPlacement& place);

} // namespace tavlo
