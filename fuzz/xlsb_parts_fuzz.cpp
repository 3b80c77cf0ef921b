// The .xlsb reader on the binary parts of a workbook packed into a valid zip with the
// package's own parts (relationships, content types) as the tests' writer makes them, so
// that mutations reach the record readers rather than stopping at the zip's checks. The
// input is the parts in order, workbook, shared strings, styles, first and second sheet,
// each its length (4 bytes, little-endian) then its bytes; a missing one stays as written
// for an empty workbook, a length past the input takes the rest.

#include "fuzz/FuzzHarness.h"
#include "fuzz/LetturaCartella.h"
#include "platform/sheets_fixture.h"
#include "support/scrittore_xlsb.h"

namespace {

const char* const Parti[] = {"xl/workbook.bin", "xl/sharedStrings.bin", "xl/styles.bin", "xl/worksheets/sheet1.bin",
                             "xl/worksheets/sheet2.bin"};

std::vector<std::pair<std::string, std::string>> CartellaVuota()
{
    std::vector<std::pair<std::string, std::string>> membri;
    quercino::test::ScrittoreXlsb w([&](const std::string& nome) { membri.emplace_back(nome, std::string()); },
                                    [&](std::string_view byte) { membri.back().second += byte; });
    w.Foglio("Emesse");
    w.Foglio("Ricevute");
    w.Chiudi();
    return membri;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const auto vuota = CartellaVuota();
    auto membri = vuota;
    const std::string_view ingresso(reinterpret_cast<const char*>(data), size);
    std::size_t pos = 0;
    for (const char* parte : Parti) {
        if (pos + 4 > ingresso.size())
            break;
        std::size_t lunghezza = 0;
        for (int i = 3; i >= 0; --i)
            lunghezza = (lunghezza << 8) | static_cast<std::uint8_t>(ingresso[pos + static_cast<std::size_t>(i)]);
        pos += 4;
        lunghezza = std::min(lunghezza, ingresso.size() - pos);
        for (auto& [nome, dati] : membri)
            if (nome == parte)
                dati = std::string(ingresso.substr(pos, lunghezza));
        pos += lunghezza;
    }
    const std::string zip = sheets_fixture::Zip(membri, false);
    quercino::fuzz::LeggiZipECartella(quercino::fuzz::FileDiLavoro(
        reinterpret_cast<const std::uint8_t*>(zip.data()), zip.size(), ".xlsb"));
    return 0;
}
