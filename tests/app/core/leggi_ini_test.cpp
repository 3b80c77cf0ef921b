#include "app/core/Globals.h"
#include "app/core/LeggiIni.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace quercino {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(LeggiIni, ConnectionStringKeepsUpTo300Characters)
{
    QTemporaryDir cartella;
    PathIni = cartella.filePath(u"configurazione.ini"_s);
    const QString lunga = u"DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;"_s + QString(u'x').repeated(340);
    QFile file(PathIni);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write((u"[opzioni]\r\nTipoDb=x\r\nstrconn=  "_s + lunga + u"  \r\nServer_Nome="_s + lunga +
                u"\r\n"_s).toLatin1());
    file.close();

    EXPECT_EQ(LeggiIni(u"opzioni"_s, u"StrConn"_s), lunga.first(300));
    EXPECT_EQ(LeggiIni(u"OPZIONI"_s, u"strconn"_s), lunga.first(300));
    EXPECT_EQ(LeggiIni(u"opzioni"_s, u"Server_Nome"_s), lunga.first(127));
    EXPECT_EQ(LeggiIni(u"opzioni"_s, u"TipoDb"_s), u"x"_s);
    EXPECT_EQ(LeggiIni(u"opzioni"_s, u"debug"_s), QString());

    PathIni = cartella.filePath(u"manca.ini"_s);
    EXPECT_EQ(LeggiIni(u"opzioni"_s, u"TipoDb"_s), QString());
    PathIni.clear();
}

} // namespace
} // namespace quercino
