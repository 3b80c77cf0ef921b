#include "app/widgets/PulisciCampi.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace quercino {

void PulisciCampi(QWidget* window)
{
    if (window == nullptr)
        return;
    for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
        // The editors inside combo and spin boxes belong to those controls.
        QWidget* parent = box->parentWidget();
        if (qobject_cast<QComboBox*>(parent) || qobject_cast<QAbstractSpinBox*>(parent))
            continue;
        box->clear();
    }
    for (QTextEdit* box : window->findChildren<QTextEdit*>())
        box->clear();
    for (QPlainTextEdit* box : window->findChildren<QPlainTextEdit*>())
        box->clear();
    for (QComboBox* box : window->findChildren<QComboBox*>()) {
        box->setCurrentIndex(-1);
        if (box->isEditable())
            box->clearEditText();
    }
    for (QCheckBox* box : window->findChildren<QCheckBox*>())
        box->setCheckState(Qt::Unchecked);
}

} // namespace quercino
