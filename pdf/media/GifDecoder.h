#pragma once
// One image of a GIF file drawn into a canvas of the logical screen's size: palette indexes
// packed at 1, 2, 4 or 8 bits, bottom row first, with the frame's RGB colour table. The
// frame's graphic-control transparent index, when flagged, becomes the colour-key mask and
// fills the screen the frame does not cover.

#include "pdf/media/ImageFile.h"

namespace tavlo {

// frame: which image of the file, 1 for the first. Raises TavloError (nothing to write) for
// a file that is not a GIF, a screen past the pixel limit, no colour table or a frame the
// file does not reach; a frame whose data break off is returned with its damage.
RasterImage DecodeGif(const Bytes& file, std::int32_t frame);

} // namespace tavlo
