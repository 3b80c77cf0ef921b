// The on-screen save and open dialogs: what they show, that Qt's own overwrite question is
// off (the program asks itself), and the paths they hand back.

#include "app/core/DialoghiFile.h"
#include "app/core/Globals.h"
#include "app/shell/DialoghiQt.h"
#include "support/servizi_simulati.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

class DialoghiQtTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        UsaDialoghiQt();
    }
    void TearDown() override { ImpostaServizioDialoghi(nullptr); }

    void AlMostrarsi(std::function<void(QFileDialog&)> azione)
    {
        QTimer::singleShot(0, [azione] {
            auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialogo);
            azione(*dialogo);
        });
    }

    QTemporaryDir dir;
    test::MessaggiSimulati messaggi;
};

} // namespace

TEST_F(DialoghiQtTest, SalvataggioSenzaDomandaDiQt)
{
    QFile esistente(dir.filePath("IT01_DF_00001.xml"));
    ASSERT_TRUE(esistente.open(QIODevice::WriteOnly));
    esistente.close();
    AlMostrarsi([this](QFileDialog& dialogo) {
        EXPECT_EQ(dialogo.windowTitle(), "Indica dove salvare il file XML");
        EXPECT_EQ(dialogo.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(dialogo.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialogo.nameFilters(), QStringList{"Tipo File XML (*.xml *.XML)"});
        EXPECT_EQ(dialogo.directory().absolutePath(), dir.path());
        EXPECT_EQ(dialogo.defaultSuffix(), "xml");
        dialogo.selectFile(dir.filePath("IT01_DF_00001.xml"));
        QMetaObject::invokeMethod(&dialogo, "accept", Qt::DirectConnection);
    });
    // The file exists: the program's own question comes, answered Yes by the double.
    SalvaConNome("IT01_DF_00001.xml", "XML", dir.path());
    EXPECT_EQ(FileSalva, dir.filePath("IT01_DF_00001.xml"));
    EXPECT_EQ(UltimaCartella, dir.path());
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Controllo Documento");
}

TEST_F(DialoghiQtTest, NomeSenzaEstensione)
{
    AlMostrarsi([this](QFileDialog& dialogo) {
        dialogo.selectFile(dir.filePath("nuovo"));
        QMetaObject::invokeMethod(&dialogo, "accept", Qt::DirectConnection);
    });
    SalvaConNome("proposto.xml", "XML", dir.path());
    EXPECT_EQ(FileSalva, dir.filePath("nuovo.xml"));
}

TEST_F(DialoghiQtTest, AnnullaSalvataggio)
{
    UltimaCartella = "/cartella/precedente";
    AlMostrarsi([](QFileDialog& dialogo) { dialogo.reject(); });
    SalvaConNome("a.xml", "XML", dir.path());
    EXPECT_EQ(FileSalva, "");
    EXPECT_EQ(UltimaCartella, "/cartella/precedente");
}

TEST_F(DialoghiQtTest, AperturaMultipla)
{
    for (const char* nome : {"a.csv", "b.csv"}) {
        QFile f(dir.filePath(nome));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    AlMostrarsi([](QFileDialog& dialogo) {
        EXPECT_EQ(dialogo.fileMode(), QFileDialog::ExistingFiles);
        EXPECT_EQ(dialogo.windowTitle(), "Scegli");
        dialogo.selectFile("\"a.csv\" \"b.csv\"");
        QMetaObject::invokeMethod(&dialogo, "accept", Qt::DirectConnection);
    });
    RichiestaFile richiesta;
    richiesta.titolo = "Scegli";
    richiesta.cartella = dir.path();
    richiesta.filtri << "File CSV (*.csv *.CSV)";
    QStringList scelti = ServizioDialoghiAttivo().ChiediApertura(richiesta, true);
    scelti.sort();
    EXPECT_EQ(scelti, (QStringList{dir.filePath("a.csv"), dir.filePath("b.csv")}));
}
