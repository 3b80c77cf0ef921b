// The zip and workbook readers on raw bytes: the file as it comes.

#include "fuzz/FuzzHarness.h"
#include "fuzz/LetturaCartella.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    quercino::fuzz::LeggiZipECartella(quercino::fuzz::FileDiLavoro(data, size, ".xlsx"));
    return 0;
}
