#include "app/core/Aperture.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace quercino {

namespace {

QString SenzaVirgolette(QString testo)
{
    testo = testo.trimmed();
    if (testo.size() >= 2 && testo.startsWith(QLatin1Char('"')) && testo.endsWith(QLatin1Char('"')))
        testo = testo.mid(1, testo.size() - 2);
    return testo;
}

bool SembraIndirizzo(const QString& testo)
{
    const QUrl url(testo, QUrl::StrictMode);
    return url.isValid() && url.scheme().size() > 1
           && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")
               || url.scheme() == QLatin1String("mailto"));
}

} // namespace

bool ApriIndirizzo(const QString& indirizzo)
{
    const QString testo = SenzaVirgolette(indirizzo);
    if (testo.isEmpty())
        return false;
    return QDesktopServices::openUrl(QUrl(testo, QUrl::TolerantMode));
}

bool ApriDocumento(const QString& percorso)
{
    const QString testo = SenzaVirgolette(percorso);
    if (testo.isEmpty() || !QFileInfo::exists(testo))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(testo).absoluteFilePath()));
}

std::int32_t Esegui(const QString& comando)
{
    QString resto = comando.trimmed();
    static const QString explorer = QStringLiteral("EXPLORER ");
    if (resto.startsWith(explorer, Qt::CaseInsensitive))
        resto = resto.mid(explorer.size());
    resto = SenzaVirgolette(resto);
    if (resto.isEmpty())
        return 0;
    const bool aperto = SembraIndirizzo(resto) ? ApriIndirizzo(resto) : ApriDocumento(resto);
    return aperto ? 1 : 0;
}

} // namespace quercino
