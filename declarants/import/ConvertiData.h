#pragma once
// The dates of an invoice row (document date, registration date) as the sheets and CSV
// files write them: dd/mm/yyyy (a workbook's date cells arrive in this form), eight digits
// year first or day first, or year-first with dashes.

#include <QDate>
#include <QString>

namespace quercino::importazione {

struct DataLetta {
    enum class Esito { Vuota, NonValida, Valida };
    Esito esito = Esito::Vuota;
    QDate data;
};

// - blank: Vuota;
// - "yyyy-mm-dd": its dashes are dropped;
// - eight digits: yyyymmdd when that is a real date of the years 1970 to 2099, otherwise
//   ddmmyyyy;
// - d/m/yyyy (one or two digits for day and month; a two-digit year is 1930 to 2029);
//   a time after a blank is ignored;
// - anything else, a date that does not exist, or a date before 1970: NonValida (the Agency
//   takes no date before 1 January 1970).
DataLetta ConvertiData(const QString& testo);

} // namespace quercino::importazione
