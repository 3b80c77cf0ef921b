// The metafile player: the lines placed are nothing or one "q" ... "Q" group (see
// VectorHarness.h), whatever the file and the placement's size.

#include "fuzz/FuzzHarness.h"
#include "fuzz/VectorHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const tavlo::Bytes file(data, data + size);
    const float width = size % 3 == 0 ? 0 : 100, height = size % 5 == 0 ? 50 : 0;
    CheckVectorDrawing(tavlo::PlayWmfData(file, {10, 20, width, height, 72 / 25.4}));
    return 0;
}
