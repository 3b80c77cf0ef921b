#pragma once
// Amounts as the XML files want them: digits, a full stop and two decimals.

#include <QString>

namespace quercino {

// "" or "0" (after trimming) gives "0.00". A text without "," or "." gets ".00" appended.
// Otherwise the text is read as an Italian number (decimal comma; "." or a blank between
// groups of three digits when a comma follows; a "." standing alone is read as the
// decimal separator) and rounded half away from zero to two decimals, exactly. A text
// that is not a number comes back with its commas turned into full stops.
// The caller's text becomes its trimmed form, with "." turned into "," when it has one.
QString FormattaImporto(QString& importo);
QString FormattaImporto(const QString& importo);

} // namespace quercino
