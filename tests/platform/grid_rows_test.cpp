// Filling a grid from rows read through the data-access layer (on the SQLite file: what
// reaches the database runs on every back-end in database_test):
// the registry's list of declarants, three columns picked by key out of a whole row.

#include "platform/grid/GridRows.h"

#include "app/core/Schema.h"
#include "platform/grid/Grid.h"
#include "support/db_backends.h"

#include <gtest/gtest.h>

using namespace quercino;

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
