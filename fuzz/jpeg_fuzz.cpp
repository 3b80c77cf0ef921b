// The JPEG scanner: a file it accepts passes unchanged, with a size, one of the three
// colour spaces and an end-of-image marker; anything else raises the invalid-format error.

#include "fuzz/FuzzHarness.h"
#include "pdf/media/JpegScanner.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const tavlo::Bytes file(data, data + size);
    const std::uint8_t kEnd[] = {0xFF, 0xD9};
    try {
        const tavlo::RasterImage jpeg = tavlo::ScanJpeg(file);
        const int components = jpeg.bits / 8;
        const char* const spaces[] = {"", "DeviceGray", "", "DeviceRGB", "DeviceCMYK"};
        if (jpeg.samples != file || jpeg.width <= 0 || jpeg.height <= 0 || components < 1 || components > 4 ||
            jpeg.colourSpace != spaces[components] || jpeg.colourSpace.empty() ||
            std::search(file.begin(), file.end(), kEnd, kEnd + 2) == file.end())
            std::abort();
    } catch (const tavlo::TavloError&) {
    }
    return 0;
}
