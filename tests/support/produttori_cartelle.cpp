#include "support/produttori_cartelle.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace produttori {

namespace {

// Runs a converter to its end; the test fails, saying what it printed, when it cannot start,
// times out or fails.
void Converti(const QString& nome, const QString& programma, const QStringList& argomenti,
              const QProcessEnvironment& ambiente = QProcessEnvironment::systemEnvironment())
{
    ASSERT_FALSE(programma.isEmpty()) << nome.toStdString() << " non installato";
    QProcess p;
    p.setProcessEnvironment(ambiente);
    p.start(programma, argomenti);
    ASSERT_TRUE(p.waitForFinished(300000)) << nome.toStdString() << " non ha terminato";
    EXPECT_TRUE(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        << nome.toStdString() << ": " << p.readAllStandardError().toStdString();
}

} // namespace

QStringList DaCalc(const QStringList& sorgenti, const QString& formato, const QString& cartella)
{
    QTemporaryDir profilo;
    Converti(QStringLiteral("LibreOffice (soffice)"), QStandardPaths::findExecutable(QStringLiteral("soffice")),
             QStringList{QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profilo.path()).toString(),
                         QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--convert-to"), formato,
                         QStringLiteral("--outdir"), cartella}
                 + sorgenti);
    const QString estensione = formato.section(QLatin1Char(':'), 0, 0);
    QStringList uscite;
    for (const QString& sorgente : sorgenti) {
        uscite << QDir(cartella).filePath(QFileInfo(sorgente).completeBaseName() + QLatin1Char('.') + estensione);
        EXPECT_TRUE(QFileInfo::exists(uscite.back())) << "LibreOffice non ha scritto " << uscite.back().toStdString();
    }
    return uscite;
}

QString DaCalc(const QString& sorgente, const QString& formato, const QString& cartella)
{
    return DaCalc(QStringList{sorgente}, formato, cartella).value(0);
}

QString DaGnumeric(const QString& sorgente, const QString& esportatore, const QString& uscita)
{
    Converti(QStringLiteral("Gnumeric (ssconvert)"), QStandardPaths::findExecutable(QStringLiteral("ssconvert")),
             {QStringLiteral("-T"), esportatore, sorgente, uscita});
    EXPECT_TRUE(QFileInfo::exists(uscita)) << "ssconvert non ha scritto " << uscita.toStdString();
    return uscita;
}

QString DaSheetJs(const QString& sorgente, const QString& formato, const QString& uscita)
{
    // SheetJS holds a date as the instant of its midnight in the local time zone, and its
    // OpenDocument writer stores that instant in UTC: only in UTC is it the same day
    // whatever the machine's zone.
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    Converti(QStringLiteral("Node.js"), QStandardPaths::findExecutable(QStringLiteral("node")),
             {QStringLiteral(QUERCINO_SOURCE_DIR "/tests/support/sheetjs_converti.js"), QStringLiteral(QUERCINO_SHEETJS_DIR),
              sorgente, formato, uscita},
             ambiente);
    EXPECT_TRUE(QFileInfo::exists(uscita)) << "SheetJS non ha scritto " << uscita.toStdString();
    return uscita;
}

} // namespace produttori
