// The grid as the lists use it, in a scenario file (scenari/griglia.txt, see
// support/scenario.h): columns by key, filling from query results (the registry's list read
// through the data-access layer, on the SQLite file), 1-based current row, the two events
// counted, clicks on the offscreen platform, and suspended drawing.

#include "platform/grid/Grid.h"

#include "app/core/Schema.h"
#include "platform/grid/GridRows.h"
#include "support/db_backends.h"
#include "support/scenario.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace quercino;
using test::Parole;

namespace {

class ScenarioGriglia : public test::DbBackendTest {
protected:
    // A cell given as "ROW KEY" or "ROW COLUMN-NUMBER".
    QVariant Valore(const QString& a) const
    {
        bool numero = false;
        const int colonna = a.section(' ', 1).toInt(&numero);
        const int riga = a.section(' ', 0, 0).toInt();
        return numero ? grid->CellValue(riga, colonna) : grid->CellValue(riga, a.section(' ', 1));
    }

    void Click(const QString& a, bool doppio)
    {
        const QStringList p = Parole(a);
        // "sotto": below the last row, where no row is.
        const QPoint dove = p[0] == "sotto" ? QPoint(10, grid->viewport()->height() - 2)
                                            : grid->visualRect(grid->model()->index(p[0].toInt() - 1, p[1].toInt() - 1)).center();
        EXPECT_EQ(grid->indexAt(dove).isValid(), p[0] != "sotto");
        if (doppio)
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, dove);
        else
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, dove);
    }

    void Verbi()
    {
        s.verbi = {
            {"nuova", [this](const QString&) { grid = std::make_unique<Grid>(); }},
            {"colonne", [this](const QString& a) {   // KEY Caption WIDTH, ...
                 const QStringList p = Parole(a);
                 for (int i = 0; i + 2 < p.size(); i += 3)
                     grid->AddColumn(p[i], p[i + 1], p[i + 2].toInt());
             }},
            {"intestazione", [this](const QString& a) {   // a bold header font of N pixels
                 QFont f = grid->font();
                 f.setPixelSize(a.toInt());
                 f.setBold(true);
                 grid->SetHeaderFont(f);
             }},
            {"larghezza", [this](const QString& a) { grid->SetColumnWidth(a.section(' ', 0, 0), a.section(' ', 1).toInt()); }},
            // Each column's width as asked and as shown; "titolo" where the caption needs more.
            {"larghezze", [this](const QString& a) {
                 QStringList righe;
                 for (int i = 0; i < grid->Model().ColumnCount(); ++i) {
                     const auto& c = grid->Model().Column(i);
                     const int mostrata = grid->horizontalHeader()->sectionSize(i);
                     const int titolo = QFontMetrics(grid->HeaderFont()).horizontalAdvance(c.header);
                     EXPECT_EQ(grid->ColumnWidth(c.key.toLower()), mostrata);
                     EXPECT_GE(mostrata, std::max(c.width, titolo)) << c.key.toStdString();
                     righe << QStringLiteral("%1 %2: %3 %4").arg(c.key, c.header).arg(c.width)
                                  .arg(mostrata > c.width ? "titolo" : QString::number(mostrata));
                 }
                 if (!a.isEmpty())   // a key of no column
                     righe << QStringLiteral("%1: %2").arg(a).arg(grid->ColumnWidth(a));
                 s.Stampa(righe.join(", "));
             }},
            // Records from the input lines, fields split on ';' ("(nullo)" a null).
            {"riempi", [this](const QString& a) {
                 QList<QVariantList> righe;
                 for (const QString& riga : s.Dati()) {
                     righe.append(QVariantList());
                     for (const QString& campo : riga.split(';'))
                         righe.back() << (campo == "(nullo)" ? QVariant() : QVariant(campo));
                 }
                 grid->Fill(Parole(a), righe);
             }},
            {"griglia", [this](const QString&) {   // every row as its cells' texts by key, and what the view shows
                 s.Stampa(QStringLiteral("%1 righe, %2 colonne").arg(grid->RowCount()).arg(grid->Model().ColumnCount()));
                 for (int r = 1; r <= grid->RowCount(); ++r) {
                     QStringList celle;
                     for (int c = 0; c < grid->Model().ColumnCount(); ++c) {
                         const QString testo = grid->CellText(r, grid->Model().Column(c).key.toUpper());
                         EXPECT_EQ(grid->model()->data(grid->model()->index(r - 1, c)).toString(), testo);
                         celle << grid->Model().Column(c).key + "=" + testo;
                     }
                     s.Stampa(QStringLiteral("%1: %2").arg(r).arg(celle.join(' ')));
                 }
             }},
            {"valore", [this](const QString& a) {
                 const QVariant v = Valore(a);
                 s.Stampa(v.isValid() ? v.toString() : QStringLiteral("(nessun valore)"));
             }},
            {"svuota", [this](const QString&) { grid->Clear(); }},
            {"corrente", [this](const QString& a) {   // ROW [COLUMN]
                 grid->SetCurrentCell(a.section(' ', 0, 0).toInt(), a.section(' ', 1).isEmpty() ? 1 : a.section(' ', 1).toInt());
             }},
            {"mostra", [this](const QString&) {
                 grid->resize(800, 300);
                 grid->show();
                 EXPECT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
             }},
            {"clic", [this](const QString& a) { Click(a, false); }},
            {"doppioclic", [this](const QString& a) { Click(a, true); }},
            // The current row, the events so far, the rows selected, a cell editor if any.
            {"stato", [this](const QString&) {
                 QStringList selezionate;
                 for (const QModelIndex& i : grid->selectionModel()->selectedRows())
                     selezionate << QString::number(i.row() + 1);
                 s.Stampa(QStringLiteral("corrente %1, cambi %2, doppi clic %3, selezionate [%4]%5")
                              .arg(grid->CurrentRow()).arg(cambi->count()).arg(doppi->count()).arg(selezionate.join(' '))
                              .arg(grid->indexWidget(grid->currentIndex()) ? ", un editor" : ""));
             }},
            {"ascolta", [this](const QString&) {
                 cambi = std::make_unique<QSignalSpy>(grid.get(), &Grid::AfterSelectionChange);
                 doppi = std::make_unique<QSignalSpy>(grid.get(), &Grid::DblClick);
             }},
            {"inizio", [this](const QString&) { grid->BeginUpdate(); }},
            {"fine", [this](const QString&) { grid->EndUpdate(); }},
            {"disegno", [this](const QString&) {
                 s.Stampa(QStringLiteral("disegno %1, in aggiornamento %2")
                              .arg(grid->updatesEnabled() ? "attivo" : "sospeso", grid->Updating() ? "si" : "no"));
             }},
            {"altezza", [this](const QString& a) { grid->SetDefaultRowHeight(a.toInt()); }},
            {"adatta", [this](const QString& a) { grid->FitRowHeight(a.section(' ', 0, 0).toInt(), a.section(' ', 1).toInt()); }},
            {"altezze", [this](const QString&) {   // the default, then each row's
                 QStringList altezze{QString::number(grid->DefaultRowHeight())};
                 for (int r = 0; r < grid->RowCount(); ++r)
                     altezze << QString::number(grid->rowHeight(r));
                 s.Stampa(altezze.join(' '));
             }},
            // COPE rows "code;name;description;tax code" ("-" a null), read whole as the step's SQL says.
            {"da-cope", [this](const QString& a) {
                 for (const QString& riga : s.Dati()) {
                     QVariantList r = test::rigaCope(riga.section(';', 0, 0), riga.section(';', 1, 1));
                     r[cope::ODES] = riga.section(';', 2, 2).isEmpty() ? r[cope::ORAG] : riga.section(';', 2, 2);
                     r[cope::OCF] = riga.section(';', 3, 3) == "-" ? QVariant() : QVariant(riga.section(';', 3, 3));
                     db().insert(schema::COPE(), r);
                 }
                 QStringList nomi;
                 for (const Column& colonna : schema::COPE().columns)
                     nomi << colonna.name;
                 RiempiGriglia(*grid, nomi, db().select(schema::COPE(), a));
             }},
        };
    }

    test::Scenario s;
    std::unique_ptr<Grid> grid;
    std::unique_ptr<QSignalSpy> cambi, doppi;
};

TEST_P(ScenarioGriglia, Passi)
{
    Verbi();
    EXPECT_SCENARIO(s, "scenari/griglia.txt");
}

QUERCINO_DB_SOLO_FILE(ScenarioGriglia);

} // namespace
