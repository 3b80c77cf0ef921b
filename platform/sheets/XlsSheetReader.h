#pragma once
// Reads the rows of one worksheet of an .xls workbook in order, as a stream: only the
// current row is in memory, whatever size the sheet says it has. A row is returned when the
// cells of the next one begin; cells give the same texts as those of an .xlsx workbook.

#include "platform/sheets/CompoundFile.h"
#include "platform/sheets/SheetRow.h"
#include "platform/sheets/Workbook.h"
#include "platform/sheets/XlsRecords.h"
#include "platform/sheets/XlsWorkbook.h"

#include <memory>

namespace quercino::sheets {

class XlsSheetReader final : public SheetReader {
public:
    // Worksheet `indice` (from 1) of the workbook; `danneggiato` is the message of a sheet
    // that does not begin where the workbook says or is damaged.
    XlsSheetReader(std::shared_ptr<const XlsGlobali> globali, int indice, int colonne, const QString& danneggiato);

    bool Prossima(SheetRow& riga) override;

private:
    // The cells of the current record put in `riga`; false when they belong to another row.
    bool Cella(SheetRow& riga, bool& iniziata);
    void Metti(SheetRow& riga, int colonna, QString testo) const;
    // The text of a LABEL or STRING record, of either version.
    QString Testo(XlsContinuo& dati) const;

    std::shared_ptr<const XlsGlobali> g_;
    CompoundStreamReader flusso_;
    XlsRecords record_;
    int colonne_;
    int annidati_ = 0;          // charts and other substreams inside the sheet
    bool fine_ = false;
    int colonnaStringa_ = -1;   // a formula whose text the next STRING record gives
};

} // namespace quercino::sheets
