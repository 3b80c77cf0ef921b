// Dates of the invoice rows in every form the sheets and CSV files write them.

#include "declarants/import/ConvertiData.h"

#include <gtest/gtest.h>

using quercino::importazione::ConvertiData;
using quercino::importazione::DataLetta;

namespace {

QDate Letta(const char* testo)
{
    const DataLetta d = ConvertiData(QString::fromLatin1(testo));
    return d.esito == DataLetta::Esito::Valida ? d.data : QDate();
}

bool NonValida(const char* testo)
{
    return ConvertiData(QString::fromLatin1(testo)).esito == DataLetta::Esito::NonValida;
}

} // namespace

TEST(ConvertiData, TheLastDayOf2017InEveryForm)
{
    const QDate atteso(2017, 12, 31);
    for (const char* forma : {"31/12/2017", "31122017", "20171231", "2017-12-31", " 31/12/2017 ", "31/12/2017 00:00:00", "31/12/17"})
        EXPECT_EQ(Letta(forma), atteso) << forma;
}

TEST(ConvertiData, YearFirstDatesOf2000To2012AreNotMisread)
{
    EXPECT_EQ(Letta("20120105"), QDate(2012, 1, 5));
    EXPECT_EQ(Letta("20000101"), QDate(2000, 1, 1));
    EXPECT_EQ(Letta("20121231"), QDate(2012, 12, 31));
    // Day first when year first is no real date of 1970-2099.
    EXPECT_EQ(Letta("05012012"), QDate(2012, 1, 5));
    EXPECT_EQ(Letta("12101999"), QDate(1999, 10, 12));
    EXPECT_EQ(Letta("1/2/2018"), QDate(2018, 2, 1));
}

TEST(ConvertiData, UnreadableAndEarlyDatesAreWrongValues)
{
    EXPECT_EQ(ConvertiData(QString()).esito, DataLetta::Esito::Vuota);
    EXPECT_EQ(ConvertiData(QStringLiteral("   ")).esito, DataLetta::Esito::Vuota);
    for (const char* forma : {"31-12-2017", "31/02/2017", "2017/12/31", "3112201", "ABCDEFGH", "31/12/1969", "01011900",
                              "1/1/05x", "31.12.2017", "32/01/2018", "00/01/2018", "/12/2017", "1//2017"})
        EXPECT_TRUE(NonValida(forma)) << forma;
    EXPECT_EQ(Letta("01/01/1970"), QDate(1970, 1, 1));
}
