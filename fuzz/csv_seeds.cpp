// CSV files as the import tests write them: each separator, CR LF and LF, quoted fields
// with separators, quotes and line breaks, a byte-order mark and Windows-1252 bytes.

#include "declarants/import/import_fixture.h"
#include "fuzz/FuzzHarness.h"

#include <fstream>
#include <iterator>

namespace quercino::fuzz {

bool GeneraSemi(const std::filesystem::path& cartella)
{
    const import_fixture::Righe righe = {
        import_fixture::Riga({{1, "01234567890"}, {3, "ALFA; \"BETA\" SRL"}, {11, "IT"}, {13, "TD01"},
                              {14, "15/01/2017"}, {15, "A1"}, {16, "100,50"}, {17, "22"}}),
        import_fixture::Riga({{2, "RSSMRA80A01H501U"}, {4, "MARIO\r\nSECONDA"}, {5, "ROSSI"}, {11, "IT"}}),
    };
    const std::string separatori = ";,\t|";
    bool scritti = true;
    int n = 0;
    for (const char separatore : separatori) {
        for (const std::string fine : {"\r\n", "\n"}) {
            const auto file = cartella / ("lavoro" + std::to_string(n));
            import_fixture::ScriviCsv(QString::fromStdString(file.string()), "FATTURE EMESSE", righe, separatore, fine);
            std::ifstream in(file, std::ios::binary);
            std::string byte(1, static_cast<char>(separatori.find(separatore)));
            byte.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            in.close();
            std::filesystem::remove(file);
            scritti = ScriviSeme(cartella, "righe" + std::to_string(n++) + ".csv", byte) && scritti;
            if (separatore == ';' && fine[0] == '\r') {
                scritti = ScriviSeme(cartella, "bom.csv", byte.substr(0, 1) + "\xEF\xBB\xBF" + byte.substr(1)) && scritti;
                scritti = ScriviSeme(cartella, "cp1252.csv", byte + "SOCIET\xC0;\x80;\"aperto") && scritti;
            }
        }
    }
    return scritti;
}

} // namespace quercino::fuzz
