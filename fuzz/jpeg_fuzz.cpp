// The JPEG scanner: a file it accepts passes unchanged, with a size and one of the three
// colour spaces; anything else raises the invalid-format error.

#include "fuzz/FuzzHarness.h"
#include "pdf/media/JpegScanner.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const tavlo::Bytes file(data, data + size);
    try {
        const tavlo::RasterImage jpeg = tavlo::ScanJpeg(file);
        const int components = jpeg.bits / 8;
        const char* const spaces[] = {"", "DeviceGray", "", "DeviceRGB", "DeviceCMYK"};
        if (jpeg.samples != file || jpeg.width <= 0 || jpeg.height <= 0 || components < 1 || components > 4 ||
            jpeg.colourSpace != spaces[components] || jpeg.colourSpace.empty())
            std::abort();
    } catch (const tavlo::TavloError&) {
    }
    return 0;
}
