#include "declarants/import/SelezioneImportazione.h"

#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/core/Percorsi.h"
#include "platform/db/Database.h"

namespace quercino::importazione {

RichiestaFile RichiestaApertura(TipoFile tipo)
{
    const QString t = tipo == TipoFile::Excel ? QStringLiteral("XLS") : QStringLiteral("CSV");
    RichiestaFile richiesta;
    richiesta.titolo = QStringLiteral("Indica l'archivio ") + t + QStringLiteral(" da importare");
    // Until a folder was used in this run, the user's documents, never the program's folder.
    richiesta.cartella = UltimaCartella.isEmpty() ? CartellaDocumenti() : UltimaCartella;
    // Workbooks: every kind read (.xlsx, .xlsm, .xlsb, .xls and the OpenDocument .ods).
    richiesta.filtri << (tipo == TipoFile::Excel ? QStringLiteral("File XLS* e ODS (*.xls* *.XLS* *.ods *.ODS)")
                                                 : QStringLiteral("File CSV* (*.csv* *.CSV*)"))
                     << QStringLiteral("Tutti i Files (*)");
    return richiesta;
}

std::vector<EsitoImportazione> SelIMPORTA(TipoFile tipo, const QString& separatore, SorgenteDichiarante& sorgente,
                                          const Avanzamento& avanzamento)
{
    std::vector<EsitoImportazione> esiti;
    if (tipo == TipoFile::Csv && separatore.isEmpty()) {
        MsgBox(QStringLiteral("Indicare il carattere separatore dei campi del file CSV."), Pulsanti::Ok, Icona::Attenzione,
               QStringLiteral("Lettura CSV"));
        return esiti;
    }
    const QStringList file = ServizioDialoghiAttivo().ChiediApertura(RichiestaApertura(tipo), true);
    if (file.isEmpty())
        return esiti;
    LogImportazione log(CartellaDi(file.first()));
    Importazione importazione(sorgente, log, avanzamento);
    for (const QString& percorso : file) {
        UltimaCartella = CartellaDi(percorso);
        esiti.push_back(importazione.Importa(percorso, tipo, separatore));
        // The archive stayed locked past the limit and the user was told: the import ends.
        if (Database::lockWaitGivenUp())
            break;
    }
    return esiti;
}

} // namespace quercino::importazione
