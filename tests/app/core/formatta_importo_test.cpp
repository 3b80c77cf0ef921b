#include "app/core/FormattaImporto.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRandomGenerator>
#include <QStringList>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(FormattaImporto, Examples)
{
    struct Caso { QString importo, risultato; };
    const Caso casi[] = {
        {QString(), u"0.00"_s},
        {u"0"_s, u"0.00"_s},
        {u"12"_s, u"12.00"_s},
        {u"0012"_s, u"0012.00"_s},        // no number check without a separator
        {u"12,5"_s, u"12.50"_s},
        {u"12.5"_s, u"12.50"_s},
        {u"-3,456"_s, u"-3.46"_s},
        {u"0,125"_s, u"0.13"_s},          // half away from zero, exactly (a double gives 0.12)
        {u"-0,125"_s, u"-0.13"_s},
        {u"2,675"_s, u"2.68"_s},
        {u"1,005"_s, u"1.01"_s},
        {u"9,995"_s, u"10.00"_s},
        {u"-0,001"_s, u"0.00"_s},
        {u",5"_s, u"0.50"_s},
        {u"7,"_s, u"7.00"_s},
        {u"+4,1"_s, u"4.10"_s},
        {u"0012,5"_s, u"12.50"_s},
        {u"1.234"_s, u"1.23"_s},          // a plain "." is the decimal separator
        {u"12345678901234567890,555"_s, u"12345678901234567890.56"_s},
        {u"1,2,3"_s, u"1.2.3"_s},         // not a number: commas become full stops
        {u"12a,5"_s, u"12a.5"_s},
        {u"  12,5  "_s, u"12.50"_s},
        // Thousands separators.
        {u"1.234,5"_s, u"1234.50"_s},
        {u"1.234.567,891"_s, u"1234567.89"_s},
        {u"-1.234,5"_s, u"-1234.50"_s},
        {u"1 234,50"_s, u"1234.50"_s},
        {u"1 234 567,5"_s, u"1234567.50"_s},
        {u"1 234"_s, u"1234.00"_s},
        {u"1 234.5"_s, u"1234.50"_s},
        {u"12 5"_s, u"12 5.00"_s},       // not a grouping: never turned into another number
        {u"1.23,5"_s, u"1.23.5"_s},
        {u"1.234.567"_s, u"1.234.567"_s},
        // A blank amount is empty, not ".00".
        {u"   "_s, u"0.00"_s},
    };
    for (const Caso& c : casi)
        EXPECT_EQ(FormattaImporto(c.importo), c.risultato) << c.importo.toStdString();
}

TEST(FormattaImporto, TheCallersTextIsTrimmedAndGetsCommas)
{
    QString importo = u" 12.5 "_s;
    EXPECT_EQ(FormattaImporto(importo), u"12.50"_s);
    EXPECT_EQ(importo, u"12,5"_s);
    importo = u"1.234,5"_s;
    EXPECT_EQ(FormattaImporto(importo), u"1234.50"_s);
    EXPECT_EQ(importo, u"1234,5"_s);
    importo = u" 12 "_s;
    EXPECT_EQ(FormattaImporto(importo), u"12.00"_s);
    EXPECT_EQ(importo, u"12"_s);
}

// Random amounts against Python's decimal rounding (ROUND_HALF_UP rounds half away from
// zero), so no binary floating point is involved on either side.
TEST(FormattaImporto, RoundsAsPythonsDecimal)
{
    QRandomGenerator caso(20210419);
    QStringList importi;
    for (int i = 0; i < 2000; ++i) {
        const QString intera = QString::number(caso.bounded(0, 10000000));
        QString decimali;
        const int cifre = caso.bounded(0, 6);
        for (int k = 0; k < cifre; ++k)
            decimali.append(QChar(u'0' + caso.bounded(0, 10)));
        if (caso.bounded(0, 4) == 0)
            decimali = decimali.left(2) + u'5';  // exact halves are the hard case
        const QString segno = caso.bounded(0, 3) == 0 ? u"-"_s : QString();
        importi.append(segno + intera + u',' + decimali);
    }
    QProcess python;
    python.start(u"/usr/bin/python3"_s,
                 {u"-c"_s,
                  u"import sys\n"
                  "from decimal import Decimal, ROUND_HALF_UP\n"
                  "for riga in sys.stdin.read().split():\n"
                  "    d = Decimal(riga.replace(',', '.') + ('0' if riga.endswith(',') else ''))\n"
                  "    q = d.quantize(Decimal('0.01'), rounding=ROUND_HALF_UP)\n"
                  "    print('0.00' if q == 0 else str(q))\n"_s});
    python.write(importi.join(u'\n').toUtf8());
    python.closeWriteChannel();
    ASSERT_TRUE(python.waitForFinished(60000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QStringList attesi =
        QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(attesi.size(), importi.size());
    for (qsizetype i = 0; i < importi.size(); ++i)
        EXPECT_EQ(FormattaImporto(importi[i]), attesi[i]) << importi[i].toStdString();
}

} // namespace
} // namespace quercino
