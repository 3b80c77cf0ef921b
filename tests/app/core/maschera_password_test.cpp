// Connection texts as shown to the user: passwords never appear.
#include "app/core/MascheraPassword.h"

#include <gtest/gtest.h>

using quercino::MascheraPassword;

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
