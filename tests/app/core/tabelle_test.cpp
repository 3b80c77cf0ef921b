// The program's own tables on the back-ends: the columns each one creates (their order is
// the backup line's), the towns in memory loaded from each (name order independent of the
// database's collation, case-insensitive searches, birthplace codes), row counts, the next
// declarant code, and the tax-code check loading the birthplace codes when needed.

#include "app/core/Comuni.h"
#include "app/core/ContaRecord.h"
#include "app/core/ControllaCF.h"
#include "app/core/Globals.h"
#include "app/core/NuovoCodiceOpe.h"
#include "app/core/Schema.h"
#include "support/db_backends.h"

#include <gtest/gtest.h>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::rigaCope;

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

class NuovoCodiceOpeTest : public quercino::test::DbBackendTest {
protected:
    QString dopo(const QStringList& codici)
    {
        db().exec(QStringLiteral("DELETE FROM COPE"));
        for (const QString& c : codici)
            db().insert(schema::COPE(), rigaCope(c, QStringLiteral("DITTA ") + c));
        return NuovoCodiceOpe();
    }
};

TEST_P(NuovoCodiceOpeTest, MassimoNumericoPiuUno)
{
    struct Caso {
        QStringList codici;
        QString atteso;
    };
    const std::vector<Caso> casi = {
        {{}, QStringLiteral("01")},
        {{QStringLiteral("01")}, QStringLiteral("02")},
        {{QStringLiteral("01"), QStringLiteral("09")}, QStringLiteral("10")},
        {{QStringLiteral("99")}, QStringLiteral("100")},
        // Text order would pick "99" and propose "100" again.
        {{QStringLiteral("99"), QStringLiteral("100")}, QStringLiteral("101")},
        {{QStringLiteral("7"), QStringLiteral("010")}, QStringLiteral("11")},
        // Codes that are not all digits (a tax code, a letter) are left out.
        {{QStringLiteral("05"), QStringLiteral("RSSMRA80A01H501U")}, QStringLiteral("06")},
        {{QStringLiteral("ABC")}, QStringLiteral("01")},
        {{QStringLiteral("1A"), QStringLiteral("-5"), QStringLiteral("3")}, QStringLiteral("04")},
        {{QStringLiteral("L'01"), QStringLiteral("02")}, QStringLiteral("03")},
        // A company's tax code (eleven digits) used as the code is no progressive.
        {{QStringLiteral("05"), QStringLiteral("01234567890")}, QStringLiteral("06")},
        {{QStringLiteral("98765432109"), QStringLiteral("1234567890")}, QStringLiteral("1234567891")},
    };
    for (const Caso& caso : casi)
        EXPECT_EQ(dopo(caso.codici), caso.atteso) << caso.codici.join(QLatin1Char(',')).toStdString();
}

QUERCINO_DB_BACKENDS(NuovoCodiceOpeTest);

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
