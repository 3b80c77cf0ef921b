#pragma once
// Values in the forms the DatiFattura files want them.

#include <QDate>
#include <QString>

#include <cstdint>
#include <string>

namespace quercino::datifattura {

// Cents as digits, a full stop and two decimals: 123456 gives "1234.56", -5 gives "-0.05".
std::string FormattaCentesimi(std::int64_t centesimi);

// A date as "YYYY-MM-DD" (an invalid date gives the empty text).
std::string FormattaDataXml(const QDate& data);

// The progressive as five digits: 7 gives "00007"; a larger number keeps all its digits.
QString FormattaProgressivo(int progressivo);

// True when the text is not empty and made of the digits 0-9 only.
bool SoloCifre(const QString& testo);

// A postcode of an Italian address that is all digits and shorter than five is filled with
// zeros on the left ("123" gives "00123"); anything else comes back as it is, so that a
// foreign postcode ("1010") or a code with letters is never changed.
QString CapPerNazione(const QString& cap, const QString& nazione);

// A tax code of 2 to 10 digits is filled with zeros to 11 (a VAT number given as tax code);
// anything else comes back as it is.
QString NormalizzaCodiceFiscale(const QString& codice);

} // namespace quercino::datifattura
