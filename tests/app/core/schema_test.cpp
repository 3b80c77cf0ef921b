// The tables as each back-end creates them. COPE's column order is the order of the
// values in a backup line, so it is checked against the declarant record's field list.
#include "support/db_backends.h"

#include <gtest/gtest.h>

using namespace quercino;

namespace {

const QStringList CampiCope = {
    "OCOD", "ORAG", "ONOME", "OCOG", "OPIVA", "OCF", "OSINDI", "OSNUMC", "OSCAP", "OSCOM", "OSPRO",
    "OSPAESE", "OSPAESED", "OPF", "ODES", "ODICPIVA", "ODICCARICA", "ODICCARICAD", "ORFPIVA", "ORFRAG",
    "ORFNOME", "ORFCOG", "ORFPF", "OSOINDI", "OSONUMC", "OSOCAP", "OSOCOM", "OSOPRO", "OSOPAESE",
    "OSOPAESED", "OUCDTE", "OUCDTR", "OPROG"};

class SchemaTest : public quercino::test::DbBackendTest {};

TEST_P(SchemaTest, ColonneNellOrdineFisico)
{
    EXPECT_EQ(db().resultColumns(QStringLiteral("SELECT * FROM COPE")), CampiCope);
    EXPECT_EQ(db().resultColumns(QStringLiteral("SELECT * FROM CTAB")), (QStringList{"TIPO", "COD", "DES"}));
    EXPECT_EQ(db().resultColumns(QStringLiteral("SELECT * FROM T_COMUNI")), (QStringList{"COMUNE", "PRO"}));
    EXPECT_EQ(db().resultColumns(QStringLiteral("SELECT * FROM T_COMUNICF")),
              (QStringList{"KEY_TAB", "DESCRIZION"}));
}

TEST_P(SchemaTest, UnaRigaDiSoggettoCompletaTornaUguale)
{
    QVariantList riga;
    for (int i = 0; i < CampiCope.size(); ++i)
        riga << QStringLiteral("V%1").arg(i);
    riga[cope::OCOD] = QStringLiteral("0123456789ABCDEF");  // the full 16 characters
    riga[cope::OSPRO] = QStringLiteral("RM");
    riga[cope::OSPAESE] = QStringLiteral("IT");
    riga[cope::ODICCARICA] = QStringLiteral("15");
    riga[cope::OSOPRO] = QStringLiteral("MI");
    riga[cope::OSOPAESE] = QStringLiteral("SM");
    riga[cope::OPF] = 1;
    riga[cope::ORFPF] = 0;
    riga[cope::OUCDTE] = QVariant();  // may be null
    db().insert(schema::COPE(), riga);

    const auto righe = db().select(schema::COPE(), QStringLiteral(" WHERE OCOD = ?"), {riga[cope::OCOD]});
    ASSERT_EQ(righe.size(), 1u);
    for (int i = 0; i < CampiCope.size(); ++i) {
        SCOPED_TRACE(CampiCope[i].toStdString());
        if (i == cope::OPF || i == cope::ORFPF)
            EXPECT_EQ(righe[0].integer(i), riga[i].toInt());
        else if (i == cope::OUCDTE)
            EXPECT_TRUE(righe[0].isNull(i));
        else
            EXPECT_EQ(righe[0].text(i), riga[i].toString());
    }
    // OCOD is the key.
    EXPECT_THROW(db().insert(schema::COPE(), riga), DbError);
}

QUERCINO_DB_BACKENDS(SchemaTest);

} // namespace
