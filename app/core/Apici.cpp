#include "app/core/Apici.h"

namespace quercino {

QString Virgolette(const QString& testo)
{
    return u'"' + testo + u'"';
}

QString Apici(const QString& testo)
{
    return u'\'' + testo + u'\'';
}

QString ApiciLike(const QString& testo)
{
    return QStringLiteral("'%") + testo + QStringLiteral("%'");
}

QString RaddoppiaApici(const QString& testo)
{
    QString risultato = testo;
    return risultato.replace(u'\'', QStringLiteral("''"));
}

} // namespace quercino
