// Line-level cases of the header and of the counterpart block: which element is written
// for which combination of values, compared with lines written by hand.

#include "supporto.h"

#include "declarants/datifattura/Blocchi.h"
#include "declarants/datifattura/Testata.h"

using namespace quercino::datifattura;
using namespace quercino::datifattura::prova;

namespace {

std::string Righe(std::initializer_list<const char*> righe)
{
    std::string testo;
    for (const char* r : righe)
        testo.append(r).append("\r\n");
    return testo;
}

bool Contiene(const std::string& testo, const std::string& parte)
{
    return testo.find(parte) != std::string::npos;
}

TEST(Intestazione, SenzaCodiceDelDichiaranteNessunDichiarante)
{
    DatiDichiarante d = DichiarantePersona();
    d.OPROG = 3;
    d.ODICCARICA = QStringLiteral("1");
    std::string testo;
    ScriviIntestazione(testo, d, 3);
    EXPECT_EQ(testo, Righe({"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>",
                            "<ns2:DatiFattura versione = \"DAT20\" xmlns:ns2 = \"http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v2.0\">",
                            "<DatiFatturaHeader>", "    <ProgressivoInvio>00003</ProgressivoInvio>",
                            "</DatiFatturaHeader>"}));
}

TEST(Intestazione, PersonaFisicaSoloNomeECognome)
{
    DatiDichiarante d = DichiarantePersona();
    d.ORAG = QStringLiteral("NON SCRITTA");
    d.OSCAP = QStringLiteral("100");
    std::string testo;
    ScriviBloccoDichiarante(testo, d, TipoComunicazione::DTE);
    EXPECT_FALSE(Contiene(testo, "Denominazione"));
    EXPECT_TRUE(Contiene(testo, Righe({"                <Nome>MARIO</Nome>", "                <Cognome>ROSSI</Cognome>"})));
    EXPECT_TRUE(Contiene(testo, "                    <CAP>100</CAP>\r\n")) << "the office's postcode as typed";
    EXPECT_EQ(testo.rfind(Righe({"    <DTE>", "        <CedentePrestatoreDTE>"}), 0), 0u);
}

TEST(BloccoControparte, NomeECognomePrevalgonoSullaDenominazione)
{
    RigaFattura r = Riga(QString(), QStringLiteral("DITTA"), QStringLiteral("1"));
    r.CodiceFiscale = QStringLiteral("123");
    r.Nome = QStringLiteral("LUCA");
    r.Cognome = QStringLiteral("BIANCHI");
    std::string testo;
    ScriviTestaBlocco(testo, r, TipoComunicazione::DTR, 12, r.NomeSoggetto());
    EXPECT_EQ(testo, Righe({" ", " <!--BLOCCO NUMERO 000012 FORNITORE  DITTA-->", " ",
                            "         <CedentePrestatoreDTR>", "            <IdentificativiFiscali>",
                            "                <CodiceFiscale>00000000123</CodiceFiscale>",
                            "            </IdentificativiFiscali>", "            <AltriDatiIdentificativi>",
                            "                <Nome>LUCA</Nome>", "                <Cognome>BIANCHI</Cognome>",
                            "            </AltriDatiIdentificativi>"}));
}

TEST(BloccoControparte, RappresentantePersonaFisica)
{
    RigaFattura r = Riga(QStringLiteral("FR123"), QStringLiteral("SOCIETE"), QStringLiteral("1"));
    r.Sede.Nazione = QStringLiteral("FR");
    r.Rappresentante = {QStringLiteral("12345678901"), QStringLiteral("IGNORATA"), QStringLiteral("ANNA"), QStringLiteral("NERI")};
    std::string testo;
    ScriviTestaBlocco(testo, r, TipoComunicazione::DTE, 1, r.NomeSoggetto());
    EXPECT_TRUE(Contiene(testo, Righe({"                <RappresentanteFiscale>", "                <IdFiscaleIVA>",
                                      "                    <IdPaese>IT</IdPaese>",
                                      "                    <IdCodice>12345678901</IdCodice>",
                                      "                </IdFiscaleIVA>", "                <Nome>ANNA</Nome>",
                                      "                <Cognome>NERI</Cognome>",
                                      "                </RappresentanteFiscale>"})));
    EXPECT_TRUE(Contiene(testo, "                    <IdPaese>FR</IdPaese>\r\n"));
    EXPECT_FALSE(Contiene(testo, "IGNORATA"));
    EXPECT_FALSE(Contiene(testo, "<Sede>")) << "no street, no Sede";
}

TEST(Fattura, RigheDiUnaFatturaRicevuta)
{
    RigaFattura r = Riga(QStringLiteral("1"), QStringLiteral("X"), QStringLiteral("9"), QDate(2018, 1, 5));
    r.DataRegistrazione = QDate(2018, 2, 1);
    std::string testo;
    ScriviTestaFattura(testo, r, TipoComunicazione::DTR, QStringLiteral("X"), QStringLiteral("X"));
    ScriviFineFattura(testo, TipoComunicazione::DTR);
    ScriviFineBlocco(testo, TipoComunicazione::DTR);
    ScriviChiusura(testo, TipoComunicazione::DTR);
    EXPECT_EQ(testo, Righe({" ", "        <!--   FATTURA Num. 9 FORNITORE X X-->", "        <DatiFatturaBodyDTR>",
                            "             <DatiGenerali>", "                    <TipoDocumento>TD01</TipoDocumento>",
                            "                    <Data>2018-01-05</Data>", "                     <Numero>9</Numero>",
                            "                    <DataRegistrazione>2018-02-01</DataRegistrazione>",
                            "              </DatiGenerali>", "        </DatiFatturaBodyDTR>", "        ",
                            "        </CedentePrestatoreDTR>", "    </DTR>", "</ns2:DatiFattura>"}));
}

} // namespace
