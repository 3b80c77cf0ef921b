#include "app/widgets/CControl.h"

#include "app/core/Globals.h"
#include "app/core/PulisciTesto.h"
#include "platform/text/Trim.h"
#include "platform/text/UpperCase.h"

#include <QLineEdit>
#include <QPalette>
#include <QWidget>

namespace quercino {

namespace {

void Sfondo(QWidget* box, const QColor& colour)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

} // namespace

QString PulisciCampoTesto(const QString& text)
{
    return PulisciTesto(trimBlanks(upperOneToOne(text)));
}

bool CControl::SetVbControl(QWidget* control)
{
    auto* box = qobject_cast<QLineEdit*>(control);
    if (box == nullptr)
        return false;
    ctTextBox_ = box;
    return true;
}

QColor CControl::ColoreSfondo(bool focused)
{
    // Before the launch has set the colours (tests, tools) the usual ones apply.
    if (focused)
        return ColoreFocus.isValid() ? ColoreFocus : QColor(255, 255, 192);
    return ColoreNormale.isValid() ? ColoreNormale : QColor(255, 255, 255);
}

void CControl::ShowToolTips(QWidget* control, const QString& text)
{
    if (control != nullptr)
        control->setToolTip(text);
}

void CControl::GotFocus()
{
    if (ctTextBox_ && !ctTextBox_->isReadOnly())
        Sfondo(ctTextBox_, ColoreSfondo(true));
}

void CControl::LostFocus()
{
    if (!ctTextBox_ || ctTextBox_->isReadOnly())
        return;
    Sfondo(ctTextBox_, ColoreSfondo(false));
    const QString cleaned = PulisciCampoTesto(ctTextBox_->text());
    // Rewriting an unchanged text would lose the box's undo history for nothing.
    if (cleaned != ctTextBox_->text())
        ctTextBox_->setText(cleaned);
}

} // namespace quercino
