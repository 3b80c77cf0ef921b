#pragma once
// Text as it goes into the DatiFattura files: UTF-8, markup characters escaped, characters
// that XML does not allow replaced by blanks, and comments that no value can break.

#include <QByteArray>
#include <QString>

#include <string>

namespace quercino::datifattura {

// Appends `testo` to `uscita` as UTF-8 element content: "&", "<" and ">" become entity
// references; control characters (tab, CR and LF included, so that a value never breaks
// its line), lone surrogates and U+FFFE/U+FFFF become blanks.
void AggiungiValore(std::string& uscita, const QString& testo);

// The same text as a new UTF-8 array.
QByteArray ValoreXml(const QString& testo);

// Appends `testo` as the body of a comment: no escaping (the markup characters are legal
// there), forbidden characters become blanks, a blank is put between two consecutive "-"
// and after a final "-", so that neither "--" nor "--->" can appear.
void AggiungiCommento(std::string& uscita, const QString& testo);

} // namespace quercino::datifattura
