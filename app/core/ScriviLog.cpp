#include "app/core/ScriviLog.h"

#include "app/core/Date.h"
#include "app/core/Globals.h"
#include "platform/text/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quercino {

namespace {

QByteArray rigaWindows1252(const QString& testo)
{
    const std::vector<std::uint8_t> byte = encodeWindows1252(testo);
    QByteArray riga(reinterpret_cast<const char*>(byte.data()), static_cast<qsizetype>(byte.size()));
    riga.append("\r\n");
    return riga;
}

} // namespace

QString PercorsoLogDebug(const QString& cartellaPubblica)
{
    return cartellaPubblica + QStringLiteral("/VORNSOFTLAB/LOG_VEKO.TXT");
}

void CreaLogDebug(const QString& percorso, const QDate& oggi)
{
    const QString cartella = QFileInfo(percorso).absolutePath();
    if (!QDir().mkpath(cartella))
        throw ErroreLogDebug(QStringLiteral("Impossibile creare la cartella %1").arg(cartella));
    QFile file(percorso);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ErroreLogDebug(file.errorString());
    const QByteArray riga = rigaWindows1252(QStringLiteral("DATA ELABORAZIONE: ") + DataItaliana(oggi));
    if (file.write(riga) != riga.size() || !file.flush())
        throw ErroreLogDebug(file.errorString());
}

void ScriviLog(const QString& testo)
{
    if (DebugMode != QLatin1String("1") || PathLog.isEmpty())
        return;
    QFile file(PathLog);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(rigaWindows1252(testo));
}

} // namespace quercino
