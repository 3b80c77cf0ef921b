#pragma once
// One distinct picture drawn in the document: its upper-cased path, frame and key colour
// are the lookup key; a zero pixel size means no image object was written for it.

#include <cstdint>
#include <string>

namespace tavlo {

struct ImageEntry {
    std::string Path;
    std::int32_t PixelWidth = 0;
    std::int32_t PixelHeight = 0;
    std::int16_t Frame = 0;
    std::string KeyColour;  // "#RRGGBB" of a BMP drawn with a key colour, else empty
};

} // namespace tavlo
