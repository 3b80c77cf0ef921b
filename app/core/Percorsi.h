#pragma once
// Small path and folder services. Paths use the platform's separator "/".

#include <QString>

namespace quercino {

// The part of `percorso` before its last separator (`cartella` true) or after it (false).
// A path without a separator, or whose only separator is its first character, has none:
// its folder is empty and its file part is the whole path.
QString DividiPercorso(const QString& percorso, bool cartella);
QString ParteDiPercorso(const QString& percorso, bool cartella);
QString CartellaDi(const QString& percorso);

// True when a file (not a folder) exists at `percorso`; any failure reads as missing.
bool EsisteFile(const QString& percorso);

// Creates the folder and any missing parents; a trailing separator is accepted; failures
// are ignored.
void CreaCartella(const QString& percorso);

// The current user's desktop folder (the home folder when the desktop has none).
QString CartellaDesktop();

// The current user's documents folder (the home folder when there is none).
QString CartellaDocumenti();

} // namespace quercino
