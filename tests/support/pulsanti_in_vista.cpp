#include "support/pulsanti_in_vista.h"

#include <QAbstractButton>
#include <QWidget>

namespace quercino::test {

QStringList PulsantiFuoriVista(const QWidget& finestra, const QWidget& riferimento, const QRect& visibile)
{
    QStringList fuori;
    for (const QAbstractButton* pulsante : finestra.findChildren<QAbstractButton*>()) {
        if (!pulsante->isVisibleTo(&finestra))
            continue;
        QRect r = pulsante->rect();
        bool dentro = true;
        for (const QWidget* w = pulsante; dentro && w != &riferimento && w->parentWidget(); w = w->parentWidget()) {
            r.translate(w->pos());
            dentro = w->parentWidget() == &riferimento || w->parentWidget()->rect().contains(r);
        }
        if (!dentro || !visibile.contains(r))
            fuori << (pulsante->objectName().isEmpty() ? pulsante->text() : pulsante->objectName());
    }
    return fuori;
}

QString FinestraSuGliSchermi(const QWidget& finestra)
{
    const bool entro = finestra.width() <= 1280 - 8 && finestra.height() <= 720 - 40 - 32;
    const QStringList fuori = PulsantiFuoriVista(finestra, finestra, finestra.rect());
    return QStringLiteral("entro 1280x720 %1, pulsanti fuori vista: %2").arg(entro ? "si" : "no", fuori.isEmpty() ? "nessuno" : fuori.join(' '));
}

} // namespace quercino::test
