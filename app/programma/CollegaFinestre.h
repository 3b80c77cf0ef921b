#pragma once
// The program's wiring, from above: the declarant registry, the import window and the
// backup window know nothing of the main window; here they are plugged into it.

namespace quercino {

// Registers the registry (with the main window's end of the program and the question about
// unsaved edits), the backup window and the import window, the PDF writer's default author
// and the wait window shown while another copy holds the archive. Called once at start-up,
// before the main window is shown.
void CollegaFinestre();

} // namespace quercino
