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
            if (model->data(i).toInt() != giorno)
                continue;
            const bool inizio = r <= 2;
            if ((giorno <= 14) == inizio)
                return i;
        }
    return {};
}

struct Proposta {
    explicit Proposta(const QString& data) { DataScelta = data; }
    ~Proposta() { DataScelta.clear(); }
};

} // namespace

TEST(FCale, OpensOnTheProposedDate)
{
    Proposta p("29/02/2024");
    FCale f;
    EXPECT_EQ(f.windowTitle(), "Seleziona una data");
    EXPECT_EQ(f.DataIniziale(), QDate(2024, 2, 29));
    EXPECT_EQ(f.MeseMostrato(), 2);
    EXPECT_EQ(f.AnnoMostrato(), 2024);
    EXPECT_EQ(f.MyDate()->text(), "29/02/2024");
    EXPECT_EQ(f.lblMESE()->text(), "Febbraio");
    EXPECT_EQ(f.lblANNO()->text(), "2024");
    EXPECT_EQ(f.VScroll1()->value(), 2024);
    EXPECT_EQ(f.VScroll1()->minimum(), 1500);
    EXPECT_EQ(f.VScroll1()->maximum(), 2500);
    ASSERT_EQ(f.lstMESI()->count(), 12);
    EXPECT_EQ(f.lstMESI()->item(0)->text(), "Gennaio");
    EXPECT_EQ(f.lstMESI()->item(11)->text(), "Dicembre");
    EXPECT_EQ(f.lstMESI()->currentRow(), 1);
}

TEST(FCale, AMissingMalformedOrOutOfRangeDateMeansToday)
{
    const QDate oggi = QDate::currentDate();
    for (const QString& testo : {QString(), QString("31/02/2024"), QString("2024-03-01"),
                                 QString("abc"), QString("01/01/1499"), QString("01/01/2501")}) {
        Proposta p(testo);
        FCale f;
        EXPECT_EQ(f.DataIniziale(), oggi) << testo.toStdString();
        EXPECT_EQ(f.MyDate()->text(), oggi.toString("dd/MM/yyyy"));
    }
    Proposta p(" 01/01/1500 ");
    FCale f;
    EXPECT_EQ(f.DataIniziale(), QDate(1500, 1, 1));
}

TEST(FCale, MonthGridStartsOnMondayInItalian)
{
    Proposta p("15/09/2024");  // 1 September 2024 is a Sunday
    FCale f;
    QAbstractItemModel* model = Griglia(f)->model();
    EXPECT_EQ(model->data(model->index(0, 0)).toString().toLower().left(3), "lun");
    EXPECT_EQ(model->data(model->index(0, 6)).toString().toLower().left(3), "dom");
    const QModelIndex primo = Cella(f, 1);
    ASSERT_TRUE(primo.isValid());
    EXPECT_EQ(primo.row(), 1);
    EXPECT_EQ(primo.column(), 6);

    // February of a leap year has a 29th, and the day after it is 1 March.
    f.SceltaMese(2);
    const QModelIndex ventinove = Cella(f, 29);
    ASSERT_TRUE(ventinove.isValid());
    const int dopo = ventinove.row() * 7 + ventinove.column() + 1;
    EXPECT_EQ(model->data(model->index(dopo / 7, dopo % 7)).toInt(), 1);
}

TEST(FCale, MonthsRollOverTheYearWithinTheBounds)
{
    Proposta p("10/12/2023");
    FCale f;
    f.MeseSuccessivo();
    EXPECT_EQ(f.MeseMostrato(), 1);
    EXPECT_EQ(f.AnnoMostrato(), 2024);
    EXPECT_EQ(f.lblANNO()->text(), "2024");
    EXPECT_EQ(f.VScroll1()->value(), 2024);
    f.MesePrecedente();
    EXPECT_EQ(f.MeseMostrato(), 12);
    EXPECT_EQ(f.AnnoMostrato(), 2023);
    EXPECT_EQ(f.lblMESE()->text(), "Dicembre");

    f.VScroll1()->setValue(2500);
    EXPECT_EQ(f.AnnoMostrato(), 2500);
    EXPECT_EQ(f.MeseMostrato(), 12);
    f.MeseSuccessivo();
    EXPECT_EQ(f.AnnoMostrato(), 2500);
    EXPECT_EQ(f.MeseMostrato(), 12);

    f.VScroll1()->setValue(1500);
    f.SceltaMese(1);
    f.MesePrecedente();
    EXPECT_EQ(f.AnnoMostrato(), 1500);
    EXPECT_EQ(f.MeseMostrato(), 1);

    f.VScroll1()->setValue(1499);  // the bar itself stops at its bound
    EXPECT_EQ(f.AnnoMostrato(), 1500);

    f.AnnoCorrente();
    EXPECT_EQ(f.AnnoMostrato(), QDate::currentDate().year());
    EXPECT_EQ(f.MeseMostrato(), 1);
}

TEST(FCale, MonthListAndPanelShowAndHide)
{
    Proposta p("10/03/2024");
    FCale f;
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    EXPECT_FALSE(f.lstMESI()->isVisible());
    f.MostraListaMesi();
    EXPECT_TRUE(f.lstMESI()->isVisible());
    QTest::mouseClick(f.lstMESI()->viewport(), Qt::LeftButton, {},
                      f.lstMESI()->visualItemRect(f.lstMESI()->item(6)).center());
    EXPECT_FALSE(f.lstMESI()->isVisible());
    EXPECT_EQ(f.MeseMostrato(), 7);
    EXPECT_EQ(f.lblMESE()->text(), "Luglio");

    QTest::mouseClick(f.lblMESE(), Qt::LeftButton);
    EXPECT_TRUE(f.lstMESI()->isVisible());
    QTest::mouseClick(f.lblMESE(), Qt::LeftButton);
    EXPECT_FALSE(f.lstMESI()->isVisible());

    QTest::mouseClick(f.MyDate(), Qt::LeftButton);
    EXPECT_FALSE(f.pctCAL()->isVisible());
    QTest::mouseClick(f.MyDate(), Qt::LeftButton);
    EXPECT_TRUE(f.pctCAL()->isVisible());

    f.VScroll1()->setValue(1990);
    QTest::mouseClick(f.lblANNO(), Qt::LeftButton);
    EXPECT_EQ(f.AnnoMostrato(), QDate::currentDate().year());
}

class Scelta : public ::testing::Test {
protected:
    void SetUp() override
    {
        DataScelta = "15/05/2024";
        f = std::make_unique<FCale>();
        f->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
        view = Griglia(*f);
        ASSERT_NE(view, nullptr);
        view->setFocus();
    }
    void TearDown() override { DataScelta.clear(); }
    QPoint Centro(int giorno) { return view->visualRect(Cella(*f, giorno)).center(); }

    std::unique_ptr<FCale> f;
    QTableView* view = nullptr;
};

TEST_F(Scelta, ClickSelectsAndDoubleClickChooses)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, Centro(20));
    EXPECT_EQ(f->MyDate()->text(), "20/05/2024");
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(DataScelta, "15/05/2024");

    // A double click is a press, a release and a second press reported as a double click.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, Centro(22));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, Centro(22));
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(f->result(), QDialog::Accepted);
    EXPECT_EQ(DataScelta, "22/05/2024");
}

TEST_F(Scelta, DaysOfTheNeighbouringMonthsAreBlankAndDoNothing)
{
    // May 2024 begins on a Wednesday: April's 29 and 30 fill the first row, June's first
    // days the last ones.
    QAbstractItemModel* model = view->model();
    const QModelIndex aprile = model->index(1, 0);
    ASSERT_EQ(model->data(aprile).toInt(), 29);
    const QModelIndex giugno = model->index(6, 0);
    ASSERT_LT(model->data(giugno).toInt(), 15);
    const QModelIndex maggio = model->index(1, 2);
    ASSERT_EQ(model->data(maggio).toInt(), 1);
    // Painted blank: every pixel of such a cell has the same colour, unlike a May day.
    const QImage immagine = view->viewport()->grab().toImage();
    auto uniforme = [&](const QModelIndex& cella) {
        const QRect r = view->visualRect(cella).adjusted(2, 2, -2, -2);
        const QRgb primo = immagine.pixel(r.topLeft());
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (immagine.pixel(x, y) != primo)
                    return false;
        return true;
    };
    EXPECT_TRUE(uniforme(aprile));
    EXPECT_TRUE(uniforme(giugno));
    EXPECT_FALSE(uniforme(maggio));

    for (const QModelIndex& cella : {aprile, giugno}) {
        const QPoint punto = view->visualRect(cella).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, punto);
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(f->MeseMostrato(), 5);
        EXPECT_EQ(f->MyDate()->text(), "15/05/2024");
        EXPECT_EQ(DataScelta, "15/05/2024");
    }

}

TEST_F(Scelta, EnterAndSpaceHandBackTheSelectedDate)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, Centro(3));
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(DataScelta, "03/05/2024");

    DataScelta = "01/08/2025";
    FCale g;
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    QTest::keyClick(Griglia(g), Qt::Key_Right);  // arrow keys move the selection too
    EXPECT_EQ(g.MyDate()->text(), "02/08/2025");
    QTest::keyClick(Griglia(g), Qt::Key_Space);
    EXPECT_FALSE(g.isVisible());
    EXPECT_EQ(DataScelta, "02/08/2025");
}

TEST_F(Scelta, EscapeOrClosingHandsBackNothing)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, Centro(9));
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(f->result(), QDialog::Rejected);
    EXPECT_EQ(DataScelta, "");

    DataScelta = "01/08/2025";
    FCale g;
    g.show();
    g.close();
    EXPECT_EQ(DataScelta, "");
}
