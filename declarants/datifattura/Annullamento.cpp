#include "declarants/datifattura/Annullamento.h"

#include "declarants/datifattura/ControlloDichiarante.h"
#include "declarants/datifattura/ErroreDatiFattura.h"
#include "declarants/datifattura/FileUscita.h"
#include "declarants/datifattura/Linee.h"
#include "declarants/datifattura/Testata.h"
#include "declarants/datifattura/ValoriSchema.h"

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
    // The number is taken before the name is proposed, and given back when no file is made.
    DatiDichiarante dati = d;
    dati.OPROG = richieste.PrendiProgressivo();
    QString percorso;
    try {
        percorso = richieste.ChiediFileXML(NomeFileDatiFattura(dati, dati.OPROG));
        if (!percorso.isEmpty()) {
            FileUscita file(percorso);
            file.Buffer() = TestoAnnullamento(dati, idFile);
            file.Completa();
        }
    } catch (...) {
        richieste.RestituisciSenzaErrori(dati.OPROG);
        throw;
    }
    if (percorso.isEmpty())
        richieste.RestituisciSenzaErrori(dati.OPROG);
    return percorso;
}

} // namespace quercino::datifattura
