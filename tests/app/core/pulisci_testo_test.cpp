#include "app/core/PulisciTesto.h"
#include "app/core/SoloLettere.h"
#include "platform/text/Windows1252.h"

#include <gtest/gtest.h>

#include <QChar>

#include <vector>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

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

} // namespace
} // namespace quercino
