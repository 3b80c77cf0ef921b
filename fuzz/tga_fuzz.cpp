// The TGA decoder: RGB samples of exactly the announced size, alpha for every pixel or none,
// or the invalid-format error.

#include "fuzz/FuzzHarness.h"
#include "pdf/media/TgaDecoder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const tavlo::Bytes file(data, data + size);
    try {
        const tavlo::RasterImage tga = tavlo::DecodeTga(file);
        const std::size_t pixels = static_cast<std::size_t>(tga.width) * static_cast<std::size_t>(tga.height);
        if (tga.width <= 0 || tga.height <= 0 || tga.samples.size() != 3 * pixels ||
            (!tga.alpha.empty() && tga.alpha.size() != pixels))
            std::abort();
    } catch (const tavlo::TavloError&) {
    }
    return 0;
}
