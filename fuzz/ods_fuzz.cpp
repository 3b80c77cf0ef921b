// The OpenDocument spreadsheet reader. An input that begins as a zip does ("PK") is the .ods
// file as it comes (zip bombs, members missing or damaged); any other is the content.xml of
// a valid file, packed with its mimetype and manifest, so that mutations reach the XML
// reader rather than stopping at the zip's checks.

#include "fuzz/FuzzHarness.h"
#include "fuzz/LetturaCartella.h"
#include "platform/sheets_fixture.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view byte(reinterpret_cast<const char*>(data), size);
    if (byte.starts_with("PK")) {
        quercino::fuzz::LeggiZipECartella(quercino::fuzz::FileDiLavoro(data, size, ".ods"));
        return 0;
    }
    const std::string file = sheets_fixture::FoglioDiCalcolo(std::string(byte), false);
    quercino::fuzz::LeggiZipECartella(
        quercino::fuzz::FileDiLavoro(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), ".ods"));
    return 0;
}
