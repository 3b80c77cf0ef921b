#include "app/widgets/ErroreCampo.h"

#include "app/core/Globals.h"
#include "app/core/Messaggi.h"

#include <QApplication>
#include <QPalette>
#include <QPointer>
#include <QWidget>

#include <cmath>

namespace quercino {

namespace {

void Colora(QWidget* control, const QColor& background, const QColor& text)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, text);
    control->setPalette(palette);
}

} // namespace

QString CentraMessaggio(const QString& message)
{
    const qsizetype length = message.size();
    if (length >= 50)
        return message;
    // Half of an odd length rounds to the even neighbour.
    const auto k = static_cast<qsizetype>(50 - std::nearbyint(static_cast<double>(length) / 2.0));
    const QString blanks(k, QLatin1Char(' '));
    return blanks + message + blanks;
}

void ErroreCampo(QWidget* control, QString& message)
{
    message = CentraMessaggio(message);
    QPointer<QWidget> box = control;
    if (box) {
        // Focus first: taking the focus paints the focus colour, which must not hide the red.
        box->setFocus(Qt::OtherFocusReason);
        Colora(box, QColor(255, 0, 0), QColor(255, 255, 255));
    }
    MsgBox(message, Pulsanti::Ok, Icona::Nessuna, QStringLiteral("Errore"));
    if (box) {
        Colora(box, ColoreFocus.isValid() ? ColoreFocus : QColor(255, 255, 192),
               QApplication::palette(box).color(QPalette::Text));
        box->setFocus(Qt::OtherFocusReason);
    }
}

void ErroreCampo(QWidget* control, const QString& message)
{
    QString text = message;
    ErroreCampo(control, text);
}

} // namespace quercino
