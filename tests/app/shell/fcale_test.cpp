// The calendar window in a scenario file (scenari/calendario.txt, see support/scenario.h):
// the proposed date, month and year navigation within 1500-2500, the Italian month grid
// from Monday, and the keys and clicks that hand a date back through DataScelta.

#include "app/shell/FCale.h"

#include "app/core/Globals.h"
#include "support/casi.h"
#include "support/scenario.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quercino;

TEST(FCale, Passi)
{
    test::Scenario s;
    std::unique_ptr<FCale> f;
    QTableView* griglia = nullptr;
    // The centre of the cell of day `giorno` of the month shown (row 0 is the week-day
    // header; days of the neighbouring months repeat the small numbers, so look in the
    // right half), or of the cell "riga,colonna".
    const auto centro = [&](const QString& cella) {
        QAbstractItemModel* m = griglia->model();
        QModelIndex indice = m->index(cella.section(',', 0, 0).toInt(), cella.section(',', 1).toInt());
        for (int r = 1; !cella.contains(',') && r < m->rowCount(); ++r)
            for (int c = 0; c < m->columnCount(); ++c)
                if (m->data(m->index(r, c)).toInt() == cella.toInt() && (cella.toInt() <= 14) == (r <= 2))
                    indice = m->index(r, c);
        return griglia->visualRect(indice).center();
    };
    s.Sostituisci(QDate::currentDate().toString("dd/MM/yyyy"), "<oggi>");
    s.Sostituisci(QString::number(QDate::currentDate().year()), "<quest'anno>");
    s.verbi["apri"] = [&](const QString& a) {
        f.reset();
        DataScelta = a == "(vuota)" ? QString() : a;
        f = std::make_unique<FCale>();
        f->show();
        f->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
        griglia = f->pctCAL()->findChild<QTableView*>();
        s.Stampa(f->MyDate()->text());
    };
    s.verbi["stato"] = [&](const QString&) {
        s.Stampa(QStringLiteral("%1 %2 (barra %3), data %4, mese %5 della lista%6%7%8, scelta \"%9\"")
                     .arg(f->lblMESE()->text(), f->lblANNO()->text())
                     .arg(f->VScroll1()->value())
                     .arg(f->MyDate()->text())
                     .arg(f->lstMESI()->currentRow() + 1)
                     .arg(f->lstMESI()->isVisible() ? ", lista aperta" : "")
                     .arg(f->pctCAL()->isVisible() ? "" : ", griglia nascosta")
                     .arg(f->isVisible() ? "" : ", chiusa")
                     .arg(DataScelta));
    };
    // The grid's texts, a row a line; a cell painted one colour (a day of another month,
    // shown blank) in brackets.
    s.verbi["griglia"] = [&](const QString&) {
        const QImage immagine = griglia->viewport()->grab().toImage();
        QAbstractItemModel* m = griglia->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            QStringList riga;
            for (int c = 0; c < m->columnCount(); ++c) {
                const QRect area = griglia->visualRect(m->index(r, c)).adjusted(2, 2, -2, -2);
                bool uniforme = r > 0;
                for (int y = area.top(); uniforme && y <= area.bottom(); ++y)
                    for (int x = area.left(); uniforme && x <= area.right(); ++x)
                        uniforme = immagine.pixel(x, y) == immagine.pixel(area.topLeft());
                const QString testo = m->data(m->index(r, c)).toString().left(3).toLower();
                riga << (uniforme ? "(" + testo + ")" : testo);
            }
            s.Stampa(riga.join(' '));
        }
    };
    s.verbi["successivo"] = [&](const QString&) { f->MeseSuccessivo(); };
    s.verbi["precedente"] = [&](const QString&) { f->MesePrecedente(); };
    s.verbi["anno"] = [&](const QString& a) { f->VScroll1()->setValue(a.toInt()); };
    s.verbi["mese"] = [&](const QString& a) { f->SceltaMese(a.toInt()); };
    s.verbi["lista"] = [&](const QString&) { f->MostraListaMesi(); };
    s.verbi["clic-lista"] = [&](const QString& a) {
        QTest::mouseClick(f->lstMESI()->viewport(), Qt::LeftButton, {},
                          f->lstMESI()->visualItemRect(f->lstMESI()->item(a.toInt() - 1)).center());
    };
    s.verbi["clic-etichetta"] = [&](const QString& a) {
        QTest::mouseClick(a == "mese" ? f->lblMESE() : a == "anno" ? f->lblANNO() : f->MyDate(), Qt::LeftButton);
    };
    s.verbi["clic"] = [&](const QString& a) { QTest::mouseClick(griglia->viewport(), Qt::LeftButton, {}, centro(a)); };
    s.verbi["doppio-clic"] = [&](const QString& a) {
        QTest::mouseDClick(griglia->viewport(), Qt::LeftButton, {}, centro(a));
    };
    s.verbi["tasti"] = [&](const QString& a) {
        const std::map<QString, Qt::Key> tasti{
            {"destra", Qt::Key_Right}, {"invio", Qt::Key_Return}, {"spazio", Qt::Key_Space}, {"esc", Qt::Key_Escape}};
        // To the widget that has the focus, as the keyboard's keys go.
        for (const QString& tasto : test::Parole(a))
            QTest::keyClick(static_cast<QWidget*>(nullptr), tasti.at(tasto));
    };
    s.verbi["chiudi"] = [&](const QString&) { f->close(); };
    s.verbi["fine"] = [&](const QString&) {
        f.reset();
        s.Stampa(QStringLiteral("scelta \"%1\"").arg(DataScelta));
    };
    EXPECT_SCENARIO(s, "scenari/calendario.txt");
    DataScelta.clear();
}

// Opened as a caller opens it (the proposed date in DataScelta, modal), the keys pressed
// right after it shows go to the day grid, from the proposed day: what DataScelta holds
// once it closed.
TEST(FCale, PrimiTasti)
{
    const std::map<QString, Qt::Key> tasti{{"destra", Qt::Key_Right}, {"sinistra", Qt::Key_Left},
                                           {"su", Qt::Key_Up},        {"giu", Qt::Key_Down},
                                           {"invio", Qt::Key_Return}, {"tastierino", Qt::Key_Enter},
                                           {"spazio", Qt::Key_Space}, {"esc", Qt::Key_Escape}};
    for (const test::Caso& c : test::Casi(__FILE__, "casi/primi_tasti.tsv")) {
        DataScelta = c[0];
        FCale f;
        auto* griglia = f.pctCAL()->findChild<QTableView*>();
        ASSERT_NE(griglia, nullptr);
        QString fuoco = "-";
        QTimer::singleShot(0, &f, [&] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&f)) << c;
            if (QApplication::focusWidget())
                fuoco = QApplication::focusWidget() == griglia ? "griglia" : QApplication::focusWidget()->objectName();
            for (const QString& tasto : test::Parole(c[1]))
                QTest::keyClick(static_cast<QWidget*>(nullptr), tasti.at(tasto));
            if (f.isVisible()) {
                ADD_FAILURE() << c << ": still open";
                f.done(QDialog::Rejected);
            }
        });
        f.exec();
        EXPECT_EQ(fuoco, QStringLiteral("griglia")) << c;
        EXPECT_EQ(DataScelta, c[2]) << c;
    }
    DataScelta.clear();
}
