// The GIF decoder: a frame decodes to a canvas of exactly the screen's size at its index
// depth, with a full palette, or raises the invalid-format error.

#include "fuzz/FuzzHarness.h"
#include "pdf/media/GifDecoder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const tavlo::Bytes file(data, data + size);
    try {
        const tavlo::RasterImage gif = tavlo::DecodeGif(file, static_cast<std::int16_t>(1 + size % 3));
        const std::size_t row = (static_cast<std::size_t>(gif.width) * gif.bits + 7) / 8;
        if (gif.width <= 0 || gif.height <= 0 || gif.samples.size() != row * static_cast<std::size_t>(gif.height) ||
            gif.palette.size() != 3 * (std::size_t{1} << gif.bits))
            std::abort();
    } catch (const tavlo::TavloError&) {
    }
    return 0;
}
