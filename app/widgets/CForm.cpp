#include "app/widgets/CForm.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>

namespace quercino {

CForm::CForm(QObject* parent) : QObject(parent) {}

CForm::~CForm()
{
    for (auto it = byBox_.begin(); it != byBox_.end(); ++it)
        if (QLineEdit* box = it.value()->ctTextBox())
            box->removeEventFilter(this);
}

int CForm::SetVbForm(const QList<QWidget*>& controls)
{
    int wrapped = 0;
    for (QWidget* control : controls) {
        auto wrapper = std::make_shared<CControl>();
        if (!wrapper->SetVbControl(control))
            continue;
        QString name = control->objectName();
        // Unnamed boxes cannot collide with one another: key them by address.
        if (name.isEmpty())
            name = QStringLiteral("#%1").arg(reinterpret_cast<quintptr>(control), 0, 16);
        if (controls_.contains(name) || byBox_.contains(control))
            continue;
        controls_.insert(name, wrapper);
        byBox_.insert(control, wrapper);
        order_.append(name);
        control->installEventFilter(this);
        connect(control, &QObject::destroyed, this, [this, name](QObject* gone) {
            controls_.remove(name);
            byBox_.remove(gone);
            handlers_.remove(gone);
            order_.removeAll(name);
        });
        ++wrapped;
    }
    return wrapped;
}

int CForm::SetVbForm(QWidget* window)
{
    if (window == nullptr)
        return 0;
    QList<QWidget*> fields;
    const auto boxes = window->findChildren<QLineEdit*>();
    for (QLineEdit* box : boxes) {
        QWidget* parent = box->parentWidget();
        if (qobject_cast<QComboBox*>(parent) || qobject_cast<QAbstractSpinBox*>(parent))
            continue;
        fields.append(box);
    }
    return SetVbForm(fields);
}

CControl* CForm::Item(const QString& name) const
{
    const auto it = controls_.constFind(name);
    return it == controls_.constEnd() ? nullptr : it.value().get();
}

void CForm::SetLostFocusHandler(QLineEdit* box, std::function<void()> handler)
{
    if (box != nullptr)
        handlers_.insert(box, std::move(handler));
}

bool CForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
        return QObject::eventFilter(watched, event);
    const auto it = byBox_.constFind(watched);
    if (it == byBox_.constEnd())
        return QObject::eventFilter(watched, event);
    const std::shared_ptr<CControl> control = it.value();
    // A box the user cannot type into (a description a lookup fills) keeps its own look and
    // the text written into it.
    if (control->ctTextBox() != nullptr && control->ctTextBox()->isReadOnly())
        return false;
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (event->type() == QEvent::FocusIn) {
        control->GotFocus();
    } else if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        // The box keeps the focus inside its window while a message box or a popup is up.
        // May destroy this watcher: touch no member afterwards.
        HandleLostFocus(control->ctTextBox(), *control);
    }
    return false;
}

void CForm::HandleLostFocus(QLineEdit* box, CControl& control)
{
    if (box == nullptr)
        return;
    control.LostFocus();
    // A handler that moves the focus (a field error puts it back on its box) must not
    // start the handler of the box it leaves.
    if (inHandler_)
        return;
    // The handler may close the window (and so destroy this watcher or the box) or set
    // handlers anew: call a copy and check what survived.
    const std::function<void()> handler = handlers_.value(box);
    QPointer<CForm> self(this);
    QPointer<QLineEdit> guard(box);
    inHandler_ = true;
    if (handler)
        handler();
    if (!self)
        return;
    inHandler_ = false;
    if (guard)
        emit LostFocus(box);
}

} // namespace quercino
