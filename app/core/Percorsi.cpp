#include "app/core/Percorsi.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quercino {

QString DividiPercorso(const QString& percorso, bool cartella)
{
    const qsizetype p = percorso.lastIndexOf(QLatin1Char('/'));
    if (p <= 0)   // none, or only a leading one
        return cartella ? QString() : percorso;
    return cartella ? percorso.left(p) : percorso.mid(p + 1);
}

QString ParteDiPercorso(const QString& percorso, bool cartella)
{
    return DividiPercorso(percorso, cartella);
}

QString CartellaDi(const QString& percorso)
{
    return DividiPercorso(percorso, true);
}

bool EsisteFile(const QString& percorso)
{
    if (percorso.isEmpty())
        return false;
    const QFileInfo info(percorso);
    return info.exists() && !info.isDir();
}

void CreaCartella(const QString& percorso)
{
    if (percorso.isEmpty())
        return;
    // mkpath creates the missing parents too and reports failures we deliberately ignore.
    QDir().mkpath(percorso);
}

namespace {

QString CartellaUtente(QStandardPaths::StandardLocation quale)
{
    const QString cartella = QStandardPaths::writableLocation(quale);
    if (!cartella.isEmpty() && QFileInfo(cartella).isDir())
        return cartella;
    return QDir::homePath();
}

} // namespace

QString CartellaDesktop()
{
    return CartellaUtente(QStandardPaths::DesktopLocation);
}

QString CartellaDocumenti()
{
    return CartellaUtente(QStandardPaths::DocumentsLocation);
}

} // namespace quercino
