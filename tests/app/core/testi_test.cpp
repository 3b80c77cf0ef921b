// The text helpers of the records and the files: quotes, nulls, zero padding, the cleaner
// of names, amounts (against Python's decimal rounding), the scrambling of backups and
// passwords, dates in the Italian forms, passwords masked in connection texts.

#include "app/core/Apici.h"
#include "app/core/Cripta.h"
#include "app/core/Date.h"
#include "app/core/FormattaImporto.h"
#include "app/core/MascheraPassword.h"
#include "app/core/Messaggi.h"
#include "app/core/NoNull.h"
#include "app/core/PulisciTesto.h"
#include "app/core/SoloLettere.h"
#include "app/core/Zeri.h"
#include "platform/text/Windows1252.h"
#include "support/servizi_simulati.h"

#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <vector>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(Apici, QuotingHelpers)
{
    EXPECT_EQ(Virgolette(u"C:/Dati/file 1.xml"_s), u"\"C:/Dati/file 1.xml\""_s);
    EXPECT_EQ(Apici(u"L'ALBERO"_s), u"'L'ALBERO'"_s);          // not doubled
    EXPECT_EQ(ApiciLike(u"ROMA"_s), u"'%ROMA%'"_s);
    EXPECT_EQ(RaddoppiaApici(u"L'ALBERO D'ORO"_s), u"L''ALBERO D''ORO"_s);
    EXPECT_EQ(RaddoppiaApici(u"''"_s), u"''''"_s);
    EXPECT_EQ(RaddoppiaApici(QString()), QString());
}

TEST(NoNull, NullValuesReadEmpty)
{
    EXPECT_EQ(NoNull(QVariant()), QString());
    EXPECT_EQ(NoNull(QVariant(QMetaType::fromType<QString>())), QString());
    EXPECT_EQ(NoNull(QVariant(QMetaType::fromType<int>())), QString());
    EXPECT_EQ(NoNull(QVariant(u"ROSSI"_s)), u"ROSSI"_s);
    EXPECT_EQ(NoNull(QVariant(42)), u"42"_s);
}

TEST(Zeri, FillsAndChangesTheCallersValue)
{
    struct Caso { QString valore; int larghezza; QString risultato, valoreDopo; int larghezzaDopo; };
    const Caso casi[] = {
        {u"7"_s, 5, u"00007"_s, u"7"_s, 5},
        {QString(), 5, u"00000"_s, QString(), 5},
        {u"123456"_s, 5, u"123456"_s, u"123456"_s, 5},     // never cut
        {u"-5"_s, 4, u"  -5"_s, u"-5"_s, 4},                // negatives filled with blanks
        {u"12,9"_s, 5, u"00012"_s, u"12"_s, 5},             // truncated toward zero
        {u"-12,9"_s, 6, u"   -12"_s, u"-12"_s, 6},
        {u"-12,9"_s, 5, u"-12,9"_s, u"-12,9"_s, 5},          // long enough already
        {u"AB"_s, 5, u"00000"_s, u"0"_s, 5},                // not a number
        {u"00001"_s, 5, u"00001"_s, u"00001"_s, 5},         // already long enough
        {u"  42  "_s, 5, u"00042"_s, u"42"_s, 5},
        {u" 007 "_s, 5, u"00007"_s, u"7"_s, 5},
        {u"+3"_s, 4, u"0003"_s, u"3"_s, 4},
        {u"9"_s, 0, u"000009"_s, u"9"_s, 6},                // width 0 means 6
        {u"1 2"_s, 5, u"00000"_s, u"0"_s, 5},
        {u"99999999999999999999"_s, 30, u"0000000000" "99999999999999999999"_s,
         u"99999999999999999999"_s, 30},                    // no overflow
    };
    for (const Caso& c : casi) {
        QString valore = c.valore;
        int larghezza = c.larghezza;
        EXPECT_EQ(Zeri(valore, larghezza), c.risultato) << c.valore.toStdString();
        EXPECT_EQ(valore, c.valoreDopo) << c.valore.toStdString();
        EXPECT_EQ(larghezza, c.larghezzaDopo) << c.valore.toStdString();
    }
}

TEST(Zeri, OverloadsForLiteralsAndNumbers)
{
    QString valore = u" 12,9 "_s;
    EXPECT_EQ(Zeri(valore, 5), u"00012"_s);  // a literal width still updates the value
    EXPECT_EQ(valore, u"12"_s);
    const QString fisso = u"3"_s;
    EXPECT_EQ(Zeri(fisso, 3), u"003"_s);
    EXPECT_EQ(Zeri(std::int64_t(7), 5), u"00007"_s);
    EXPECT_EQ(Zeri(std::int64_t(-3), 5), u"   -3"_s);
    EXPECT_EQ(Zeri(std::int64_t(123), 6), u"000123"_s);
}

TEST(NormalizzaPIVA, FillsShortNumbersTo11)
{
    struct Caso { QString valore, risultato, valoreDopo; };
    const Caso casi[] = {
        {u" 123 "_s, u"00000000123"_s, u"123"_s},
        {u"12345678901"_s, u"12345678901"_s, u"12345678901"_s},
        {u"1"_s, u"1"_s, u"1"_s},
        {QString(), QString(), QString()},
        {u"1234567890123456"_s, u"1234567890123456"_s, u"1234567890123456"_s},
        // A code with letters is not a number: it stays as written, never all zeros.
        {u"AB12345"_s, u"AB12345"_s, u"AB12345"_s},
    };
    for (const Caso& c : casi) {
        QString valore = c.valore;
        EXPECT_EQ(NormalizzaPIVA(valore), c.risultato) << c.valore.toStdString();
        EXPECT_EQ(valore, c.valoreDopo) << c.valore.toStdString();
    }
}

bool ammesso(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u',' || c == u'.'
        || c == u'\\' || c == u'^' || c == u'_' || c == u' ';
}

TEST(PulisciTesto, EveryCodeOfThePageKeepsTheLengthAndTheAlphabet)
{
    std::vector<std::uint8_t> tutti(256);
    for (int b = 0; b < 256; ++b)
        tutti[b] = static_cast<std::uint8_t>(b);
    const QString testo = decodeWindows1252(tutti);
    const QString pulito = PulisciTesto(testo);
    ASSERT_EQ(pulito.size(), 256);
    for (int b = 0; b < 256; ++b) {
        const QChar c = pulito[b];
        EXPECT_TRUE(ammesso(c)) << "byte " << b << " gave " << int(c.unicode());
        const QChar originale = testo[b];
        if ((originale >= u'0' && originale <= u'9') || (originale >= u'A' && originale <= u'Z')) {
            EXPECT_EQ(c, originale);
        } else if (originale >= u'a' && originale <= u'z') {
            EXPECT_EQ(c, originale.toUpper());
        }
    }
}

TEST(PulisciTesto, AccentedLettersBecomeTheirBaseLetter)
{
    // Unicode's decomposition is the oracle for the accented Latin letters of the page; the
    // cleaner's own quirks are listed apart.
    for (int b = 0xC0; b <= 0xFF; ++b) {
        const QChar c{char16_t(b)};
        const QChar maiuscola = c.toUpper();
        const int codice = windows1252Code(maiuscola.unicode());
        if (codice < 0xC0 || codice > 0xDE)
            continue;
        QChar atteso = u' ';
        const QString scomposto = maiuscola.decomposition();
        if (!scomposto.isEmpty() && scomposto[0] >= u'A' && scomposto[0] <= u'Z')
            atteso = scomposto[0];
        if (codice == 0xC6) atteso = u'A';  // Æ
        if (codice == 0xC7) atteso = u'E';  // Ç, as the cleaner always did
        if (codice == 0xDD) atteso = u' ';  // Ý is not among the letters kept
        EXPECT_EQ(PulisciTesto(QString(c)), QString(atteso)) << "byte " << b;
    }
}

TEST(PulisciTesto, Examples)
{
    struct Caso { QString dentro, fuori; };
    const Caso casi[] = {
        {u"Caffè & Co. (Milano)"_s, u"CAFFE E CO.  MILANO "_s},
        {u"ÀÉÌÒÙ ñ ß €"_s, u"AEIOU N    "_s},
        {u"A-B/C"_s, u"A B C"_s},
        {u"<tag attr=\"x\">"_s, u" TAG ATTR  X  "_s},
        {u"l'ape; $5 @ [x] | y"_s, u"L APE   5    X    Y"_s},
        {u"Ê ê è é à ò ì"_s, u"E E E E A O I"_s},
        {u"a\\b^c_d`e"_s, u"A\\B^C_D E"_s},
        {u"tab\there\r\n"_s, u"TAB HERE  "_s},
        {u"\u4E2D\u03B1"_s, u"  "_s},  // outside the page: "?" and then a blank
        {QString(), QString()},
    };
    for (const Caso& c : casi)
        EXPECT_EQ(PulisciTesto(c.dentro), c.fuori) << c.dentro.toStdString();
}

TEST(PulisciTesto, TheCallersTextReceivesTheResult)
{
    QString testo = u"via Roma, 1 & 2"_s;
    const QString risultato = PulisciTesto(testo);
    EXPECT_EQ(risultato, u"VIA ROMA, 1 E 2"_s);
    EXPECT_EQ(testo, risultato);
}

TEST(SoloLettere, FirstLettersOfTheUpperCaseText)
{
    QString testo = u"  Rossi & Figli S.r.l.  "_s;
    EXPECT_EQ(SoloLettere(testo, 20), u"ROSSIFIGLISRL"_s);
    EXPECT_EQ(testo, u"ROSSI & FIGLI S.R.L."_s);
    EXPECT_EQ(SoloLettere(u"àbc123def"_s, 4), u"BCDE"_s);  // À is no letter A-Z
    EXPECT_EQ(SoloLettere(u"abc"_s, 0), QString());
    EXPECT_EQ(SoloLettere(QString(), 5), QString());
}

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

TEST(MascheraPassword, OgniFormaDiPassword)
{
    struct Caso {
        const char* testo;
        const char* atteso;
    };
    const Caso casi[] = {
        {"dsn=VEKO; UID=mario; PWD=segreta", "dsn=VEKO; UID=mario; PWD=****"},
        {"Driver={PostgreSQL Unicode};Server=h;Pwd=abc;Database=d", "Driver={PostgreSQL Unicode};Server=h;Pwd=****;Database=d"},
        {"DSN=X;password=a b c", "DSN=X;password=****"},
        {"DSN=X;PWD={a;b}}c};UID=u", "DSN=X;PWD=****;UID=u"},
        {"PWD=primo;DSN=X", "PWD=****;DSN=X"},
        {"DSN=X; pwd = spazi ;UID=u", "DSN=X; pwd =****;UID=u"},
        {"DSN=X;UID=PWD", "DSN=X;UID=PWD"},
        {"DSN=X;PWD=", "DSN=X;PWD=****"},
        {"provider=SQLite;Data Source=/opt/q/DataBase/VEKO.sqlite", "provider=SQLite;Data Source=/opt/q/DataBase/VEKO.sqlite"},
        {"", ""},
    };
    for (const Caso& c : casi)
        EXPECT_EQ(MascheraPassword(QString::fromUtf8(c.testo)), QString::fromUtf8(c.atteso)) << c.testo;
}

} // namespace
} // namespace quercino
