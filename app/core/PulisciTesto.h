#pragma once
// The cleaner that makes free text safe for the XML files: markup and quote characters
// become blanks, "&" becomes "e", accented letters lose their accents, everything is upper
// case and only A-Z, digits, "," "." "\" "^" "_" and blanks remain. The length never changes.

#include <QString>

namespace quercino {

// The caller's variable receives the cleaned text as well.
QString PulisciTesto(QString& testo);
QString PulisciTesto(const QString& testo);

} // namespace quercino
