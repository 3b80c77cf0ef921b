// The BMP decoder: a picture decodes to samples of exactly its announced size (and a full
// palette for indexed data) or raises the invalid-format error.

#include "fuzz/FuzzHarness.h"
#include "pdf/core/TavloError.h"
#include "pdf/media/BmpDecoder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const tavlo::Bytes file(data, data + size);
    try {
        const tavlo::DecodedBmp bmp = tavlo::DecodeBmp(file, size % 2 ? "#FFFFFF" : "");
        const std::size_t riga = (static_cast<std::size_t>(bmp.width) * bmp.bits + 7) / 8;
        if (bmp.width <= 0 || bmp.height <= 0 || bmp.samples.size() != riga * static_cast<std::size_t>(bmp.height))
            std::abort();
        if (bmp.bits <= 8 && bmp.palette.size() != 3 * (std::size_t{1} << bmp.bits))
            std::abort();
    } catch (const tavlo::TavloError&) {
    }
    return 0;
}
