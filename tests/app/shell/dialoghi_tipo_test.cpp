// The file dialogs' "Tipo" column: over a folder holding a file of each kind the program
// reads or writes, every type text of the list is shown whole (its width measured with the
// list's own font), the dialog lies inside the screen, and the names keep their room unless
// the screen is too narrow for both. Checked on the screen the test has, and on screens of
// 1366 x 768 and 1280 x 720: the same test run again in a process of its own whose offscreen
// screen has that size.

#include "app/core/DialoghiFile.h"
#include "app/shell/Traduzione.h"
#include "app/widgets/DialoghiQt.h"
#include "app/widgets/Finestre.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <iostream>

using namespace quercino;

namespace {

constexpr int ColonnaNome = 0;
constexpr int ColonnaTipo = 2;

class DialoghiTipo : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CaricaTraduzioneItaliana(*QCoreApplication::instance()));
        // As the program does: every window fitted to the screen as it shows.
        AdattaFinestreAlloSchermo(*qApp);
        UsaDialoghiQt();
        // The dialog keeps its columns in the user's settings: a private place.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, impostazioni.path());
        // Bytes each kind begins with, so that a type read from the content agrees with the name's.
        const QByteArray zip("PK\x03\x04\x14\x00\x06\x00", 8);
        const QByteArray composto("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
        const std::pair<const char*, QByteArray> file[] = {
            {"fatture.xlsx", zip},
            {"fatture.xlsm", zip},
            {"fatture.xlsb", zip},
            {"fatture.xls", composto},
            {"fatture.ods", zip},
            {"FATTURE_EMESSE.csv", "FATTURE EMESSE;;;\r\n"},
            {"IT01234567890_DF_00001.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a/>\r\n"},
            {"SAVEVEKO_01_ROSSIMARIO_20261207.VEKO", "COPE\xA6" "01\r\n"},
        };
        for (const auto& [nome, contenuto] : file) {
            QFile f(cartella.filePath(nome));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            ASSERT_EQ(f.write(contenuto), contenuto.size());
            nomi << nome;
        }
        ASSERT_TRUE(QDir(cartella.path()).mkdir("Archivio 2025"));
        nomi << "Archivio 2025";
    }

    void TearDown() override { ImpostaServizioDialoghi(nullptr); }

    // When the dialog shows and has read the folder: the checks, then Cancel.
    void AlDialogo(int righe)
    {
        QTimer::singleShot(0, [this, righe] {
            auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialogo);
            Controlla(*dialogo, righe);
            dialogo->reject();
        });
    }

    void Controlla(QFileDialog& dialogo, int righe)
    {
        auto* lista = dialogo.findChild<QTreeView*>("treeView");
        ASSERT_TRUE(lista);
        const QHeaderView& intestazione = *lista->header();
        const QFontMetrics misure = lista->fontMetrics();
        const int margine = 2 * (lista->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
        const int icona = lista->style()->pixelMetric(QStyle::PM_SmallIconSize);
        const auto testo = [lista](int riga, int colonna) {
            return lista->model()->index(riga, colonna, lista->rootIndex()).data().toString();
        };
        // Every row listed with its type (the folder is read by another thread).
        ASSERT_TRUE(QTest::qWaitFor([&] {
            if (lista->model()->rowCount(lista->rootIndex()) != righe)
                return false;
            for (int r = 0; r < righe; ++r)
                if (testo(r, ColonnaTipo).isEmpty())
                    return false;
            return true;
        })) << "the folder was not listed";
        QString tipoLungo;
        for (int r = 0; r < righe; ++r)
            if (misure.horizontalAdvance(testo(r, ColonnaTipo)) > misure.horizontalAdvance(tipoLungo))
                tipoLungo = testo(r, ColonnaTipo);
        const int serveTipo = misure.horizontalAdvance(tipoLungo) + margine;
        // Waited for, as the columns and the dialog settle after the folder is read.
        EXPECT_TRUE(QTest::qWaitFor([&] { return intestazione.sectionSize(ColonnaTipo) >= serveTipo; }))
            << "\"" << tipoLungo.toStdString() << "\" needs " << serveTipo << " pixels, the column has "
            << intestazione.sectionSize(ColonnaTipo);
        QCoreApplication::processEvents();

        const QRect area = dialogo.screen()->availableGeometry();
        EXPECT_TRUE(area.contains(dialogo.frameGeometry()))
            << "dialog " << dialogo.frameGeometry().width() << "x" << dialogo.frameGeometry().height() << " on a screen of "
            << area.width() << "x" << area.height();
        const bool strettoDalloSchermo = dialogo.frameGeometry().width() >= area.width();
        QStringList tagliati;
        for (int r = 0; r < righe; ++r)
            if (misure.horizontalAdvance(testo(r, ColonnaNome)) + icona + margine > intestazione.sectionSize(ColonnaNome))
                tagliati << testo(r, ColonnaNome);
        if (!strettoDalloSchermo) {
            EXPECT_TRUE(tagliati.isEmpty()) << tagliati.join(", ").toStdString();
        }
        std::cout << "schermo " << area.width() << "x" << area.height() << ", dialogo " << dialogo.frameGeometry().width()
                  << ": Tipo " << intestazione.sectionSize(ColonnaTipo) << " per \"" << tipoLungo.toStdString() << "\" ("
                  << serveTipo << "), nomi tagliati " << tagliati.size() << "\n";
    }

    QTemporaryDir cartella, impostazioni;
    QStringList nomi;
};

TEST_F(DialoghiTipo, SulloSchermo)
{
    // Opening, every kind listed.
    AlDialogo(static_cast<int>(nomi.size()));
    ServizioDialoghiAttivo().ChiediApertura({"Indica l'archivio XLS da importare", cartella.path(), {}, {"Tutti i Files (*)"}, {}},
                                            true);
    // Saving a DatiFattura file: the XML files and the folder.
    AlDialogo(2);
    ServizioDialoghiAttivo().ChiediSalvataggio(
        {"Indica dove salvare il file XML", cartella.path(), "IT01234567890_DF_00002.xml", {FiltroTipoFile("XML")}, "XML"});
}

// The test above in a process whose only screen has the size of each screen the program
// is used on, at this screen's resolution.
TEST(DialoghiTipoSuiDueSchermi, SulloSchermoDiOgniMisura)
{
    const QScreen* questo = QGuiApplication::primaryScreen();
    ASSERT_TRUE(questo);
    for (const QSize schermo : {QSize(1366, 768), QSize(1280, 720)}) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString configurazione = dir.filePath("schermo.json");
        QFile file(configurazione);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const QJsonObject descrizione{{"name", "Schermo"},
                                      {"x", 0},
                                      {"y", 0},
                                      {"width", schermo.width()},
                                      {"height", schermo.height()},
                                      {"logicalDpi", questo->logicalDotsPerInch()},
                                      {"logicalBaseDpi", questo->logicalDotsPerInch()},
                                      {"dpr", 1}};
        file.write(QJsonDocument(QJsonObject{{"screens", QJsonArray{descrizione}}}).toJson());
        file.close();
        // A platform option is told from the next by ',' and ':'.
        ASSERT_FALSE(configurazione.contains(',') || configurazione.contains(':'));

        QProcess prova;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + configurazione);
        prova.setProcessEnvironment(ambiente);
        prova.setProcessChannelMode(QProcess::MergedChannels);
        prova.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=DialoghiTipo.SulloSchermo"});
        ASSERT_TRUE(prova.waitForFinished(120000));
        const QString uscita = QString::fromUtf8(prova.readAll());
        const QString misura = QStringLiteral("schermo %1x%2,").arg(schermo.width()).arg(schermo.height());
        EXPECT_EQ(prova.exitStatus(), QProcess::NormalExit) << uscita.toStdString();
        EXPECT_EQ(prova.exitCode(), 0) << uscita.toStdString();
        EXPECT_EQ(uscita.count(misura), 2) << uscita.toStdString();
        EXPECT_TRUE(uscita.contains("[  PASSED  ] 1 test.")) << uscita.toStdString();
        std::cout << uscita.toStdString();
    }
}

} // namespace
