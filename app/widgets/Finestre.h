#pragma once
// Where the program's windows go on the screen: which window a new dialog belongs to, and
// the rules every window follows: never larger than the room the desktop leaves to
// windows, and dialogs centred on the main window.

class QApplication;
class QRect;
class QWidget;

namespace quercino {

// The main window, for parenting and centring dialogs; the main window sets itself when it
// is made and clears itself when it goes (nullptr meanwhile).
void ImpostaFinestraPrincipale(QWidget* finestra);
QWidget* FinestraPrincipale();

// The window a new dialog belongs to: the modal window showing, else the active one, else
// the main window, so that a dialog opened from a modal window stays above it.
QWidget* FinestraProprietaria();

// The room the desktop leaves to windows on the screen of `finestra` (the main window's,
// else the primary screen, when it has none yet).
QRect AreaDisponibile(const QWidget* finestra);

// Shrinks the window (frame included) to fit the available area and moves it inside it.
void AdattaAlloSchermo(QWidget* finestra);

// Centres the window (frame included) on the main window, else on the available area, and
// keeps it inside that area.
void CentraSullaPrincipale(QWidget* finestra);

// From now on every window of the application is fitted to the screen as it is shown.
void AdattaFinestreAlloSchermo(QApplication& applicazione);

} // namespace quercino
