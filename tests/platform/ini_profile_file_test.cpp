// The profile reader on real files, written in Windows-1252 and in UTF-8.

#include "platform/ini/ProfileFile.h"
#include "platform/text/Windows1252.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

class ProfileFileTest : public ::testing::Test {
protected:
    QString write(const QByteArray& bytes)
    {
        const QString path = dir_.filePath(QStringLiteral("configurazione.ini"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }
    QString writeCp1252(const QString& text)
    {
        const std::vector<std::uint8_t> bytes = encodeWindows1252(text);
        return write(QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    }

    QTemporaryDir dir_;
};

const QString kProfilo = QStringLiteral(
    "; commento iniziale\r\n"
    "[connessione]\r\n"
    "TipoDb=X\r\n"
    "[ Opzioni ]\r\n"
    "  TipoDb  =  m  \r\n"
    "debug=1\r\n"
    ";debug=0\r\n"
    "Server_Utente=\"utente con blank \"\r\n"
    "Server_Password='p;w=d'\r\n"
    "Server_Nome=città; non è un commento\r\n"
    "Vuota=\r\n"
    "SoloApice=\"\r\n"
    "tipodb=secondo\r\n"
    "SenzaUguale\r\n"
    "Tab=\tvalore\t\r\n"
    "[altra]\r\n"
    "debug=altra\r\n");

TEST_F(ProfileFileTest, ReadsKeysWithTheProfileSemantics)
{
    for (const QString& path : {writeCp1252(kProfilo),
                                write(kProfilo.toUtf8()),
                                write(QString(kProfilo).replace(u"\r\n"_s, u"\n"_s).toUtf8())}) {
        struct Case { QString section, key, value; };
        const Case cases[] = {
            {u"opzioni"_s, u"TipoDb"_s, u"m"_s},             // names ignore case; blanks go
            {u"OPZIONI"_s, u"TIPODB"_s, u"m"_s},             // the first match wins
            {u"connessione"_s, u"TipoDb"_s, u"X"_s},
            {u"opzioni"_s, u"debug"_s, u"1"_s},              // the ";" line is a comment
            {u"altra"_s, u"debug"_s, u"altra"_s},
            {u"opzioni"_s, u"Server_Utente"_s, u"utente con blank "_s},  // quotes removed
            {u"opzioni"_s, u"Server_Password"_s, u"p;w=d"_s},
            {u"opzioni"_s, u"Server_Nome"_s, u"città; non è un commento"_s},
            {u"opzioni"_s, u"Vuota"_s, QString()},
            {u"opzioni"_s, u"SoloApice"_s, u"\""_s},
            {u"opzioni"_s, u"SenzaUguale"_s, QString()},
            {u"opzioni"_s, u"Tab"_s, u"valore"_s},
            {u"opzioni"_s, u"Manca"_s, QString()},
            {u"manca"_s, u"debug"_s, QString()},
        };
        for (const Case& c : cases) {
            EXPECT_EQ(readProfileValue(path, c.section, c.key), c.value)
                << c.section.toStdString() << "/" << c.key.toStdString();
        }
    }
}

TEST_F(ProfileFileTest, CutsValuesAtTheGivenLength)
{
    const QString longValue = QString(u"àbcdefghij"_s).repeated(40);  // 400 characters
    const QString path = writeCp1252(u"[opzioni]\r\nStrConn="_s + longValue + u"\r\n"_s);
    EXPECT_EQ(readProfileValue(path, u"opzioni"_s, u"StrConn"_s), longValue.first(127));
    EXPECT_EQ(readProfileValue(path, u"opzioni"_s, u"StrConn"_s, 300), longValue.first(300));
    EXPECT_EQ(readProfileValue(path, u"opzioni"_s, u"StrConn"_s, 1000), longValue);
}

TEST_F(ProfileFileTest, MissingOrUnreadableFileReadsEmpty)
{
    EXPECT_EQ(readProfileValue(dir_.filePath(u"manca.ini"_s), u"opzioni"_s, u"debug"_s), QString());
    EXPECT_EQ(readProfileValue(dir_.path(), u"opzioni"_s, u"debug"_s), QString());  // a folder
    EXPECT_EQ(readProfileValue(QString(), u"opzioni"_s, u"debug"_s), QString());
    // Bytes that are no text at all still read without harm.
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 37) & 0xFF));
    const QString path = write("[opzioni]\r\ndebug=1\r\n" + junk);
    EXPECT_EQ(readProfileValue(path, u"opzioni"_s, u"debug"_s), u"1"_s);
}

} // namespace
} // namespace quercino
