#include "platform/db/TypedValue.h"

#include "platform/db/DbError.h"
#include "platform/text/ControlCharacters.h"

#include <QDate>
#include <QDateTime>

#include <limits>

namespace quercino {

namespace {

QMetaType metaTypeOf(ColumnType type)
{
    switch (type) {
    case ColumnType::Text:
        return QMetaType::fromType<QString>();
    case ColumnType::SmallInt:
    case ColumnType::Integer:
        return QMetaType::fromType<int>();
    case ColumnType::Date:
        return QMetaType::fromType<QDate>();
    }
    return QMetaType::fromType<QString>();
}

DbError conversionError(const QVariant& raw, const QString& columnName, const char* kind)
{
    return DbError(0, QStringLiteral("Valore \"%1\" non valido come %2 nella colonna %3")
                          .arg(raw.toString(), QLatin1String(kind), columnName));
}

QVariant readInteger(const QVariant& raw, ColumnType type, const QString& columnName)
{
    bool ok = false;
    qlonglong n = 0;
    if (raw.metaType() == QMetaType::fromType<QString>() ||
        raw.metaType() == QMetaType::fromType<QByteArray>())
        n = raw.toString().trimmed().toLongLong(&ok);
    else if (raw.metaType() == QMetaType::fromType<double>() ||
             raw.metaType() == QMetaType::fromType<float>()) {
        const double d = raw.toDouble();
        ok = d == static_cast<double>(static_cast<qlonglong>(d));
        n = static_cast<qlonglong>(d);
    } else
        n = raw.toLongLong(&ok);
    const qlonglong low = type == ColumnType::SmallInt ? std::numeric_limits<qint16>::min()
                                                       : std::numeric_limits<qint32>::min();
    const qlonglong high = type == ColumnType::SmallInt ? std::numeric_limits<qint16>::max()
                                                        : std::numeric_limits<qint32>::max();
    if (!ok || n < low || n > high)
        throw conversionError(raw, columnName, "numero intero");
    return QVariant(static_cast<int>(n));
}

QVariant readDate(const QVariant& raw, const QString& columnName)
{
    if (raw.metaType() == QMetaType::fromType<QDate>())
        return raw;
    if (raw.metaType() == QMetaType::fromType<QDateTime>())
        return QVariant(raw.toDateTime().date());
    const QString text = raw.toString().trimmed();
    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    if (!date.isValid())
        throw conversionError(raw, columnName, "data");
    return QVariant(date);
}

} // namespace

QVariant fromDriver(const QVariant& raw, ColumnType type, const QString& columnName)
{
    if (raw.isNull())
        return QVariant();
    switch (type) {
    case ColumnType::Text:
        return QVariant(raw.toString());
    case ColumnType::SmallInt:
    case ColumnType::Integer:
        return readInteger(raw, type, columnName);
    case ColumnType::Date:
        return readDate(raw, columnName);
    }
    return raw;
}

QVariant toDriver(const QVariant& value, ColumnType type, const QString& columnName)
{
    if (!value.isValid() || value.isNull())
        return QVariant(metaTypeOf(type));
    switch (type) {
    case ColumnType::Text:
        return QVariant(withoutControlCharacters(value.toString()));
    case ColumnType::SmallInt:
    case ColumnType::Integer:
        if (value.metaType() == QMetaType::fromType<bool>())
            return QVariant(value.toBool() ? 1 : 0);
        return readInteger(value, type, columnName);
    case ColumnType::Date:
        return readDate(value, columnName);
    }
    return value;
}

QVariant toDriver(const QVariant& value)
{
    if (!value.isValid())
        return QVariant(QMetaType::fromType<QString>());
    if (value.metaType() == QMetaType::fromType<bool>())
        return QVariant(value.toBool() ? 1 : 0);
    if (value.metaType() == QMetaType::fromType<qlonglong>()) {
        const qlonglong n = value.toLongLong();
        if (n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max())
            return QVariant(static_cast<int>(n));
    }
    if (value.metaType() == QMetaType::fromType<QString>())
        return QVariant(withoutControlCharacters(value.toString()));
    return value;
}

} // namespace quercino
