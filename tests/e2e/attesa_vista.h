#pragma once
// What the user reads of the lock's wait window: its first two lines, once for each window
// that shows, so that a second wait is seen as a second line of output.

#include "app/shell/FWaitF.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QString>

// The text of a wait window shown since the last call (`vista` remembers the one seen);
// empty when none.
inline QString NuovaAttesa(QPointer<quercino::FWaitF>& vista)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* attesa = qobject_cast<quercino::FWaitF*>(w);
        if (attesa && attesa->isVisible() && attesa != vista) {
            vista = attesa;
            return attesa->fwSto()->text().section('\n', 0, 1).replace('\n', ' ');
        }
    }
    return QString();
}
