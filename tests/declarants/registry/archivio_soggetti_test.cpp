// Declarants stored in COPE on the three database back-ends (the registry's own tests
// run on the SQLite file): a whole record written and read back (checked against the
// table's own row), update in place, a second row under a changed code, deletion, quotes
// in codes and names, nulls, the list order and the progressive's row.

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

TEST_P(ArchivioSoggettiTest, ScrittoRilettoRiscrittoSottoUnAltroCodice)
{
    const DatiSoggetto d = Completo("01");
    ScriviSoggetto(db(), d);
    // The table's own row, in some columns of each kind.
    const auto righe = db().select(schema::COPE(), " WHERE OCOD = ?", {"01"});
    ASSERT_EQ(righe.size(), 1u);
    const Row& r = righe.front();
    EXPECT_EQ(QStringList({r.text(cope::OSNUMC), r.text(cope::ODES), r.text(cope::ORFCOG), r.text(cope::OPROG)}),
              (QStringList{"12/B", "ALFA SRL", "MULLER", "00007"}));
    EXPECT_EQ(r.integer(cope::OPF), 0);
    EXPECT_EQ(r.integer(cope::ORFPF), 1);
    DatiSoggetto atteso = d;
    atteso.ODES = "ALFA SRL";
    EXPECT_EQ(LeggiSoggetto(db(), "01"), atteso);
    EXPECT_FALSE(LeggiSoggetto(db(), "02").has_value());

    // Written again: the same row; a natural person's description is surname and name.
    DatiSoggetto persona = d;
    persona.OPF = true;
    persona.ORAG = "";
    persona.OCOG = "ROSSI";
    persona.ONOME = "MARIO";
    persona.ORFPF = false;
    ScriviSoggetto(db(), persona);
    EXPECT_EQ(Righe(db()), 1);
    EXPECT_EQ(LeggiSoggetto(db(), "01")->ODES, "ROSSI MARIO");
    EXPECT_FALSE(LeggiSoggetto(db(), "01")->ORFPF);
    // Under another code: a second row, the first untouched.
    ScriviSoggetto(db(), Completo("05"));
    EXPECT_EQ(Righe(db()), 2);
    EXPECT_EQ(LeggiSoggetto(db(), "01")->ODES, "ROSSI MARIO");
}

TEST_P(ArchivioSoggettiTest, ApiciEliminazioneENulli)
{
    DatiSoggetto d = Completo("D'A");
    d.ORAG = "L'ARTE DELL'OLIO";
    ScriviSoggetto(db(), d);
    ScriviSoggetto(db(), Completo("01"));
    EXPECT_EQ(LeggiSoggetto(db(), "D'A")->ORAG, "L'ARTE DELL'OLIO");
    EXPECT_TRUE(ScriviProgressivo(db(), "D'A", "00009"));
    EXPECT_EQ(LeggiSoggetto(db(), "D'A")->OPROG, "00009");
    EliminaSoggetto(db(), "D'A");
    EliminaSoggetto(db(), "99");
    EXPECT_FALSE(LeggiSoggetto(db(), "D'A").has_value());
    EXPECT_EQ(Righe(db()), 1);

    QVariantList riga = test::rigaCope("02", "ALFA SRL");
    riga[cope::OUCDTE] = QVariant();
    riga[cope::OPROG] = QVariant();
    db().insert(schema::COPE(), riga);
    const auto letto = LeggiSoggetto(db(), "02");
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
