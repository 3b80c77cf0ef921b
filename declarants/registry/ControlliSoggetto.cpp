#include "declarants/registry/ControlliSoggetto.h"

#include "declarants/registry/ColonneCOPE.h"
#include "declarants/registry/LimitiCampi.h"
#include "platform/text/Trim.h"
#include "platform/text/UpperCase.h"

#include <vector>

namespace quercino {

namespace {

struct Controllo {
    std::function<bool(const DatiSoggetto&)> fallisce;
    const char* campo;
    const char* messaggio;
};

bool Vuoto(const QString& s) { return trimBlanks(s).isEmpty(); }

// The signer's role must be one of the Agency's codes 1 to 15.
bool CaricaValida(const QString& carica)
{
    bool numero = false;
    const int n = trimBlanks(carica).toInt(&numero);
    return numero && n >= 1 && n <= 15;
}

const std::vector<Controllo>& Controlli()
{
    static const std::vector<Controllo> elenco{
        {[](const DatiSoggetto& d) { return Vuoto(d.OCOD); }, "OCOD",
         "Indicare il codice Soggetto (Esempio: 01)"},
        {[](const DatiSoggetto& d) { return Vuoto(d.OPIVA); }, "OPIVA",
         "Indicare la Partita IVA riconosciuta in Italia"},
        {[](const DatiSoggetto& d) { return Vuoto(d.OCF); }, "OCF", "Codice Fiscale non indicato."},
        {[](const DatiSoggetto& d) { return !d.OPF && Vuoto(d.ORAG); }, "ORAG",
         "Ragione Sociale  - campo non valido."},
        {[](const DatiSoggetto& d) { return d.OPF && Vuoto(d.OCOG); }, "OCOG", "Cognome non valido"},
        {[](const DatiSoggetto& d) { return d.OPF && Vuoto(d.ONOME); }, "ONOME", "Nome non valido"},
        {[](const DatiSoggetto& d) { return Vuoto(d.OSINDI); }, "OSINDI",
         "Indicare l'indirizzo della sede legale"},
        {[](const DatiSoggetto& d) { return Vuoto(d.OSNUMC); }, "OSNUMC",
         "Indicare il numero civico della sede legale"},
        {[](const DatiSoggetto& d) { return Vuoto(d.OSCOM); }, "OSCOM",
         "Indicare il comune della sede legale"},
        {[](const DatiSoggetto& d) { return Vuoto(d.OSPRO); }, "OSPRO",
         "Indicare la provincia della sede legale"},
        {[](const DatiSoggetto& d) { return Vuoto(d.OSCAP); }, "OSCAP",
         "Indicare il cap della sede legale"},
        // The Agency refuses a signer without a role, and an establishment address
        // without postcode, town or nation: they are asked for here, before any file.
        {[](const DatiSoggetto& d) { return !Vuoto(d.ODICPIVA) && Vuoto(d.ODICCARICA); },
         "ODICCARICA", "Indicare il codice carica del dichiarante"},
        {[](const DatiSoggetto& d) { return !Vuoto(d.ODICPIVA) && !CaricaValida(d.ODICCARICA); },
         "ODICCARICA", CaricaNonValida},
        {[](const DatiSoggetto& d) { return !Vuoto(d.OSOINDI) && Vuoto(d.OSOCAP); }, "OSOCAP",
         "Indicare il cap della stabile organizzazione"},
        {[](const DatiSoggetto& d) { return !Vuoto(d.OSOINDI) && Vuoto(d.OSOCOM); }, "OSOCOM",
         "Indicare il comune della stabile organizzazione"},
        {[](const DatiSoggetto& d) { return !Vuoto(d.OSOINDI) && Vuoto(d.OSOPAESE); }, "OSOPAESE",
         "Indicare il paese della stabile organizzazione"},
    };
    return elenco;
}

} // namespace

void NormalizzaTesti(DatiSoggetto& dati)
{
    for (QString DatiSoggetto::*campo : CampiTesto())
        dati.*campo = trimBlanks(upperOneToOne(dati.*campo));
}

std::optional<ErroreControllo> Controlla(DatiSoggetto& dati)
{
    NormalizzaTesti(dati);
    for (const Controllo& c : Controlli()) {
        if (c.fallisce(dati))
            return ErroreControllo{QString::fromLatin1(c.campo), QString::fromUtf8(c.messaggio)};
    }
    if (dati.OSPAESE.isEmpty()) {
        dati.OSPAESE = QStringLiteral("IT");
        dati.OSPAESED = QStringLiteral("ITALIA");
    }
    return std::nullopt;
}

std::optional<ErroreControllo> ControllaCodiceFiscale(
    DatiSoggetto& dati, const std::function<int(const QString&)>& controllaCF)
{
    if (!dati.OCF.isEmpty() && controllaCF(dati.OCF) != 0)
        return ErroreControllo{QStringLiteral("OCF"), QStringLiteral("Codice Fiscale errato")};
    // Only a code the VAT-number field takes whole is copied: a personal tax code of 16
    // characters is no VAT number the Agency accepts, and cut it would be a wrong one.
    if (dati.OPIVA.isEmpty() && dati.OCF.size() <= LimiteCampo(QStringLiteral("OPIVA")))
        dati.OPIVA = dati.OCF;
    return std::nullopt;
}

} // namespace quercino
