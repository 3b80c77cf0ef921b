// The text helpers of the records and the files: quotes, nulls, zero padding, the cleaner
// of names, amounts (against Python's decimal rounding), the scrambling of backups and
// passwords, dates in the Italian forms, passwords masked in connection texts, paths split.
// The cases are the rows of casi/testi.tsv; here the properties over whole code pages and
// random texts.

#include "app/core/Apici.h"
#include "app/core/Cripta.h"
#include "app/core/Date.h"
#include "app/core/FormattaImporto.h"
#include "app/core/MascheraPassword.h"
#include "app/core/Messaggi.h"
#include "app/core/NoNull.h"
#include "app/core/Percorsi.h"
#include "app/core/PulisciTesto.h"
#include "app/core/SoloLettere.h"
#include "app/core/Zeri.h"
#include "platform/text/Windows1252.h"
#include "support/casi.h"
#include "support/servizi_simulati.h"

#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <vector>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

// The result of the form that leaves the caller's text alone, then what the form taking the
// caller's text leaves in it.
#define CON_TESTO(Funzione)                                                                        \
    [](const QStringList& a) {                                                                     \
        QString testo = a[0];                                                                      \
        const QString risultato = Funzione(a[0]);                                                  \
        Funzione(testo);                                                                           \
        return QStringList{risultato, testo};                                                      \
    }

TEST(Testi, CasiDellaTabella)
{
    test::MessaggiSimulati messaggi;
    test::ControllaFunzioni(__FILE__, "casi/testi.tsv", {
        {"Virgolette", [](const QStringList& a) { return QStringList{Virgolette(a[0])}; }},
        {"Apici", [](const QStringList& a) { return QStringList{Apici(a[0])}; }},
        {"ApiciLike", [](const QStringList& a) { return QStringList{ApiciLike(a[0])}; }},
        {"RaddoppiaApici", [](const QStringList& a) { return QStringList{RaddoppiaApici(a[0])}; }},
        {"Zeri", [](const QStringList& a) {
             QString valore = a[0];
             int larghezza = a[1].toInt();
             const QString risultato = Zeri(valore, larghezza);
             return QStringList{risultato, valore, QString::number(larghezza)};
         }},
        {"Zeri letterale", [](const QStringList& a) {
             QString valore = a[0];
             return QStringList{Zeri(valore, a[1].toInt()), valore};
         }},
        {"Zeri costante", [](const QStringList& a) { return QStringList{Zeri(a[0], a[1].toInt())}; }},
        {"Zeri numero", [](const QStringList& a) { return QStringList{Zeri(a[0].toLongLong(), a[1].toInt())}; }},
        {"NormalizzaPIVA", CON_TESTO(NormalizzaPIVA)},
        {"PulisciTesto", CON_TESTO(PulisciTesto)},
        {"SoloLettere", [](const QStringList& a) {
             QString testo = a[0];
             const QString risultato = SoloLettere(a[0], a[1].toInt());
             SoloLettere(testo, a[1].toInt());
             return QStringList{risultato, testo};
         }},
        {"FormattaImporto", [](const QStringList& a) { return QStringList{FormattaImporto(a[0])}; }},
        {"FormattaImporto testo", CON_TESTO(FormattaImporto)},
        {"Cripta", [](const QStringList& a) { return QStringList{Cripta(a[0], a[1], std::int16_t(a[2].toShort()))}; }},
        {"CriptaCampi",
         [](const QStringList& a) { return QStringList{CriptaCampi(a[0], a[1], std::int16_t(a[2].toShort()))}; }},
        {"CriptaReversibile",
         [](const QStringList& a) { return QStringList{QString::number(CriptaReversibile(a[0], a[1].toShort()))}; }},
        {"TestoInData", [](const QStringList& a) {
             QString testo = a[0];
             bool errore = false;
             const QDate data = TestoInData(testo, &errore);
             return QStringList{data.toString(u"dd/MM/yyyy"_s), QString::number(errore), testo};
         }},
        // Not asked for the flag: a failed conversion shows its message.
        {"TestoInData messaggio", [&messaggi](const QStringList& a) {
             QStringList risultato{TestoInData(a[0]).toString(u"dd/MM/yyyy"_s)};
             for (const Messaggio& m : messaggi.mostrati)
                 risultato << m.titolo + u": "_s + m.testo + u" ("_s + QString::number(int(m.icona)) + u')';
             messaggi.mostrati.clear();
             return risultato;
         }},
        // Under another locale.
        {"DataItaliana", [](const QStringList& a) {
             const QLocale prima;
             QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
             const QString data = DataItaliana(QDate::fromString(a[0], Qt::ISODate));
             QLocale::setDefault(prima);
             return QStringList{data};
         }},
        {"EDataZero",
         [](const QStringList& a) { return QStringList{QString::number(EDataZero(QDate::fromString(a[0], Qt::ISODate)))}; }},
        {"InvertiData", [](const QStringList& a) { return QStringList{InvertiData(a[0])}; }},
        {"MascheraPassword", [](const QStringList& a) { return QStringList{MascheraPassword(a[0])}; }},
        {"DividiPercorso", [](const QStringList& a) { return QStringList{DividiPercorso(a[0], a[1] == u"1")}; }},
        {"CartellaDi", [](const QStringList& a) { return QStringList{CartellaDi(a[0])}; }},
        {"ParteDiPercorso", [](const QStringList& a) { return QStringList{ParteDiPercorso(a[0], a[1] == u"1")}; }},
    });
    // A wrong date asked for its flag shows nothing: a box would show in the next row
    // without the flag, or here.
    EXPECT_TRUE(messaggi.mostrati.empty());
}

TEST(NoNull, NullValuesReadEmpty)
{
    EXPECT_EQ(NoNull(QVariant()), QString());
    EXPECT_EQ(NoNull(QVariant(QMetaType::fromType<QString>())), QString());
    EXPECT_EQ(NoNull(QVariant(QMetaType::fromType<int>())), QString());
    EXPECT_EQ(NoNull(QVariant(u"ROSSI"_s)), u"ROSSI"_s);
    EXPECT_EQ(NoNull(QVariant(42)), u"42"_s);
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
    // cleaner's own exceptions are listed apart.
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
}

} // namespace
} // namespace quercino
