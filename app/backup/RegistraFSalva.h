#pragma once
// Plugs the backup window into the main window's commands 721 and 722.

namespace quercino {

// Registers with the main window (app/shell/Collegamenti.h) the procedure that opens
// FSalva; the window is created on first use and kept for the run.
void RegistraFSalva();

} // namespace quercino
