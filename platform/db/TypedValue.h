#pragma once
// Conversions between the driver's values and the declared column types, in both
// directions, so no code depends on what a driver reports for a column.

#include "platform/db/Table.h"

#include <QVariant>

namespace quercino {

// A value read from the driver, as the declared type (a null stays null).
// Throws DbError when the value cannot be read as that type.
QVariant fromDriver(const QVariant& raw, ColumnType type, const QString& columnName);

// A value to bind for a column of the declared type: a typed null for a null or an
// empty variant, otherwise the value converted (throws DbError when it cannot be).
QVariant toDriver(const QVariant& value, ColumnType type, const QString& columnName);

// A value to bind when no column type is known: typed nulls, bool as 0/1, the rest as is.
QVariant toDriver(const QVariant& value);

} // namespace quercino
