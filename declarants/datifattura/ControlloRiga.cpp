#include "declarants/datifattura/ControlloRiga.h"

#include "declarants/datifattura/Formati.h"
#include "declarants/datifattura/ValoriSchema.h"

#include <QStringList>

namespace quercino::datifattura {

namespace {

// The largest amount the schema takes: eleven integer digits and two decimals.
constexpr std::int64_t ImportoMassimo = 9'999'999'999'999;
constexpr int AliquotaMassima = 10'000;

const QString LimiteImporto = QStringLiteral("massimo 11 cifre prima della virgola");
const QString LimiteAliquota = QStringLiteral("da 0,00 a 100,00");

QString ImportoLeggibile(std::int64_t centesimi)
{
    return QString::fromLatin1(FormattaCentesimi(centesimi)).replace(QLatin1Char('.'), QLatin1Char(','));
}

bool DataAccettata(const QDate& data)
{
    return data.isValid() && data >= QDate(1970, 1, 1) && data.year() <= 9999;
}

// A rule gives the limit a set value breaks, or nothing when the value keeps it.
class Controllo {
public:
    std::optional<ErroreRiga> errore;

    // A value that must be empty or keep the rule.
    template <typename Regola>
    void Facoltativo(const QString& etichetta, const QString& valore, Regola limite)
    {
        if (errore || valore.isEmpty())
            return;
        if (const QString violato = limite(valore); !violato.isEmpty())
            errore = ValoreNonCorretto(etichetta, valore, violato);
    }

    // A value that must be set and keep the rule.
    template <typename Regola>
    void Obbligatorio(const QString& etichetta, const QString& valore, Regola limite)
    {
        if (!errore && valore.isEmpty())
            errore = ErroreRiga{etichetta, Vuoto};
        Facoltativo(etichetta, valore, limite);
    }

    void Data(const QString& etichetta, const QDate& data)
    {
        if (errore)
            return;
        if (data.isNull())
            errore = ErroreRiga{etichetta, Vuoto};
        else if (!DataAccettata(data))
            errore = ValoreNonCorretto(etichetta, data.isValid() ? data.toString(QStringLiteral("dd/MM/yyyy")) : QString(),
                                       LimiteData);
    }

    void Importo(const QString& etichetta, std::int64_t centesimi, std::int64_t minimo, std::int64_t massimo,
                 const QString& limite)
    {
        if (!errore && (centesimi < minimo || centesimi > massimo))
            errore = ValoreNonCorretto(etichetta, ImportoLeggibile(centesimi), limite);
    }

    // The labels are composed only for a refused value: this runs for every row.
    void Indirizzo(const char* prefisso, const DatiIndirizzo& a)
    {
        auto campo = [&](const char* nome, const QString& valore, const QString& limite) {
            if (!errore && !valore.isEmpty() && !limite.isEmpty())
                errore = ValoreNonCorretto(QLatin1String(prefisso) + QLatin1String(nome), valore, limite);
        };
        campo("INDIRIZZO", a.Via, LimiteLatino1(a.Via, MassimoTesto));
        campo("NUMERO CIVICO", a.NumeroCivico, LimiteLatinoBase(a.NumeroCivico, MassimoNumeroCivico));
        const QString cap = CapPerNazione(a.CAP, a.Nazione);
        campo("CAP", cap, LimiteLatinoBase(cap, MassimoCap));
        campo("COMUNE", a.Comune, LimiteLatino1(a.Comune, MassimoTesto));
        campo("PROVINCIA", a.Provincia, LimiteDueLettere(a.Provincia));
        campo("NAZIONE", a.Nazione, LimiteDueLettere(a.Nazione));
    }
};

auto Latino1Max(int massimo)
{
    return [massimo](const QString& v) { return LimiteLatino1(v, massimo); };
}

auto LatinoBaseMax(int massimo)
{
    return [massimo](const QString& v) { return LimiteLatinoBase(v, massimo); };
}

QString LimiteTipoDocumento(const QString& tipo)
{
    static const QStringList tipi = {QStringLiteral("TD01"), QStringLiteral("TD04"), QStringLiteral("TD05"),
                                     QStringLiteral("TD07"), QStringLiteral("TD08"), QStringLiteral("TD10"),
                                     QStringLiteral("TD11"), QStringLiteral("TD12")};
    return tipi.contains(tipo) ? QString() : tipi.join(QStringLiteral(", "));
}

QString LimiteNatura(const QString& natura)
{
    const bool valida = natura.size() == 2 && natura.at(0) == QLatin1Char('N') && natura.at(1) >= QLatin1Char('1')
        && natura.at(1) <= QLatin1Char('7');
    return valida ? QString() : QStringLiteral("da N1 a N7");
}

QString LimiteEsigibilita(const QString& e)
{
    const bool valida = e == QLatin1String("I") || e == QLatin1String("D") || e == QLatin1String("S");
    return valida ? QString() : QStringLiteral("I, D o S");
}

} // namespace

ErroreRiga ValoreNonCorretto(const QString& etichetta, const QString& valore, const QString& limite)
{
    QString testo = valore + QLatin1String(" Valore non corretto");
    if (!limite.isEmpty())
        testo += QLatin1String(" (") + limite + QLatin1Char(')');
    return ErroreRiga{etichetta, testo};
}

std::optional<ErroreRiga> ControllaRiga(const RigaFattura& r, TipoComunicazione tipo)
{
    Controllo c;
    c.Facoltativo(QStringLiteral("Partita Iva"), r.PartitaIva, LatinoBaseMax(MassimoPartitaIva));
    c.Facoltativo(QStringLiteral("Codice Fiscale"), NormalizzaCodiceFiscale(r.CodiceFiscale), LimiteCodiceFiscale);
    c.Facoltativo(QStringLiteral("Denominazione"), r.Denominazione, Latino1Max(MassimoDenominazione));
    c.Facoltativo(QStringLiteral("Nome "), r.Nome, Latino1Max(MassimoTesto));
    c.Facoltativo(QStringLiteral("Cognome "), r.Cognome, Latino1Max(MassimoTesto));
    if (!c.errore && !r.Nome.isEmpty() && r.Cognome.isEmpty())
        c.errore = ErroreRiga{QStringLiteral("Cognome "), Vuoto};
    if (!c.errore && r.Nome.isEmpty() && !r.Cognome.isEmpty())
        c.errore = ErroreRiga{QStringLiteral("Nome "), Vuoto};
    c.Indirizzo("", r.Sede);

    c.Obbligatorio(QStringLiteral("TIPO DOCUMENTO"), r.TipoDocumento, LimiteTipoDocumento);
    c.Data(QStringLiteral("DATA DOCUMENTO"), r.Data);
    c.Obbligatorio(QStringLiteral("NUMERO DOCUMENTO"), r.Numero, LatinoBaseMax(MassimoNumeroDocumento));

    c.Importo(QStringLiteral("IMPONIBILE"), r.Imponibile, -ImportoMassimo, ImportoMassimo, LimiteImporto);
    c.Importo(QStringLiteral("IMPOSTA"), r.Imposta, -ImportoMassimo, ImportoMassimo, LimiteImporto);
    c.Importo(QStringLiteral("ALIQUOTA"), r.Aliquota, 0, AliquotaMassima, LimiteAliquota);
    c.Facoltativo(QStringLiteral("NATURA"), r.Natura, LimiteNatura);
    if (r.Detraibile)
        c.Importo(QStringLiteral("DETRAIBILE"), *r.Detraibile, 0, AliquotaMassima, LimiteAliquota);
    c.Facoltativo(QStringLiteral("ESIGIBILITA IVA DOCUMENTO"), r.EsigibilitaIVA, LimiteEsigibilita);
    if (tipo == TipoComunicazione::DTR)
        c.Data(QStringLiteral("DATA REGISTRAZIONE DOCUMENTO"), r.DataRegistrazione);

    if (!r.StabileOrganizzazione.Via.isEmpty()) {
        c.Indirizzo("Stabile Organizzione - ", r.StabileOrganizzazione);
    }
    const DatiRappresentante& rf = r.Rappresentante;
    c.Facoltativo(QStringLiteral("Rappresentante Fiscale - PARTITA IVA"), rf.PartitaIva, LatinoBaseMax(MassimoPartitaIva));
    c.Facoltativo(QStringLiteral("Rappresentante Fiscale - DENOMINAZIONE"), rf.Denominazione, Latino1Max(MassimoDenominazione));
    c.Facoltativo(QStringLiteral("Rappresentante Fiscale - NOME"), rf.Nome, Latino1Max(MassimoTesto));
    c.Facoltativo(QStringLiteral("Rappresentante Fiscale - COGNOME"), rf.Cognome, Latino1Max(MassimoTesto));
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
