// The main window's size from the configuration.

#include "app/shell/DimensionaFinestra.h"

#include <gtest/gtest.h>

using namespace quercino;

namespace {
const QSize progettata(1000, 700);
const QSize schermo(1920, 1080);
} // namespace

TEST(CalcolaDimensioni, SettantaPerCentoPerDifetto)
{
    // 1920 × 70 % = 1344; 1344 × 0.7 = 940.8 → 941.
    EXPECT_EQ(CalcolaDimensioni("", "", progettata, schermo), QSize(1344, 941));
    EXPECT_EQ(CalcolaDimensioni("OFF", "", progettata, schermo), QSize(1344, 941));
}

TEST(CalcolaDimensioni, TuttoLoSchermoAncheGrande)
{
    EXPECT_EQ(CalcolaDimensioni("", "100", progettata, schermo), QSize(1920, 1344));
    // Beyond the old 32767-twip limit: a 2560-pixel screen at 100 % is sized too.
    EXPECT_EQ(CalcolaDimensioni("", "100", progettata, QSize(2560, 1440)), QSize(2560, 1792));
    EXPECT_EQ(CalcolaDimensioni("", "100", progettata, QSize(7680, 4320)), QSize(7680, 5376));
}

TEST(CalcolaDimensioni, MetaAlPariPiuVicino)
{
    // 1000 × 50.25 % = 502.5 → 502; 1001 × 50 % = 500.5 → 500; 1003 × 50 % = 501.5 → 502.
    EXPECT_EQ(CalcolaDimensioni("", "50.25", QSize(100, 100), QSize(1000, 800))->width(), 502);
    EXPECT_EQ(CalcolaDimensioni("", "50", QSize(100, 100), QSize(1001, 800))->width(), 500);
    EXPECT_EQ(CalcolaDimensioni("", "50", QSize(100, 100), QSize(1003, 800))->width(), 502);
    // Heights at the ratio 1/4: 502 / 4 = 125.5 → 126; 500 / 4 = 125.
    EXPECT_EQ(CalcolaDimensioni("", "50", QSize(400, 100), QSize(1003, 800))->height(), 126);
    EXPECT_EQ(CalcolaDimensioni("", "50", QSize(400, 100), QSize(1001, 800))->height(), 125);
}

TEST(CalcolaDimensioni, NessunCambiamento)
{
    EXPECT_FALSE(CalcolaDimensioni("off", "", progettata, schermo));
    for (const char* valore : {"0", "101", "-5", "abc", "70%", " "})
        EXPECT_FALSE(CalcolaDimensioni("", valore, progettata, schermo)) << valore;
    EXPECT_FALSE(CalcolaDimensioni("", "", progettata, QSize()));
}

TEST(CalcolaDimensioni, VirgolaDecimale)
{
    EXPECT_EQ(CalcolaDimensioni("", "62,5", progettata, schermo), QSize(1200, 840));
}

TEST(CalcolaDimensioni, MaiOltreLoSpazioDisponibile)
{
    // 100 % of a 1920 × 1080 screen at the ratio 0.7 would be 1344 pixels tall.
    EXPECT_EQ(CalcolaDimensioni("", "100", progettata, schermo, QSize(1920, 1040)),
              QSize(1920, 1040));
    EXPECT_EQ(CalcolaDimensioni("", "", progettata, schermo, QSize(1200, 1040)), QSize(1200, 941));
    EXPECT_EQ(CalcolaDimensioni("", "", progettata, schermo, QSize(1920, 1040)), QSize(1344, 941));
    EXPECT_FALSE(CalcolaDimensioni("", "0", progettata, schermo, QSize(1920, 1040)));
}
