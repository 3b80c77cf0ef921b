// Every writer of the program's files, the PDF writer too, on a real full disk, a small tmpfs the test mounts
// (CI runs as root; not being able to mount fails the test). A file under Qt's 16 KB write
// buffer meets the full disk only at its last flush, which Qt 6.4's QSaveFile::commit()
// reports as a success: the write must fail, name the full disk and leave the earlier file
// as it was; with room, the same write succeeds.

#include "app/backup/ScriviBackup.h"
#include "declarants/datifattura/ErroreDatiFattura.h"
#include "declarants/datifattura/FileUscita.h"
#include "declarants/import/LogImportazione.h"
#include "pdf/Tavlo.h"
#include "support/backup_di_prova.h"
#include "support/golden.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStorageInfo>

#include <gtest/gtest.h>

#include <functional>

using namespace quercino;

namespace {

// Fills `cartella` with a file of its own so that `liberi` bytes stay free.
bool LasciaLiberi(const QString& cartella, qint64 liberi)
{
    QFile riempimento(cartella + "/.riempimento");
    riempimento.remove();
    const qint64 n = QStorageInfo(cartella).bytesAvailable() - liberi;
    return n > 0 && riempimento.open(QIODevice::WriteOnly) && riempimento.write(QByteArray(n, '\0')) == n && riempimento.flush();
}

} // namespace

TEST(DiscoPieno, OgniFileScrittoInteroONiente)
{
    QTemporaryDir disco;
    ASSERT_EQ(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=256k", "tmpfs", disco.path()}), 0) << "not root?";
    const struct Smonta {
        QString cartella;
        ~Smonta() { QProcess::execute("umount", {cartella}); }
    } smonta{disco.path()};
    test::DbBackend backend(test::Backend::SqliteFile);
    for (int i = 1; i <= 60; ++i)
        backend.db().insert(schema::COPE(), test::SoggettoCompleto(QString::number(i), QStringLiteral("SOGGETTO %1 SRL").arg(i)));
    const struct {
        QString nome, discoPieno;  // the file, what its writer says of the full disk
        std::function<QString(const QString&)> scrivi;
    } casi[] = {
        {"SAVEVEKO_TUTTI_20260307.VEKO", "il disco è pieno", [&](const QString& percorso) {
             const EsitoBackup esito = ScrittoreBackup(backend.db()).CreaBackup(percorso, QString());
             return esito.riuscito ? QString() : MessaggioBackupFallito(esito);
         }},
        {"IT01234567890_DF_00001.xml", "il disco è pieno", [](const QString& percorso) {
             try {
                 datifattura::FileUscita file(percorso);
                 file.Buffer().assign(9000, 'x');
                 file.Completa();
             } catch (const datifattura::ErroreDatiFattura& errore) {
                 return errore.Messaggio();
             }
             return QString();
         }},
        {importazione::NomeLog, "il disco è pieno", [](const QString& percorso) {
             importazione::LogImportazione log(QFileInfo(percorso).path());
             log.Apri(QStringLiteral("FATTURE.CSV"));
             for (int riga = 4; riga < 120; ++riga)
                 log.Scrivi(QStringLiteral("Riga %1 Colonna: PARTITA IVA  Valore: 123  - Riga NON ELABORATA").arg(riga));
             return log.Chiudi() ? QString() : log.Errore();
         }},
        {"Fattura.pdf", "61 Disco pieno", [](const QString& percorso) {
             tavlo::Tavlo pdf;
             pdf.BeginDoc(percorso.toStdString());
             pdf.BeginPage();
             for (int riga = 1; riga < 300; ++riga)
                 pdf.DrawRect(20, 2.5f * riga, 500, 2, 0);
             try {
                 pdf.EndDoc();
             } catch (const tavlo::TavloError& errore) {
                 return QString::number(errore.Number()) + " " + QString::fromStdString(errore.Description());
             }
             return QString();
         }},
    };
    for (const auto& [nome, discoPieno, scrivi] : casi) {
        SCOPED_TRACE(nome.toStdString());
        const QString percorso = disco.filePath(nome);
        ASSERT_TRUE(test::ScriviFile(percorso, "IL FILE DI PRIMA"));
        ASSERT_TRUE(LasciaLiberi(disco.path(), 4096));
        const QStringList presenti = QDir(disco.path()).entryList(QDir::Files);
        EXPECT_TRUE(scrivi(percorso).contains(discoPieno));
        EXPECT_EQ(test::LeggiFile(percorso), "IL FILE DI PRIMA");
        EXPECT_EQ(QDir(disco.path()).entryList(QDir::Files), presenti) << "a temporary file was left";
        ASSERT_TRUE(LasciaLiberi(disco.path(), 65536));
        EXPECT_EQ(scrivi(percorso), "");
        EXPECT_GT(QFileInfo(percorso).size(), 4096);
    }
}
