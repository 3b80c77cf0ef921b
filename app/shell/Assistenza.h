#pragma once
// Support e-mail and remote assistance.

#include <QString>

namespace quercino {

// Opens a new message to `indirizzo` with `oggetto` in the user's mail program (mailto:),
// for the user to edit and send; nothing is sent by the program. On failure shows the
// "Microsoft Outlook NON installato" message and returns false.
bool ComponiEmail(const QString& indirizzo, const QString& oggetto);

// The support e-mail of command 713: subject "RICHIESTA ASSISTENZA Utente VEKO:".
void EmailAssistenza(const QString& indirizzo);

// Asks for confirmation, then starts the configured remote-assistance program detached;
// when it is missing, says so and opens the maker's remote-assistance page.
void AssistenzaRemota();

} // namespace quercino
