// The town tables in memory, loaded from each back-end: name order independent of the
// database's collation, case-insensitive prefix and exact searches, birthplace codes.
#include "support/db_backends.h"

#include "app/core/Comuni.h"
#include "app/core/Globals.h"

#include <gtest/gtest.h>

using namespace quercino;

namespace {

class ComuniTest : public quercino::test::DbBackendTest {
protected:
    void comune(const char* nome, const char* provincia)
    {
        db().insert(schema::T_COMUNI(), {QString::fromUtf8(nome), QString::fromUtf8(provincia)});
    }
};

TEST_P(ComuniTest, RicercaPerPrefissoEPerNomeIntero)
{
    // Inserted out of order; names with blanks and apostrophes order by character code.
    comune("ROMANO D'EZZELINO", "VI");
    comune("ROMA", "RM");
    comune("ROMANO CANAVESE", "TO");
    comune("ROCCA DI PAPA", "RM");
    comune("L'AQUILA", "AQ");
    comune("LA SPEZIA", "SP");
    comune("SAMONE", "TO");
    comune("SAMONE", "TN");
    db().insert(schema::T_COMUNICF(), {QStringLiteral("H501"), QStringLiteral("ROMA")});
    db().insert(schema::T_COMUNICF(), {QStringLiteral("Z110"), QStringLiteral("FRANCIA")});

    ComuniAperto = false;
    CaricaComuni();
    EXPECT_TRUE(ComuniAperto);

    QStringList ordine;
    for (const Comune& c : Comuni().comuni())
        ordine << c.nome;
    EXPECT_EQ(ordine, (QStringList{"L'AQUILA", "LA SPEZIA", "ROCCA DI PAPA", "ROMA", "ROMANO CANAVESE",
                                   "ROMANO D'EZZELINO", "SAMONE", "SAMONE"}));

    auto prefisso = [](const char* p) {
        const Comune* c = Comuni().cercaPrefisso(QString::fromUtf8(p));
        return c ? c->nome + QLatin1Char('/') + c->provincia : QStringLiteral("-");
    };
    EXPECT_EQ(prefisso("r"), QStringLiteral("ROCCA DI PAPA/RM"));
    EXPECT_EQ(prefisso("ro"), QStringLiteral("ROCCA DI PAPA/RM"));
    EXPECT_EQ(prefisso("rom"), QStringLiteral("ROMA/RM"));
    EXPECT_EQ(prefisso("Romano "), QStringLiteral("ROMANO CANAVESE/TO"));
    EXPECT_EQ(prefisso("romano d'"), QStringLiteral("ROMANO D'EZZELINO/VI"));
    EXPECT_EQ(prefisso("l'"), QStringLiteral("L'AQUILA/AQ"));
    EXPECT_EQ(prefisso("la"), QStringLiteral("LA SPEZIA/SP"));
    EXPECT_EQ(prefisso("X"), QStringLiteral("-"));
    EXPECT_EQ(prefisso("ROMAX"), QStringLiteral("-"));
    EXPECT_EQ(prefisso(""), QStringLiteral("-"));
    EXPECT_EQ(prefisso("%"), QStringLiteral("-"));

    ASSERT_NE(Comuni().cercaEsatto(QStringLiteral("roma")), nullptr);
    EXPECT_EQ(Comuni().cercaEsatto(QStringLiteral("roma"))->provincia, QStringLiteral("RM"));
    EXPECT_EQ(Comuni().cercaEsatto(QStringLiteral("ROM")), nullptr);
    // Two towns of the same name: by province.
    ASSERT_NE(Comuni().cercaEsatto(QStringLiteral("SAMONE")), nullptr);
    EXPECT_EQ(Comuni().cercaEsatto(QStringLiteral("SAMONE"))->provincia, QStringLiteral("TN"));

    EXPECT_TRUE(ComuniCF().contiene(QStringLiteral("H501")));
    EXPECT_TRUE(ComuniCF().contiene(QStringLiteral("z110")));
    EXPECT_FALSE(ComuniCF().contiene(QStringLiteral("H502")));
    EXPECT_FALSE(ComuniCF().contiene(QString()));
    EXPECT_EQ(ComuniCF().conta(), 2);
}

TEST_P(ComuniTest, UnErroreDelDatabaseLasciaLeTabelleComerano)
{
    comune("ROMA", "RM");
    CaricaComuni();
    db().exec(QStringLiteral("DROP TABLE T_COMUNICF"));
    ComuniAperto = false;
    EXPECT_THROW(CaricaComuni(), DbError);
    EXPECT_FALSE(ComuniAperto);
    EXPECT_NE(Comuni().cercaEsatto(QStringLiteral("ROMA")), nullptr);
}

QUERCINO_DB_BACKENDS(ComuniTest);

} // namespace
