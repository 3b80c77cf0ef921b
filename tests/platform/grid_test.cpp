// The grid as the lists use it: columns by key, filling from query results (the
// registry's list read through the data-access layer, on the SQLite file), 1-based current
// row, the two events, and suspended drawing.

#include "platform/grid/Grid.h"

#include "app/core/Schema.h"
#include "platform/grid/GridRows.h"
#include "support/db_backends.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

QList<QVariantList> Nazioni()
{
    // Fields come in the order of the query, not of the grid's columns.
    return {{QString("PAESE"), QString("ITALIA"), QString("IT")},
            {QString("PAESE"), QString("FRANCIA"), QString("FR")},
            {QString("PAESE"), QVariant(), QString("XX")}};
}

void DueColonne(Grid& grid)
{
    grid.AddColumn("COD", "Codice", 40);
    grid.AddColumn("DES", "Descrizione", 750);
}

} // namespace

TEST(Grid, ColonneConChiaveTitoloELarghezzaCheMostraIlTitolo)
{
    Grid grid;
    QFont grande = grid.font();
    grande.setPixelSize(12);
    grande.setBold(true);
    grid.SetHeaderFont(grande);
    DueColonne(grid);
    grid.AddColumn("N", "N", 60);
    EXPECT_EQ(grid.Model().headerData(1, Qt::Horizontal).toString(), "Descrizione");
    EXPECT_EQ(grid.ColumnWidth("DES"), 750);
    EXPECT_EQ(grid.ColumnWidth("N"), 60);
    // A narrow column still shows its whole caption, whatever the header font.
    EXPECT_GE(grid.ColumnWidth("COD"), std::max(40, QFontMetrics(grande).horizontalAdvance("Codice")));
    grande.setPixelSize(40);
    grid.SetHeaderFont(grande);
    EXPECT_GT(grid.ColumnWidth("COD"), QFontMetrics(grande).horizontalAdvance("Codice"));
    EXPECT_TRUE(grid.HeaderFont().bold());
    EXPECT_EQ(grid.Model().Column(0).width, 40);
    grid.SetColumnWidth("des", 300);
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(1), 300);
    EXPECT_EQ(grid.ColumnWidth("NOPE"), 0);
}

TEST(Grid, FillMatchesFieldsToColumnKeysWhateverTheirOrderAndCase)
{
    Grid grid;
    grid.AddColumn("Cod", "Codice", 40);
    grid.AddColumn("des", "Descrizione", 750);
    grid.AddColumn("ALTRO", "Altro", 50);
    grid.Fill({"TIPO", "DES", "COD"}, Nazioni());
    ASSERT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.CellText(1, "COD"), "IT");
    EXPECT_EQ(grid.CellText(1, "DES"), "ITALIA");
    EXPECT_EQ(grid.CellValue(2, 1).toString(), "FR");
    EXPECT_EQ(grid.CellValue(2, 2).toString(), "FRANCIA");
    // A null field and a column without a field both read as empty.
    EXPECT_EQ(grid.CellText(3, "DES"), "");
    EXPECT_EQ(grid.CellText(3, "ALTRO"), "");
    // What the view shows is what the cells hold.
    EXPECT_EQ(grid.model()->data(grid.model()->index(1, 1)).toString(), "FRANCIA");
    // Out of range reads nothing.
    EXPECT_FALSE(grid.CellValue(0, "COD").isValid());
    EXPECT_FALSE(grid.CellValue(4, "COD").isValid());
    EXPECT_FALSE(grid.CellValue(1, 4).isValid());
    EXPECT_FALSE(grid.CellValue(1, "NOPE").isValid());
}

TEST(Grid, FillAppendsAndClearRemovesRowsAndColumns)
{
    Grid grid;
    DueColonne(grid);
    grid.Fill({"TIPO", "DES", "COD"}, Nazioni());
    grid.Fill({"COD", "DES"}, {{QString("DE"), QString("GERMANIA")}});
    ASSERT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.CellText(4, "DES"), "GERMANIA");
    grid.Fill({"COD", "DES"}, {});
    EXPECT_EQ(grid.RowCount(), 4);

    grid.SetCurrentCell(2);
    grid.Clear();
    EXPECT_EQ(grid.RowCount(), 0);
    EXPECT_EQ(grid.Model().ColumnCount(), 0);
    EXPECT_EQ(grid.CurrentRow(), 0);
    // A column added after a fill gets an empty cell on every existing row.
    DueColonne(grid);
    grid.Fill({"COD"}, {{QString("ES")}});
    grid.AddColumn("X", "X", 10);
    EXPECT_EQ(grid.CellText(1, "X"), "");
    EXPECT_EQ(grid.Model().Column(2).width, 10);
    EXPECT_GE(grid.horizontalHeader()->sectionSize(2), 10);
}

TEST(Grid, CurrentRowCountsFromOneAndZeroMeansNone)
{
    Grid grid;
    DueColonne(grid);
    QSignalSpy changes(&grid, &Grid::AfterSelectionChange);
    EXPECT_EQ(grid.CurrentRow(), 0);
    grid.Fill({"TIPO", "DES", "COD"}, Nazioni());
    EXPECT_EQ(grid.CurrentRow(), 0);

    grid.SetCurrentCell(2, 1);
    EXPECT_EQ(grid.CurrentRow(), 2);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(grid.selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(grid.selectionModel()->selectedRows().first().row(), 1);

    // Another cell of the same row is no selection change.
    grid.SetCurrentCell(2, 2);
    EXPECT_EQ(changes.count(), 1);

    grid.SetCurrentCell(3);
    EXPECT_EQ(grid.CurrentRow(), 3);
    EXPECT_EQ(changes.count(), 2);

    grid.SetCurrentCell(9);
    EXPECT_EQ(grid.CurrentRow(), 0);
    EXPECT_EQ(changes.count(), 3);
    grid.SetCurrentCell(0);
    EXPECT_EQ(grid.CurrentRow(), 0);

    // Clearing the grid under a current row is a change to no row.
    grid.SetCurrentCell(1);
    EXPECT_EQ(changes.count(), 4);
    grid.Clear();
    EXPECT_EQ(grid.CurrentRow(), 0);
    EXPECT_EQ(changes.count(), 5);
    grid.Clear();
    EXPECT_EQ(changes.count(), 5);
}

TEST(Grid, ClickSelectsAndDoubleClickReportsTheClickedRow)
{
    Grid grid;
    DueColonne(grid);
    grid.Fill({"TIPO", "DES", "COD"}, Nazioni());
    grid.resize(800, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));

    QSignalSpy changes(&grid, &Grid::AfterSelectionChange);
    QSignalSpy doubles(&grid, &Grid::DblClick);
    const QPoint second = grid.visualRect(grid.model()->index(1, 1)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(grid.CurrentRow(), 2);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(doubles.count(), 0);

    const QPoint third = grid.visualRect(grid.model()->index(2, 0)).center();
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(grid.CurrentRow(), 3);

    // A double click below the last row is not a row's double click.
    const QPoint below(10, grid.viewport()->height() - 2);
    ASSERT_FALSE(grid.indexAt(below).isValid());
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(doubles.count(), 1);
    // The grid is read-only.
    EXPECT_EQ(grid.CellText(3, "COD"), "XX");
    EXPECT_EQ(grid.indexWidget(grid.model()->index(2, 0)), nullptr);
}

TEST(Grid, AggiornamentiAnnidatiAltezzeDelleRighe)
{
    Grid grid;
    DueColonne(grid);
    grid.SetDefaultRowHeight(19);
    grid.Fill({"TIPO", "DES", "COD"}, Nazioni());
    grid.show();
    grid.BeginUpdate();
    grid.BeginUpdate();
    grid.EndUpdate();
    EXPECT_FALSE(grid.updatesEnabled());
    grid.EndUpdate();
    grid.EndUpdate();   // an unmatched end changes nothing
    EXPECT_TRUE(grid.updatesEnabled());
    EXPECT_FALSE(grid.Updating());

    EXPECT_EQ(grid.rowHeight(0), grid.DefaultRowHeight());
    grid.FitRowHeight(1, 20);
    EXPECT_GE(grid.rowHeight(0), 20);
    grid.FitRowHeight(2, 60);
    EXPECT_EQ(grid.rowHeight(1), 60);
    grid.FitRowHeight(7, 60);  // no such row: nothing happens
    EXPECT_EQ(grid.rowHeight(2), 19);
}

namespace {

class GrigliaDaDatabase : public test::DbBackendTest {};

QStringList NomiColonne(const Table& tabella)
{
    QStringList nomi;
    for (const Column& colonna : tabella.columns)
        nomi << colonna.name;
    return nomi;
}

} // namespace

TEST_P(GrigliaDaDatabase, PicksTheColumnsOfItsKeysOutOfWholeRows)
{
    db().insert(schema::COPE(), test::rigaCope("02", "VERDI SRL"));
    db().insert(schema::COPE(), test::rigaCope("01", "BIANCHI & C. SNC"));
    QVariantList senzaNome = test::rigaCope("03", "ROSSI SPA");
    senzaNome[cope::OCF] = QVariant();  // a null reads as an empty cell
    senzaNome[cope::ODES] = QStringLiteral("ROSSI SPA L'ALTRA");
    db().insert(schema::COPE(), senzaNome);

    Grid grid;
    grid.AddColumn("OCOD", "Codice", 100);
    grid.AddColumn("OCF", "Codice Fiscale", 100);
    grid.AddColumn("Odes", "Soggetto Obbligato", 400);
    RiempiGriglia(grid, NomiColonne(schema::COPE()),
                  db().select(schema::COPE(), " ORDER BY ORAG"));

    ASSERT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.CellText(1, "OCOD"), "01");
    EXPECT_EQ(grid.CellText(1, "Odes"), "BIANCHI & C. SNC");
    EXPECT_EQ(grid.CellText(2, "OCOD"), "03");
    EXPECT_EQ(grid.CellText(2, "ODES"), "ROSSI SPA L'ALTRA");
    EXPECT_EQ(grid.CellText(2, "OCF"), "");
    EXPECT_EQ(grid.CellValue(3, 1).toString(), "02");
    EXPECT_EQ(grid.CellValue(3, 3).toString(), "VERDI SRL");

    // No rows: nothing added, nothing current.
    Grid vuota;
    vuota.AddColumn("OCOD", "Codice", 100);
    RiempiGriglia(vuota, NomiColonne(schema::COPE()),
                  db().select(schema::COPE(), " WHERE OCOD = ?", {"99"}));
    EXPECT_EQ(vuota.RowCount(), 0);
    EXPECT_EQ(vuota.CurrentRow(), 0);
}

QUERCINO_DB_SOLO_FILE(GrigliaDaDatabase);
