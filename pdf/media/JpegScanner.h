#pragma once
// JPEG files pass into the PDF file unchanged (DCT data): only the frame header is read for
// the size and the components, and an Adobe marker for CMYK data stored inverted.

#include "pdf/media/ImageFile.h"

namespace tavlo {

// samples: the whole file; bits: components × 8. Raises TavloError for a file without a
// start-of-image marker or frame header, for one whose data end before the end-of-image
// marker, and for data no PDF reader decodes: a height given later (DNL), a width of 0,
// 12-bit samples, a component count other than 1, 3 or 4.
RasterImage ScanJpeg(const Bytes& file);

} // namespace tavlo
