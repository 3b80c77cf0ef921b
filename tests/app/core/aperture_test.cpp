// What the opening services hand to the desktop, intercepted before anything opens.

#include "app/core/Aperture.h"
#include "support/apertura_registrata.h"
#include "support/golden.h"
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

TEST(Esegui, PagineCartelleDocumentiONiente)
{
    AperturaRegistrata aperture;
    QTemporaryDir dir;
    const QString documento = dir.filePath("log con spazi.txt");
    ASSERT_TRUE(quercino::test::ScriviFile(documento, {}));
    const std::pair<QString, int> comandi[] = {
        {"EXPLORER \"https://ivaservizi.agenziaentrate.gov.it/portale/\"", 1},
        {"EXPLORER https://example.org/assistenza?x=1", 1},
        {"explorer " + dir.path() + "/", 1},
        {documento, 1},
        {"", 0},
        {"EXPLORER ", 0},
        {dir.filePath("manca.pdf"), 0},
    };
    for (const auto& [comando, esito] : comandi)
        EXPECT_EQ(Esegui(comando), esito) << comando.toStdString();
    EXPECT_FALSE(ApriDocumento(dir.filePath("manca.pdf")));
    EXPECT_TRUE(ApriIndirizzo(IndirizzoPortale));
    ASSERT_EQ(aperture.aperti.size(), 5);
    EXPECT_EQ(aperture.aperti[0], QUrl("https://ivaservizi.agenziaentrate.gov.it/portale/"));
    EXPECT_EQ(aperture.aperti[1], QUrl("https://example.org/assistenza?x=1"));
    EXPECT_EQ(aperture.aperti[2], QUrl::fromLocalFile(dir.path() + "/"));
    EXPECT_EQ(aperture.aperti[3], QUrl::fromLocalFile(documento));
    EXPECT_EQ(aperture.aperti[4].toString(), "https://ivaservizi.agenziaentrate.gov.it/portale/");
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
