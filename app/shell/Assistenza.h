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

// Where the remote-assistance program is: the configured path, or, for a bare file name,
// that name in the public folder's VORNSOFTLAB/ASSISTENZA_REMOTA. Empty when none is set.
QString PercorsoProgrammaAssistenza(const QString& programma);

// Fetches `indirizzo` (https only) into `percorso` as a program to run (see Scaricamento.h)
// under the busy pointer; a fetch that takes more than a moment shows its progress with
// "Annulla". `sha256`, when given, is what the bytes must match. False when nothing was
// fetched, with the reason in `motivo` (empty when the user cancelled).
bool ScaricaFile(const QString& indirizzo, const QString& percorso, const QString& sha256 = QString(),
                 QString* motivo = nullptr);

// Asks for confirmation, then starts the remote-assistance program detached, fetching it
// first when it is missing and the build gives its address; when it is still missing, says
// why and so, and opens the maker's remote-assistance page.
void AssistenzaRemota();

} // namespace quercino
