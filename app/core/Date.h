#pragma once
// Date conversions between the forms the program's files and windows use. Dates are
// always Italian (dd/mm/yyyy), whatever the machine's locale.

#include <QDate>
#include <QString>

namespace quercino {

// The date that stands for "no date": 30 December 1899.
QDate DataZero();
bool EDataZero(const QDate& data);

inline const QString MessaggioErroreData = QStringLiteral("Errore nell'inserimento della data");

// A date from a text (the caller's text becomes its blank-trimmed form):
// - ten characters with "19" or "20" at positions 7-8: dd?mm?yyyy;
// - eight characters: dd?mm?yy, the two-digit year read as 1930-2029;
// - "00" at positions 1-2, or any other length: the zero date.
// When the characters do not make a real date the message "Errore nell'inserimento della
// data" is shown (unless `errore` is given, which then receives true instead) and the
// zero date comes back.
QDate TestoInData(QString& testo, bool* errore = nullptr);
QDate TestoInData(const QString& testo, bool* errore = nullptr);

// "dd/mm/yyyy" into "yyyymmdd" (when the third character is "/") and "yyyymmdd" into
// "dd/mm/yyyy"; an empty text or one starting with "00" gives "". Digits are not checked.
QString InvertiData(const QString& testo);

// A date as dd/mm/yyyy (the short date form of the Italian locale); "" for a null date.
QString DataItaliana(const QDate& data);

} // namespace quercino
