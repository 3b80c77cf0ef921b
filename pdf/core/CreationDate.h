#pragma once
// The creation date of a document in the PDF date form, with the local offset.

#include <ctime>
#include <string>

namespace tavlo {

// "D:yyyymmddhhmmss" and the offset ("+01'00'", "-05'00'", or "Z" at zero). A docDate
// "dd/mm/yyyy" supplies the year, month and day (a shorter text only as many characters
// as it has).
std::string CreationDateText(std::time_t now, const std::string& docDate);

} // namespace tavlo
