#pragma once
// How the value of a workbook cell becomes the text the import reads, as the spreadsheet
// would show it to an Italian user: numbers with up to 15 significant digits, a comma for
// decimals and never an exponent (VAT numbers and postcodes stored as numbers keep every
// digit); date cells as dd/mm/yyyy.

#include <QString>

#include <string_view>

namespace quercino::sheets {

// A number as stored in the sheet's XML («12345678901», «1.5E-2», «-0.30000000000000004»).
// Returns an empty text when the value is not a number.
QString TestoNumero(std::string_view valore);

// A date serial (days, fraction ignored) of the 1900 or 1904 date system as dd/mm/yyyy;
// empty when it is not a number or lies outside years 1 to 9999.
QString TestoData(std::string_view valore, bool sistema1904);

// An ISO 8601 date («2017-12-31» or «2017-12-31T10:00:00») as dd/mm/yyyy; empty when unreadable.
QString TestoDataIso(std::string_view valore);

} // namespace quercino::sheets
