#pragma once
// "CREA" in the mode "ANNULLAMENTO": asks for the identifier and the confirmation, has
// the annulment file written for the declarant as the window shows it (unsaved edits
// included, no entry checks), and offers the portal or the written file.

namespace quercino {

class F1OP;

void AvviaAnnullamento(F1OP& finestra);

} // namespace quercino
