#pragma once
// Windows bitmaps read into the samples of an image object: palette indexes (1, 4, 8 bits)
// with their RGB palette, or RGB bytes for the direct-colour depths, bottom row first.
// Damaged or hostile files raise TavloError before anything is written; memory stays
// bounded by the file's size and a fixed pixel limit.

#include "pdf/media/ImageFile.h"

#include <string>

namespace tavlo {

// bits: 1, 4, 8 or 24.
using DecodedBmp = RasterImage;

// keyColour: the "#RRGGBB" form of the colour to leave transparent, or empty.
DecodedBmp DecodeBmp(const Bytes& file, const std::string& keyColour);

} // namespace tavlo
