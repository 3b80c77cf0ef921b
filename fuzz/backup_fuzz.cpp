// The backup reader with its value conversion: the first-line check, then every line read,
// unscrambled and split, and its values converted for its table as a restore would, in
// both database modes (no database is touched).

#include "app/backup/LeggiBackup.h"
#include "app/backup/ValoriRipristino.h"
#include "app/core/Schema.h"
#include "fuzz/FuzzHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString percorso = QString::fromStdString(quercino::fuzz::FileDiLavoro(data, size, ".VEKO"));
    try {
        (void)quercino::ControllaFileBackup(percorso);
        const quercino::FileBackupLetto letto = quercino::LeggiFileBackup(percorso);
        for (const quercino::RigaBackupLetta& riga : letto.righe) {
            for (const quercino::Table* tabella : quercino::schema::tabelle()) {
                if (riga.campi.value(1) != tabella->name)
                    continue;
                for (const char* tipoDb : {"M", "S"})
                    (void)quercino::ConvertiRiga(*tabella, riga.campi, QString::fromLatin1(tipoDb));
            }
        }
    } catch (const quercino::ErroreBackup&) {
    }
    return 0;
}
