#pragma once
// The checks that tell a damaged .xls workbook stream before any of its values is used, as
// the zip formats check their parts' CRC: every record where the format allows its type,
// of a length its type can have, its counts agreeing with its length and its texts ending
// where the record does; a worksheet from its BOF to the EOF that closes it, ending where
// the next part of the stream begins, its cells in the order of their rows.

#include "platform/sheets/XlsRecords.h"
#include "platform/sheets/XlsWorkbook.h"

#include <QString>

#include <cstdint>

namespace quercino::sheets {

// The current record of the workbook's globals, which follows one of type `precedente`:
// its type, length and the texts of its FONT and STYLE forms. Throws SheetError.
void VerificaGlobale(XlsRecords& r, int versione, std::uint16_t precedente);

// The worksheet read once through, one record in memory at a time. Throws SheetError with
// `danneggiato` at the first fault.
void VerificaFoglio(const XlsGlobali& g, const XlsGlobali::Foglio& foglio, const QString& danneggiato);

} // namespace quercino::sheets
