#pragma once
// An Excel 97-2003 workbook (BIFF8, stream "Workbook") or an Excel 5.0/95 one (BIFF5,
// stream "Book"), in a compound file, opened for reading its worksheets in tab order. The
// workbook's globals (sheets, date system, code page, which cell formats show dates, the
// shared strings) are read once; each sheet is then streamed from its own position.

#include "platform/sheets/CompoundFile.h"
#include "platform/sheets/SheetError.h"
#include "platform/sheets/Workbook.h"
#include "platform/sheets/XlsCodePage.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quercino::sheets {

// What the sheets of one workbook share; the sheet readers keep it alive.
struct XlsGlobali {
    QString Percorso;
    std::unique_ptr<CompoundFile> File;
    CompoundStream Flusso;
    int Versione = 8;                 // 5 (Excel 5.0/95) or 8 (Excel 97-2003)
    bool Sistema1904 = false;
    XlsCodePage CodePage;
    std::vector<bool> StiliData;      // by XF index: the cell's format shows a date

    // The worksheets in tab order (not the chart, macro and dialog sheets).
    struct Foglio {
        QString Nome;
        std::uint32_t Posizione = 0;  // of its BOF record in the stream
        std::uint64_t Fine = 0;       // where the next part of the stream begins, or its end
    };
    std::vector<Foglio> Fogli;

    // The shared strings, one after the other, with the end of each.
    std::u16string Testi;
    std::vector<std::uint32_t> FiniTesti;
    std::optional<QString> Testo(std::uint32_t indice) const;
    bool StileData(std::uint16_t xf) const { return xf < StiliData.size() && StiliData[xf]; }
};

// Whether a file beginning with these bytes is a workbook of Excel 2.1 to 4.0 (a BOF record
// of its own versions, outside a compound file), and the message for such a file.
bool InizioExcelAnteriore(const QByteArray& inizio);
SheetError ExcelAnteriore(const QString& percorso);

class XlsWorkbook final : public Workbook {
public:
    // Throws SheetError with a message for the user when the file cannot be read, is
    // encrypted or is of an older version.
    explicit XlsWorkbook(const QString& percorso, std::size_t memoriaTesti = MemoriaTesti);

    // What the shared strings may take in memory, as for an .xlsx workbook's table.
    static const std::size_t MemoriaTesti;

    int NumeroFogli() const override { return static_cast<int>(globali_->Fogli.size()); }
    QString NomeFoglio(int indice) const override;
    std::unique_ptr<SheetReader> ApriFoglio(int indice, int colonne) const override;

    int Versione() const { return globali_->Versione; }
    bool Sistema1904() const { return globali_->Sistema1904; }

private:
    std::shared_ptr<XlsGlobali> globali_;
};

} // namespace quercino::sheets
