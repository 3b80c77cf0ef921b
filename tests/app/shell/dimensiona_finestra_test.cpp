// The main window's size from the configuration: a share of the screen at the designed
// ratio, halves to the even neighbour, never beyond the room available.

#include "app/shell/DimensionaFinestra.h"

#include <gtest/gtest.h>

using namespace quercino;

TEST(CalcolaDimensioni, Tabella)
{
    const QSize progettata(1000, 700), schermo(1920, 1080), nessuna;
    struct Caso {
        const char* spento;
        const char* percento;
        QSize progettata, schermo, disponibile;
        std::optional<QSize> attesa;
    };
    const Caso casi[] = {
        // 1920 × 70 % = 1344; 1344 × 0.7 = 940.8 → 941.
        {"", "", progettata, schermo, nessuna, QSize(1344, 941)},
        {"OFF", "", progettata, schermo, nessuna, QSize(1344, 941)},
        {"off", "", progettata, schermo, nessuna, std::nullopt},
        {"", "100", progettata, schermo, nessuna, QSize(1920, 1344)},
        // Beyond the old 32767-twip limit.
        {"", "100", progettata, QSize(7680, 4320), nessuna, QSize(7680, 5376)},
        {"", "62,5", progettata, schermo, nessuna, QSize(1200, 840)},
        // 1000 × 50.25 % = 502.5 → 502; 1001 × 50 % = 500.5 → 500; 1003 × 50 % = 501.5 → 502;
        // heights at the ratio 1/4: 502 / 4 = 125.5 → 126.
        {"", "50.25", QSize(100, 100), QSize(1000, 800), nessuna, QSize(502, 502)},
        {"", "50", QSize(400, 100), QSize(1001, 800), nessuna, QSize(500, 125)},
        {"", "50", QSize(400, 100), QSize(1003, 800), nessuna, QSize(502, 126)},
        {"", "0", progettata, schermo, nessuna, std::nullopt},
        {"", "101", progettata, schermo, nessuna, std::nullopt},
        {"", "-5", progettata, schermo, nessuna, std::nullopt},
        {"", "abc", progettata, schermo, nessuna, std::nullopt},
        {"", "70%", progettata, schermo, nessuna, std::nullopt},
        {"", "", progettata, QSize(), nessuna, std::nullopt},
        {"", "100", progettata, schermo, QSize(1920, 1040), QSize(1920, 1040)},
        {"", "", progettata, schermo, QSize(1200, 1040), QSize(1200, 941)},
        {"", "0", progettata, schermo, QSize(1920, 1040), std::nullopt},
    };
    for (const Caso& c : casi) {
        EXPECT_EQ(CalcolaDimensioni(c.spento, c.percento, c.progettata, c.schermo, c.disponibile), c.attesa) << c.spento << " " << c.percento << " " << c.schermo.width();
    }
}
