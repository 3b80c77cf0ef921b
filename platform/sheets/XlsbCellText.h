#pragma once
// The values of the cells of Excel's binary files (.xlsb, and .xls, which store numbers,
// RK values and error codes alike) as the text of the same cells of an .xlsx file: a
// number goes through the shortest decimal text that gives it back exactly (what the XML
// form stores), then through the same rules as there.

#include <QString>

#include <cstdint>
#include <string>

namespace quercino::sheets {

// The shortest decimal text of a number that reads back as the same number («0.1», «1e+20»).
std::string DecimaleBreve(double valore);

// A number cell's text: a date when its style shows one, otherwise the number.
QString TestoValore(double valore, bool data, bool sistema1904);

// The number an RK value holds (an integer or the high 30 bits of a double, possibly in
// hundredths).
double ValoreRk(std::uint32_t rk);

// The text of an error code («#N/A», «#DIV/0!»): .xls and .xlsb files share the codes.
QString TestoErrore(std::uint8_t codice);

} // namespace quercino::sheets
