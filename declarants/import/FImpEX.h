#pragma once
// The import window "Seleziona foglio EXCEL o CSV per ELABORAZIONE DATI FATTURE": the kind
// of input and the CSV separator, the button that chooses the files, and the progress of
// the import. The import itself is SelIMPORTA; the window only shows it and keeps the user
// from starting a second one meanwhile.

#include "declarants/import/Importazione.h"
#include "declarants/import/SorgenteDichiarante.h"

#include <QDialog>
#include <QElapsedTimer>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace quercino {

class FImpEX final : public QDialog {
    Q_OBJECT
public:
    explicit FImpEX(importazione::SorgenteDichiarante& sorgente, QWidget* parent = nullptr);

    // The window's procedures, reachable for the tests.
    void SelIMPORTA();
    void EvidenziaTipoE();
    void EvidenziaTipoC();
    bool InCorso() const { return inCorso_; }
    const std::vector<importazione::EsitoImportazione>& Esiti() const { return esiti_; }

    QLabel& Ragione() const { return *vRAG_; }
    QRadioButton& OpzioneExcel() const { return *tpE_; }
    QRadioButton& OpzioneCsv() const { return *tpC_; }
    QLineEdit& Separatore() const { return *vCarSep_; }
    QPushButton& PulsanteImporta() const { return *IMPORT_; }
    QPushButton& PulsanteAnnulla() const { return *bannulla_; }
    QGroupBox& Avanzamento() const { return *ineF_; }
    QLabel& NomeFile() const { return *ineNome_; }
    QLabel& RigaLetta() const { return *ineR_; }

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void reject() override;

private:
    void Costruisci();
    void Abilita(bool attivo);
    void MostraRiga(std::int32_t riga);

    importazione::SorgenteDichiarante& sorgente_;
    bool inCorso_ = false;
    QElapsedTimer ultimoAggiornamento_;
    std::vector<importazione::EsitoImportazione> esiti_;

    QLabel* vRAG_ = nullptr;
    QGroupBox* Frame2_ = nullptr;
    QRadioButton* tpE_ = nullptr;
    QRadioButton* tpC_ = nullptr;
    QLineEdit* vCarSep_ = nullptr;
    QPushButton* IMPORT_ = nullptr;
    QPushButton* bannulla_ = nullptr;
    QGroupBox* ineF_ = nullptr;
    QLabel* ineNome_ = nullptr;
    QLabel* ineR_ = nullptr;
    QProgressBar* barra_ = nullptr;
};

} // namespace quercino
