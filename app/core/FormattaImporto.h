#pragma once
// Amounts as the XML files want them: digits, a full stop and two decimals.

#include <QString>

namespace quercino {

// "" or "0" (after trimming blanks) gives "0.00". Thousands separators are dropped: blanks
// between groups of three digits, and full stops between groups of three digits when a
// decimal comma follows. Then a text without "," or "." gets ".00" appended; otherwise it
// is read as an Italian number (a "." standing alone is the decimal separator) and rounded
// half away from zero to two decimals, exactly. A text that is not a number comes back
// with its commas turned into full stops.
// The caller's text becomes its trimmed form without thousands separators, with "."
// turned into "," when it has a separator.
QString FormattaImporto(QString& importo);
QString FormattaImporto(const QString& importo);

} // namespace quercino
