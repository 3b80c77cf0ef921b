// The tax-code check loading the birthplace codes from the database when they are not in
// memory (the loading itself runs on every back-end in comuni_test).

#include "support/db_backends.h"

#include "app/core/Comuni.h"
#include "app/core/ControllaCF.h"
#include "app/core/Globals.h"
#include "app/core/Schema.h"

#include <gtest/gtest.h>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

class ControllaCFComuniTest : public test::DbBackendTest {
protected:
    void TearDown() override
    {
        ComuniAperto = false;
        test::DbBackendTest::TearDown();
    }
};

TEST_P(ControllaCFComuniTest, LoadsTheTownTablesWhenNotOpen)
{
    // Codes computed by codice-fiscale-js (fixtures/codici_fiscali.txt).
    db().insert(schema::T_COMUNICF(), {u"H501"_s, u"ROMA"_s});
    db().insert(schema::T_COMUNICF(), {u"F205"_s, u"MILANO"_s});
    ComuniAperto = false;
    EXPECT_EQ(ControllaCF(u"RSSMRA85T10H501O"_s), CFValido);
    EXPECT_TRUE(ComuniAperto);
    EXPECT_EQ(ControllaCF(u"BNCMRA70A41F205F"_s), CFValido);
    EXPECT_EQ(ControllaCF(u"RSSMRAURTMLHRLMJ"_s), CFValido);  // omocodic, birthplace too
    EXPECT_EQ(ControllaCF(u"CNTPLA90A09B354M"_s), CFErrato);  // Cagliari is not in the table
    EXPECT_EQ(ControllaCF(u"RSSMRA85T10H501A"_s), u'O');
}

QUERCINO_DB_SOLO_FILE(ControllaCFComuniTest);

} // namespace
} // namespace quercino
