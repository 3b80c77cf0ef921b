#include "declarants/datifattura/ControlloDichiarante.h"

#include "declarants/datifattura/ErroreDatiFattura.h"
#include "declarants/datifattura/Formati.h"
#include "declarants/datifattura/ValoriSchema.h"

namespace quercino::datifattura {

namespace {

class Elenco {
public:
    QStringList righe;

    // `limite` is the limit a set value breaks, empty when it keeps it.
    void Facoltativo(const QString& campo, const QString& valore, const QString& limite)
    {
        if (!valore.isEmpty() && !limite.isEmpty())
            righe << campo + QLatin1String(": ") + valore + QLatin1String(" Valore non corretto (") + limite + QLatin1Char(')');
    }

    void Obbligatorio(const QString& campo, const QString& valore, const QString& limite)
    {
        if (valore.isEmpty())
            righe << campo + QLatin1String(": * VUOTO *");
        Facoltativo(campo, valore, limite);
    }
};

void Intestazione(Elenco& e, const DatiDichiarante& d)
{
    e.Obbligatorio(QStringLiteral("Nazione"), d.OSPAESE, LimiteDueLettere(d.OSPAESE));
    e.Obbligatorio(QStringLiteral("Codice Fiscale"), d.OCF, LimiteCodiceFiscale(d.OCF));
    if (d.OPROG < 1 || d.OPROG > 99999)
        e.Facoltativo(QStringLiteral("Progressivo"), QString::number(d.OPROG), QStringLiteral("da 1 a 99999"));
    if (!d.ODICPIVA.isEmpty()) {
        e.Facoltativo(QStringLiteral("Codice Fiscale Dichiarante"), d.ODICPIVA, LimiteCodiceFiscale(d.ODICPIVA));
        bool numero = false;
        const int carica = d.ODICCARICA.toInt(&numero);
        const bool valida = numero && SoloCifre(d.ODICCARICA) && carica >= 1 && carica <= 15;
        e.Obbligatorio(QStringLiteral("Carica Dichiarante"), d.ODICCARICA,
                       valida ? QString() : QStringLiteral("un numero da 1 a 15"));
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
    e.Obbligatorio(QStringLiteral("Partita Iva"), d.OPIVA, LimiteLatinoBase(d.OPIVA, MassimoPartitaIvaItaliana));
    if (d.OPF) {
        e.Facoltativo(QStringLiteral("Nome"), d.ONOME, LimiteLatino1(d.ONOME, MassimoTesto));
        e.Facoltativo(QStringLiteral("Cognome"), d.OCOG, LimiteLatino1(d.OCOG, MassimoTesto));
    } else {
        e.Facoltativo(QStringLiteral("Denominazione"), d.ORAG, LimiteLatino1(d.ORAG, MassimoDenominazione));
    }
    e.Facoltativo(QStringLiteral("Sede - Indirizzo"), d.OSINDI, LimiteLatino1(d.OSINDI, MassimoTesto));
    e.Facoltativo(QStringLiteral("Sede - Numero Civico"), d.OSNUMC, LimiteLatinoBase(d.OSNUMC, MassimoNumeroCivico));
    e.Facoltativo(QStringLiteral("Sede - CAP"), d.OSCAP, LimiteLatinoBase(d.OSCAP, MassimoCap));
    e.Facoltativo(QStringLiteral("Sede - Comune"), d.OSCOM, LimiteLatino1(d.OSCOM, MassimoTesto));
    e.Facoltativo(QStringLiteral("Sede - Provincia"), d.OSPRO, LimiteDueLettere(d.OSPRO));
    if (!d.OSOINDI.isEmpty()) {
        e.Facoltativo(QStringLiteral("Stabile Organizzazione - Indirizzo"), d.OSOINDI, LimiteLatino1(d.OSOINDI, MassimoTesto));
        e.Facoltativo(QStringLiteral("Stabile Organizzazione - Numero Civico"), d.OSONUMC,
                      LimiteLatinoBase(d.OSONUMC, MassimoNumeroCivico));
        const QString cap = CapPerNazione(d.OSOCAP, d.OSOPAESE);
        e.Facoltativo(QStringLiteral("Stabile Organizzazione - CAP"), cap, LimiteLatinoBase(cap, MassimoCap));
        e.Facoltativo(QStringLiteral("Stabile Organizzazione - Comune"), d.OSOCOM, LimiteLatino1(d.OSOCOM, MassimoTesto));
        e.Facoltativo(QStringLiteral("Stabile Organizzazione - Provincia"), d.OSOPRO, LimiteDueLettere(d.OSOPRO));
        e.Facoltativo(QStringLiteral("Stabile Organizzazione - Nazione"), d.OSOPAESE, LimiteDueLettere(d.OSOPAESE));
    }
    if (!d.ORFPIVA.isEmpty()) {
        e.Facoltativo(QStringLiteral("Rappresentante Fiscale - Partita Iva"), d.ORFPIVA,
                      LimiteLatinoBase(d.ORFPIVA, MassimoPartitaIvaItaliana));
        if (d.ORFPF) {
            e.Facoltativo(QStringLiteral("Rappresentante Fiscale - Nome"), d.ORFNOME, LimiteLatino1(d.ORFNOME, MassimoTesto));
            e.Facoltativo(QStringLiteral("Rappresentante Fiscale - Cognome"), d.ORFCOG, LimiteLatino1(d.ORFCOG, MassimoTesto));
        } else {
            e.Facoltativo(QStringLiteral("Rappresentante Fiscale - Denominazione"), d.ORFRAG,
                          LimiteLatino1(d.ORFRAG, MassimoDenominazione));
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
