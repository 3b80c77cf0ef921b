#pragma once
// One row read through Database::query, already converted to the declared column types:
// Text -> QString, SmallInt/Integer -> int, Date -> QDate. A database null stays a null
// QVariant; the typed accessors read it as "", 0 or an invalid date.

#include <QDate>
#include <QString>
#include <QVariant>

#include <vector>

namespace quercino {

class Row {
public:
    Row() = default;
    explicit Row(std::vector<QVariant> values) : values_(std::move(values)) {}

    int size() const { return static_cast<int>(values_.size()); }
    bool isNull(int column) const;
    const QVariant& value(int column) const;

    QString text(int column) const;  // null -> ""
    int integer(int column) const;   // null -> 0
    QDate date(int column) const;    // null -> invalid date

private:
    std::vector<QVariant> values_;
};

} // namespace quercino
