#include "platform/db/Row.h"

#include "platform/db/DbError.h"

namespace quercino {

const QVariant& Row::value(int column) const
{
    if (column < 0 || column >= size())
        throw DbError(0, QStringLiteral("Colonna %1 fuori dalla riga letta (%2 colonne)")
                             .arg(column)
                             .arg(size()));
    return values_[static_cast<std::size_t>(column)];
}

bool Row::isNull(int column) const
{
    return value(column).isNull();
}

QString Row::text(int column) const
{
    const QVariant& v = value(column);
    return v.isNull() ? QString() : v.toString();
}

int Row::integer(int column) const
{
    const QVariant& v = value(column);
    return v.isNull() ? 0 : v.toInt();
}

QDate Row::date(int column) const
{
    const QVariant& v = value(column);
    return v.isNull() ? QDate() : v.toDate();
}

} // namespace quercino
