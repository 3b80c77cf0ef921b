#pragma once
// The read-only grid of the program's lists: whole-row selection, columns by key with a
// header and a width, filled from a query result. Rows are counted from 1; the current row
// is 0 when there is none.

#include "platform/grid/GridModel.h"

#include <QFont>
#include <QTableView>

namespace quercino {

class Grid : public QTableView {
    Q_OBJECT
public:
    explicit Grid(QWidget* parent = nullptr);

    GridModel& Model() { return model_; }
    const GridModel& Model() const { return model_; }

    // Removes rows and columns; the current row becomes 0 (AfterSelectionChange when it
    // was not).
    void Clear();
    void SetDefaultRowHeight(int pixels);
    int DefaultRowHeight() const;
    void SetHeaderFont(const QFont& font);
    QFont HeaderFont() const;
    // Widths are in pixels; a column is never shown narrower than its caption needs in
    // the header font.
    void AddColumn(const QString& key, const QString& header, int width);
    void SetColumnWidth(const QString& key, int width);
    // The width shown.
    int ColumnWidth(const QString& key) const;
    // Widens a column to its widest cell, so that no value is cut; never below `minimum`.
    void FitColumnToContents(const QString& key, int minimum);
    // The width a column needs to show `text` whole in this grid's font and style.
    int WidthForText(const QString& text) const;
    // The height of the header plus `rows` rows of the default height.
    int HeightForRows(int rows) const;

    // Drawing stays suspended between BeginUpdate and the matching EndUpdate; pairs nest.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updateDepth_ > 0; }

    void Fill(const QStringList& fieldNames, const QList<QVariantList>& records);
    int RowCount() const { return model_.RowCount(); }

    int CurrentRow() const;
    // Makes (row, column) the current cell and selects its row; a row out of range leaves
    // no current row. column is 1-based.
    void SetCurrentCell(int row, int column = 1);

    QVariant CellValue(int row, const QString& key) const { return model_.CellValue(row, key); }
    QVariant CellValue(int row, int column) const { return model_.CellValue(row, column); }
    QString CellText(int row, const QString& key) const;

    // Fits the height of one row to its contents, never below minimumHeight pixels.
    void FitRowHeight(int row, int minimumHeight);

signals:
    // The current row changed (also to 0).
    void AfterSelectionChange();
    // A row was double-clicked; the current row is the clicked one.
    void DblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int LarghezzaIntestazione(int index) const;
    void ApplicaLarghezza(int index);

    GridModel model_;
    int updateDepth_ = 0;
};

} // namespace quercino
