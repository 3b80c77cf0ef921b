// The program folder and the public profile from the environment.
#include "app/core/CartelleProgramma.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

class Ambiente {
public:
    explicit Ambiente(const char* nome) : nome_(nome), c_(qEnvironmentVariableIsSet(nome)), v_(qgetenv(nome)) {}
    ~Ambiente()
    {
        if (c_)
            qputenv(nome_, v_);
        else
            qunsetenv(nome_);
    }

private:
    const char* nome_;
    bool c_;
    QByteArray v_;
};

TEST(CartelleProgramma, CartellaProgrammaDaQuercinoHomeOAccantoAllEseguibile)
{
    Ambiente salva("QUERCINO_HOME");
    qputenv("QUERCINO_HOME", "/opt/quercino/");
    EXPECT_EQ(CartellaProgramma(), QStringLiteral("/opt/quercino"));
    qunsetenv("QUERCINO_HOME");
    EXPECT_EQ(CartellaProgramma(), QCoreApplication::applicationDirPath());
}

TEST(CartelleProgramma, CartellaPubblicaMaiLaRadice)
{
    Ambiente salvaPublic("PUBLIC");
    Ambiente salvaHome("HOME");
    Ambiente salvaXdg("XDG_DATA_HOME");
    qputenv("PUBLIC", "/srv/pubblica");
    EXPECT_EQ(CartellaPubblica(), QStringLiteral("/srv/pubblica"));

    qunsetenv("PUBLIC");
    qunsetenv("XDG_DATA_HOME");
    qputenv("HOME", "/home/prova");
    EXPECT_EQ(CartellaPubblica(), QStringLiteral("/home/prova/.local/share"));

    for (const char* radice : {"/", "//", ""}) {
        qputenv("PUBLIC", radice);
        qputenv("HOME", "/");
        const QString c = CartellaPubblica();
        EXPECT_FALSE(c.isEmpty()) << radice;
        EXPECT_NE(QDir::cleanPath(c), QStringLiteral("/")) << radice;
    }
}

} // namespace
