#pragma once
// The declarant registry window "Elenco Soggetti Obbligati": the list of declarants, the
// chosen one in a form of three pages, and the ways to a DatiFattura file (the import of
// a sheet and the annulment of a file already sent). The declarant shown is the current
// declarant of the program. The logic lives in RegistroSoggetti; this window shows it.

#include "declarants/datifattura/DatiDichiarante.h"
#include "declarants/registry/CompletamentoComune.h"
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

// The property of each field that holds the most characters it takes.
inline constexpr char ProprietaLimite[] = "limite";

class F1OP final : public QWidget {
    Q_OBJECT
public:
    // Builds the window and loads the list (the registry's Form_Load).
    explicit F1OP(QWidget* parent = nullptr);
    ~F1OP() override;

    // As the main window drives it (commands 701, 702, and after backup and restore).
    void Aggiungi();
    void Elimina();
    void Lista();
    // When the shown declarant has unsaved edits: asks whether to save them (Sì / No /
    // Annulla). Sì saves, No drops them (the fields show the stored record again); false
    // when the user chose Annulla or the save was refused by a check, and the caller must
    // then not go on.
    bool ConfermaModifiche();
    // What "Chiudi" does once the user confirmed closing the program (by default it leaves
    // the event loop); the main window sets its own end of the program.
    void ImpostaChiusuraProgramma(std::function<void()> chiudi) { chiusura_ = std::move(chiudi); }

    // The declarant as the fields show it now, unsaved edits included: what the file
    // writers read.
    DatiSoggetto DatiCorrenti() const;
    datifattura::DatiDichiarante DatiDichiaranteCorrente() const;
    // The identifier typed for an annulment.
    QString IdFile() const;
    // The number of a new file, taken from the current declarant's row and raised there in
    // one step (RegistroSoggetti::PrendiProgressivo); the field then shows the stored value.
    // Throws datifattura::ErroreDatiFattura (nothing taken) when no file can carry the
    // number, DbError when the database fails.
    int PrendiProgressivo();
    // A number taken for a file that was not written after all.
    void RestituisciProgressivo(std::int32_t numero);

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
    // A code typed by hand and left: its description from the code table, or its error.
    void vODICCARICA_LostFocus();
    void vOSPAESE_LostFocus();
    void vOSOPAESE_LostFocus();

    // How the lookup window is shown (the code-table lookup FTABR, modal, by default).
    void ImpostaRicerca(MostraRicerca mostra) { mostraRicerca_ = std::move(mostra); }

    // The import window, opened modally by "Elabora foglio Excel / CSV" after the
    // declarant was saved; the import area registers it.
    using ApriImportazione = std::function<void(F1OP&)>;
    static void RegistraImportazione(ApriImportazione apri);

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    // Closing the window asks about unsaved edits first.
    void closeEvent(QCloseEvent* evento) override;

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
    void ImpostaTesto(const QString& colonna, const QString& testo);
    void ScriviCampi();                // registro_.campi -> fields, frames and grid
    void RiempiGriglia();
    void AllineaGriglia();
    // Reloads the list and shows the declarant of `codice` (the first row when it is gone).
    void VaiAlCodice(const QString& codice);
    void MostraErrore(const ErroreControllo& errore);
    void CodiceLasciato(const QString& colonna, const QString& procedura);

    void IGope_AfterSelectionChange();
    // Another declarant chosen in the grid while the shown one has unsaved edits.
    void CambiaSoggetto(const QString& codice);
    void IGope_DblClick();
    void bannulla_Click();

    RegistroSoggetti registro_;
    QHash<QString, QLineEdit*> campi_;
    std::unique_ptr<CForm> form_;
    MostraRicerca mostraRicerca_;
    std::function<void()> chiusura_;
    bool riempimento_ = false;         // the grid is being refilled: no selection events
    TastiComune tastiComune_;          // which key releases in vOSCOM complete

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

// The question before unsaved edits would be dropped (title "Richiesta conferma").
inline const QString DomandaModifiche = QStringLiteral(
    "I dati del soggetto sono stati modificati e non sono ancora registrati.\r\nVuoi registrare le modifiche?");

// The registry window of the run (nullptr until it is created).
F1OP* IstanzaF1OP();

} // namespace quercino
