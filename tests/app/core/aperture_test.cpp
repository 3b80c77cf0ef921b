// What the opening services hand to the desktop, intercepted before anything opens.

#include "app/core/Aperture.h"
#include "support/apertura_registrata.h"
#include "support/servizi_simulati.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

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

// Where the desktop hands files to a launcher, its exit status is the answer: a launcher that
// could not open the file, or could not start, gives a message naming the file.
TEST(ConsegnaAlDesktop, EsitoDelLanciatore)
{
    QTemporaryDir dir;
    const QString documento = dir.filePath("nota.txt");
    ASSERT_TRUE(QFile(documento).open(QIODevice::WriteOnly));
    const std::pair<QString, bool> casi[] = {{QStandardPaths::findExecutable("true"), true},
                                             {QStandardPaths::findExecutable("false"), false},
                                             {dir.filePath("nessun-lanciatore"), false}};
    for (const auto& [lanciatore, preso] : casi) {
        ImpostaLanciatore(lanciatore);
        std::optional<bool> esito;
        ConsegnaAlDesktop(QUrl::fromLocalFile(documento), [&esito](bool p) { esito = p; });
        ASSERT_TRUE(QTest::qWaitFor([&esito] { return esito.has_value(); })) << lanciatore.toStdString();
        EXPECT_EQ(*esito, preso) << lanciatore.toStdString();
    }
    quercino::test::MessaggiSimulati messaggi;
    ApriDocumento(documento);
    ASSERT_TRUE(QTest::qWaitFor([&messaggi] { return !messaggi.mostrati.empty(); }));
    EXPECT_EQ(messaggi.mostrati[0].titolo, TitoloNessunProgramma);
    EXPECT_TRUE(messaggi.mostrati[0].testo.contains(QDir::toNativeSeparators(documento)));
    ImpostaLanciatore(QString());
}
