// The text layer: Windows-1252 against Python's cp1252 codec (an independent table), the
// decoding of files that may be UTF-8, and the blank trimming and upper case that keep a
// text's length (cases in casi/testo.tsv).

#include "platform/text/DecodeText.h"
#include "platform/text/Trim.h"
#include "platform/text/UpperCase.h"
#include "platform/text/Windows1252.h"
#include "support/casi.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <cstdint>
#include <numeric>
#include <vector>

namespace quercino {
namespace {

// Python decodes every byte (one line each: the code point, or "-" where cp1252 assigns no
// character), then encodes the text given on its input.
TEST(Windows1252, EveryByteAsPythonDecodesAndEncodesIt)
{
    const QString assegnati = QStringLiteral("Caffè € “virgolette” — Œuvre ß ÿŸ ™ ‰ … ¦ ©");
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QStringLiteral("import sys\n"
                                                       "for b in range(256):\n"
                                                       "    try: print(ord(bytes([b]).decode('cp1252')))\n"
                                                       "    except UnicodeDecodeError: print('-')\n"
                                                       "sys.stdout.flush()\n"
                                                       "s = sys.stdin.buffer.read().decode('utf-8')\n"
                                                       "sys.stdout.buffer.write(s.encode('cp1252'))\n")});
    python.write(assegnati.toUtf8());
    python.closeWriteChannel();
    ASSERT_TRUE(python.waitForFinished(60000));
    ASSERT_EQ(python.exitCode(), 0);
    QList<QByteArray> righe = python.readAllStandardOutput().split('\n');
    ASSERT_EQ(righe.size(), 257);
    int liberi = 0;
    for (int b = 0; b < 256; ++b) {
        const char16_t c = windows1252Char(static_cast<std::uint8_t>(b));
        // The page leaves five codes free: they keep the control character of the same
        // number, so the byte survives.
        liberi += righe[b] == "-";
        EXPECT_EQ(int(c), righe[b] == "-" ? b : righe[b].toInt()) << "byte " << b;
        EXPECT_EQ(windows1252Code(c), b) << "byte " << b;
        // The control character of the same number is written as that byte only where the
        // page leaves the code free: elsewhere the byte reads back as another character.
        if (b >= 0x80 && b <= 0x9F) {
            EXPECT_EQ(encodeWindows1252(QString(QChar(char16_t(b)))).front(), righe[b] == "-" ? b : '?') << "U+" << b;
        }
    }
    EXPECT_EQ(liberi, 5);
    const std::vector<std::uint8_t> nostri = encodeWindows1252(assegnati);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(nostri.data()), qsizetype(nostri.size())), righe[256]);

    // The whole page round trips, and upper case keeps every character in it.
    std::vector<std::uint8_t> tutti(256);
    std::iota(tutti.begin(), tutti.end(), 0);
    const QString testo = decodeWindows1252(tutti);
    bool senzaPerdite = false;
    EXPECT_EQ(encodeWindows1252(testo, &senzaPerdite), tutti);
    EXPECT_TRUE(senzaPerdite);
    EXPECT_EQ(upperOneToOne(testo).size(), 256);
    EXPECT_TRUE(fitsWindows1252(upperOneToOne(testo)));
}

TEST(Windows1252, CharactersOutsideThePageBecomeOneQuestionMarkEach)
{
    bool senzaPerdite = true;
    // Greek alpha, a CJK ideograph, and one emoji (a surrogate pair: one character).
    EXPECT_EQ(encodeWindows1252(QStringLiteral("a\u03B1b\u4E2D\U0001F600c"), &senzaPerdite),
              (std::vector<std::uint8_t>{'a', '?', 'b', '?', '?', 'c'}));
    EXPECT_FALSE(senzaPerdite);
    EXPECT_EQ(windows1252Code(u'\u03B1'), -1);
    EXPECT_EQ(windows1252CodeOrQuestionMark(u'\u03B1'), '?');
    EXPECT_TRUE(fitsWindows1252(QStringLiteral("€ŠšŽžŒœŸ")));
    EXPECT_FALSE(fitsWindows1252(QStringLiteral("\u0100")));
}

TEST(Testo, CasiDellaTabella)
{
    test::ControllaFunzioni(__FILE__, "casi/testo.tsv", {
        {"Decodifica", [](const QStringList& a) {
             const QByteArray byte = a[0].toLatin1();
             return QStringList{decodeUtf8OrWindows1252(
                 std::vector<std::uint8_t>(byte.begin(), byte.end()))};
         }},
        {"Spazi", [](const QStringList& a) {
             return QStringList{trimBlanks(a[0]), trimLeadingBlanks(a[0]), trimTrailingBlanks(a[0])};
         }},
        {"Maiuscole", [](const QStringList& a) { return QStringList{upperOneToOne(a[0])}; }},
    });
}

} // namespace
} // namespace quercino
