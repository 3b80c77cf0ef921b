// Row counting on the three database back-ends.

#include "support/db_backends.h"

#include "app/core/ContaRecord.h"
#include "app/core/Globals.h"
#include "app/core/Schema.h"

#include <gtest/gtest.h>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

class ContaRecordTest : public test::DbBackendTest {};

TEST_P(ContaRecordTest, CountsAllRowsOrThoseOfOneDeclarant)
{
    EXPECT_EQ(ContaRecord(u"COPE"_s, QString()), 0);
    db().insert(schema::COPE(), test::rigaCope(u"01"_s, u"ROSSI SPA"_s));
    db().insert(schema::COPE(), test::rigaCope(u"02"_s, u"BIANCHI SRL"_s));
    db().insert(schema::COPE(), test::rigaCope(u"O'3"_s, u"L'ALBERO SNC"_s));
    db().insert(schema::CTAB(), {u"PAESE"_s, u"IT"_s, u"ITALIA"_s});

    EXPECT_EQ(ContaRecord(u"COPE"_s, QString()), 3);
    EXPECT_EQ(ContaRecord(u"cope"_s, QString()), 3);
    EXPECT_EQ(ContaRecord(u"COPE"_s, u"02"_s), 1);
    EXPECT_EQ(ContaRecord(u"COPE"_s, u"O'3"_s), 1);      // a quote is only a character
    EXPECT_EQ(ContaRecord(u"COPE"_s, u"' OR '1'='1"_s), 0);
    EXPECT_EQ(ContaRecord(u"COPE"_s, u"99"_s), 0);
    EXPECT_EQ(ContaRecord(u"CTAB"_s, QString()), 1);
}

TEST_P(ContaRecordTest, FailuresCountNothing)
{
    db().insert(schema::CTAB(), {u"PAESE"_s, u"IT"_s, u"ITALIA"_s});
    EXPECT_EQ(ContaRecord(u"CTAB"_s, u"01"_s), 0);              // no declarant column
    EXPECT_EQ(ContaRecord(u"NONESISTE"_s, QString()), 0);
    EXPECT_EQ(ContaRecord(u"COPE; DROP TABLE CTAB"_s, QString()), 0);
    EXPECT_EQ(ContaRecord(u"CTAB"_s, QString()), 1);
    Database* connessione = Cnn;
    Cnn = nullptr;
    EXPECT_EQ(ContaRecord(u"CTAB"_s, QString()), 0);
    Cnn = connessione;
}

QUERCINO_DB_BACKENDS(ContaRecordTest);

} // namespace
} // namespace quercino
