#pragma once
// The declarant registry window "Elenco Soggetti Obbligati": the list of declarants, the
// chosen one in a form of three pages, and the ways to a DatiFattura file (the import of
// a sheet and the annulment of a file already sent). The declarant shown is the current
// declarant of the program. The logic lives in RegistroSoggetti; this window shows it.

#include "app/shell/Collegamenti.h"
#include "declarants/datifattura/DatiDichiarante.h"
#include "declarants/registry/RegistroSoggetti.h"
#include "declarants/registry/RicercaCodici.h"

#include <QHash>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace quercino {

class CForm;
class Grid;

class F1OP final : public QWidget, public FinestraAnagrafica {
    Q_OBJECT
public:
    // Builds the window and loads the list (the registry's Form_Load).
    explicit F1OP(QWidget* parent = nullptr);
    ~F1OP() override;

    // As the main window drives it (commands 701, 702, and after backup and restore).
    QWidget* Finestra() override { return this; }
    void Aggiungi() override;
    void Elimina() override;
    void Lista() override;

    // The declarant as the fields show it now, unsaved edits included: what the file
    // writers read.
    DatiSoggetto DatiCorrenti() const;
    datifattura::DatiDichiarante DatiDichiaranteCorrente() const;
    // The identifier typed for an annulment.
    QString IdFile() const;
    // Raises the progressive by one in the field and in the current declarant's row;
    // returns the error text (and changes nothing) when no file can carry the current
    // number (not a number from 1 to 99999). After file 99999 it holds 100000, which every
    // writer refuses before writing.
    QString AggiornaProgressivo();

    // The window's procedures and handlers, reachable for the tests.
    RegistroSoggetti& Registro() { return registro_; }
    bool DatiValidi() const { return registro_.DatiValidi; }
    QLineEdit* Campo(const QString& colonna) const;  // "OCOD" gives vOCOD
    QCheckBox* CasellaPersonaFisica() const { return vOPF_; }
    QCheckBox* CasellaPersonaFisicaRappresentante() const { return vORFPF_; }
    Grid& Griglia() const { return *IGope_; }
    QTabWidget& Pagine() const { return *SSTab1_; }
    QLabel& EtichettaProgressivo() const { return *lblProgressivo_; }
    QWidget& CornicePersonaFisica() const;      // Fpf
    QWidget& CorniceSocieta() const;            // Fpg
    QWidget& CorniceIdFile() const;             // FraIDFILE
    QRadioButton& OpzioneNuoviDati() const { return *Option1_; }
    QRadioButton& OpzioneAnnullamento() const { return *Option3_; }
    QPushButton& PulsanteRegistra() const { return *bregistra_; }
    QPushButton& PulsanteElabora() const { return *pbLeggi_; }

    void Conferma();
    void pbLeggi_Click();
    void lblProgressivo_DblClick();
    void PusCREA_Click();
    void vOCF_LostFocus();
    void vOSCOM_KeyUp(int tasto);
    void vOSCOM_LostFocus();
    void vODICCARICA_DblClick();
    void vOSPAESE_DblClick();
    void vOSOPAESE_DblClick();

    // How the lookup window is shown (the code-table lookup FTABR, modal, by default).
    void ImpostaRicerca(MostraRicerca mostra) { mostraRicerca_ = std::move(mostra); }

    // The import window, opened modally by "Elabora foglio Excel / CSV" after the
    // declarant was saved; the import area registers it.
    using ApriImportazione = std::function<void(F1OP&)>;
    static void RegistraImportazione(ApriImportazione apri);

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;

private:
    void Costruisci();
    QWidget* PaginaSoggetto();
    QWidget* PaginaDichiarante();
    QWidget* PaginaRappresentante();
    QLineEdit* NuovoCampo(const QString& colonna, int larghezza, bool centrato);
    void Form_Load();
    void ImpostaModalita();
    void AggiornaCornici();

    void LeggiCampi();                 // fields -> registro_.campi
    void ScriviCampi();                // registro_.campi -> fields, frames and grid
    void RiempiGriglia();
    void MostraErrore(const ErroreControllo& errore);

    void IGope_AfterSelectionChange();
    void IGope_DblClick();
    void bannulla_Click();

    RegistroSoggetti registro_;
    QHash<QString, QLineEdit*> campi_;
    std::unique_ptr<CForm> form_;
    MostraRicerca mostraRicerca_;
    bool riempimento_ = false;         // the grid is being refilled: no selection events

    Grid* IGope_ = nullptr;
    QTabWidget* SSTab1_ = nullptr;
    QCheckBox* vOPF_ = nullptr;
    QCheckBox* vORFPF_ = nullptr;
    QGroupBox* Fpg_ = nullptr;
    QGroupBox* Fpf_ = nullptr;
    QGroupBox* FRFpg_ = nullptr;
    QGroupBox* FRFpf_ = nullptr;
    QGroupBox* FraIDFILE_ = nullptr;
    QRadioButton* Option1_ = nullptr;
    QRadioButton* Option3_ = nullptr;
    QLabel* lblProgressivo_ = nullptr;
    QLineEdit* IDFILE_ = nullptr;
    QPushButton* PusCREA_ = nullptr;
    QPushButton* pbLeggi_ = nullptr;
    QPushButton* bregistra_ = nullptr;
    QPushButton* bannulla_ = nullptr;
};

// The registry window of the run (nullptr until it is created).
F1OP* IstanzaF1OP();

// Makes the main window open this registry ("ENTRA", command 802).
void RegistraF1OP();

} // namespace quercino
