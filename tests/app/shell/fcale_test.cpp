// The calendar window: the proposed date, month and year navigation within 1500-2500, the
// Italian month grid, and the keys and clicks that hand a date back through DataScelta.

#include "app/shell/FCale.h"

#include "app/core/Globals.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using quercino::DataScelta;
using quercino::FCale;

namespace {

QTableView* Griglia(FCale& f)
{
    return f.pctCAL()->findChild<QTableView*>();
}

// The cell of day `giorno` of the month shown (row 0 is the week-day header; days of the
// neighbouring months repeat the small numbers, so look for the one in the right half).
QModelIndex Cella(FCale& f, int giorno)
{
    QAbstractItemModel* model = Griglia(f)->model();
    for (int r = 1; r < model->rowCount(); ++r)
        for (int c = 0; c < model->columnCount(); ++c) {
            const QModelIndex i = model->index(r, c);
            if (model->data(i).toInt() == giorno && (giorno <= 14) == (r <= 2))
                return i;
        }
    return {};
}

// The window on `data`, shown, with the month grid focused.
struct Calendario {
    explicit Calendario(const QString& data)
    {
        DataScelta = data;
        f = std::make_unique<FCale>();
        f->show();
        view = Griglia(*f);
        view->setFocus();
    }
    ~Calendario() { DataScelta.clear(); }
    QPoint Centro(int giorno) { return view->visualRect(Cella(*f, giorno)).center(); }
    QString Mostrato() { return QStringLiteral("%1 %2 %3").arg(f->lblMESE()->text(), f->lblANNO()->text()).arg(f->VScroll1()->value()); }

    std::unique_ptr<FCale> f;
    QTableView* view = nullptr;
};

} // namespace

TEST(FCale, LaDataPropostaOppureOggi)
{
    const QString oggi = QDate::currentDate().toString("dd/MM/yyyy");
    const std::pair<const char*, QString> casi[] = {
        {"29/02/2024", "29/02/2024"}, {" 01/01/1500 ", "01/01/1500"}, {"", oggi}, {"31/02/2024", oggi},
        {"2024-03-01", oggi},         {"01/01/1499", oggi},           {"01/01/2501", oggi}};
    for (const auto& [proposta, attesa] : casi) {
        Calendario c(proposta);
        EXPECT_EQ(c.f->MyDate()->text(), attesa) << proposta;
    }
    Calendario c("29/02/2024");
    EXPECT_EQ(c.Mostrato(), "Febbraio 2024 2024");
    EXPECT_EQ(c.f->lstMESI()->currentRow(), 1);
}

TEST(FCale, GrigliaDalLunediInItaliano)
{
    Calendario c("15/09/2024");  // 1 September 2024 is a Sunday
    QAbstractItemModel* model = c.view->model();
    EXPECT_EQ(model->data(model->index(0, 0)).toString().toLower().left(3), "lun");
    EXPECT_EQ(model->data(model->index(0, 6)).toString().toLower().left(3), "dom");
    EXPECT_EQ(Cella(*c.f, 1), model->index(1, 6));
    // February of a leap year has a 29th, and the day after it is 1 March.
    c.f->SceltaMese(2);
    const QModelIndex ventinove = Cella(*c.f, 29);
    ASSERT_TRUE(ventinove.isValid());
    const int dopo = ventinove.row() * 7 + ventinove.column() + 1;
    EXPECT_EQ(model->data(model->index(dopo / 7, dopo % 7)).toInt(), 1);
}

TEST(FCale, MesiEAnniEntroILimiti)
{
    Calendario c("10/12/2023");
    c.f->MeseSuccessivo();
    EXPECT_EQ(c.Mostrato(), "Gennaio 2024 2024");
    c.f->MesePrecedente();
    EXPECT_EQ(c.Mostrato(), "Dicembre 2023 2023");
    c.f->VScroll1()->setValue(2500);
    c.f->MeseSuccessivo();
    EXPECT_EQ(c.Mostrato(), "Dicembre 2500 2500");
    c.f->VScroll1()->setValue(1499);  // the bar itself stops at its bound
    c.f->SceltaMese(1);
    c.f->MesePrecedente();
    EXPECT_EQ(c.Mostrato(), "Gennaio 1500 1500");

    // The month list opens and closes from the month's label; a click chooses.
    c.f->MostraListaMesi();
    QTest::mouseClick(c.f->lstMESI()->viewport(), Qt::LeftButton, {},
                      c.f->lstMESI()->visualItemRect(c.f->lstMESI()->item(6)).center());
    EXPECT_FALSE(c.f->lstMESI()->isVisible());
    EXPECT_EQ(c.Mostrato(), "Luglio 1500 1500");
    QTest::mouseClick(c.f->lblMESE(), Qt::LeftButton);
    EXPECT_TRUE(c.f->lstMESI()->isVisible());
    QTest::mouseClick(c.f->lblMESE(), Qt::LeftButton);
    EXPECT_FALSE(c.f->lstMESI()->isVisible());
    // The date hides and shows the grid; the year's label goes back to this year.
    QTest::mouseClick(c.f->MyDate(), Qt::LeftButton);
    EXPECT_FALSE(c.f->pctCAL()->isVisible());
    QTest::mouseClick(c.f->MyDate(), Qt::LeftButton);
    EXPECT_TRUE(c.f->pctCAL()->isVisible());
    QTest::mouseClick(c.f->lblANNO(), Qt::LeftButton);
    EXPECT_EQ(c.f->AnnoMostrato(), QDate::currentDate().year());
}

TEST(FCale, ClickDoppioClickTastiEChiusura)
{
    Calendario c("15/05/2024");
    QTest::mouseClick(c.view->viewport(), Qt::LeftButton, {}, c.Centro(20));
    EXPECT_EQ(c.f->MyDate()->text(), "20/05/2024");
    EXPECT_EQ(DataScelta, "15/05/2024");
    // May 2024 begins on a Wednesday: April's 29th fills the first cell, painted blank
    // (one colour, unlike a May day), and does nothing.
    const QImage immagine = c.view->viewport()->grab().toImage();
    auto uniforme = [&](const QModelIndex& cella) {
        const QRect r = c.view->visualRect(cella).adjusted(2, 2, -2, -2);
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (immagine.pixel(x, y) != immagine.pixel(r.topLeft()))
                    return false;
        return true;
    };
    EXPECT_TRUE(uniforme(c.view->model()->index(1, 0)));
    EXPECT_FALSE(uniforme(c.view->model()->index(1, 2)));
    const QPoint aprile = c.view->visualRect(c.view->model()->index(1, 0)).center();
    QTest::mouseDClick(c.view->viewport(), Qt::LeftButton, {}, aprile);
    EXPECT_TRUE(c.f->isVisible());
    EXPECT_EQ(c.f->MyDate()->text(), "20/05/2024");
    QTest::mouseClick(c.view->viewport(), Qt::LeftButton, {}, c.Centro(22));
    QTest::mouseDClick(c.view->viewport(), Qt::LeftButton, {}, c.Centro(22));
    EXPECT_EQ(c.f->result(), QDialog::Accepted);
    EXPECT_EQ(DataScelta, "22/05/2024");

    const std::pair<Qt::Key, const char*> tasti[] = {{Qt::Key_Return, "02/08/2025"}, {Qt::Key_Space, "02/08/2025"},
                                                      {Qt::Key_Escape, ""}};
    for (const auto& [tasto, attesa] : tasti) {
        Calendario g("01/08/2025");
        QTest::keyClick(g.view, Qt::Key_Right);  // arrow keys move the selection too
        QTest::keyClick(g.view, tasto);
        EXPECT_FALSE(g.f->isVisible());
        EXPECT_EQ(DataScelta, attesa);
    }
    Calendario h("01/08/2025");
    h.f->close();
    EXPECT_EQ(DataScelta, "");
}
