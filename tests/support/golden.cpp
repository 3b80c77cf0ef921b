#include "support/golden.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace quercino::test {

QString Accanto(const char* sorgente, const QString& nome)
{
    // The compiler may give the source as a path relative to the build folder.
    QString percorso = QString::fromLocal8Bit(sorgente);
    if (QFileInfo(percorso).isRelative())
        percorso = QStringLiteral(QUERCINO_SOURCE_DIR "/") + percorso.mid(percorso.indexOf(QLatin1String("tests/")));
    return QFileInfo(percorso).dir().filePath(nome);
}

QByteArray LeggiFile(const QString& percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool ScriviFile(const QString& percorso, const QByteArray& byte)
{
    QFile file(percorso);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(byte) == byte.size() && file.flush();
}

::testing::AssertionResult UgualeAlGolden(const QByteArray& ottenuto, const QString& golden)
{
    if (qEnvironmentVariable("QUERCINO_UPDATE_GOLDEN") == QLatin1String("1")) {
        QDir().mkpath(QFileInfo(golden).path());
        if (!ScriviFile(golden, ottenuto))
            return ::testing::AssertionFailure() << "impossibile riscrivere " << golden.toStdString();
        return ::testing::AssertionSuccess() << "riscritto " << golden.toStdString();
    }
    if (!QFileInfo::exists(golden))
        return ::testing::AssertionFailure() << "golden mancante: " << golden.toStdString()
                                             << " (QUERCINO_UPDATE_GOLDEN=1 lo crea; poi va controllato a mano)";
    const QByteArray atteso = LeggiFile(golden);
    if (atteso == ottenuto)
        return ::testing::AssertionSuccess();

    QTemporaryDir cartella;
    const QString ottenutoFile = cartella.filePath(QStringLiteral("ottenuto"));
    ScriviFile(ottenutoFile, ottenuto);
    QProcess diff;
    diff.setProcessChannelMode(QProcess::MergedChannels);
    diff.start(QStringLiteral("diff"), {QStringLiteral("-u"), QStringLiteral("--text"), golden, ottenutoFile});
    diff.waitForFinished(60'000);
    return ::testing::AssertionFailure() << "diverso da " << golden.toStdString() << ":\n"
                                         << QString::fromLatin1(diff.readAll()).left(6000).toStdString();
}

} // namespace quercino::test
