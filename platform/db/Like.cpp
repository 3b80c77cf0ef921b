// Case-insensitive LIKE searches with the user's text taken literally.
#include "platform/db/Database.h"

namespace quercino {

namespace {

QString escapeWildcards(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped;
}

} // namespace

QString Database::likeInsensitive(const QString& column)
{
    return QStringLiteral("UPPER(%1) LIKE UPPER(?) ESCAPE '\\'").arg(column);
}

QString Database::likeContains(const QString& text)
{
    return QLatin1Char('%') + escapeWildcards(text) + QLatin1Char('%');
}

QString Database::likePrefix(const QString& text)
{
    return escapeWildcards(text) + QLatin1Char('%');
}

} // namespace quercino
