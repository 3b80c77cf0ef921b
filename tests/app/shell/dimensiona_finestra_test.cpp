// The main window's size from the configuration: a share of the screen at the designed
// ratio, halves to the even neighbour, never beyond the room available (casi/dimensioni.tsv).

#include "app/shell/DimensionaFinestra.h"
#include "support/casi.h"

#include <gtest/gtest.h>

using namespace quercino;

TEST(CalcolaDimensioni, Tabella)
{
    const auto misura = [](const QString& testo) {
        return testo == "-" ? QSize() : QSize(testo.section('x', 0, 0).toInt(), testo.section('x', 1).toInt());
    };
    test::ControllaFunzioni(__FILE__, "casi/dimensioni.tsv", {
        {"Dimensioni", [&](const QStringList& a) {
             const auto d = CalcolaDimensioni(a[0], a[1], misura(a[2]), misura(a[3]), misura(a[4]));
             return QStringList{d ? QStringLiteral("%1x%2").arg(d->width()).arg(d->height()) : "-"};
         }},
    });
}
