#pragma once
// The reader of configurazione.ini (path in `PathIni`).

#include <QString>

namespace quercino {

// The longest value the reader returns for a key; the connection string ("StrConn")
// may be up to 300 characters long.
inline constexpr int LunghezzaMassimaIni = 127;
inline constexpr int LunghezzaMassimaStrConn = 300;

// The value of the key in the section (names ignoring case), "" when the file, section or
// key is missing; cut at 127 characters, 300 for the key "StrConn". Callers cut further.
QString LeggiIni(const QString& sezione, const QString& chiave);

} // namespace quercino
