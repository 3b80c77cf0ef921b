#pragma once
// The window side of the program's start: Italian texts, the on-screen message and file
// dialogs, windows kept within the screen, then the launch steps without windows (configuration, connection, logs, town
// tables), then the main window with its welcome window.

#include <functional>

class QApplication;

namespace quercino {

class F0;

// Runs the launch steps (`avvioSenzaFinestre` shows its own error message and returns false
// when the program must end), then creates and shows the main window and runs the event
// loop. Returns the program's exit code (1 when the launch failed).
int AvviaProgramma(QApplication& applicazione, const std::function<bool()>& avvioSenzaFinestre);

// The services and texts of the screen, without the launch: what AvviaProgramma does first.
void PreparaSchermo(QApplication& applicazione);

// What AvviaProgramma does after PreparaSchermo: the launch steps, then the main window and
// the event loop; the windows are gone and the connection closed when it returns.
int EseguiProgramma(const std::function<bool()>& avvioSenzaFinestre);

// Creates the main window, shows it and runs its load (bars hidden, welcome window shown).
F0* MostraFinestraPrincipale();

} // namespace quercino
