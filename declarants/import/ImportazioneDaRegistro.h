#pragma once
// Ties the import window to the registry window's "Elabora foglio Excel / CSV": the
// program calls this once at start-up.

namespace quercino {

void RegistraFinestraImportazione();

} // namespace quercino
