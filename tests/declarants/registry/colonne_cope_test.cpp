// The declarant's columns: each one's field of the record, and the reading of stored values.

#include "declarants/registry/ColonneCOPE.h"

#include "app/core/Schema.h"

#include <gtest/gtest.h>

namespace quercino {
namespace {

// Each column reaches its own field of the record, and back.
TEST(ColonneCOPE, OgniColonnaSiScriveESiRilegge)
{
    DatiSoggetto d;
    for (const QString& colonna : ColonneCOPE())
        EXPECT_TRUE(ImpostaColonna(d, colonna, ColonnaCasella(colonna) ? QVariant(1) : QVariant("V_" + colonna)));
    for (const QString& colonna : ColonneCOPE())
        EXPECT_EQ(ValoreColonna(d, colonna), ColonnaCasella(colonna) ? QVariant(1) : QVariant("V_" + colonna))
            << colonna.toStdString();
    EXPECT_EQ(QStringList({d.OCOD, d.ODES, d.OPROG}), (QStringList{"V_OCOD", "V_ODES", "V_OPROG"}));
    EXPECT_TRUE(d.OPF && d.ORFPF);
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
