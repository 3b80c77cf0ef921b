#include "declarants/registry/RegistroSoggetti.h"

#include "app/core/Comuni.h"
#include "app/core/ControllaCF.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/core/NuovoCodiceOpe.h"
#include "declarants/registry/ColonneCOPE.h"
#include "declarants/registry/ErroreApplicazione.h"
#include "declarants/registry/RicercaCodici.h"
#include "platform/db/Database.h"
#include "platform/text/Trim.h"
#include "platform/text/UpperCase.h"

namespace quercino {

namespace {

// What a file takes from the progressive `attuale`: its number (five digits) and the
// progressive left for the next file; the error when no file can carry it.
struct Presa {
    EsitoProgressivo numero;
    QString successivo;
};

Presa PrendiDa(const QString& attuale)
{
    const EsitoProgressivo successivo = ProgressivoSuccessivo(attuale);
    if (!successivo.Valido())
        return {successivo, {}};
    return {{FormattaProgressivo(*LeggiProgressivo(attuale)), {}}, successivo.valore};
}

} // namespace

void RegistroSoggetti::Lista()
{
    // The command that reloads it waited for the locked archive past the limit and said so:
    // the list keeps what it shows rather than fail again.
    if (Database::lockWaitGivenUp())
        return;
    righe_ = ElencoSoggetti(*Cnn);
    if (righe_.empty()) {
        Aggiungi();
        return;
    }
    if (RigaSel <= 0 || RigaSel > static_cast<int>(righe_.size()))
        RigaSel = 1;
    CodiceOperatore = righe_[RigaSel - 1].OCOD;
    Dettaglio();
}

void RegistroSoggetti::Dettaglio()
{
    if (const auto letto = LeggiSoggetto(*Cnn, CodiceOperatore)) {
        campi = *letto;
        nuovo_ = false;
    } else {
        Aggiungi();
    }
    ImpostaOperatore();
    origine_ = campi;
}

void RegistroSoggetti::Aggiungi()
{
    campi = DatiSoggetto{};
    nuovo_ = true;
    campi.OSPAESE = QStringLiteral("IT");
    campi.OSPAESED = QStringLiteral("ITALIA");
    campi.OPROG = FormattaProgressivo(1);
    // Without a proposed code the user types one: the new record is still offered.
    try {
        campi.OCOD = NuovoCodiceOpe();
    } catch (const DbError&) {
    }
    origine_ = campi;
}

std::optional<ErroreControllo> RegistroSoggetti::controlla()
{
    DatiValidi = false;
    auto errore = Controlla(campi);
    if (errore)
        return errore;
    DatiValidi = true;
    return std::nullopt;
}

std::optional<ErroreControllo> RegistroSoggetti::Aggiorna()
{
    if (auto errore = controlla())
        return errore;
    // A progressive that is not a number would name files wrongly.
    const EsitoProgressivo progressivo = ProgressivoDaSalvare(campi.OPROG);
    if (!progressivo.Valido()) {
        DatiValidi = false;
        return ErroreControllo{QStringLiteral("OPROG"), progressivo.errore};
    }
    campi.OPROG = progressivo.valore;
    campi.ODES = campi.DescrizioneGriglia();
    // The row as it was loaded keeps a progressive raised since by another copy, unless the
    // user typed another one; a new row, or one saved under another code, takes the field's,
    // and never the place of another declarant's row.
    const bool stessaRiga = !nuovo_ && campi.OCOD == origine_.OCOD;
    if (stessaRiga) {
        if (campi.OPROG != origine_.OPROG) {
            if (auto errore = ProgressivoDigitato(campi.OCOD)) {
                DatiValidi = false;
                return errore;
            }
        }
        campi.OPROG = ScriviSoggetto(*Cnn, campi, false);
    } else if (const auto presente = InserisciSoggetto(*Cnn, campi)) {
        DatiValidi = false;
        const QString nome = presente->NomeVisualizzato();
        return ErroreControllo{QStringLiteral("OCOD"),
                               QStringLiteral("Il codice ") + campi.OCOD + QStringLiteral(" appartiene già ")
                                   + (nome.isEmpty() ? QStringLiteral("a un altro soggetto")
                                                     : QStringLiteral("al soggetto ") + nome)
                                   + QStringLiteral(": indicare un altro codice.")};
    }
    nuovo_ = false;
    origine_ = campi;
    CodiceOperatore = campi.OCOD;
    NomeOperatore = campi.NomeVisualizzato();
    return std::nullopt;
}

std::optional<ErroreControllo> RegistroSoggetti::Conferma()
{
    auto errore = Aggiorna();
    if (!errore)
        Lista();
    return errore;
}

bool RegistroSoggetti::Elimina()
{
    const int risposta = MsgBox(QStringLiteral("Confermi l'Eliminazione del soggetto: \r\n")
                                    + NomeOperatore + QLatin1Char('?'),
                                Pulsanti::SiNo, Icona::Domanda, QStringLiteral("Richiesta conferma"),
                                RispostaNo);
    Risposta = QString::number(risposta);
    if (risposta != RispostaSi)
        return false;
    EliminaSoggetto(*Cnn, CodiceOperatore);
    CodiceOperatore.clear();
    Lista();
    return true;
}

void RegistroSoggetti::ImpostaOperatore()
{
    // Town tables that cannot be read are reported; the record shown still becomes the
    // current declarant, so the fields and the current declarant never part.
    if (!ComuniAperto)
        Protetto(QStringLiteral("ImpostaOperatore "), [] { CaricaComuni(); });
    CodiceOperatore = campi.OCOD;
    NomeOperatore = campi.NomeVisualizzato();
    if (DatiSoggetto::SenzaBlanchi(campi.OSPAESE).isEmpty()) {
        campi.OSPAESE = QStringLiteral("IT");
        campi.OSPAESED = QStringLiteral("ITALIA");
    }
}

std::optional<ErroreControllo> RegistroSoggetti::ProgressivoDigitato(const QString& codice)
{
    QString atteso = origine_.OPROG;
    for (;;) {
        bool fatto = false;
        const auto letto = CambiaProgressivo(*Cnn, codice, [&](const QString& valore) -> std::optional<QString> {
            fatto = false;
            // Never below the stored number, whoever raised it.
            if (ProgressivoInferiore(campi.OPROG, valore) || valore == campi.OPROG) {
                fatto = valore == campi.OPROG;
                return std::nullopt;
            }
            if (valore != atteso)
                return std::nullopt;
            fatto = true;
            return campi.OPROG;
        });
        if (!letto || fatto)
            return std::nullopt;  // no row: the save stores the record whole
        if (ProgressivoInferiore(campi.OPROG, *letto))
            return ErroreControllo{QStringLiteral("OPROG"), MessaggioProgressivoInferiore(campi.OPROG, *letto)};
        const QString testo =
            QStringLiteral("Il progressivo di questo soggetto è cambiato in archivio dopo la lettura (da ") + atteso
            + QStringLiteral(" a ") + *letto + QStringLiteral("): un'altra postazione ha creato dei file o lo ha modificato.")
            + QStringLiteral("\r\n \r\nSì: registra il progressivo indicato, ") + campi.OPROG
            + QStringLiteral(".\r\nNo: mantiene il progressivo in archivio, ") + *letto + QLatin1Char('.');
        if (MsgBox(testo, Pulsanti::SiNo, Icona::Domanda, QStringLiteral("Richiesta conferma"), RispostaNo) != RispostaSi) {
            campi.OPROG = origine_.OPROG = *letto;
            return std::nullopt;
        }
        atteso = *letto;
    }
}

EsitoProgressivo RegistroSoggetti::PrendiProgressivo()
{
    if (nuovo_) {
        const Presa presa = PrendiDa(campi.OPROG);
        if (presa.numero.Valido())
            campi.OPROG = origine_.OPROG = presa.successivo;
        return presa.numero;
    }
    if (campi.OPROG != origine_.OPROG) {
        if (const QString errore = ControllaProgressivo(campi.OPROG); !errore.isEmpty())
            return {{}, errore};
        campi.OPROG = FormattaProgressivo(*LeggiProgressivo(campi.OPROG));
        if (const auto errore = ProgressivoDigitato(CodiceOperatore))
            return {{}, errore->messaggio};
    }
    Presa presa;
    const auto letto = CambiaProgressivo(*Cnn, CodiceOperatore, [&](const QString& valore) -> std::optional<QString> {
        presa = PrendiDa(valore);
        return presa.numero.Valido() ? std::optional(presa.successivo) : std::nullopt;
    });
    if (!letto) {
        return {{}, QStringLiteral("Il soggetto ") + CodiceOperatore
                        + QStringLiteral(" non è più in archivio: registrarne di nuovo i dati prima di creare un file.")};
    }
    campi.OPROG = origine_.OPROG = presa.numero.Valido() ? presa.successivo : *letto;
    return presa.numero;
}

void RegistroSoggetti::RestituisciProgressivo(std::int32_t numero)
{
    const QString restituito = FormattaProgressivo(numero);
    const QString successivo = FormattaProgressivo(numero + 1);
    if (nuovo_) {
        if (campi.OPROG == successivo)
            campi.OPROG = origine_.OPROG = restituito;
        return;
    }
    const auto letto = CambiaProgressivo(*Cnn, CodiceOperatore, [&](const QString& valore) -> std::optional<QString> {
        if (valore != successivo)
            return std::nullopt;
        return restituito;
    });
    if (letto)
        campi.OPROG = origine_.OPROG = *letto == successivo ? restituito : *letto;
}

void RegistroSoggetti::RiavviaProgressivo()
{
    // Asked for by the user: no question, whatever the stored number is.
    const QString secondo = FormattaProgressivo(2);
    if (!nuovo_)
        ScriviProgressivo(*Cnn, CodiceOperatore, secondo);
    campi.OPROG = origine_.OPROG = secondo;
}

std::optional<ErroreControllo> RegistroSoggetti::ControllaCodiceFiscale()
{
    if (!ComuniAperto && !campi.OCF.isEmpty())
        CaricaComuni();
    return quercino::ControllaCodiceFiscale(campi, [](const QString& codice) {
        return static_cast<int>(
            ControllaCF(codice, [](const QString& luogo) { return ComuniCF().contiene(luogo); }));
    });
}

std::optional<ErroreControllo> RegistroSoggetti::CodiceLasciato(const QString& colonna)
{
    const CasellaCodice* casella = CasellaDelCodice(colonna);
    if (!casella)
        return std::nullopt;
    const QString codiceColonna = QLatin1String(casella->colonna);
    const QString descrizioneColonna = QLatin1String(casella->descrizione);
    const QString codice = trimBlanks(upperOneToOne(ValoreColonna(campi, codiceColonna).toString()));
    if (codice.isEmpty()) {
        ImpostaColonna(campi, descrizioneColonna, QString());
        return std::nullopt;
    }
    const auto trovato = CercaCodice(*Cnn, QLatin1String(casella->tipo), codice);
    if (!trovato) {
        ImpostaColonna(campi, descrizioneColonna, QString());
        return ErroreControllo{codiceColonna, QString::fromUtf8(casella->sconosciuto)};
    }
    ImpostaColonna(campi, codiceColonna, trovato->codice);
    ImpostaColonna(campi, descrizioneColonna, trovato->descrizione);
    return std::nullopt;
}

void RegistroSoggetti::SelezioneCambiata(int riga)
{
    if (riga <= 0 || riga > static_cast<int>(righe_.size()))
        return;
    CodiceOperatore = righe_[riga - 1].OCOD;
    RigaSel = riga;
    Dettaglio();
}

bool RegistroSoggetti::Modificato() const
{
    DatiSoggetto attuali = campi;
    DatiSoggetto salvati = origine_;
    NormalizzaTesti(attuali);
    NormalizzaTesti(salvati);
    // The grid's name follows the other fields; it is never typed.
    attuali.ODES = salvati.ODES;
    return attuali != salvati;
}

int RegistroSoggetti::RigaDelCodice(const QString& codice) const
{
    for (std::size_t i = 0; i < righe_.size(); ++i) {
        if (righe_[i].OCOD == codice)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

void RegistroSoggetti::DoppioClick(int riga)
{
    if (riga <= 0 || riga > static_cast<int>(righe_.size()))
        return;
    CodiceOperatore = righe_[riga - 1].OCOD;
}

} // namespace quercino
