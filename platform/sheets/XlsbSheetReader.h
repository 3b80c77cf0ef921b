#pragma once
// Reads the rows of one worksheet of an .xlsb file in order, as a stream of records: only
// the current row is in memory. A row is returned when the next one begins (or the sheet's
// data end), so each call reads the records of one row and the header of the next. In the
// sheet's data every record is one the format places there: any other is damage, but for
// the blocks of future records and of alternate content, passed over whole.

#include "platform/sheets/SheetRow.h"
#include "platform/sheets/Workbook.h"
#include "platform/sheets/XlsbRecords.h"
#include "platform/sheets/XlsbSharedStrings.h"
#include "platform/sheets/XlsbStyles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quercino::sheets {

class XlsbSheetReader final : public SheetReader {
public:
    // The sheet in the part `nomeParte` of the file `file`, streamed by `flusso`.
    XlsbSheetReader(std::unique_ptr<ZipEntryStream> flusso, std::string nomeParte, std::string file,
                    const XlsbSharedStrings& testi, const XlsbStyles& stili, bool sistema1904, int colonne);

    bool Prossima(SheetRow& riga) override;

private:
    // The text of the cell record just read, of type `tipo` (the long form's), its fields
    // after the cell's style.
    QString ValoreCella(std::uint32_t tipo, CampiRecord& campi, std::uint32_t stile);
    // Whether a record of type `tipo` opens or closes a block passed over (false otherwise).
    bool Blocco(std::uint32_t tipo);
    void NuovaRiga(SheetRow& riga, std::int32_t numero);

    XlsbRecords record_;
    const XlsbSharedStrings& testi_;
    const XlsbStyles& stili_;
    bool sistema1904_;
    int colonne_;

    bool iniziato_ = false;      // the sheet's first record was read
    bool dentroDati_ = false;
    bool finito_ = false;
    std::int32_t ultimaRiga_ = 0;
    std::int32_t prossima_ = 0;  // the row whose header was read with the last one returned
    // The column (from 0) of the last cell of the row, -1 before its first: a cell in the
    // short form, which has no column, stands in the one after it.
    std::int64_t ultimaColonna_ = -1;
    std::vector<std::uint32_t> blocchi_;   // the blocks open, innermost last (their first record)
};

} // namespace quercino::sheets
