// Declarants stored in COPE on the three database back-ends: a whole record written and
// read back (checked against the table's own rows), update in place, a second row under
// a changed code, deletion, quotes in codes and names, nulls, the list order and the
// progressive's row.

#include "declarants/registry/ArchivioSoggetti.h"

#include "support/db_backends.h"

#include <gtest/gtest.h>

namespace quercino {
namespace {

class ArchivioSoggettiTest : public test::DbBackendTest {};

DatiSoggetto Completo(const QString& codice)
{
    DatiSoggetto d;
    d.OCOD = codice;
    d.ORAG = "ALFA SRL";
    d.ONOME = "";
    d.OCOG = "";
    d.OPIVA = "01234567890";
    d.OCF = "01234567890";
    d.OSINDI = "VIA ROMA";
    d.OSNUMC = "12/B";
    d.OSCAP = "00100";
    d.OSCOM = "ROMA";
    d.OSPRO = "RM";
    d.OSPAESE = "IT";
    d.OSPAESED = "ITALIA";
    d.ODICPIVA = "RSSMRA80A01H501U";
    d.ODICCARICA = "1";
    d.ODICCARICAD = "RAPPRESENTANTE LEGALE";
    d.ORFPIVA = "DE123456789";
    d.ORFRAG = "BETA GMBH";
    d.ORFNOME = "HANS";
    d.ORFCOG = "MULLER";
    d.ORFPF = true;
    d.OSOINDI = "VIA NAZIONALE";
    d.OSONUMC = "3";
    d.OSOCAP = "00184";
    d.OSOCOM = "ROMA";
    d.OSOPRO = "RM";
    d.OSOPAESE = "IT";
    d.OSOPAESED = "ITALIA";
    d.OUCDTE = "12345";
    d.OUCDTR = "67890";
    d.OPROG = "00007";
    return d;
}

int Righe(Database& db)
{
    return db.scalar("SELECT COUNT(*) FROM COPE", {}, ColumnType::Integer)->toInt();
}

TEST_P(ArchivioSoggettiTest, UnSoggettoCompletoSiScriveESiRilegge)
{
    const DatiSoggetto d = Completo("01");
    ScriviSoggetto(db(), d);

    // The table's own row, column by column.
    const auto righe = db().select(schema::COPE(), " WHERE OCOD = ?", {"01"});
    ASSERT_EQ(righe.size(), 1u);
    const Row& r = righe.front();
    EXPECT_EQ(r.text(cope::OCOD), "01");
    EXPECT_EQ(r.text(cope::ORAG), "ALFA SRL");
    EXPECT_EQ(r.text(cope::OSNUMC), "12/B");
    EXPECT_EQ(r.integer(cope::OPF), 0);
    EXPECT_EQ(r.text(cope::ODES), "ALFA SRL");
    EXPECT_EQ(r.integer(cope::ORFPF), 1);
    EXPECT_EQ(r.text(cope::ORFCOG), "MULLER");
    EXPECT_EQ(r.text(cope::OSOCAP), "00184");
    EXPECT_EQ(r.text(cope::OUCDTR), "67890");
    EXPECT_EQ(r.text(cope::OPROG), "00007");

    DatiSoggetto atteso = d;
    atteso.ODES = "ALFA SRL";
    EXPECT_EQ(LeggiSoggetto(db(), "01"), atteso);
    EXPECT_FALSE(LeggiSoggetto(db(), "02").has_value());
}

TEST_P(ArchivioSoggettiTest, PersonaFisicaHaDescrizioneCognomeNome)
{
    DatiSoggetto d = Completo("01");
    d.OPF = true;
    d.ORAG = "";
    d.OCOG = "ROSSI";
    d.ONOME = "MARIO";
    ScriviSoggetto(db(), d);
    const auto righe = db().select(schema::COPE(), " WHERE OCOD = ?", {"01"});
    ASSERT_EQ(righe.size(), 1u);
    EXPECT_EQ(righe.front().text(cope::ODES), "ROSSI MARIO");
    EXPECT_EQ(righe.front().integer(cope::OPF), 1);
}

TEST_P(ArchivioSoggettiTest, RiscritturaAggiornaLaStessaRiga)
{
    ScriviSoggetto(db(), Completo("01"));
    DatiSoggetto d = Completo("01");
    d.ORAG = "ALFA SPA";
    d.ORFPF = false;
    d.OPROG = "00008";
    ScriviSoggetto(db(), d);
    EXPECT_EQ(Righe(db()), 1);
    const auto letto = LeggiSoggetto(db(), "01");
    ASSERT_TRUE(letto.has_value());
    EXPECT_EQ(letto->ORAG, "ALFA SPA");
    EXPECT_EQ(letto->ODES, "ALFA SPA");
    EXPECT_FALSE(letto->ORFPF);
    EXPECT_EQ(letto->OPROG, "00008");
}

TEST_P(ArchivioSoggettiTest, CodiceCambiatoScriveUnaNuovaRiga)
{
    ScriviSoggetto(db(), Completo("01"));
    DatiSoggetto d = Completo("05");
    d.ORAG = "ALFA NUOVA";
    ScriviSoggetto(db(), d);
    EXPECT_EQ(Righe(db()), 2);
    EXPECT_EQ(LeggiSoggetto(db(), "01")->ORAG, "ALFA SRL");
    EXPECT_EQ(LeggiSoggetto(db(), "05")->ORAG, "ALFA NUOVA");
}

TEST_P(ArchivioSoggettiTest, ApiciNelCodiceENelNome)
{
    DatiSoggetto d = Completo("D'A");
    d.ORAG = "L'ARTE DELL'OLIO";
    ScriviSoggetto(db(), d);
    ScriviSoggetto(db(), Completo("01"));
    ASSERT_TRUE(LeggiSoggetto(db(), "D'A").has_value());
    EXPECT_EQ(LeggiSoggetto(db(), "D'A")->ORAG, "L'ARTE DELL'OLIO");
    EXPECT_TRUE(ScriviProgressivo(db(), "D'A", "00009"));
    EXPECT_EQ(LeggiSoggetto(db(), "D'A")->OPROG, "00009");
    EliminaSoggetto(db(), "D'A");
    EXPECT_FALSE(LeggiSoggetto(db(), "D'A").has_value());
    EXPECT_EQ(Righe(db()), 1);
}

TEST_P(ArchivioSoggettiTest, EliminaSoloLaRigaDelCodice)
{
    ScriviSoggetto(db(), Completo("01"));
    ScriviSoggetto(db(), Completo("02"));
    EliminaSoggetto(db(), "01");
    EliminaSoggetto(db(), "99");
    EXPECT_FALSE(LeggiSoggetto(db(), "01").has_value());
    EXPECT_TRUE(LeggiSoggetto(db(), "02").has_value());
}

TEST_P(ArchivioSoggettiTest, NulliSiLeggonoComeTestoVuoto)
{
    QVariantList riga = test::rigaCope("01", "ALFA SRL");
    riga[cope::OUCDTE] = QVariant();
    riga[cope::OUCDTR] = QVariant();
    riga[cope::OPROG] = QVariant();
    db().insert(schema::COPE(), riga);
    const auto letto = LeggiSoggetto(db(), "01");
    ASSERT_TRUE(letto.has_value());
    EXPECT_EQ(letto->OUCDTE, "");
    EXPECT_EQ(letto->OPROG, "");
    EXPECT_FALSE(letto->OPF);
}

TEST_P(ArchivioSoggettiTest, ElencoOrdinatoPerRagioneSociale)
{
    DatiSoggetto c = Completo("01");
    c.ORAG = "ZETA SRL";
    ScriviSoggetto(db(), c);
    DatiSoggetto a = Completo("02");
    a.ORAG = "ALFA SRL";
    ScriviSoggetto(db(), a);
    DatiSoggetto p = Completo("03");
    p.OPF = true;
    p.ORAG = "";
    p.OCOG = "ROSSI";
    p.ONOME = "MARIO";
    ScriviSoggetto(db(), p);

    const auto elenco = ElencoSoggetti(db());
    ASSERT_EQ(elenco.size(), 3u);
    EXPECT_EQ(elenco[0].OCOD, "03");  // empty company name first
    EXPECT_EQ(elenco[0].ODES, "ROSSI MARIO");
    EXPECT_EQ(elenco[1].OCOD, "02");
    EXPECT_EQ(elenco[1].OCF, "01234567890");
    EXPECT_EQ(elenco[2].ODES, "ZETA SRL");
}

TEST_P(ArchivioSoggettiTest, ProgressivoSoloSeLaRigaEsiste)
{
    ScriviSoggetto(db(), Completo("01"));
    EXPECT_TRUE(ScriviProgressivo(db(), "01", "40001"));
    EXPECT_EQ(LeggiSoggetto(db(), "01")->OPROG, "40001");
    EXPECT_FALSE(ScriviProgressivo(db(), "02", "00002"));
    EXPECT_EQ(Righe(db()), 1);
}

QUERCINO_DB_BACKENDS(ArchivioSoggettiTest);

} // namespace
} // namespace quercino
