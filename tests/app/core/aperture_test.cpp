// What the opening services hand to the desktop, intercepted before anything opens.

#include "app/core/Aperture.h"
#include "support/apertura_registrata.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quercino;
using quercino::test::AperturaRegistrata;

TEST(Esegui, PaginaWebTraVirgolette)
{
    AperturaRegistrata aperture;
    EXPECT_EQ(Esegui("EXPLORER \"https://ivaservizi.agenziaentrate.gov.it/portale/\""), 1);
    ASSERT_EQ(aperture.aperti.size(), 1);
    EXPECT_EQ(aperture.aperti[0], QUrl("https://ivaservizi.agenziaentrate.gov.it/portale/"));
}

TEST(Esegui, PaginaWebSenzaVirgolette)
{
    AperturaRegistrata aperture;
    EXPECT_EQ(Esegui("EXPLORER https://example.org/assistenza?x=1"), 1);
    ASSERT_EQ(aperture.aperti.size(), 1);
    EXPECT_EQ(aperture.aperti[0], QUrl("https://example.org/assistenza?x=1"));
}

TEST(Esegui, CartellaEDocumento)
{
    AperturaRegistrata aperture;
    QTemporaryDir dir;
    QFile f(dir.filePath("log con spazi.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(Esegui("explorer " + dir.path() + "/"), 1);
    EXPECT_EQ(Esegui(dir.filePath("log con spazi.txt")), 1);
    ASSERT_EQ(aperture.aperti.size(), 2);
    EXPECT_TRUE(aperture.aperti[0].isLocalFile());
    EXPECT_EQ(aperture.aperti[1], QUrl::fromLocalFile(dir.filePath("log con spazi.txt")));
}

TEST(Esegui, NienteDaAprire)
{
    AperturaRegistrata aperture;
    QTemporaryDir dir;
    EXPECT_EQ(Esegui(""), 0);
    EXPECT_EQ(Esegui("EXPLORER "), 0);
    EXPECT_EQ(Esegui(dir.filePath("manca.pdf")), 0);
    EXPECT_FALSE(ApriDocumento(dir.filePath("manca.pdf")));
    EXPECT_TRUE(aperture.aperti.isEmpty());
}

TEST(ApriIndirizzo, IndirizzoDelPortale)
{
    AperturaRegistrata aperture;
    EXPECT_TRUE(ApriIndirizzo(IndirizzoPortale));
    ASSERT_EQ(aperture.aperti.size(), 1);
    EXPECT_EQ(aperture.aperti[0].toString(), "https://ivaservizi.agenziaentrate.gov.it/portale/");
}
