#pragma once
// The version window "QUERCINO - Versione": version and release texts, and two buttons
// that prepare an e-mail to the maker's sales and support offices.

#include <QDialog>

class QLabel;
class QPushButton;

namespace quercino {

class FVer final : public QDialog {
    Q_OBJECT
public:
    explicit FVer(QWidget* parent = nullptr);

    QLabel* Versione() const { return versione_; }
    QLabel* Nrel() const { return nrel_; }
    QPushButton* PushButton1() const { return pushButton1_; }
    QPushButton* PushButton2() const { return pushButton2_; }
    QPushButton* Bannulla() const { return bannulla_; }

    void PushButton1_Click();
    void PushButton2_Click();
    void bannulla_Click();

protected:
    void showEvent(QShowEvent* evento) override;

private:
    void Form_Load();

    QLabel* versione_ = nullptr;
    QLabel* nrel_ = nullptr;
    QLabel* etichettaCommerciale_ = nullptr;
    QLabel* etichettaTecnico_ = nullptr;
    QPushButton* pushButton1_ = nullptr;
    QPushButton* pushButton2_ = nullptr;
    QPushButton* bannulla_ = nullptr;
};

// The subject of the e-mails of the version window.
inline const QString OggettoEmailVersione =
    QStringLiteral("Utente QUERCINO - Crea XML per DATI FATTURE");

} // namespace quercino
