#include "platform/db/Table.h"

#include "platform/db/DbError.h"

namespace quercino {

int Table::index(const QString& column) const
{
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(column, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    throw DbError(0, QStringLiteral("Colonna %1 sconosciuta nella tabella %2").arg(column, name));
}

QString Table::columnList() const
{
    QStringList names;
    for (const Column& c : columns)
        names << c.name;
    return names.join(QStringLiteral(", "));
}

QString Table::selectAll() const
{
    return QStringLiteral("SELECT %1 FROM %2").arg(columnList(), name);
}

std::vector<ColumnType> Table::types() const
{
    std::vector<ColumnType> result;
    result.reserve(columns.size());
    for (const Column& c : columns)
        result.push_back(c.type);
    return result;
}

} // namespace quercino
