#pragma once
// Reads the rows of one worksheet in order, as a stream: only the current row is in memory.
// Rows and cells missing from the file (sparse sheets) are simply not returned; cell
// positions come from their references.

#include "platform/sheets/SheetRow.h"
#include "platform/sheets/Workbook.h"
#include "platform/sheets/XlsxSharedStrings.h"
#include "platform/sheets/XlsxStyles.h"
#include "platform/sheets/XmlPullParser.h"
#include "platform/sheets/ZipEntryStream.h"

#include <memory>
#include <string>

namespace quercino::sheets {

class XlsxSheetReader final : public SheetReader {
public:
    // The sheet `origine` names (its part and file), streamed by `flusso`.
    XlsxSheetReader(std::unique_ptr<ZipEntryStream> flusso, const OrigineXml& origine, const XlsxSharedStrings& testi,
                    const XlsxStyles& stili, bool sistema1904, int colonne);

    bool Prossima(SheetRow& riga) override;

private:
    void InizioCella();
    QString ValoreCella() const;

    std::unique_ptr<ZipEntryStream> flusso_;
    OrigineXml origine_;
    XmlPullParser xml_;
    const XlsxSharedStrings& testi_;
    const XlsxStyles& stili_;
    bool sistema1904_;
    int colonne_;

    std::int32_t ultimaRiga_ = 0;
    int ultimaColonna_ = 0;
    // The cell being read.
    int colonna_ = 0;
    std::string tipo_;
    std::string appoggio_;
    std::size_t stile_ = 0;
    std::string valore_;
    std::string inLinea_;
    bool dentroV_ = false;
    bool dentroT_ = false;
    bool dentroIs_ = false;
    int dentroFonetica_ = 0;
};

// Column number of a cell reference («A1» is 1, «AH12» is 34); 0 when it has no letters.
int ColonnaDaRiferimento(std::string_view riferimento);

} // namespace quercino::sheets
