#include "declarants/registry/RegistroSoggetti.h"

#include "app/core/Comuni.h"
#include "app/core/ControllaCF.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/core/NuovoCodiceOpe.h"
#include "declarants/registry/ErroreApplicazione.h"
#include "platform/db/Database.h"

namespace quercino {

void RegistroSoggetti::Lista()
{
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
    ScriviSoggetto(*Cnn, campi);
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

QString RegistroSoggetti::AggiornaProgressivo()
{
    const EsitoProgressivo successivo = ProgressivoSuccessivo(campi.OPROG);
    if (!successivo.Valido())
        return successivo.errore;
    // A declarant not yet stored has no row: only the field is raised. The current
    // declarant then is still the one shown before "Aggiungi", whose number is not this one.
    if (!nuovo_)
        ScriviProgressivo(*Cnn, CodiceOperatore, successivo.valore);
    // The number was raised by a file written, not edited by the user.
    campi.OPROG = successivo.valore;
    origine_.OPROG = successivo.valore;
    return {};
}

QString RegistroSoggetti::RiavviaProgressivo()
{
    campi.OPROG = FormattaProgressivo(1);
    return AggiornaProgressivo();
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
