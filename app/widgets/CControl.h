#pragma once
// One wrapped text box of a window: the focus colour while it has the focus, and on focus
// loss the normal colour and the clean-up of its text. CForm owns these and feeds them the
// box's focus events. A read-only box keeps its own look and text.

#include <QColor>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QString>

namespace quercino {

class CControl {
public:
    // Binds the control when it is a text box; false (and nothing bound) otherwise.
    bool SetVbControl(QWidget* control);
    QLineEdit* ctTextBox() const { return ctTextBox_; }

    // ColoreFocus when focused, else ColoreNormale.
    static QColor ColoreSfondo(bool focused);
    static void ShowToolTips(QWidget* control, const QString& text);

    void GotFocus();
    // Normal colour, then the text upper-cased, trimmed and cleaned for the XML files.
    void LostFocus();

private:
    QPointer<QLineEdit> ctTextBox_;
};

// The clean-up a text box gets when it loses the focus: upper case, trimmed, then
// PulisciTesto. "  abc&d " becomes "ABCED".
QString PulisciCampoTesto(const QString& text);

} // namespace quercino
