#include "app/core/Cripta.h"
#include "platform/text/Windows1252.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(Cripta, HandComputedBackupLine)
{
    // Key 7: C(67)+8=K(75), O(79)+9=X(88), P(80)+10=Z(90), E(69)+11=P(80);
    //        0(48)+8=8(56), 1(49)+9=:(58).
    EXPECT_EQ(CriptaCampi(u"¦COPE¦01"_s, u"Scrivi"_s, 7), u"¦KXZP¦8:"_s);
    EXPECT_EQ(CriptaCampi(u"¦KXZP¦8:"_s, u"Leggi"_s, 7), u"¦COPE¦01"_s);
    // Shifts run in code-page codes: "a" (97) + 3 + 1 = "e"; "€" (128) + 3 + 2 = "…" (133).
    EXPECT_EQ(Cripta(u"a€"_s, u"Scrivi"_s, 3), u"e…"_s);
}

TEST(Cripta, BlanksAndModes)
{
    EXPECT_EQ(Cripta(u"ab"_s, u"scrivi"_s, 5), u"ab"_s);  // modes are case-sensitive
    EXPECT_EQ(Cripta(u"ab"_s, QString(), 5), u"ab"_s);
    EXPECT_EQ(Cripta(QString(), u"Scrivi"_s, 5), QString());
    EXPECT_EQ(Cripta(u"    "_s, u"Scrivi"_s, 5), u"    "_s);
    // Two letters and two blanks: only the letters move.
    EXPECT_EQ(Cripta(u"AB  "_s, u"Scrivi"_s, 1), u"CE  "_s);
    // Two blanks and two letters: the blanks (positions 1 and 2) move, the letters stay.
    EXPECT_EQ(Cripta(u"  AB"_s, u"Scrivi"_s, 1), u"\"#AB"_s);
}

TEST(Cripta, CodesPastTheRangeStay)
{
    EXPECT_EQ(Cripta(u"ÿ"_s, u"Scrivi"_s, 1), u"ÿ"_s);
    EXPECT_EQ(Cripta(u"\u0001"_s, u"Leggi"_s, 1), u"\u0001"_s);
    EXPECT_FALSE(CriptaReversibile(u"ÿ"_s, 1));
    // A character the code page lacks stays as it is in both directions.
    EXPECT_EQ(Cripta(u"\u4E2D"_s, u"Scrivi"_s, 1), u"\u4E2D"_s);
    EXPECT_EQ(Cripta(u"\u4E2D"_s, u"Leggi"_s, 1), u"\u4E2D"_s);
}

TEST(Cripta, RoundTripsWheneverDeclaredReversible)
{
    QRandomGenerator caso(1899);
    int reversibili = 0;
    for (int i = 0; i < 3000; ++i) {
        QString testo;
        const int lunghezza = caso.bounded(0, 40);
        for (int k = 0; k < lunghezza; ++k)
            testo.append(QChar(windows1252Char(static_cast<std::uint8_t>(caso.bounded(32, 256)))));
        const auto chiave = static_cast<std::int16_t>(caso.bounded(0, 10));
        const QString criptato = Cripta(testo, ModoScrivi, chiave);
        ASSERT_EQ(criptato.size(), testo.size());
        if (CriptaReversibile(testo, chiave)) {
            ++reversibili;
            EXPECT_EQ(Cripta(criptato, ModoLeggi, chiave), testo);
            EXPECT_FALSE(criptato.contains(u'¦'));
        }
    }
    EXPECT_GT(reversibili, 300);
    // Plain Italian texts, as the records hold them, always are.
    for (const QString& t : {u"ROSSI MARIO"_s, u"VIA DELLA LIBERTÀ, 12"_s, u"RSSMRA85T10H501O"_s,
                             u"p@ss;w0rd"_s}) {
        EXPECT_TRUE(CriptaReversibile(t, ChiaveBackup)) << t.toStdString();
        EXPECT_TRUE(CriptaReversibile(t, ChiavePassword)) << t.toStdString();
        EXPECT_NE(Cripta(t, ModoScrivi, ChiaveBackup), t);
    }
}

TEST(CriptaCampi, SplitsAtTheFirstCharacterAndJoinsWithBrokenBar)
{
    EXPECT_EQ(CriptaCampi(QString(), ModoScrivi, 3), QString());
    EXPECT_EQ(CriptaCampi(u";AB;C"_s, u"Scrivi"_s, 1), u"¦CE¦E"_s);
    EXPECT_EQ(CriptaCampi(u";AB;C"_s, u"nulla"_s, 1), u"¦AB¦C"_s);
    EXPECT_EQ(CriptaCampi(u"¦¦A¦"_s, u"Scrivi"_s, 1), u"¦¦C¦"_s);  // empty fields stay empty
    const QString riga = u"¦COPE¦01¦ROSSI MARIO¦¦0¦31/12/2020"_s;
    const QString criptata = CriptaCampi(riga, ModoScrivi, ChiaveBackup);
    EXPECT_EQ(criptata.count(u'¦'), riga.count(u'¦'));
    EXPECT_EQ(criptata.size(), riga.size());
    EXPECT_EQ(CriptaCampi(criptata, ModoLeggi, ChiaveBackup), riga);
}

} // namespace
} // namespace quercino
