// The workbook reader on XML parts packed into a valid zip, so that mutations reach the XML
// readers rather than stopping at the zip's checks. The input is a list of members, each
// its name, a NUL byte, its content and a NUL byte (XML holds no NUL).

#include "fuzz/FuzzHarness.h"
#include "fuzz/LetturaCartella.h"
#include "platform/sheets_fixture.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view testo(reinterpret_cast<const char*>(data), size);
    std::vector<std::pair<std::string, std::string>> membri;
    std::size_t inizio = 0;
    while (inizio < testo.size() && membri.size() < 64) {
        const std::size_t finenome = testo.find('\0', inizio);
        if (finenome == std::string_view::npos)
            break;
        std::size_t fine = testo.find('\0', finenome + 1);
        if (fine == std::string_view::npos)
            fine = testo.size();
        membri.emplace_back(std::string(testo.substr(inizio, finenome - inizio)),
                            std::string(testo.substr(finenome + 1, fine - finenome - 1)));
        inizio = fine + 1;
    }
    const std::string zip = sheets_fixture::Zip(membri);
    quercino::fuzz::LeggiZipECartella(quercino::fuzz::FileDiLavoro(
        reinterpret_cast<const std::uint8_t*>(zip.data()), zip.size(), ".xlsx"));
    return 0;
}
