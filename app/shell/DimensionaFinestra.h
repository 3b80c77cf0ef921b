#pragma once
// The main window's size from configurazione.ini: a share of the screen's width, the
// designed ratio of height to width kept.

#include <QSize>
#include <QString>

#include <optional>

namespace quercino {

// The new size in pixels, or nothing when the window keeps its size: "App_DimAuto" exactly
// "off", an unknown screen, an "App_PercLarghezza" that is not a number or not in (0, 100]
// (empty means 70). Halves round to the even neighbour. When `disponibile` (the room the
// desktop leaves to windows) is given, the size never passes it.
std::optional<QSize> CalcolaDimensioni(const QString& dimAuto, const QString& percLarghezza,
                                       QSize progettata, QSize schermo,
                                       QSize disponibile = QSize());

} // namespace quercino
