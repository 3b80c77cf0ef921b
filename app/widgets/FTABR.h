#pragma once
// "Ricerca Tabelle": lists one kind of the code table and hands back the row the user
// double-clicks. The request comes from TabellaRicerca and OrdineRicerca, the answer goes
// to CodiceScelto and DescrizioneScelta (CodiceScelto stays empty when nothing was
// chosen). Each lookup opens a fresh window: MostraFTABR.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quercino {

class Grid;

class FTABR : public QDialog {
    Q_OBJECT
public:
    explicit FTABR(QWidget* parent = nullptr);

    void Bcerca_Click();
    void BAnnullaCerca_Click();
    void cmdChiudi_Click();
    void igTAB_DblClick();
    // Lists the kind again, narrowed once by the pending search text.
    void CaricaTabella();

    QLineEdit* vtabella() const { return vtabella_; }
    QLineEdit* ricerca() const { return ricerca_; }
    QPushButton* Bcerca() const { return Bcerca_; }
    QPushButton* BAnnullaCerca() const { return BAnnullaCerca_; }
    QPushButton* cmdChiudi() const { return cmdChiudi_; }
    Grid& igTAB() const { return *igTAB_; }

private:
    QString cerca_;  // the pending search text; "" lists the whole kind
    QLineEdit* vtabella_ = nullptr;
    QLabel* etichettaRicerca_ = nullptr;
    QLineEdit* ricerca_ = nullptr;
    QPushButton* Bcerca_ = nullptr;
    QPushButton* BAnnullaCerca_ = nullptr;
    QPushButton* cmdChiudi_ = nullptr;
    Grid* igTAB_ = nullptr;
};

// Shows a fresh lookup window modally over `parent` and returns when it closes.
void MostraFTABR(QWidget* parent = nullptr);

} // namespace quercino
