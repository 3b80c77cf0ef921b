#pragma once
// How the windows of other areas plug into the main window. The declarant registry and the
// backup window live in their own libraries (which depend on this one); each registers
// itself here once, before the main window needs it (the program does so in main.cpp).

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

// The main window, for parenting dialogs (nullptr before it exists).
QWidget* FinestraPrincipale();

// The window a new dialog belongs to: the modal window showing, else the active one, else
// the main window, so that a dialog opened from a modal window stays above it.
QWidget* FinestraProprietaria();

// Sets the checked state of the toolbar button " SOGGETTI OBBLIGATI  " (the registry does
// so when it loads); nothing happens before the main window exists.
void ImpostaStatoSoggettiObbligati(bool attivo);

} // namespace quercino
