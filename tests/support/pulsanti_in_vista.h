#pragma once
// Whether a window's buttons can be reached without scrolling: each button it shows lies
// wholly inside every parent it sits in and inside the visible part of a reference widget.

#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

namespace quercino::test {

// The buttons of `finestra` it shows that are not wholly within `visibile`, a rectangle of
// `riferimento` (`finestra` or an ancestor): their object names, or texts when unnamed.
QStringList PulsantiFuoriVista(const QWidget& finestra, const QWidget& riferimento, const QRect& visibile);

// A window shown at its size: whether it fits a 1280 x 720 screen (so a 1366 x 768 one too)
// less a 40-pixel task bar and an 8 x 32 frame, and its buttons out of sight.
QString FinestraSuGliSchermi(const QWidget& finestra);

} // namespace quercino::test
