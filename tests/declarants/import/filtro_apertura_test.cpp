// The import's open dialog, the real one: under its first filter it lists every kind of
// workbook the import reads, whatever the case of the extension, and nothing else; under
// the CSV choice, CSV files only.

#include "app/core/Globals.h"
#include "app/widgets/DialoghiQt.h"
#include "declarants/import/SelezioneImportazione.h"
#include "support/stampa_qt.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quercino;
using importazione::TipoFile;

namespace {

// The files of the folder the dialog shows, as it first opens, and can be chosen.
QStringList Elencati(TipoFile tipo, const QString& cartella)
{
    QStringList elencati;
    QTimer::singleShot(0, [&] {
        auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialogo) {
            ADD_FAILURE() << "nessun dialogo";
            return;
        }
        auto* modello = dialogo->findChild<QFileSystemModel*>();
        const QModelIndex radice = modello->index(cartella);
        // The folder is read in the background: wait until its files are in the model.
        QElapsedTimer attesa;
        attesa.start();
        while (modello->rowCount(radice) == 0 && attesa.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        for (const QString& nome : QDir(cartella).entryList(QDir::Files, QDir::Name)) {
            const QModelIndex indice = modello->index(QDir(cartella).filePath(nome));
            const QModelIndex inVista = dialogo->proxyModel() ? dialogo->proxyModel()->mapFromSource(indice) : indice;
            if (indice.isValid() && inVista.isValid() && (modello->flags(indice) & Qt::ItemIsEnabled))
                elencati << nome;
        }
        dialogo->reject();
    });
    UltimaCartella = cartella;
    UsaDialoghiQt();
    ServizioDialoghiAttivo().ChiediApertura(importazione::RichiestaApertura(tipo), true);
    ImpostaServizioDialoghi(nullptr);
    return elencati;
}

} // namespace

TEST(FiltroApertura, OgniCartellaCheSiLeggeENientAltro)
{
    QTemporaryDir dir, impostazioni;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, impostazioni.path());
    const QStringList cartelle = {"a.xlsx", "b.xlsm", "c.xlsb", "d.xls", "e.ods", "F.XLSX", "G.XLS", "H.ODS"};
    const QStringList altri = {"i.csv", "J.CSV", "k.txt", "l.pdf", "m.odt"};
    for (const QString& nome : cartelle + altri) {
        QFile file(dir.filePath(nome));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QStringList attese = cartelle;
    attese.sort();
    EXPECT_EQ(Elencati(TipoFile::Excel, dir.path()), attese);
    EXPECT_EQ(Elencati(TipoFile::Csv, dir.path()), (QStringList{"J.CSV", "i.csv"}));
}
