#pragma once
// Whether a window's buttons can be reached without scrolling: each button it would show
// lies wholly inside every parent it sits in and inside the visible part of a reference
// widget (the main window's area for a child window, the window itself for a dialog).

#include <QRect>
#include <QSize>
#include <QStringList>

class QWidget;

namespace quercino::test {

// The buttons (QAbstractButton) of `finestra` that it shows and that are not wholly in view
// within `visibile`, a rectangle in the coordinates of `riferimento` (an ancestor of them,
// or `finestra` itself): their object names (their text when they have none).
QStringList PulsantiFuoriVista(const QWidget& finestra, const QWidget& riferimento, const QRect& visibile);

// The room a desktop leaves a window's contents on a screen of `schermo` pixels: a task bar
// of 40 pixels and an ordinary frame (8 x 32) taken off.
QSize SpazioPerLeFinestre(QSize schermo);

} // namespace quercino::test
