// The backup reader with its value conversion: the first-line check and the declarants
// listed for the restore question, then every line read, unscrambled, split, checked and
// converted as the restore's first pass does, in both database modes (no database is
// touched).

#include "app/backup/LeggiBackup.h"
#include "app/backup/Ripristino.h"
#include "app/backup/SoggettiBackup.h"
#include "fuzz/FuzzHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        quercino::LettoreBackup lettore = quercino::LettoreBackup::DaFile(
            QString::fromStdString(quercino::fuzz::FileDiLavoro(data, size, ".VEKO")));
        (void)quercino::DomandaRipristinoPer(quercino::ElencaSoggetti(lettore));
    } catch (const quercino::ErroreBackup&) {
    }
    try {
        quercino::LettoreBackup lettore(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
        for (const char* tipoDb : {"M", "S"}) {
            quercino::EsitoRipristino esito;
            (void)quercino::PreparaRipristino(lettore, QString::fromLatin1(tipoDb), esito);
        }
    } catch (const quercino::ErroreBackup&) {
    }
    return 0;
}
