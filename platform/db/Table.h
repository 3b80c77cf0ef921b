#pragma once
// Description of one table of the program's own schema. Every identifier that reaches an
// SQL statement comes from one of these descriptions, never from user input, and every
// value read back is converted to the type declared here (drivers disagree: SQLite reports
// SMALLINT and DATE columns as text).

#include <QString>
#include <QStringList>

#include <vector>

namespace quercino {

enum class ColumnType {
    Text,      // VARCHAR(width)
    SmallInt,  // 16-bit integer (check boxes 0/1)
    Integer,   // 32-bit integer
    Date,      // calendar date, no time
};

struct Column {
    QString name;
    ColumnType type = ColumnType::Text;
    int width = 0;  // characters of a Text column
};

struct Table {
    QString name;
    std::vector<Column> columns;   // in the physical order of the table
    QStringList primaryKey;        // empty: no key

    // Index of the column (names compared ignoring case); throws DbError when unknown.
    int index(const QString& column) const;
    // "C1, C2, ..." in table order, for SELECT and INSERT lists.
    QString columnList() const;
    // "SELECT C1, C2, ... FROM NAME"; callers append their WHERE/ORDER BY.
    QString selectAll() const;
    std::vector<ColumnType> types() const;
};

} // namespace quercino
