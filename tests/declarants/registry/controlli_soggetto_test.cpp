// The entry checks of a declarant: their order, their messages and the field each one
// sends the focus to, the normalisation of the texts and the tax-code box's check.

#include "declarants/registry/ControlliSoggetto.h"

#include <gtest/gtest.h>

#include <functional>

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

struct Caso {
    const char* nome;
    std::function<void(DatiSoggetto&)> guasta;
    const char* campo;
    const char* messaggio;
};

class ControlloInOrdine : public ::testing::TestWithParam<Caso> {};

// Each case breaks one field of a valid record (and, to prove the order, every field
// checked after it): the message is the one of the broken field.
TEST_P(ControlloInOrdine, PrimoControlloFallitoIndicaCampoEMessaggio)
{
    DatiSoggetto d = SocietaCompleta();
    GetParam().guasta(d);
    const auto errore = Controlla(d);
    ASSERT_TRUE(errore.has_value());
    EXPECT_EQ(errore->campo, QString::fromUtf8(GetParam().campo));
    EXPECT_EQ(errore->messaggio, QString::fromUtf8(GetParam().messaggio));
}

void SvuotaSede(DatiSoggetto& d)
{
    d.OSINDI.clear();
    d.OSNUMC.clear();
    d.OSCOM.clear();
    d.OSPRO.clear();
    d.OSCAP.clear();
}

INSTANTIATE_TEST_SUITE_P(
    Soggetto, ControlloInOrdine,
    ::testing::Values(
        Caso{"TuttoVuoto", [](DatiSoggetto& d) { d = DatiSoggetto{}; }, "OCOD",
             "Indicare il codice Soggetto (Esempio: 01)"},
        Caso{"Codice", [](DatiSoggetto& d) { d.OCOD = "   "; d.OPIVA.clear(); }, "OCOD",
             "Indicare il codice Soggetto (Esempio: 01)"},
        Caso{"PartitaIva", [](DatiSoggetto& d) { d.OPIVA.clear(); d.OCF.clear(); }, "OPIVA",
             "Indicare la Partita IVA riconosciuta in Italia"},
        Caso{"CodiceFiscale", [](DatiSoggetto& d) { d.OCF.clear(); d.ORAG.clear(); }, "OCF",
             "Codice Fiscale non indicato."},
        Caso{"RagioneSociale", [](DatiSoggetto& d) { d.ORAG = "  "; SvuotaSede(d); }, "ORAG",
             "Ragione Sociale  - campo non valido."},
        Caso{"Cognome",
             [](DatiSoggetto& d) { d.OPF = true; d.ONOME.clear(); SvuotaSede(d); }, "OCOG",
             "Cognome non valido"},
        Caso{"Nome",
             [](DatiSoggetto& d) { d.OPF = true; d.ORAG.clear(); d.OCOG = "ROSSI"; SvuotaSede(d); },
             "ONOME", "Nome non valido"},
        Caso{"Indirizzo", [](DatiSoggetto& d) { SvuotaSede(d); d.OSINDI = "    "; }, "OSINDI",
             "Indicare l'indirizzo della sede legale"},
        Caso{"Civico", [](DatiSoggetto& d) { SvuotaSede(d); d.OSINDI = "VIA ROMA"; }, "OSNUMC",
             "Indicare il numero civico della sede legale"},
        Caso{"Comune",
             [](DatiSoggetto& d) { d.OSCOM.clear(); d.OSPRO.clear(); d.OSCAP.clear(); }, "OSCOM",
             "Indicare il comune della sede legale"},
        Caso{"Provincia", [](DatiSoggetto& d) { d.OSPRO.clear(); d.OSCAP.clear(); }, "OSPRO",
             "Indicare la provincia della sede legale"},
        Caso{"Cap", [](DatiSoggetto& d) { d.OSCAP = " "; d.ODICPIVA = "RSSMRA80A01H501U"; },
             "OSCAP", "Indicare il cap della sede legale"},
        Caso{"CaricaMancante",
             [](DatiSoggetto& d) { d.ODICPIVA = "RSSMRA80A01H501U"; d.OSOINDI = "VIA NAZIONALE"; },
             "ODICCARICA", "Indicare il codice carica del dichiarante"},
        Caso{"CaricaFuoriElenco",
             [](DatiSoggetto& d) { d.ODICPIVA = "RSSMRA80A01H501U"; d.ODICCARICA = "16"; },
             "ODICCARICA", "Codice carica del dichiarante non valido (da 1 a 15)"},
        Caso{"CaricaNonNumerica",
             [](DatiSoggetto& d) { d.ODICPIVA = "RSSMRA80A01H501U"; d.ODICCARICA = "A"; },
             "ODICCARICA", "Codice carica del dichiarante non valido (da 1 a 15)"},
        Caso{"CaricaZero",
             [](DatiSoggetto& d) { d.ODICPIVA = "RSSMRA80A01H501U"; d.ODICCARICA = "0"; },
             "ODICCARICA", "Codice carica del dichiarante non valido (da 1 a 15)"},
        Caso{"CapStabileOrganizzazione",
             [](DatiSoggetto& d) { d.OSOINDI = "VIA NAZIONALE"; }, "OSOCAP",
             "Indicare il cap della stabile organizzazione"},
        Caso{"ComuneStabileOrganizzazione",
             [](DatiSoggetto& d) { d.OSOINDI = "VIA NAZIONALE"; d.OSOCAP = "00184"; }, "OSOCOM",
             "Indicare il comune della stabile organizzazione"},
        Caso{"PaeseStabileOrganizzazione",
             [](DatiSoggetto& d) {
                 d.OSOINDI = "VIA NAZIONALE";
                 d.OSOCAP = "00184";
                 d.OSOCOM = "ROMA";
             },
             "OSOPAESE", "Indicare il paese della stabile organizzazione"}),
    [](const ::testing::TestParamInfo<Caso>& info) { return std::string(info.param.nome); });

TEST(Controlla, SoggettoCompletoPassaEDiventaMaiuscolo)
{
    DatiSoggetto d = SocietaCompleta();
    d.ORAG = "  alfa srl  ";
    d.OSCOM = "roma ";
    d.OUCDTE = " id1 ";
    EXPECT_FALSE(Controlla(d).has_value());
    EXPECT_EQ(d.ORAG, "ALFA SRL");
    EXPECT_EQ(d.OSCOM, "ROMA");
    EXPECT_EQ(d.OUCDTE, "ID1");
}

TEST(Controlla, LaMaiuscolaNonCambiaLaLunghezza)
{
    DatiSoggetto d = SocietaCompleta();
    d.ORAG = QString::fromUtf8("straße");
    EXPECT_FALSE(Controlla(d).has_value());
    EXPECT_EQ(d.ORAG, QString::fromUtf8("STRAßE"));
}

TEST(Controlla, SocietaConCognomeVuotoPassa)
{
    DatiSoggetto d = SocietaCompleta();
    d.OCOG.clear();
    d.ONOME.clear();
    EXPECT_FALSE(Controlla(d).has_value());
}

TEST(Controlla, PersonaFisicaNonRichiedeLaRagioneSociale)
{
    DatiSoggetto d = SocietaCompleta();
    d.OPF = true;
    d.ORAG.clear();
    d.OCOG = "ROSSI";
    d.ONOME = "MARIO";
    EXPECT_FALSE(Controlla(d).has_value());
}

TEST(Controlla, PaeseVuotoDiventaItalia)
{
    DatiSoggetto d = SocietaCompleta();
    d.OSPAESE = "  ";
    d.OSPAESED.clear();
    EXPECT_FALSE(Controlla(d).has_value());
    EXPECT_EQ(d.OSPAESE, "IT");
    EXPECT_EQ(d.OSPAESED, "ITALIA");
}

TEST(Controlla, PaeseVuotoRestaVuotoSeUnControlloFallisce)
{
    DatiSoggetto d = SocietaCompleta();
    d.OSPAESE.clear();
    d.OSCAP.clear();
    EXPECT_TRUE(Controlla(d).has_value());
    EXPECT_EQ(d.OSPAESE, "");
}

TEST(Controlla, DichiaranteConCaricaValidaEStabileCompletaPassano)
{
    DatiSoggetto d = SocietaCompleta();
    d.ODICPIVA = "RSSMRA80A01H501U";
    d.ODICCARICA = "01";
    d.OSOINDI = "VIA NAZIONALE";
    d.OSOCAP = "00184";
    d.OSOCOM = "ROMA";
    d.OSOPAESE = "IT";
    EXPECT_FALSE(Controlla(d).has_value());
    d.ODICCARICA = "15";
    EXPECT_FALSE(Controlla(d).has_value());
}

TEST(Controlla, CaricaSenzaDichiaranteNonEControllata)
{
    DatiSoggetto d = SocietaCompleta();
    d.ODICCARICA = "99";
    EXPECT_FALSE(Controlla(d).has_value());
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
    d.OCF = "RSSMRA80A01H501U";
    EXPECT_FALSE(ControllaCodiceFiscale(d, [](const QString&) { return 0; }).has_value());
    EXPECT_EQ(d.OPIVA, "RSSMRA80A01H501U");

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
