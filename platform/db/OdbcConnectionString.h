#pragma once
// Building ODBC connection strings from separate values.

#include <QString>

namespace quercino {

// An attribute value as the ODBC connection-string grammar wants it: as it is when it
// holds no special character, otherwise between braces with every "}" doubled, so a
// value can never end its attribute early or add another one.
QString odbcAttributeValue(const QString& value);

// "DSN=dsn;UID=user;PWD=password" with each value quoted as above.
QString odbcDataSourceString(const QString& dsn, const QString& user, const QString& password);

} // namespace quercino
