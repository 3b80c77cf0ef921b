#include "declarants/datifattura/ControlloRiga.h"

#include "declarants/datifattura/Formati.h"
#include "declarants/datifattura/ValoriSchema.h"

#include <QStringList>

namespace quercino::datifattura {

namespace {

// The largest amount the schema takes: eleven integer digits and two decimals.
constexpr std::int64_t ImportoMassimo = 9'999'999'999'999;
constexpr int AliquotaMassima = 10'000;

QString ImportoLeggibile(std::int64_t centesimi)
{
    return QString::fromLatin1(FormattaCentesimi(centesimi)).replace(QLatin1Char('.'), QLatin1Char(','));
}

bool DataAccettata(const QDate& data)
{
    return data.isValid() && data >= QDate(1970, 1, 1) && data.year() <= 9999;
}

class Controllo {
public:
    std::optional<ErroreRiga> errore;

    // A value that must be empty or pass `valido`.
    template <typename Regola>
    void Facoltativo(const QString& etichetta, const QString& valore, Regola valido)
    {
        if (!errore && !valore.isEmpty() && !valido(valore))
            errore = ValoreNonCorretto(etichetta, valore);
    }

    // A value that must be set and pass `valido`.
    template <typename Regola>
    void Obbligatorio(const QString& etichetta, const QString& valore, Regola valido)
    {
        if (errore)
            return;
        if (valore.isEmpty())
            errore = ErroreRiga{etichetta, Vuoto};
        else if (!valido(valore))
            errore = ValoreNonCorretto(etichetta, valore);
    }

    void Data(const QString& etichetta, const QDate& data)
    {
        if (errore)
            return;
        if (data.isNull())
            errore = ErroreRiga{etichetta, Vuoto};
        else if (!DataAccettata(data))
            errore = ValoreNonCorretto(etichetta, data.isValid() ? data.toString(QStringLiteral("dd/MM/yyyy")) : QString());
    }

    void Importo(const QString& etichetta, std::int64_t centesimi, std::int64_t minimo, std::int64_t massimo)
    {
        if (!errore && (centesimi < minimo || centesimi > massimo))
            errore = ValoreNonCorretto(etichetta, ImportoLeggibile(centesimi));
    }

    // The labels are composed only for a refused value: this runs for every row.
    void Indirizzo(const char* prefisso, const DatiIndirizzo& a)
    {
        auto campo = [&](const char* nome, const QString& valore, bool valido) {
            if (!errore && !valore.isEmpty() && !valido)
                errore = ValoreNonCorretto(QLatin1String(prefisso) + QLatin1String(nome), valore);
        };
        campo("INDIRIZZO", a.Via, Latino1(a.Via, 60));
        campo("NUMERO CIVICO", a.NumeroCivico, LatinoBase(a.NumeroCivico, 8));
        const QString cap = CapPerNazione(a.CAP, a.Nazione);
        campo("CAP", cap, LatinoBase(cap, 5));
        campo("COMUNE", a.Comune, Latino1(a.Comune, 60));
        campo("PROVINCIA", a.Provincia, DueLettere(a.Provincia));
        campo("NAZIONE", a.Nazione, DueLettere(a.Nazione));
    }
};

auto Latino1Max(int massimo)
{
    return [massimo](const QString& v) { return Latino1(v, massimo); };
}

auto LatinoBaseMax(int massimo)
{
    return [massimo](const QString& v) { return LatinoBase(v, massimo); };
}

bool TipoDocumentoValido(const QString& tipo)
{
    static const QStringList tipi = {QStringLiteral("TD01"), QStringLiteral("TD04"), QStringLiteral("TD05"),
                                     QStringLiteral("TD07"), QStringLiteral("TD08"), QStringLiteral("TD10"),
                                     QStringLiteral("TD11"), QStringLiteral("TD12")};
    return tipi.contains(tipo);
}

bool NaturaValida(const QString& natura)
{
    return natura.size() == 2 && natura.at(0) == QLatin1Char('N') && natura.at(1) >= QLatin1Char('1')
        && natura.at(1) <= QLatin1Char('7');
}

bool EsigibilitaValida(const QString& e)
{
    return e == QLatin1String("I") || e == QLatin1String("D") || e == QLatin1String("S");
}

} // namespace

ErroreRiga ValoreNonCorretto(const QString& etichetta, const QString& valore)
{
    return ErroreRiga{etichetta, valore + QLatin1String(" Valore non corretto")};
}

std::optional<ErroreRiga> ControllaRiga(const RigaFattura& r, TipoComunicazione tipo)
{
    Controllo c;
    c.Facoltativo(QStringLiteral("Partita Iva"), r.PartitaIva, LatinoBaseMax(28));
    c.Facoltativo(QStringLiteral("Codice Fiscale"), NormalizzaCodiceFiscale(r.CodiceFiscale), CodiceFiscaleValido);
    c.Facoltativo(QStringLiteral("Denominazione"), r.Denominazione, Latino1Max(80));
    c.Facoltativo(QStringLiteral("Nome "), r.Nome, Latino1Max(60));
    c.Facoltativo(QStringLiteral("Cognome "), r.Cognome, Latino1Max(60));
    if (!c.errore && !r.Nome.isEmpty() && r.Cognome.isEmpty())
        c.errore = ErroreRiga{QStringLiteral("Cognome "), Vuoto};
    if (!c.errore && r.Nome.isEmpty() && !r.Cognome.isEmpty())
        c.errore = ErroreRiga{QStringLiteral("Nome "), Vuoto};
    c.Indirizzo("", r.Sede);

    c.Obbligatorio(QStringLiteral("TIPO DOCUMENTO"), r.TipoDocumento, TipoDocumentoValido);
    c.Data(QStringLiteral("DATA DOCUMENTO"), r.Data);
    c.Obbligatorio(QStringLiteral("NUMERO DOCUMENTO"), r.Numero, LatinoBaseMax(20));

    c.Importo(QStringLiteral("IMPONIBILE"), r.Imponibile, -ImportoMassimo, ImportoMassimo);
    c.Importo(QStringLiteral("IMPOSTA"), r.Imposta, -ImportoMassimo, ImportoMassimo);
    c.Importo(QStringLiteral("ALIQUOTA"), r.Aliquota, 0, AliquotaMassima);
    c.Facoltativo(QStringLiteral("NATURA"), r.Natura, NaturaValida);
    if (r.Detraibile)
        c.Importo(QStringLiteral("DETRAIBILE"), *r.Detraibile, 0, AliquotaMassima);
    c.Facoltativo(QStringLiteral("ESIGIBILITA IVA DOCUMENTO"), r.EsigibilitaIVA, EsigibilitaValida);
    if (tipo == TipoComunicazione::DTR)
        c.Data(QStringLiteral("DATA REGISTRAZIONE DOCUMENTO"), r.DataRegistrazione);

    if (!r.StabileOrganizzazione.Via.isEmpty()) {
        c.Indirizzo("Stabile Organizzione - ", r.StabileOrganizzazione);
    }
    const DatiRappresentante& rf = r.Rappresentante;
    c.Facoltativo(QStringLiteral("Rappresentante Fiscale - PARTITA IVA"), rf.PartitaIva, LatinoBaseMax(28));
    c.Facoltativo(QStringLiteral("Rappresentante Fiscale - DENOMINAZIONE"), rf.Denominazione, Latino1Max(80));
    c.Facoltativo(QStringLiteral("Rappresentante Fiscale - NOME"), rf.Nome, Latino1Max(60));
    c.Facoltativo(QStringLiteral("Rappresentante Fiscale - COGNOME"), rf.Cognome, Latino1Max(60));
    return c.errore;
}

std::optional<ErroreRiga> ControllaNuovoSoggetto(const RigaFattura& r, TipoComunicazione tipo)
{
    if (r.PartitaIva.isEmpty() && r.CodiceFiscale.isEmpty())
        return ErroreRiga{QStringLiteral("Partita Iva / Codice Fiscale"), Vuoto};
    // A supplier is identified by its VAT number: the schema requires it.
    if (tipo == TipoComunicazione::DTR && r.PartitaIva.isEmpty())
        return ErroreRiga{QStringLiteral("Partita Iva"), Vuoto};
    if (r.NomeSoggetto().isEmpty())
        return ErroreRiga{QStringLiteral("Denominazione/Nome Cognome"), Vuoto};
    // IdPaese of the VAT number is the nation of the registered office.
    if (!r.PartitaIva.isEmpty() && r.Sede.Nazione.isEmpty())
        return ErroreRiga{QStringLiteral("NAZIONE"), Vuoto};
    return std::nullopt;
}

} // namespace quercino::datifattura
