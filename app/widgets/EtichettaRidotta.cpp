#include "app/widgets/EtichettaRidotta.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QToolTip>

namespace quercino {

namespace {

// Wide enough for a few characters, never for a whole long text.
constexpr int LarghezzaMinimaCaratteri = 8;
constexpr int LarghezzaPreferitaCaratteri = 60;

} // namespace

EtichettaRidotta::EtichettaRidotta(QWidget* parent, Qt::TextElideMode dove) : QLabel(parent), dove_(dove)
{
    setWordWrap(false);
}

QString EtichettaRidotta::TestoVisibile() const
{
    return fontMetrics().elidedText(text(), dove_, contentsRect().width());
}

QSize EtichettaRidotta::minimumSizeHint() const
{
    const QSize base = QLabel::minimumSizeHint();
    return {fontMetrics().averageCharWidth() * LarghezzaMinimaCaratteri, base.height()};
}

QSize EtichettaRidotta::sizeHint() const
{
    const QSize base = QLabel::sizeHint();
    return {qMin(base.width(), fontMetrics().averageCharWidth() * LarghezzaPreferitaCaratteri), base.height()};
}

void EtichettaRidotta::paintEvent(QPaintEvent*)
{
    QPainter pittore(this);
    QStyleOption opzione;
    opzione.initFrom(this);
    style()->drawItemText(&pittore, contentsRect(), QStyle::visualAlignment(layoutDirection(), alignment()),
                          opzione.palette, isEnabled(), TestoVisibile(), foregroundRole());
}

bool EtichettaRidotta::event(QEvent* evento)
{
    // The whole text is offered only when some of it is hidden.
    if (evento->type() == QEvent::ToolTip && TestoVisibile() == text())
        return true;
    if (evento->type() == QEvent::ToolTip)
        setToolTip(text());
    return QLabel::event(evento);
}

} // namespace quercino
