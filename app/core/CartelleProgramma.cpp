#include "app/core/CartelleProgramma.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace quercino {

namespace {

QString senzaBarraFinale(QString percorso)
{
    while (percorso.size() > 1 && percorso.endsWith(QLatin1Char('/')))
        percorso.chop(1);
    return percorso;
}

bool utilizzabile(const QString& percorso)
{
    return !percorso.isEmpty() && QDir::cleanPath(percorso) != QLatin1String("/");
}

} // namespace

QString CartellaProgramma()
{
    const QString home = qEnvironmentVariable("QUERCINO_HOME");
    if (!home.isEmpty())
        return senzaBarraFinale(QDir::fromNativeSeparators(home));
    return senzaBarraFinale(QCoreApplication::applicationDirPath());
}

QString CartellaPubblica()
{
    const QString pubblica = qEnvironmentVariable("PUBLIC");
    if (utilizzabile(pubblica))
        return senzaBarraFinale(QDir::fromNativeSeparators(pubblica));
    const QString dati = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (utilizzabile(dati))
        return senzaBarraFinale(dati);
    const QString home = QDir::homePath();
    if (utilizzabile(home))
        return senzaBarraFinale(home) + QStringLiteral("/.local/share");
    return senzaBarraFinale(QDir::tempPath());
}

} // namespace quercino
