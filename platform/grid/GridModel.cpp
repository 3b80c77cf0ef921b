#include "platform/grid/GridModel.h"

#include <QHash>

namespace quercino {

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

void GridModel::Clear()
{
    beginResetModel();
    rows_.clear();
    columns_.clear();
    endResetModel();
}

void GridModel::AddColumn(const QString& key, const QString& header, int width)
{
    const int at = ColumnCount();
    beginInsertColumns({}, at, at);
    columns_.append(GridColumn{key, header, width});
    for (QVariantList& row : rows_)
        row.append(QVariant());
    endInsertColumns();
}

int GridModel::ColumnIndex(const QString& key) const
{
    for (int i = 0; i < ColumnCount(); ++i)
        if (columns_.at(i).key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void GridModel::SetColumnWidth(int index, int width)
{
    if (index >= 0 && index < ColumnCount())
        columns_[index].width = width;
}

void GridModel::Fill(const QStringList& fieldNames, const QList<QVariantList>& records)
{
    if (records.isEmpty())
        return;
    // Where each column finds its value in a record, or -1.
    QList<int> source;
    for (const GridColumn& column : columns_) {
        int found = -1;
        for (int f = 0; f < fieldNames.size(); ++f)
            if (fieldNames.at(f).compare(column.key, Qt::CaseInsensitive) == 0) {
                found = f;
                break;
            }
        source.append(found);
    }
    const int first = RowCount();
    beginInsertRows({}, first, first + static_cast<int>(records.size()) - 1);
    for (const QVariantList& record : records) {
        QVariantList row;
        row.reserve(ColumnCount());
        for (int f : source) {
            const QVariant value = f >= 0 && f < record.size() ? record.at(f) : QVariant();
            row.append(value.isNull() ? QVariant() : value);
        }
        rows_.append(row);
    }
    endInsertRows();
}

QVariant GridModel::CellValue(int row, int column) const
{
    if (row < 1 || row > RowCount() || column < 1 || column > ColumnCount())
        return {};
    return rows_.at(row - 1).at(column - 1);
}

QVariant GridModel::CellValue(int row, const QString& key) const
{
    const int index = ColumnIndex(key);
    return index < 0 ? QVariant() : CellValue(row, index + 1);
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const QVariant value = CellValue(index.row() + 1, index.column() + 1);
    return value.isValid() ? QVariant(value.toString()) : QVariant();
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < ColumnCount() ? QVariant(columns_.at(section).header)
                                                       : QVariant();
    return section + 1;
}

} // namespace quercino
