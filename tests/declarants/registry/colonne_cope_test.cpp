// The declarant's columns: their order (the backup format), the database schema
// agreeing with it, and the reading of stored values.

#include "declarants/registry/ColonneCOPE.h"

#include "app/core/Schema.h"

#include <gtest/gtest.h>

namespace quercino {
namespace {

const QStringList ordineAtteso{
    "OCOD", "ORAG", "ONOME", "OCOG", "OPIVA", "OCF", "OSINDI", "OSNUMC", "OSCAP", "OSCOM",
    "OSPRO", "OSPAESE", "OSPAESED", "OPF", "ODES", "ODICPIVA", "ODICCARICA", "ODICCARICAD",
    "ORFPIVA", "ORFRAG", "ORFNOME", "ORFCOG", "ORFPF", "OSOINDI", "OSONUMC", "OSOCAP",
    "OSOCOM", "OSOPRO", "OSOPAESE", "OSOPAESED", "OUCDTE", "OUCDTR", "OPROG"};

TEST(ColonneCOPE, OrdineDelleColonne)
{
    EXPECT_EQ(ColonneCOPE(), ordineAtteso);
}

TEST(ColonneCOPE, LoSchemaDelDatabaseHaLoStessoOrdine)
{
    const Table& cope = schema::COPE();
    QStringList nomi;
    for (const Column& c : cope.columns)
        nomi << c.name.toUpper();
    EXPECT_EQ(nomi, ordineAtteso);
    EXPECT_EQ(cope.columns.at(cope.index("OPF")).type, ColumnType::SmallInt);
    EXPECT_EQ(cope.columns.at(cope.index("ORFPF")).type, ColumnType::SmallInt);
}

TEST(ColonneCOPE, OgniColonnaSiScriveESiRilegge)
{
    DatiSoggetto d;
    for (const QString& colonna : ColonneCOPE()) {
        if (ColonnaCasella(colonna))
            EXPECT_TRUE(ImpostaColonna(d, colonna, 1));
        else
            EXPECT_TRUE(ImpostaColonna(d, colonna, QVariant("V_" + colonna)));
    }
    for (const QString& colonna : ColonneCOPE()) {
        if (ColonnaCasella(colonna))
            EXPECT_EQ(ValoreColonna(d, colonna), QVariant(1)) << colonna.toStdString();
        else
            EXPECT_EQ(ValoreColonna(d, colonna).toString(), "V_" + colonna);
    }
    EXPECT_EQ(d.OCOD, "V_OCOD");
    EXPECT_EQ(d.OPROG, "V_OPROG");
    EXPECT_TRUE(d.OPF);
    EXPECT_TRUE(d.ORFPF);
}

TEST(ColonneCOPE, ValoriNulliECaselle)
{
    DatiSoggetto d;
    d.OPROG = "00003";
    EXPECT_TRUE(ImpostaColonna(d, "oprog", QVariant()));
    EXPECT_EQ(d.OPROG, "");
    EXPECT_TRUE(ImpostaColonna(d, "OPF", QVariant(-1)));  // a true stored as -1
    EXPECT_TRUE(d.OPF);
    EXPECT_TRUE(ImpostaColonna(d, "OPF", QVariant("0")));
    EXPECT_FALSE(d.OPF);
    EXPECT_TRUE(ImpostaColonna(d, "OPF", QVariant(true)));
    EXPECT_TRUE(d.OPF);
    EXPECT_TRUE(ImpostaColonna(d, "OPF", QVariant()));
    EXPECT_FALSE(d.OPF);
    EXPECT_FALSE(ImpostaColonna(d, "NESSUNA", QVariant("x")));
    EXPECT_FALSE(ValoreColonna(d, "NESSUNA").isValid());
    EXPECT_EQ(CampiTesto().size(), 31);
}

TEST(DatiSoggetto, NomiPerGrigliaEPerUtente)
{
    DatiSoggetto societa;
    societa.ORAG = " ALFA SRL ";
    EXPECT_EQ(societa.DescrizioneGriglia(), " ALFA SRL ");
    EXPECT_EQ(societa.NomeVisualizzato(), "ALFA SRL");

    DatiSoggetto persona;
    persona.OPF = true;
    persona.OCOG = "ROSSI";
    persona.ONOME = "MARIO";
    EXPECT_EQ(persona.DescrizioneGriglia(), "ROSSI MARIO");
    EXPECT_EQ(persona.NomeVisualizzato(), "ROSSI MARIO");
}

} // namespace
} // namespace quercino
