// Fitting a grid's rows: every row at least 20 pixels, drawing and pointer restored.

#include "app/widgets/AdattaRighe.h"

#include "platform/grid/Grid.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

TEST(AdattaRighe, FitsEveryRowAndRestoresDrawingAndPointer)
{
    quercino::Grid grid;
    grid.SetDefaultRowHeight(12);
    grid.AddColumn("OCOD", "Codice", 100);
    grid.AddColumn("Odes", "Soggetto Obbligato", 400);
    QList<QVariantList> rows;
    for (int i = 1; i <= 30; ++i)
        rows.append({QString::number(i), QStringLiteral("SOGGETTO %1").arg(i)});
    grid.Fill({"OCOD", "ODES"}, rows);
    grid.show();
    ASSERT_EQ(grid.rowHeight(29), 12);

    quercino::AdattaRighe(grid);

    for (int r = 0; r < grid.RowCount(); ++r)
        EXPECT_GE(grid.rowHeight(r), 20) << "row " << r + 1;
    EXPECT_TRUE(grid.updatesEnabled());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    quercino::Grid vuota;
    quercino::AdattaRighe(vuota);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
