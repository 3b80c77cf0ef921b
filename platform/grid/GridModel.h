#pragma once
// The data behind a Grid: columns addressed by key, rows of plain values. Kept apart from
// the view so that the windows' logic (and the tests) can read what a grid holds without a
// screen.

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace quercino {

struct GridColumn {
    QString key;     // how callers address the column (for example "COD")
    QString header;  // caption shown in the header
    int width = 0;   // in pixels
};

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(QObject* parent = nullptr);

    // Removes rows and columns.
    void Clear();
    void AddColumn(const QString& key, const QString& header, int width);
    // -1 when no column has that key; keys compare without regard to case, as the
    // database's field names do.
    int ColumnIndex(const QString& key) const;
    const GridColumn& Column(int index) const { return columns_.at(index); }
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    void SetColumnWidth(int index, int width);

    // Appends one row per record: each column takes the field whose name matches its key
    // (without regard to case); a column without a matching field stays empty. Database
    // nulls become empty values.
    void Fill(const QStringList& fieldNames, const QList<QVariantList>& records);
    int RowCount() const { return static_cast<int>(rows_.size()); }

    // Rows and columns are 1-based here, as the windows count them; out of range gives an
    // invalid QVariant.
    QVariant CellValue(int row, int column) const;
    QVariant CellValue(int row, const QString& key) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QList<GridColumn> columns_;
    QList<QVariantList> rows_;
};

} // namespace quercino
