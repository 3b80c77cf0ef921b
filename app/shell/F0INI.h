#pragma once
// The welcome window "Benvenuto": its only way out is "ENTRA", which leads into the program.

#include <QDialog>

class QLabel;
class QPushButton;

namespace quercino {

class F0INI final : public QDialog {
    Q_OBJECT
public:
    explicit F0INI(QWidget* parent = nullptr);

    QLabel* Versione() const { return versione_; }
    QLabel* Nrel() const { return nrel_; }
    QPushButton* Command1() const { return command1_; }

    // "ENTRA": closes the window, then asks the main window to show its bars.
    void Command1_Click();
    // Escape does not close it.
    void reject() override;

signals:
    void Entra();

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void Form_Load();

    QLabel* versione_ = nullptr;
    QLabel* nrel_ = nullptr;
    QPushButton* command1_ = nullptr;
    bool entrando_ = false;
};

} // namespace quercino
