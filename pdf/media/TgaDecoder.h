#pragma once
// Truevision TGA pictures (colour-mapped, true-colour and grey, plain or run-length
// encoded, either origin) read into RGB samples, bottom row first, with their alpha channel
// when it holds any pixel that is not fully opaque.

#include "pdf/media/ImageFile.h"

namespace tavlo {

// Raises TavloError for a type or depth not read, a width or height of 0, a picture past
// the pixel limit and pixel data that break off.
RasterImage DecodeTga(const Bytes& file);

} // namespace tavlo
