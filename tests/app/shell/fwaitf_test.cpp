// The wait window: twelve distinct frames shown in turn, five a second, and a window that
// keeps turning while its caller calls Update().

#include "app/shell/FWaitF.h"

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using quercino::FWaitF;

namespace {

QImage Mostrata(const FWaitF& f)
{
    return f.Image1()->pixmap().toImage();
}

} // namespace

TEST(FWaitF, TwelveDistinctFramesInTurn)
{
    FWaitF f;
    EXPECT_EQ(f.windowTitle(), "Attendere prego......");
    EXPECT_EQ(f.Timer1()->interval(), 200);
    EXPECT_TRUE(f.Timer1()->isActive());
    ASSERT_EQ(f.ImageList1().size(), 12);
    for (int a = 0; a < 12; ++a)
        for (int b = a + 1; b < 12; ++b)
            EXPECT_NE(f.ImageList1()[a].toImage(), f.ImageList1()[b].toImage()) << a << " " << b;

    // The first tick ran at load: frame 1 is up and 2 comes next.
    EXPECT_EQ(Mostrata(f), f.ImageList1()[0].toImage());
    EXPECT_EQ(f.Fotogramma(), 2);
    for (int tick = 2; tick <= 12; ++tick) {
        f.Timer1_Timer();
        EXPECT_EQ(Mostrata(f), f.ImageList1()[tick - 1].toImage()) << tick;
    }
    EXPECT_EQ(f.Fotogramma(), 1);  // after 12 comes 1 again
    f.Timer1_Timer();
    EXPECT_EQ(Mostrata(f), f.ImageList1()[0].toImage());
}

TEST(FWaitF, KeepsTurningWhileTheCallerWorksAndCallsUpdate)
{
    FWaitF f;
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    const int primo = f.Fotogramma();
    // A busy caller: no event loop of its own, only Update() between steps of work.
    QElapsedTimer lavoro;
    lavoro.start();
    while (f.Fotogramma() == primo && lavoro.elapsed() < 10000)
        f.Update();
    EXPECT_NE(f.Fotogramma(), primo);
}
