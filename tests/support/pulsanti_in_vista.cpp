#include "support/pulsanti_in_vista.h"

#include <QAbstractButton>
#include <QWidget>

namespace quercino::test {

namespace {

bool InVista(const QWidget& pulsante, const QWidget& riferimento, const QRect& visibile)
{
    QRect r = pulsante.rect();
    for (const QWidget* w = &pulsante; w != &riferimento; w = w->parentWidget()) {
        const QWidget* genitore = w->parentWidget();
        if (!genitore)
            return false;
        r.translate(w->pos());
        if (genitore != &riferimento && !genitore->rect().contains(r))
            return false;
    }
    return visibile.contains(r);
}

} // namespace

QStringList PulsantiFuoriVista(const QWidget& finestra, const QWidget& riferimento, const QRect& visibile)
{
    QStringList fuori;
    for (const QAbstractButton* pulsante : finestra.findChildren<QAbstractButton*>()) {
        if (pulsante->isVisibleTo(&finestra) && !InVista(*pulsante, riferimento, visibile))
            fuori << (pulsante->objectName().isEmpty() ? pulsante->text() : pulsante->objectName());
    }
    return fuori;
}

QSize SpazioPerLeFinestre(QSize schermo)
{
    return schermo - QSize(0, 40) - QSize(8, 32);
}

} // namespace quercino::test
