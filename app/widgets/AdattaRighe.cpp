#include "app/widgets/AdattaRighe.h"

#include "platform/grid/Grid.h"

#include <QGuiApplication>

namespace quercino {

void AdattaRighe(Grid& grid)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    grid.BeginUpdate();
    for (int row = 1; row <= grid.RowCount(); ++row)
        grid.FitRowHeight(row, 20);
    grid.EndUpdate();
    QGuiApplication::restoreOverrideCursor();
}

} // namespace quercino
