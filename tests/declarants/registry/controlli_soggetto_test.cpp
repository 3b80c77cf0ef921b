// The entry checks of a declarant: their order, their messages and the field each one
// sends the focus to, the normalisation of the texts and the tax-code box's check.

#include "declarants/registry/ControlliSoggetto.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/stampa_qt.h"

namespace quercino {
namespace {

// A company that passes every check.
DatiSoggetto SocietaCompleta()
{
    DatiSoggetto d;
    d.OCOD = "01";
    d.ORAG = "ALFA SRL";
    d.OPIVA = "01234567890";
    d.OCF = "01234567890";
    d.OSINDI = "VIA ROMA";
    d.OSNUMC = "1";
    d.OSCOM = "ROMA";
    d.OSPRO = "RM";
    d.OSCAP = "00100";
    d.OSPAESE = "IT";
    d.OSPAESED = "ITALIA";
    return d;
}

void SvuotaSede(DatiSoggetto& d)
{
    d.OSINDI.clear();
    d.OSNUMC.clear();
    d.OSCOM.clear();
    d.OSPRO.clear();
    d.OSCAP.clear();
}

// Each case breaks one field of a valid record (and, to prove the order, every field
// checked after it): the message is the one of the broken field.
TEST(Controlla, PrimoControlloFallitoIndicaCampoEMessaggio)
{
    const QString cf = "RSSMRA80A01H501U";
    const std::tuple<std::function<void(DatiSoggetto&)>, const char*, const char*> casi[] = {
        {[](DatiSoggetto& d) { d = DatiSoggetto{}; }, "OCOD", "Indicare il codice Soggetto (Esempio: 01)"},
        {[](DatiSoggetto& d) { d.OCOD = "   "; d.OPIVA.clear(); }, "OCOD", "Indicare il codice Soggetto (Esempio: 01)"},
        {[](DatiSoggetto& d) { d.OPIVA.clear(); d.OCF.clear(); }, "OPIVA", "Indicare la Partita IVA riconosciuta in Italia"},
        {[](DatiSoggetto& d) { d.OCF.clear(); d.ORAG.clear(); }, "OCF", "Codice Fiscale non indicato."},
        {[](DatiSoggetto& d) { d.ORAG = "  "; SvuotaSede(d); }, "ORAG", "Ragione Sociale  - campo non valido."},
        {[](DatiSoggetto& d) { d.OPF = true; d.ONOME.clear(); SvuotaSede(d); }, "OCOG", "Cognome non valido"},
        {[](DatiSoggetto& d) { d.OPF = true; d.ORAG.clear(); d.OCOG = "ROSSI"; SvuotaSede(d); }, "ONOME", "Nome non valido"},
        {[](DatiSoggetto& d) { SvuotaSede(d); d.OSINDI = "    "; }, "OSINDI", "Indicare l'indirizzo della sede legale"},
        {[](DatiSoggetto& d) { SvuotaSede(d); d.OSINDI = "VIA ROMA"; }, "OSNUMC", "Indicare il numero civico della sede legale"},
        {[](DatiSoggetto& d) { d.OSCOM.clear(); d.OSPRO.clear(); d.OSCAP.clear(); }, "OSCOM",
         "Indicare il comune della sede legale"},
        {[](DatiSoggetto& d) { d.OSPRO.clear(); d.OSCAP.clear(); }, "OSPRO", "Indicare la provincia della sede legale"},
        {[cf](DatiSoggetto& d) { d.OSCAP = " "; d.ODICPIVA = cf; }, "OSCAP", "Indicare il cap della sede legale"},
        {[cf](DatiSoggetto& d) { d.ODICPIVA = cf; d.OSOINDI = "VIA NAZIONALE"; }, "ODICCARICA",
         "Indicare il codice carica del dichiarante"},
        {[cf](DatiSoggetto& d) { d.ODICPIVA = cf; d.ODICCARICA = "16"; }, "ODICCARICA",
         "Codice carica del dichiarante non valido (da 1 a 15)"},
        {[cf](DatiSoggetto& d) { d.ODICPIVA = cf; d.ODICCARICA = "A"; }, "ODICCARICA",
         "Codice carica del dichiarante non valido (da 1 a 15)"},
        {[cf](DatiSoggetto& d) { d.ODICPIVA = cf; d.ODICCARICA = "0"; }, "ODICCARICA",
         "Codice carica del dichiarante non valido (da 1 a 15)"},
        {[](DatiSoggetto& d) { d.OSOINDI = "VIA NAZIONALE"; }, "OSOCAP", "Indicare il cap della stabile organizzazione"},
        {[](DatiSoggetto& d) { d.OSOINDI = "VIA NAZIONALE"; d.OSOCAP = "00184"; }, "OSOCOM",
         "Indicare il comune della stabile organizzazione"},
        {[](DatiSoggetto& d) { d.OSOINDI = "VIA NAZIONALE"; d.OSOCAP = "00184"; d.OSOCOM = "ROMA"; }, "OSOPAESE",
         "Indicare il paese della stabile organizzazione"},
    };
    for (const auto& [guasta, campo, messaggio] : casi) {
        DatiSoggetto d = SocietaCompleta();
        guasta(d);
        const auto errore = Controlla(d);
        ASSERT_TRUE(errore.has_value()) << messaggio;
        EXPECT_EQ(errore->campo, QString::fromUtf8(campo));
        EXPECT_EQ(errore->messaggio, QString::fromUtf8(messaggio));
    }
    // A blank nation stays blank when a check fails.
    DatiSoggetto d = SocietaCompleta();
    d.OSPAESE.clear();
    d.OSCAP.clear();
    EXPECT_TRUE(Controlla(d).has_value());
    EXPECT_EQ(d.OSPAESE, "");
}

// What passes, and what passing does to the texts: upper case of the same length, a
// blank nation made Italy.
TEST(Controlla, SoggettiCompletiPassanoInMaiuscolo)
{
    const std::function<void(DatiSoggetto&)> casi[] = {
        [](DatiSoggetto& d) { d.OCOG.clear(); d.ONOME.clear(); },
        [](DatiSoggetto& d) { d.OPF = true; d.ORAG.clear(); d.OCOG = "ROSSI"; d.ONOME = "MARIO"; },
        [](DatiSoggetto& d) { d.ODICCARICA = "99"; },   // a role without a signer is not checked
        [](DatiSoggetto& d) {
            d.ODICPIVA = "RSSMRA80A01H501U";
            d.ODICCARICA = "15";
            d.OSOINDI = "VIA NAZIONALE";
            d.OSOCAP = "00184";
            d.OSOCOM = "ROMA";
            d.OSOPAESE = "IT";
        },
    };
    for (const auto& cambia : casi) {
        DatiSoggetto d = SocietaCompleta();
        cambia(d);
        EXPECT_FALSE(Controlla(d).has_value());
    }
    DatiSoggetto d = SocietaCompleta();
    d.ORAG = QString::fromUtf8("  straße srl  ");
    d.OSCOM = "roma ";
    d.OUCDTE = " id1 ";
    d.OSPAESE = "  ";
    d.OSPAESED.clear();
    EXPECT_FALSE(Controlla(d).has_value());
    EXPECT_EQ(QStringList({d.ORAG, d.OSCOM, d.OUCDTE, d.OSPAESE, d.OSPAESED}),
              (QStringList{QString::fromUtf8("STRAßE SRL"), "ROMA", "ID1", "IT", "ITALIA"}));
}

TEST(ControllaCodiceFiscale, CodiceErratoLasciaLaPartitaIva)
{
    DatiSoggetto d;
    d.OCF = "RSSMRA80A01H501X";
    d.OPIVA = "";
    QString ricevuto;
    const auto errore = ControllaCodiceFiscale(d, [&](const QString& cf) {
        ricevuto = cf;
        return 85;
    });
    ASSERT_TRUE(errore.has_value());
    EXPECT_EQ(errore->campo, "OCF");
    EXPECT_EQ(errore->messaggio, "Codice Fiscale errato");
    EXPECT_EQ(ricevuto, "RSSMRA80A01H501X");
    EXPECT_EQ(d.OPIVA, "");
}

TEST(ControllaCodiceFiscale, CodiceValidoRiempieLaPartitaIvaVuota)
{
    DatiSoggetto d;
    // A personal tax code is no VAT number: the field is left for the user.
    d.OCF = "RSSMRA80A01H501U";
    EXPECT_FALSE(ControllaCodiceFiscale(d, [](const QString&) { return 0; }).has_value());
    EXPECT_EQ(d.OPIVA, "");
    d.OCF = "01234567890";
    EXPECT_FALSE(ControllaCodiceFiscale(d, [](const QString&) { return 0; }).has_value());
    EXPECT_EQ(d.OPIVA, "01234567890");

    d.OCF = "01234567890";
    d.OPIVA = "09876543210";
    EXPECT_FALSE(ControllaCodiceFiscale(d, [](const QString&) { return 0; }).has_value());
    EXPECT_EQ(d.OPIVA, "09876543210");
}

TEST(ControllaCodiceFiscale, CodiceVuotoNonEControllato)
{
    DatiSoggetto d;
    bool chiamato = false;
    EXPECT_FALSE(ControllaCodiceFiscale(d, [&](const QString&) {
                     chiamato = true;
                     return 1;
                 }).has_value());
    EXPECT_FALSE(chiamato);
}

} // namespace
} // namespace quercino
