#pragma once
// Reads the rows of one worksheet of an .xlsb file in order, as a stream of records: only
// the current row is in memory. A row is returned when the next one begins (or the sheet's
// data end), so each call reads the records of one row and the header of the next.

#include "platform/sheets/SheetRow.h"
#include "platform/sheets/Workbook.h"
#include "platform/sheets/XlsbRecords.h"
#include "platform/sheets/XlsbSharedStrings.h"
#include "platform/sheets/XlsbStyles.h"

namespace quercino::sheets {

class XlsbSheetReader final : public SheetReader {
public:
    XlsbSheetReader(std::unique_ptr<ZipEntryStream> flusso, std::string nomeParte, const XlsbSharedStrings& testi,
                    const XlsbStyles& stili, bool sistema1904, int colonne);

    bool Prossima(SheetRow& riga) override;

private:
    // The text of the cell record just read, for a cell of column `colonna` (from 1).
    QString ValoreCella(CampiRecord& campi, std::uint32_t stile);
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
};

} // namespace quercino::sheets
