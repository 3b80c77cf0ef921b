// The program's own tables on the back-ends: the columns each one creates (their order is
// the backup line's), the towns in memory loaded from each (name order independent of the
// database's collation, case-insensitive searches, birthplace codes), row counts, the next
// declarant code and the tax-code check loading the birthplace codes when needed (the cases
// of casi/tabelle.tsv).

#include "app/core/Comuni.h"
#include "app/core/ContaRecord.h"
#include "app/core/ControllaCF.h"
#include "app/core/Globals.h"
#include "app/core/NuovoCodiceOpe.h"
#include "app/core/Schema.h"
#include "support/casi.h"
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

TEST_P(SchemaTest, CasiDellaTabella)
{
    // Inserted out of order.
    for (const auto& [nome, provincia] : std::initializer_list<std::pair<QString, QString>>{
             {"ROMANO D'EZZELINO", "VI"}, {"ROMA", "RM"}, {"ROMANO CANAVESE", "TO"}, {"ROCCA DI PAPA", "RM"},
             {"L'AQUILA", "AQ"}, {"LA SPEZIA", "SP"}, {"SAMONE", "TO"}, {"SAMONE", "TN"}})
        db().insert(schema::T_COMUNI(), {nome, provincia});
    db().insert(schema::T_COMUNICF(), {u"H501"_s, u"ROMA"_s});
    db().insert(schema::T_COMUNICF(), {u"Z110"_s, u"FRANCIA"_s});
    db().insert(schema::T_COMUNICF(), {u"F205"_s, u"MILANO"_s});
    db().insert(schema::COPE(), rigaCope(u"01"_s, u"ROSSI SPA"_s));
    db().insert(schema::COPE(), rigaCope(u"02"_s, u"BIANCHI SRL"_s));
    db().insert(schema::COPE(), rigaCope(u"O'3"_s, u"L'ALBERO SNC"_s));
    db().insert(schema::CTAB(), {u"PAESE"_s, u"IT"_s, u"ITALIA"_s});
    ComuniAperto = false;
    CaricaComuni();
    EXPECT_TRUE(ComuniAperto);
    QStringList ordine;
    for (const Comune& c : Comuni().comuni())
        ordine << c.nome;
    EXPECT_EQ(ordine, (QStringList{"L'AQUILA", "LA SPEZIA", "ROCCA DI PAPA", "ROMA", "ROMANO CANAVESE",
                                   "ROMANO D'EZZELINO", "SAMONE", "SAMONE"}));
    EXPECT_EQ(ComuniCF().conta(), 3);

    const auto comune = [](const Comune* c) { return QStringList{c ? c->nome + u'/' + c->provincia : u"-"_s}; };
    test::ControllaFunzioni(__FILE__, "casi/tabelle.tsv", {
        {"Prefisso", [&](const QStringList& a) { return comune(Comuni().cercaPrefisso(a[0])); }},
        {"Esatto", [&](const QStringList& a) { return comune(Comuni().cercaEsatto(a[0])); }},
        {"CodiceCF", [](const QStringList& a) { return QStringList{QString::number(ComuniCF().contiene(a[0]))}; }},
        // With "chiuse" the town tables are closed first: the check loads them itself.
        {"ControllaCF", [](const QStringList& a) {
             if (a[1] == u"chiuse")
                 ComuniAperto = false;
             const int esito = ControllaCF(a[0]);
             return QStringList{QString::number(esito), QString::number(ComuniAperto)};
         }},
        {"ContaRecord", [](const QStringList& a) { return QStringList{QString::number(ContaRecord(a[0], a[1]))}; }},
        {"NuovoCodiceOpe", [this](const QStringList& a) {
             db().exec(u"DELETE FROM COPE"_s);
             for (const QString& c : a[0].split(u',', Qt::SkipEmptyParts))
                 db().insert(schema::COPE(), rigaCope(c, u"DITTA "_s + c));
             return QStringList{NuovoCodiceOpe()};
         }},
    });
    Cnn = nullptr;
    EXPECT_EQ(ContaRecord(u"CTAB"_s, QString()), 0);
    Cnn = &db();

    // A database error leaves the tables as they were.
    db().exec(u"DROP TABLE T_COMUNICF"_s);
    ComuniAperto = false;
    EXPECT_THROW(CaricaComuni(), DbError);
    EXPECT_FALSE(ComuniAperto);
    EXPECT_NE(Comuni().cercaEsatto(u"ROMA"_s), nullptr);
}

QUERCINO_DB_BACKENDS(SchemaTest);

} // namespace
} // namespace quercino
