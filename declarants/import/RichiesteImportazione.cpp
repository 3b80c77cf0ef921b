#include "declarants/import/RichiesteImportazione.h"

#include "app/core/DialoghiFile.h"
#include "app/core/Globals.h"
#include "declarants/datifattura/ErroreDatiFattura.h"

namespace quercino::importazione {

QString RichiesteImportazione::ChiediFileXML(const QString& nomeFile)
{
    SalvaConNome(nomeFile, QStringLiteral("XML"));
    return FileSalva;
}

bool RichiesteImportazione::ControlloDocumento(const QString& percorso)
{
    return quercino::ControlloDocumento(percorso);
}

int RichiesteImportazione::AggiornaProgressivo()
{
    const QString errore = sorgente_.AggiornaProgressivo();
    if (!errore.isEmpty())
        throw datifattura::ErroreDatiFattura(errore);
    return sorgente_.Dichiarante().OPROG;
}

} // namespace quercino::importazione
