#pragma once
// How the windows of other areas plug into the main window. The declarant registry and the
// backup window live in libraries below this one and know nothing of the main window: the
// program registers them here once, before the main window needs them (app/programma).

#include <functional>

class QWidget;

namespace quercino {

// The declarant registry as the main window drives it.
class FinestraAnagrafica {
public:
    virtual ~FinestraAnagrafica() = default;
    // The widget shown as the main window's child window. Its objectName must be "F1OP":
    // the dispatcher routes add and delete by the active child window's name.
    virtual QWidget* Finestra() = 0;
    virtual void Aggiungi() = 0;   // a new declarant (701)
    virtual void Elimina() = 0;    // deletes the current declarant after its own question (702)
    virtual void Lista() = 0;      // refreshes the list (after backup and restore)
    virtual void Registra() {}     // saves the shown declarant, as its "REGISTRA" (700)
    // Saves the shown declarant and opens the import, as its "Elabora foglio Excel / CSV"
    // (the toolbar's "Elabora Foglio Excel").
    virtual void ElaboraFoglio() {}
    // Before the program ends or the list is reloaded: asks whether to save the shown
    // declarant's unsaved edits and does what the answer says. False when the user chose to
    // stay (or a save was refused by a check): what was about to happen must not happen.
    virtual bool ConfermaModifiche() { return true; }
    // What the registry's own "close the program" does once the user confirmed it; the main
    // window sets its own end of the program.
    virtual void ImpostaChiusuraProgramma(std::function<void()>) {}
};

// Creates the registry window the first time it is shown; the main window keeps it (its
// widget is re-parented into the child window) for the rest of the run.
using CreaAnagrafica = std::function<FinestraAnagrafica*()>;
void RegistraAnagrafica(CreaAnagrafica crea);

// Opens the backup window modally over `proprietario`, in the mode already written to
// `ModoSalva` and `SalvaTutti`; returns when it closes.
using ApriSalvataggio = std::function<void(QWidget* proprietario)>;
void RegistraSalvataggio(ApriSalvataggio apri);

// The registered procedures (empty functions when nothing registered).
const CreaAnagrafica& AnagraficaRegistrata();
const ApriSalvataggio& SalvataggioRegistrato();

} // namespace quercino
