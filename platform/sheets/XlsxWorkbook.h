#pragma once
// An .xlsx or .xlsm workbook opened for reading its worksheets in workbook order (the order
// of the tabs, whatever the names of the parts inside the file).

#include "platform/sheets/XlsxSharedStrings.h"
#include "platform/sheets/XlsxSheetReader.h"
#include "platform/sheets/XlsxStyles.h"
#include "platform/sheets/Workbook.h"
#include "platform/sheets/ZipArchive.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace quercino::sheets {

class XlsxWorkbook final : public Workbook {
public:
    // The workbook of an archive already opened from percorso (ApriCartella opens it).
    // Throws SheetError with a message for the user when the file cannot be read.
    XlsxWorkbook(const QString& percorso, std::unique_ptr<ZipArchive> archivio);

    int NumeroFogli() const override { return static_cast<int>(fogli_.size()); }
    QString NomeFoglio(int indice) const override;
    bool Sistema1904() const { return sistema1904_; }
    std::unique_ptr<SheetReader> ApriFoglio(int indice, int colonne) const override;

private:
    struct Foglio {
        QString Nome;
        std::string Parte;
    };

    QString percorso_;
    std::unique_ptr<ZipArchive> archivio_;
    std::vector<Foglio> fogli_;
    XlsxSharedStrings testi_;
    XlsxStyles stili_;
    bool sistema1904_ = false;
};

} // namespace quercino::sheets
