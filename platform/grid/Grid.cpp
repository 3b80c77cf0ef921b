#include "platform/grid/Grid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <algorithm>

namespace quercino {

Grid::Grid(QWidget* parent) : QTableView(parent)
{
    setModel(&model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(4);  // narrow code columns keep their width
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (current.row() != previous.row() || current.isValid() != previous.isValid())
                    emit AfterSelectionChange();
            });
    // Columns added later take the width they were given.
    connect(&model_, &QAbstractItemModel::columnsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                for (int c = first; c <= last; ++c)
                    ApplicaLarghezza(c);
            });
}

int Grid::LarghezzaIntestazione(int index) const
{
    const QFontMetrics metrica(horizontalHeader()->font());
    const int margine = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    return metrica.horizontalAdvance(model_.Column(index).header) + 2 * margine + 4;
}

void Grid::ApplicaLarghezza(int index)
{
    // The widths were chosen for a narrow header font: a wider one must not cut the
    // captions.
    horizontalHeader()->resizeSection(
        index, std::max(model_.Column(index).width, LarghezzaIntestazione(index)));
}

void Grid::Clear()
{
    // A model reset drops the current index without the selection model's signal.
    const bool avevaRiga = CurrentRow() != 0;
    model_.Clear();
    if (avevaRiga)
        emit AfterSelectionChange();
}

void Grid::SetDefaultRowHeight(int pixels)
{
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(pixels);
}

int Grid::DefaultRowHeight() const
{
    return verticalHeader()->defaultSectionSize();
}

void Grid::SetHeaderFont(const QFont& font)
{
    horizontalHeader()->setFont(font);
    for (int c = 0; c < model_.ColumnCount(); ++c)
        ApplicaLarghezza(c);
}

QFont Grid::HeaderFont() const
{
    return horizontalHeader()->font();
}

void Grid::AddColumn(const QString& key, const QString& header, int width)
{
    model_.AddColumn(key, header, width);
}

void Grid::SetColumnWidth(const QString& key, int width)
{
    const int index = model_.ColumnIndex(key);
    if (index < 0)
        return;
    model_.SetColumnWidth(index, width);
    ApplicaLarghezza(index);
}

int Grid::ColumnWidth(const QString& key) const
{
    const int index = model_.ColumnIndex(key);
    return index < 0 ? 0 : horizontalHeader()->sectionSize(index);
}

void Grid::FitColumnToContents(const QString& key, int minimum)
{
    const int index = model_.ColumnIndex(key);
    if (index < 0)
        return;
    int width = minimum;
    for (int row = 1; row <= RowCount(); ++row)
        width = std::max(width, WidthForText(model_.CellValue(row, index + 1).toString()));
    SetColumnWidth(key, width);
}

int Grid::WidthForText(const QString& text) const
{
    // What the item delegate asks for the text, plus the grid line.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.text = text;
    option.features |= QStyleOptionViewItem::HasDisplay;
    return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width() + (showGrid() ? 1 : 0);
}

int Grid::HeightForRows(int rows) const
{
    return horizontalHeader()->sizeHint().height() + rows * DefaultRowHeight() + 2 * frameWidth();
}

void Grid::BeginUpdate()
{
    if (updateDepth_++ == 0)
        setUpdatesEnabled(false);
}

void Grid::EndUpdate()
{
    if (updateDepth_ == 0)
        return;
    if (--updateDepth_ == 0)
        setUpdatesEnabled(true);
}

void Grid::Fill(const QStringList& fieldNames, const QList<QVariantList>& records)
{
    model_.Fill(fieldNames, records);
}

int Grid::CurrentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void Grid::SetCurrentCell(int row, int column)
{
    if (row < 1 || row > RowCount()) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
        return;
    }
    const int c = column >= 1 && column <= model_.ColumnCount() ? column - 1 : 0;
    const QModelIndex index = model_.index(row - 1, c);
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

QString Grid::CellText(int row, const QString& key) const
{
    return CellValue(row, key).toString();
}

void Grid::FitRowHeight(int row, int minimumHeight)
{
    if (row < 1 || row > RowCount())
        return;
    resizeRowToContents(row - 1);
    if (rowHeight(row - 1) < minimumHeight)
        setRowHeight(row - 1, minimumHeight);
}

void Grid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    if (currentIndex().row() != index.row())
        SetCurrentCell(index.row() + 1, index.column() + 1);
    emit DblClick();
}

} // namespace quercino
