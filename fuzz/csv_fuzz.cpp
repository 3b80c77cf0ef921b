// The CSV reader: the first byte picks the separator the user would have typed, the rest
// is the file.

#include "fuzz/FuzzHarness.h"
#include "platform/sheets/CsvReader.h"
#include "platform/sheets/SheetError.h"

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const std::array<QString, 5> separatori = {QStringLiteral(";"), QStringLiteral(","), QStringLiteral("\t"),
                                                      QStringLiteral("|"), QStringLiteral("||")};
    const QString& separatore = separatori[data[0] % separatori.size()];
    const std::string percorso = quercino::fuzz::FileDiLavoro(data + 1, size - 1, ".csv");
    try {
        quercino::sheets::CsvReader lettore(QString::fromStdString(percorso), separatore);
        quercino::sheets::SheetRow riga;
        while (lettore.Prossima(riga)) {}
    } catch (const quercino::sheets::SheetError&) {
    }
    return 0;
}
