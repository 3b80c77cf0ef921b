// The .xls reader on raw bytes: the compound file, the workbook's globals and every sheet
// read as the import reads them, with a small limit on the shared strings' memory. Every
// row must have the columns asked for, a row number of the format and cells within the
// limit of a cell.

#include "fuzz/FuzzHarness.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/XlsWorkbook.h"
#include "platform/sheets/XlsxSharedStrings.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr int Colonne = 40;
    const std::string percorso = quercino::fuzz::FileDiLavoro(data, size, ".xls");
    try {
        const quercino::sheets::XlsWorkbook cartella(QString::fromStdString(percorso), std::size_t{1} << 22);
        for (int foglio = 1; foglio <= cartella.NumeroFogli(); ++foglio) {
            (void)cartella.NomeFoglio(foglio);
            try {
                auto lettore = cartella.ApriFoglio(foglio, Colonne);
                quercino::sheets::SheetRow riga;
                while (lettore->Prossima(riga)) {
                    if (riga.Celle.size() != Colonne || riga.Numero < 1 || riga.Numero > 65536)
                        std::abort();
                    for (const QString& cella : riga.Celle)
                        if (cella.size() > quercino::sheets::MassimoCaratteriCella)
                            std::abort();
                }
            } catch (const quercino::sheets::SheetError&) {
            }
        }
    } catch (const quercino::sheets::SheetError&) {
    }
    return 0;
}
