#include "app/core/Date.h"
#include "app/core/Messaggi.h"
#include "support/servizi_simulati.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

class DateTest : public ::testing::Test {
protected:
    test::MessaggiSimulati messaggi_;
};

TEST_F(DateTest, TestoInDataReadsTheItalianForms)
{
    struct Caso { QString testo; QDate data; QString testoDopo; bool errore; };
    const Caso casi[] = {
        {u"31/12/2021"_s, QDate(2021, 12, 31), u"31/12/2021"_s, false},
        {u" 01/02/1999 "_s, QDate(1999, 2, 1), u"01/02/1999"_s, false},
        {u"29-02-2000"_s, QDate(2000, 2, 29), u"29-02-2000"_s, false},
        {u"31/12/21"_s, QDate(2021, 12, 31), u"31/12/21"_s, false},
        {u"01/01/29"_s, QDate(2029, 1, 1), u"01/01/29"_s, false},
        {u"01/01/30"_s, QDate(1930, 1, 1), u"01/01/30"_s, false},
        {u"00/00/0000"_s, DataZero(), u"00/00/0000"_s, false},
        {u"00/12/2021"_s, DataZero(), u"00/12/2021"_s, false},
        {QString(), DataZero(), QString(), false},
        {u"2021-12-31"_s, DataZero(), u"2021-12-31"_s, false},   // neither form
        {u"1/12/2021"_s, DataZero(), u"1/12/2021"_s, false},  // nine characters
        {u"1/1/2021"_s, DataZero(), u"1/1/2021"_s, true},     // eight: read as dd/mm/yy
        {u"31/02/2021"_s, DataZero(), u"31/02/2021"_s, true},    // no such day
        {u"29/02/2021"_s, DataZero(), u"29/02/2021"_s, true},
        {u"12/13/2021"_s, DataZero(), u"12/13/2021"_s, true},
        {u"ab/cd/2021"_s, DataZero(), u"ab/cd/2021"_s, true},
        {u"3a/12/21"_s, DataZero(), u"3a/12/21"_s, true},
    };
    for (const Caso& c : casi) {
        QString testo = c.testo;
        bool errore = !c.errore;
        EXPECT_EQ(TestoInData(testo, &errore), c.data) << c.testo.toStdString();
        EXPECT_EQ(errore, c.errore) << c.testo.toStdString();
        EXPECT_EQ(testo, c.testoDopo) << c.testo.toStdString();
    }
    EXPECT_TRUE(messaggi_.mostrati.empty());
}

TEST_F(DateTest, AFailedConversionShowsTheMessageWhenNotAskedForTheFlag)
{
    EXPECT_EQ(TestoInData(u"31/04/2021"_s), DataZero());
    ASSERT_EQ(messaggi_.mostrati.size(), 1u);
    EXPECT_EQ(messaggi_.mostrati[0].testo, u"Errore nell'inserimento della data"_s);
    EXPECT_EQ(messaggi_.mostrati[0].titolo, u"Attenzione"_s);
    EXPECT_EQ(messaggi_.mostrati[0].icona, Icona::Critica);
    EXPECT_EQ(TestoInData(u"30/04/2021"_s), QDate(2021, 4, 30));
    EXPECT_EQ(messaggi_.mostrati.size(), 1u);
}

TEST_F(DateTest, InvertiDataBothWays)
{
    struct Caso { QString dentro, fuori; };
    const Caso casi[] = {
        {u"31/12/2021"_s, u"20211231"_s},
        {u"20211231"_s, u"31/12/2021"_s},
        {u" 01/02/1999 "_s, u"19990201"_s},
        {u"00/00/0000"_s, QString()},
        {u"   "_s, QString()},
        {u"00000000"_s, QString()},
        {u"12/3"_s, u"312"_s},            // characters taken as they stand, digits unchecked
    };
    for (const Caso& c : casi)
        EXPECT_EQ(InvertiData(c.dentro), c.fuori) << c.dentro.toStdString();
}

TEST_F(DateTest, DataItalianaIgnoresTheMachinesLocale)
{
    const QLocale prima;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(DataItaliana(QDate(2021, 4, 19)), u"19/04/2021"_s);
    EXPECT_EQ(DataItaliana(DataZero()), u"30/12/1899"_s);
    EXPECT_EQ(DataItaliana(QDate()), QString());
    QLocale::setDefault(prima);
    EXPECT_TRUE(EDataZero(QDate(1899, 12, 30)));
    EXPECT_FALSE(EDataZero(QDate(1899, 12, 31)));
}

} // namespace
} // namespace quercino
