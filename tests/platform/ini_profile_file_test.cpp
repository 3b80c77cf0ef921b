// The profile reader on real files, written in Windows-1252 and in UTF-8: casi/profilo.ini
// (its blanks and tabs at line ends are part of the cases) read as casi/profilo.tsv says.

#include "platform/ini/ProfileFile.h"
#include "platform/text/Windows1252.h"
#include "support/casi.h"
#include "support/golden.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

QByteArray Cp1252(const QString& testo)
{
    const std::vector<std::uint8_t> byte = encodeWindows1252(testo);
    return QByteArray(reinterpret_cast<const char*>(byte.data()), qsizetype(byte.size()));
}

TEST(ProfileFile, ReadsKeysWithTheProfileSemantics)
{
    QTemporaryDir dir;
    const QString profilo = QString::fromUtf8(test::LeggiFile(test::Accanto(__FILE__, u"casi/profilo.ini"_s)));
    const QString crlf = QString(profilo).replace(u"\n"_s, u"\r\n"_s);
    for (const QByteArray& byte : {Cp1252(crlf), crlf.toUtf8(), profilo.toUtf8()}) {
        const QString percorso = dir.filePath(u"configurazione.ini"_s);
        ASSERT_TRUE(test::ScriviFile(percorso, byte));
        for (const test::Caso& c : test::Casi(__FILE__, u"casi/profilo.tsv"_s))
            EXPECT_EQ(readProfileValue(percorso, c[0], c[1]), c[2]) << c;
    }
}

TEST(ProfileFile, ValuesCutAtTheGivenLengthAndUnreadableFilesEmpty)
{
    QTemporaryDir dir;
    const QString lungo = u"àbcdefghij"_s.repeated(40);  // 400 characters
    const QString percorso = dir.filePath(u"lungo.ini"_s);
    ASSERT_TRUE(test::ScriviFile(percorso, Cp1252(u"[opzioni]\r\nStrConn="_s + lungo + u"\r\n"_s)));
    EXPECT_EQ(readProfileValue(percorso, u"opzioni"_s, u"StrConn"_s), lungo.first(127));
    EXPECT_EQ(readProfileValue(percorso, u"opzioni"_s, u"StrConn"_s, 300), lungo.first(300));
    EXPECT_EQ(readProfileValue(percorso, u"opzioni"_s, u"StrConn"_s, 1000), lungo);

    for (const QString& illeggibile : {dir.filePath(u"manca.ini"_s), dir.path(), QString()})
        EXPECT_EQ(readProfileValue(illeggibile, u"opzioni"_s, u"debug"_s), QString());
    // Bytes that are no text at all still read without harm.
    QByteArray rumore = "[opzioni]\r\ndebug=1\r\n";
    for (int i = 0; i < 4096; ++i)
        rumore.append(char((i * 37) & 0xFF));
    ASSERT_TRUE(test::ScriviFile(percorso, rumore));
    EXPECT_EQ(readProfileValue(percorso, u"opzioni"_s, u"debug"_s), u"1"_s);
}

} // namespace
} // namespace quercino
