#pragma once
// How the value of an OpenDocument cell becomes the text the import reads: the same text
// the .xlsx reader gives for the same cell saved as .xlsx (XlsxCellText.h), so that a
// workbook imports alike whichever of the two formats it was saved in.

#include <QString>

#include <optional>
#include <string_view>

namespace quercino::sheets {

// A time value («PT10H30M15S», «-PT1H», «P1DT2H», fractions of seconds) as the number of
// days it stands for, as the .xlsx format stores it (10:30 is «0,4375»); empty when it is
// not a duration of days, hours, minutes and seconds.
QString TestoDurata(std::string_view durata);

// The truth value of a boolean cell («true», «false», or a number: any but 0 is true, as
// spreadsheet programs show it); none when unreadable.
std::optional<bool> ValoreBooleano(std::string_view valore);

// The truth value a cell shows as text («TRUE», «FALSE», or the Italian «VERO», «FALSO»,
// in any case); none for any other text.
std::optional<bool> TestoBooleano(std::string_view testo);

// An error value as a cell shows it («#DIV/0!», or the Italian «#NOME?»), as the .xlsx
// reader gives it (the English form); none for any other text.
std::optional<QString> ErroreMostrato(std::string_view testo);

// The value of a formula that is only TRUE() or FALSE() («of:=TRUE()»): the form in which
// a spreadsheet program keeps the boolean cells of a workbook it opened, typed as numbers.
std::optional<bool> FormulaBooleana(std::string_view formula);

// A text of the file as a cell's text: cut at the characters a cell holds.
QString TestoCellaOds(std::string_view utf8);

} // namespace quercino::sheets
