#include "declarants/datifattura/ControlloDichiarante.h"

#include "declarants/datifattura/ErroreDatiFattura.h"
#include "declarants/datifattura/Formati.h"
#include "declarants/datifattura/ValoriSchema.h"

namespace quercino::datifattura {

namespace {

class Elenco {
public:
    QStringList righe;

    void Se(bool errato, const QString& campo, const QString& valore)
    {
        if (!errato)
            return;
        righe << (valore.isEmpty() ? campo + QLatin1String(": * VUOTO *")
                                   : campo + QLatin1String(": ") + valore + QLatin1String(" Valore non corretto"));
    }

    void Facoltativo(const QString& campo, const QString& valore, bool valido)
    {
        Se(!valore.isEmpty() && !valido, campo, valore);
    }

    void Obbligatorio(const QString& campo, const QString& valore, bool valido)
    {
        Se(valore.isEmpty() || !valido, campo, valore);
    }
};

} // namespace

namespace {

void Intestazione(Elenco& e, const DatiDichiarante& d)
{
    e.Obbligatorio(QStringLiteral("Nazione"), d.OSPAESE, DueLettere(d.OSPAESE));
    e.Obbligatorio(QStringLiteral("Codice Fiscale"), d.OCF, CodiceFiscaleValido(d.OCF));
    e.Se(d.OPROG < 1 || d.OPROG > 99999, QStringLiteral("Progressivo"), QString::number(d.OPROG));
    if (!d.ODICPIVA.isEmpty()) {
        e.Facoltativo(QStringLiteral("Codice Fiscale Dichiarante"), d.ODICPIVA, CodiceFiscaleValido(d.ODICPIVA));
        bool numero = false;
        const int carica = d.ODICCARICA.toInt(&numero);
        e.Obbligatorio(QStringLiteral("Carica Dichiarante"), d.ODICCARICA,
                       numero && SoloCifre(d.ODICCARICA) && carica >= 1 && carica <= 15);
    }
}

void Segnala(const QStringList& righe)
{
    if (!righe.isEmpty()) {
        throw ErroreDatiFattura(QStringLiteral("Dati del soggetto obbligato non validi per il file XML:\r\n")
                                + righe.join(QLatin1String("\r\n")));
    }
}

} // namespace

QStringList ControllaIntestazione(const DatiDichiarante& d)
{
    Elenco e;
    Intestazione(e, d);
    return e.righe;
}

QStringList ControllaDichiarante(const DatiDichiarante& d)
{
    Elenco e;
    Intestazione(e, d);
    e.Obbligatorio(QStringLiteral("Partita Iva"), d.OPIVA, LatinoBase(d.OPIVA, 11));
    if (d.OPF) {
        e.Facoltativo(QStringLiteral("Nome"), d.ONOME, Latino1(d.ONOME, 60));
        e.Facoltativo(QStringLiteral("Cognome"), d.OCOG, Latino1(d.OCOG, 60));
    } else {
        e.Facoltativo(QStringLiteral("Denominazione"), d.ORAG, Latino1(d.ORAG, 80));
    }
    e.Facoltativo(QStringLiteral("Sede - Indirizzo"), d.OSINDI, Latino1(d.OSINDI, 60));
    e.Facoltativo(QStringLiteral("Sede - Numero Civico"), d.OSNUMC, LatinoBase(d.OSNUMC, 8));
    e.Facoltativo(QStringLiteral("Sede - CAP"), d.OSCAP, LatinoBase(d.OSCAP, 5));
    e.Facoltativo(QStringLiteral("Sede - Comune"), d.OSCOM, Latino1(d.OSCOM, 60));
    e.Facoltativo(QStringLiteral("Sede - Provincia"), d.OSPRO, DueLettere(d.OSPRO));
    if (!d.OSOINDI.isEmpty()) {
        e.Facoltativo(QStringLiteral("Stabile Organizzazione - Indirizzo"), d.OSOINDI, Latino1(d.OSOINDI, 60));
        e.Facoltativo(QStringLiteral("Stabile Organizzazione - Numero Civico"), d.OSONUMC, LatinoBase(d.OSONUMC, 8));
        const QString cap = CapPerNazione(d.OSOCAP, d.OSOPAESE);
        e.Facoltativo(QStringLiteral("Stabile Organizzazione - CAP"), cap, LatinoBase(cap, 5));
        e.Facoltativo(QStringLiteral("Stabile Organizzazione - Comune"), d.OSOCOM, Latino1(d.OSOCOM, 60));
        e.Facoltativo(QStringLiteral("Stabile Organizzazione - Provincia"), d.OSOPRO, DueLettere(d.OSOPRO));
        e.Facoltativo(QStringLiteral("Stabile Organizzazione - Nazione"), d.OSOPAESE, DueLettere(d.OSOPAESE));
    }
    if (!d.ORFPIVA.isEmpty()) {
        e.Facoltativo(QStringLiteral("Rappresentante Fiscale - Partita Iva"), d.ORFPIVA, LatinoBase(d.ORFPIVA, 11));
        if (d.ORFPF) {
            e.Facoltativo(QStringLiteral("Rappresentante Fiscale - Nome"), d.ORFNOME, Latino1(d.ORFNOME, 60));
            e.Facoltativo(QStringLiteral("Rappresentante Fiscale - Cognome"), d.ORFCOG, Latino1(d.ORFCOG, 60));
        } else {
            e.Facoltativo(QStringLiteral("Rappresentante Fiscale - Denominazione"), d.ORFRAG, Latino1(d.ORFRAG, 80));
        }
    }
    return e.righe;
}

void VerificaDichiarante(const DatiDichiarante& d)
{
    Segnala(ControllaDichiarante(d));
}

void VerificaIntestazione(const DatiDichiarante& d)
{
    Segnala(ControllaIntestazione(d));
}

} // namespace quercino::datifattura
