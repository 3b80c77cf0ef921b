#pragma once
// Gives the text boxes a window registers the same focus behaviour without code in the
// window: ColoreFocus while a box has the focus; on focus loss ColoreNormale, the clean-up
// of CControl, then the window's own handler for that box, in this order. A read-only box
// is left as it is.
//
// One watcher per window, over the boxes it registers only (never every QLineEdit found,
// which would catch the inner editors of combo and spin boxes). A focus loss caused by a
// window activation or a popup (a message box shown from a handler) is not a focus loss
// of the box, and a handler never runs while another handler of the same window is
// running: without both guards a field error shown from a focus-loss handler would loop
// for ever.

#include "app/widgets/CControl.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLineEdit;
class QWidget;

namespace quercino {

class CForm : public QObject {
    Q_OBJECT
public:
    explicit CForm(QObject* parent = nullptr);
    ~CForm() override;

    // Wraps each control of the list that is a text box, keyed by its object name; a
    // second control with a name already wrapped stays unwrapped, and so does a control
    // that is not a text box. Returns how many were wrapped.
    int SetVbForm(const QList<QWidget*>& controls);
    // Wraps the window's text boxes that are its own fields: every QLineEdit under it
    // except the inner editors of combo boxes, spin boxes and date editors.
    int SetVbForm(QWidget* window);

    int Count() const { return static_cast<int>(order_.size()); }
    // nullptr when no box of that name is wrapped.
    CControl* Item(const QString& name) const;

    // The window's own focus-loss handler for one wrapped box; runs after the clean-up.
    void SetLostFocusHandler(QLineEdit* box, std::function<void()> handler);

signals:
    // Emitted after the clean-up and the box's own handler.
    void LostFocus(QLineEdit* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HandleLostFocus(QLineEdit* box, CControl& control);

    QHash<QString, std::shared_ptr<CControl>> controls_;
    QHash<QObject*, std::shared_ptr<CControl>> byBox_;
    QHash<QObject*, std::function<void()>> handlers_;
    QList<QString> order_;
    bool inHandler_ = false;
};

} // namespace quercino
