// The text layer: Windows-1252 against Python's cp1252 codec (an independent table), the
// decoding of files that may be UTF-8, and the blank trimming and upper case that keep a
// text's length.

#include "platform/text/DecodeText.h"
#include "platform/text/Trim.h"
#include "platform/text/UpperCase.h"
#include "platform/text/Windows1252.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>

#include <cstdint>
#include <cstring>
#include <vector>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

// Python's decoding of every byte 0..255, one line per byte: the code point in decimal,
// or "-" where cp1252 assigns no character.
std::vector<int> pythonCp1252Table()
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys\n"
                                 "for b in range(256):\n"
                                 "    try: print(ord(bytes([b]).decode('cp1252')))\n"
                                 "    except UnicodeDecodeError: print('-')\n")});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return {};
    std::vector<int> table;
    for (const QByteArray& line : python.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty())
            table.push_back(line == "-" ? -1 : line.toInt());
    }
    return table;
}

TEST(Windows1252, EveryByteDecodesAsPythonDoes)
{
    const std::vector<int> oracle = pythonCp1252Table();
    ASSERT_EQ(oracle.size(), 256u);
    int unassigned = 0;
    for (int b = 0; b < 256; ++b) {
        const char16_t c = windows1252Char(static_cast<std::uint8_t>(b));
        if (oracle[b] < 0) {
            // The page leaves five codes free: they keep the control character of the
            // same number, so the byte survives.
            ++unassigned;
            EXPECT_EQ(c, char16_t(b)) << "byte " << b;
        } else {
            EXPECT_EQ(int(c), oracle[b]) << "byte " << b;
        }
        EXPECT_EQ(windows1252Code(c), b) << "byte " << b;
    }
    EXPECT_EQ(unassigned, 5);
}

TEST(Windows1252, WholeBufferRoundTripsAndEncodesAsPython)
{
    std::vector<std::uint8_t> all(256);
    for (int b = 0; b < 256; ++b)
        all[b] = static_cast<std::uint8_t>(b);
    const QString text = decodeWindows1252(all);
    ASSERT_EQ(text.size(), 256);
    bool lossless = false;
    EXPECT_EQ(encodeWindows1252(text, &lossless), all);
    EXPECT_TRUE(lossless);

    // Python encodes the same text (assigned characters only) to the same bytes.
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys\n"
                                 "s = sys.stdin.buffer.read().decode('utf-8')\n"
                                 "sys.stdout.buffer.write(s.encode('cp1252'))\n")});
    QString assigned = QStringLiteral("Caffè € “virgolette” — Œuvre ß ÿŸ ™ ‰ … ¦ ©");
    python.write(assigned.toUtf8());
    python.closeWriteChannel();
    ASSERT_TRUE(python.waitForFinished(60000));
    ASSERT_EQ(python.exitCode(), 0);
    const QByteArray expected = python.readAllStandardOutput();
    const std::vector<std::uint8_t> ours = encodeWindows1252(assigned);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ours.data()), qsizetype(ours.size())),
              expected);
}

TEST(Windows1252, CharactersOutsideThePageBecomeOneQuestionMarkEach)
{
    bool lossless = true;
    // Greek alpha, a CJK ideograph, and one emoji (a surrogate pair: one character).
    const std::vector<std::uint8_t> bytes =
        encodeWindows1252(QStringLiteral("a\u03B1b\u4E2D\U0001F600c"), &lossless);
    EXPECT_FALSE(lossless);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{'a', '?', 'b', '?', '?', 'c'}));
    EXPECT_EQ(windows1252Code(u'\u03B1'), -1);
    EXPECT_EQ(windows1252CodeOrQuestionMark(u'\u03B1'), '?');
    EXPECT_TRUE(fitsWindows1252(QStringLiteral("€ŠšŽžŒœŸ")));
    EXPECT_FALSE(fitsWindows1252(QStringLiteral("\u0100")));
}

TEST(DecodeText, Utf8WhenValidOtherwiseWindows1252)
{
    const auto bytes = [](const char* s) {
        return std::vector<std::uint8_t>(s, s + std::strlen(s));
    };
    struct Case { const char* bytes; QString text; };
    const Case cases[] = {
        {"plain", QStringLiteral("plain")},
        {"caff\xC3\xA8", QStringLiteral("caffè")},                // UTF-8
        {"caff\xE8", QStringLiteral("caffè")},                    // Windows-1252
        {"\xEF\xBB\xBFok", QStringLiteral("ok")},                 // byte-order mark dropped
        {"\x80 euro", QStringLiteral("€ euro")},                  // lone continuation byte
        {"\xC0\xAF", QStringLiteral("À¯")},                       // overlong "/": not UTF-8
        {"\xED\xA0\x80", QStringLiteral("í\u00A0€")},             // surrogate: not UTF-8
        {"\xF0\x9F\x98\x80", QStringLiteral("\U0001F600")},       // four bytes
        {"\xE2\x82", QStringLiteral("â‚")},                       // cut short
    };
    for (const Case& c : cases) {
        const auto b = bytes(c.bytes);
        EXPECT_EQ(decodeUtf8OrWindows1252(b), c.text) << c.bytes;
    }
}

TEST(TrimBlanks, RemovesBlanksOnlyNotOtherWhiteSpace)
{
    struct Case { QString in, both, leading, trailing; };
    const Case cases[] = {
        {u"  a b  "_qs, u"a b"_qs, u"a b  "_qs, u"  a b"_qs},
        {u"\ta\t"_qs, u"\ta\t"_qs, u"\ta\t"_qs, u"\ta\t"_qs},
        {u" \r\n x \n "_qs, u"\r\n x \n"_qs, u"\r\n x \n "_qs, u" \r\n x \n"_qs},
        {u"\u00A0a\u00A0"_qs, u"\u00A0a\u00A0"_qs, u"\u00A0a\u00A0"_qs, u"\u00A0a\u00A0"_qs},
        {u"    "_qs, QString(), QString(), QString()},
        {QString(), QString(), QString(), QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(trimBlanks(c.in), c.both) << c.in.toStdString();
        EXPECT_EQ(trimLeadingBlanks(c.in), c.leading) << c.in.toStdString();
        EXPECT_EQ(trimTrailingBlanks(c.in), c.trailing) << c.in.toStdString();
    }
}

TEST(UpperOneToOne, KeepsTheLengthOverTheWholeCodePage)
{
    std::vector<std::uint8_t> all(256);
    for (int b = 0; b < 256; ++b)
        all[b] = static_cast<std::uint8_t>(b);
    const QString text = decodeWindows1252(all);
    const QString upper = upperOneToOne(text);
    ASSERT_EQ(upper.size(), text.size());
    // Every character stays in the code page, so the files can still hold it.
    EXPECT_TRUE(fitsWindows1252(upper));
}

TEST(UpperOneToOne, MapsEachCharacterToOne)
{
    EXPECT_EQ(upperOneToOne(u"abc àèéìòù ñ ç"_qs), u"ABC ÀÈÉÌÒÙ Ñ Ç"_qs);
    EXPECT_EQ(upperOneToOne(u"straße"_qs), u"STRAßE"_qs);  // never "SS"
    EXPECT_EQ(upperOneToOne(u"œ š ž ÿ"_qs), u"Œ Š Ž Ÿ"_qs);
    EXPECT_EQ(upperOneToOne(u"µ"_qs), u"µ"_qs);            // its capital is outside the page
    EXPECT_EQ(upperOneToOne(u"1,5 - x"_qs), u"1,5 - X"_qs);
}

} // namespace
} // namespace quercino
