// The wait window: twelve distinct frames shown in turn, and a window that keeps turning
// while its caller works and calls Update().

#include "app/shell/FWaitF.h"

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using quercino::FWaitF;

TEST(FWaitF, DodiciFotogrammiDiversiATurno)
{
    FWaitF f;
    ASSERT_EQ(f.ImageList1().size(), 12);
    for (int a = 0; a < 12; ++a)
        for (int b = a + 1; b < 12; ++b)
            EXPECT_NE(f.ImageList1()[a].toImage(), f.ImageList1()[b].toImage()) << a << " " << b;
    // The first tick ran at load; after the twelfth comes the first again.
    for (int tick = 1; tick <= 13; ++tick) {
        EXPECT_EQ(f.Image1()->pixmap().toImage(), f.ImageList1()[(tick - 1) % 12].toImage()) << tick;
        f.Timer1_Timer();
    }
}

TEST(FWaitF, GiraMentreIlChiamanteLavora)
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
