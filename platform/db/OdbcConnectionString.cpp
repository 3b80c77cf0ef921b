#include "platform/db/OdbcConnectionString.h"

namespace quercino {

QString odbcAttributeValue(const QString& value)
{
    static const QString special = QStringLiteral("[]{}(),;?*=!@");
    bool needsBraces = value.startsWith(QLatin1Char(' ')) || value.endsWith(QLatin1Char(' '));
    for (QChar c : value) {
        if (special.contains(c)) {
            needsBraces = true;
            break;
        }
    }
    if (!needsBraces)
        return value;
    QString quoted = value;
    quoted.replace(QLatin1String("}"), QLatin1String("}}"));
    return QLatin1Char('{') + quoted + QLatin1Char('}');
}

QString odbcDataSourceString(const QString& dsn, const QString& user, const QString& password)
{
    return QStringLiteral("DSN=%1;UID=%2;PWD=%3")
        .arg(odbcAttributeValue(dsn), odbcAttributeValue(user), odbcAttributeValue(password));
}

} // namespace quercino
