// The on-screen save and open dialogs: what they show, that Qt's own overwrite question is
// off (the program asks itself), and the paths they hand back.

#include "app/core/DialoghiFile.h"
#include "app/core/Globals.h"
#include "app/shell/Traduzione.h"
#include "app/widgets/DialoghiQt.h"
#include "support/golden.h"
#include "support/servizi_simulati.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

// Answers the file dialog that shows next: selects `scelta` and accepts, or cancels when
// it is empty; `guarda` looks at it first.
void AlMostrarsi(const QString& scelta, std::function<void(QFileDialog&)> guarda = {})
{
    QTimer::singleShot(0, [scelta, guarda] {
        auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialogo);
        if (guarda)
            guarda(*dialogo);
        if (scelta.isEmpty())
            return dialogo->reject();
        dialogo->selectFile(scelta);
        QMetaObject::invokeMethod(dialogo, "accept", Qt::DirectConnection);
    });
}

} // namespace

TEST(DialoghiQt, SalvataggioSenzaDomandaDiQtEstensioneAggiuntaAnnulla)
{
    QTemporaryDir dir;
    test::MessaggiSimulati messaggi;
    UsaDialoghiQt();
    ASSERT_TRUE(test::ScriviFile(dir.filePath("IT01_DF_00001.xml"), {}));
    AlMostrarsi(dir.filePath("IT01_DF_00001.xml"), [&](QFileDialog& dialogo) {
        EXPECT_EQ(dialogo.windowTitle(), "Indica dove salvare il file XML");
        EXPECT_TRUE(dialogo.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialogo.nameFilters(), QStringList{"Tipo File XML (*.xml *.XML)"});
        EXPECT_EQ(dialogo.directory().absolutePath(), dir.path());
    });
    // The file exists: the program's own question comes, answered Yes by the double.
    SalvaConNome("IT01_DF_00001.xml", "XML", dir.path());
    EXPECT_EQ(FileSalva, dir.filePath("IT01_DF_00001.xml"));
    EXPECT_EQ(UltimaCartella, dir.path());
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Controllo Documento");

    AlMostrarsi(dir.filePath("nuovo"));
    SalvaConNome("proposto.xml", "XML", dir.path());
    EXPECT_EQ(FileSalva, dir.filePath("nuovo.xml"));

    UltimaCartella = "/cartella/precedente";
    AlMostrarsi({});
    SalvaConNome("a.xml", "XML", dir.path());
    EXPECT_EQ(FileSalva, "");
    EXPECT_EQ(UltimaCartella, "/cartella/precedente");
    ImpostaServizioDialoghi(nullptr);
}

TEST(DialoghiQt, AperturaMultipla)
{
    QTemporaryDir dir;
    UsaDialoghiQt();
    for (const char* nome : {"a.csv", "b.csv"})
        ASSERT_TRUE(test::ScriviFile(dir.filePath(nome), {}));
    AlMostrarsi("\"a.csv\" \"b.csv\"",
                [](QFileDialog& dialogo) { EXPECT_EQ(dialogo.fileMode(), QFileDialog::ExistingFiles); });
    RichiestaFile richiesta;
    richiesta.titolo = "Scegli";
    richiesta.cartella = dir.path();
    richiesta.filtri << "File CSV (*.csv *.CSV)";
    QStringList scelti = ServizioDialoghiAttivo().ChiediApertura(richiesta, true);
    scelti.sort();
    EXPECT_EQ(scelti, (QStringList{dir.filePath("a.csv"), dir.filePath("b.csv")}));
    ImpostaServizioDialoghi(nullptr);
}

// The file list gives dates by the program's Italian conventions, whatever the machine's
// locale (the dialog's own model follows the machine's: "6 Dec 2024 10:30").
TEST(DialoghiQt, DateDeiFileAllItaliana)
{
    QTemporaryDir dir;
    UsaDialoghiQt();
    CaricaTraduzioneItaliana(*QCoreApplication::instance());
    const QString percorso = dir.filePath("a.csv");
    QFile file(percorso);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2024, 12, 6), QTime(10, 30)), QFileDevice::FileModificationTime));
    file.close();
    QString data;
    AlMostrarsi({}, [&](QFileDialog& dialogo) {
        const auto* modello = dialogo.findChild<QFileSystemModel*>();
        ASSERT_TRUE(modello && dialogo.proxyModel());
        data = dialogo.proxyModel()->mapFromSource(modello->index(percorso, 3)).data().toString();
    });
    RichiestaFile richiesta;
    richiesta.cartella = dir.path();
    ServizioDialoghiAttivo().ChiediApertura(richiesta, false);
    EXPECT_EQ(data, "06/12/24 10:30");
    ImpostaServizioDialoghi(nullptr);
}
