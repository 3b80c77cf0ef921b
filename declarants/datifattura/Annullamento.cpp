#include "declarants/datifattura/Annullamento.h"

#include "declarants/datifattura/ControlloDichiarante.h"
#include "declarants/datifattura/ErroreDatiFattura.h"
#include "declarants/datifattura/FileUscita.h"
#include "declarants/datifattura/Linee.h"
#include "declarants/datifattura/Testata.h"
#include "declarants/datifattura/ValoriSchema.h"

#include <QDir>

namespace quercino::datifattura {

std::string TestoAnnullamento(const DatiDichiarante& d, const QString& idFile)
{
    std::string testo;
    ScriviIntestazione(testo, d, d.OPROG);
    Linee l(testo);
    l.Riga(0, "<ANN>");
    l.Valore(4, "IdFile", idFile);
    l.Riga(0, "</ANN>");
    l.Riga(0, "</ns2:DatiFattura>");
    return testo;
}

QString CreaAnnullamento(const DatiDichiarante& d, const QString& idFile, RichiesteScrittura& richieste)
{
    // The Agency's identifiers are at most 18 plain characters.
    if (!LatinoBase(idFile, 18)) {
        throw ErroreDatiFattura(QStringLiteral("L'ID FILE ") + idFile
                                + QStringLiteral(" non è valido: sono ammessi da 1 a 18 caratteri senza accenti."));
    }
    VerificaIntestazione(d);
    const QString percorso = richieste.ChiediFileXML(NomeFileDatiFattura(d, d.OPROG));
    if (percorso.isEmpty())
        return {};
    FileUscita file(percorso);
    file.Buffer() = TestoAnnullamento(d, idFile);
    file.Completa();
    try {
        richieste.AggiornaProgressivo();
    } catch (const ErroreDatiFattura& e) {
        // The file is there: the user must know it, and that its number is still the next one.
        throw ErroreDatiFattura(QStringLiteral("Il file ") + QDir::toNativeSeparators(percorso)
                                + QStringLiteral(" è stato creato, ma il progressivo non è stato aggiornato:\r\n")
                                + e.Messaggio());
    }
    return percorso;
}

} // namespace quercino::datifattura
