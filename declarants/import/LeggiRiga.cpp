#include "declarants/import/LeggiRiga.h"

#include "app/core/PulisciTesto.h"
#include "app/core/Zeri.h"
#include "declarants/datifattura/ValoriSchema.h"
#include "declarants/import/ColonneImport.h"
#include "declarants/import/ConvertiData.h"
#include "declarants/import/ValoriRiga.h"
#include "platform/text/ControlCharacters.h"
#include "platform/text/Trim.h"
#include "platform/text/UpperCase.h"

#include <QStringList>

#include <algorithm>

namespace quercino::importazione {

namespace {

using datifattura::RigaFattura;
using datifattura::TipoComunicazione;

const QString NonCorretto = QStringLiteral(" Valore non corretto");
// A date that cannot be read, or one before 1970, names what the Agency takes.
const QString DataNonCorretta = NonCorretto + QStringLiteral(" (") + datifattura::LimiteData + QLatin1Char(')');

bool SoloCifre(const QString& testo)
{
    if (testo.isEmpty())
        return false;
    for (const QChar c : testo)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// The checks of one row: each report marks the row invalid; a Cancel stops everything.
class Controllo {
public:
    Controllo(std::vector<QString>& c, SegnalazioniRiga& s) : c_(c), s_(s) {}

    const QString& operator()(int colonna) const { return c_[static_cast<std::size_t>(colonna) - 1]; }
    QString& Cella(int colonna) { return c_[static_cast<std::size_t>(colonna) - 1]; }

    // Reports; a Cancel stops the reading after this row.
    void Segnala(const QString& etichetta, const QString& valore)
    {
        esito.RigaValida = false;
        if (!s_.SegnalaErrore(etichetta, valore))
            esito.Interrompi = true;
    }

    EsitoLettura esito;

private:
    std::vector<QString>& c_;
    SegnalazioniRiga& s_;
};

datifattura::DatiIndirizzo Indirizzo(const Controllo& c, int prima)
{
    datifattura::DatiIndirizzo a;
    a.Via = c(prima);
    a.NumeroCivico = c(prima + 1);
    a.CAP = c(prima + 2);
    a.Comune = c(prima + 3);
    a.Provincia = c(prima + 4);
    a.Nazione = c(prima + 5);
    return a;
}

} // namespace

bool TipoDocumentoAmmesso(const QString& tipo)
{
    static const QStringList tipi = {QStringLiteral("TD01"), QStringLiteral("TD04"), QStringLiteral("TD05"),
                                     QStringLiteral("TD07"), QStringLiteral("TD08"), QStringLiteral("TD10"),
                                     QStringLiteral("TD11")};
    return tipi.contains(tipo);
}

namespace {

// Texts that upper-casing, trimming and (for the cleaned columns) the text cleaner would
// give back unchanged, as most cells of a sheet are: they are left as they are.
bool GiaPulito(const QString& testo, bool pulito)
{
    if (testo.front() == u' ' || testo.back() == u' ')
        return false;
    for (const QChar c : testo) {
        const char16_t u = c.unicode();
        if ((u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u' ')
            continue;
        if (!pulito && u >= 0x20 && u < 0x7F && !(u >= u'a' && u <= u'z'))
            continue;   // punctuation of the uncleaned columns
        if (pulito && (u == u',' || u == u'.' || u == u'\\' || u == u'^' || u == u'_'))
            continue;
        return false;
    }
    return true;
}

} // namespace

void PulisciColonne(std::vector<QString>& colonne)
{
    colonne.resize(NumeroColonne);
    for (std::size_t i = 0; i < colonne.size(); ++i) {
        if (colonne[i].isEmpty())
            continue;
        const bool pulito = static_cast<int>(i) < UltimaColonnaPulita;
        if (GiaPulito(colonne[i], pulito))
            continue;
        colonne[i] = trimBlanks(upperOneToOne(withoutControlCharacters(colonne[i])));
        if (pulito)
            colonne[i] = trimBlanks(PulisciTesto(std::as_const(colonne[i])));
    }
}

EsitoLettura LeggiRiga(std::vector<QString>& colonne, TipoComunicazione tipo, SegnalazioniRiga& segnalazioni,
                       const RigaFattura* precedente, RigaFattura& riga)
{
    PulisciColonne(colonne);
    Controllo c(colonne, segnalazioni);
    const bool ricevute = tipo == TipoComunicazione::DTR;
    // A refused row still tells whose it is, its Italian identifiers padded as they would be
    // written: the writer needs it to keep the continuation rows below it out of the block
    // above.
    auto identificativi = [&] {
        riga.PartitaIva = c(PartitaIva);
        riga.CodiceFiscale = c(CodiceFiscale);
        riga.Denominazione = c(Denominazione);
        riga.Nome = c(Nome);
        riga.Cognome = c(Cognome);
        if (c(SedeNazione) == u"IT") {
            if (SoloCifre(riga.PartitaIva) && riga.PartitaIva.size() <= 10)
                riga.PartitaIva = Zeri(riga.PartitaIva, 11);
            if (SoloCifre(riga.CodiceFiscale) && riga.CodiceFiscale.size() < 11)
                riga.CodiceFiscale = Zeri(riga.CodiceFiscale, 11);
        }
    };
    riga = RigaFattura();
    identificativi();

    bool continuazione = false;
    if (c(PartitaIva).isEmpty() && c(CodiceFiscale).isEmpty()) {
        if (!c(NumeroDocumento).isEmpty()) {
            continuazione = true;   // a further summary or invoice of the counterpart above
        } else {
            c.esito.RigaValida = false;
            if (!segnalazioni.RigaSenzaValori()) {
                c.esito.Interrompi = true;
                return c.esito;
            }
        }
    }

    if (!continuazione) {
        if (c(PartitaIva).isEmpty() && c(CodiceFiscale).isEmpty()) {
            c.Segnala(QStringLiteral("Partita Iva / Codice Fiscale"), ValoreVuoto);
            return c.esito;
        }
        if (c(Denominazione).isEmpty() && c(Nome).isEmpty() && c(Cognome).isEmpty()) {
            c.Segnala(QStringLiteral("Denominazione/Nome Cognome"), ValoreVuoto);
            return c.esito;
        }
        // Italian identifiers stored as numbers lose their leading zeros: give them back,
        // to digits only (a code with letters is never turned into zeros).
        if (c(SedeNazione) == u"IT") {
            if (SoloCifre(c(PartitaIva)) && c(PartitaIva).size() <= 10)
                c.Cella(PartitaIva) = Zeri(c(PartitaIva), 11);
            if (SoloCifre(c(CodiceFiscale)) && c(CodiceFiscale).size() != 16 && c(CodiceFiscale).size() < 11)
                c.Cella(CodiceFiscale) = Zeri(c(CodiceFiscale), 11);
        }
        if (!c(Nome).isEmpty() && c(Cognome).isEmpty()) {
            c.Segnala(QStringLiteral("Cognome "), ValoreVuoto);
            return c.esito;
        }
        if (!c(Cognome).isEmpty() && c(Nome).isEmpty()) {
            c.Segnala(QStringLiteral("Nome "), ValoreVuoto);
            return c.esito;
        }
        if (!c(StabileIndirizzo).isEmpty()) {
            const std::pair<int, const char*> obbligatori[] = {{StabileCap, "Stabile Organizzione - CAP"},
                                                               {StabileComune, "Stabile Organizzione - COMUNE"},
                                                               {StabileNazione, "Stabile Organizzione - NAZIONE"}};
            for (const auto& [colonna, etichetta] : obbligatori) {
                if (c(colonna).isEmpty()) {
                    c.Segnala(QString::fromLatin1(etichetta), ValoreVuoto);
                    return c.esito;
                }
            }
        }
        if (c(TipoDocumento).isEmpty()) {
            c.Segnala(QStringLiteral("TIPO DOCUMENTO"), ValoreVuoto);
            return c.esito;
        }
        // A wrong value does not end the checks, not even after a Cancel: the row's
        // later reports still reach the log.
        if (!TipoDocumentoAmmesso(c(TipoDocumento)))
            c.Segnala(QStringLiteral("TIPO DOCUMENTO"), c(TipoDocumento) + NonCorretto);
        if (c(DataDocumento).isEmpty()) {
            c.Segnala(QStringLiteral("DATA DOCUMENTO"), ValoreVuoto);
            return c.esito;
        }
        if (c(NumeroDocumento).isEmpty()) {
            c.Segnala(QStringLiteral("NUMERO DOCUMENTO"), ValoreVuoto);
            return c.esito;
        }
        if (ricevute && c(DataRegistrazione).isEmpty()) {
            c.Segnala(QStringLiteral("DATA REGISTRAZIONE DOCUMENTO"), ValoreVuoto);
            return c.esito;
        }
    }

    // Conversions: a value that cannot be read is a wrong value of its column.
    const DataLetta data = ConvertiData(c(DataDocumento));
    if (data.esito == DataLetta::Esito::NonValida)
        c.Segnala(QStringLiteral("DATA DOCUMENTO"), c(DataDocumento) + DataNonCorretta);
    DataLetta registrazione;
    if (ricevute) {
        registrazione = ConvertiData(c(DataRegistrazione));
        if (registrazione.esito == DataLetta::Esito::NonValida)
            c.Segnala(QStringLiteral("DATA REGISTRAZIONE DOCUMENTO"), c(DataRegistrazione) + DataNonCorretta);
    }
    if (c(Imponibile).isEmpty())
        c.Cella(Imponibile) = QStringLiteral("0,00");
    if (c(Aliquota).isEmpty())
        c.Cella(Aliquota) = QStringLiteral("0,00");
    const std::pair<int, const char*> importi[] = {
        {Imponibile, "IMPONIBILE"}, {Imposta, "IMPOSTA"}, {Aliquota, "ALIQUOTA"}, {Detraibile, "DETRAIBILE"}};
    std::optional<std::int64_t> valori[4];
    for (int k = 0; k < 4; ++k) {
        const auto [colonna, etichetta] = importi[k];
        if (colonna == Detraibile && c(colonna).isEmpty())
            continue;
        valori[k] = LeggiCentesimi(c(colonna));
        if (!valori[k])
            c.Segnala(QString::fromLatin1(etichetta), c(colonna) + NonCorretto);
    }
    if (!c(Deducibile).isEmpty() && c(Deducibile) != u"SI")
        c.Segnala(QStringLiteral("DEDUCIBILE "), c(Deducibile) + NonCorretto);
    if (!c(Esigibilita).isEmpty() && c(Esigibilita) != u"I" && c(Esigibilita) != u"D" && c(Esigibilita) != u"S")
        c.Segnala(QStringLiteral("ESIGIBILITA IVA DOCUMENTO"), c(Esigibilita) + NonCorretto);
    if (!c.esito.RigaValida)
        return c.esito;

    riga = RigaFattura();
    identificativi();
    riga.Sede = Indirizzo(c, SedeIndirizzo);
    riga.TipoDocumento = c(TipoDocumento);
    riga.Data = data.data;
    riga.Numero = c(NumeroDocumento);
    riga.DataRegistrazione = registrazione.data;
    riga.Imponibile = valori[0].value_or(0);
    riga.Imposta = valori[1].value_or(0);
    riga.Aliquota = static_cast<int>(std::clamp<std::int64_t>(valori[2].value_or(0), -1, 1'000'000));
    if (valori[3])
        riga.Detraibile = static_cast<int>(std::clamp<std::int64_t>(*valori[3], -1, 1'000'000));
    riga.Natura = c(Natura);
    riga.Deducibile = c(Deducibile) == u"SI";
    riga.EsigibilitaIVA = c(Esigibilita);
    riga.StabileOrganizzazione = Indirizzo(c, StabileIndirizzo);
    riga.Rappresentante.PartitaIva = c(RappresentantePartitaIva);
    riga.Rappresentante.Denominazione = c(RappresentanteDenominazione);
    riga.Rappresentante.Nome = c(RappresentanteNome);
    riga.Rappresentante.Cognome = c(RappresentanteCognome);

    // A continuation row of the same invoice need not repeat its type and dates.
    if (continuazione && precedente && precedente->Numero == riga.Numero) {
        if (riga.TipoDocumento.isEmpty())
            riga.TipoDocumento = precedente->TipoDocumento;
        if (riga.Data.isNull())
            riga.Data = precedente->Data;
        if (riga.DataRegistrazione.isNull())
            riga.DataRegistrazione = precedente->DataRegistrazione;
    }
    return c.esito;
}

} // namespace quercino::importazione
