#pragma once
// An .xlsb workbook (Excel's binary format) opened for reading its worksheets in workbook
// order: the package, its relationships and the order of the sheets are those of an .xlsx
// file; its parts are records instead of XML.

#include "platform/sheets/Workbook.h"
#include "platform/sheets/XlsbSharedStrings.h"
#include "platform/sheets/XlsbStyles.h"
#include "platform/sheets/ZipArchive.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace quercino::sheets {

class XlsbWorkbook final : public Workbook {
public:
    // The workbook part `parteCartella` of an archive already opened from percorso.
    // Throws SheetError with a message for the user when the file cannot be read.
    XlsbWorkbook(const QString& percorso, std::unique_ptr<ZipArchive> archivio, const std::string& parteCartella);

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
    XlsbSharedStrings testi_;
    XlsbStyles stili_;
    bool sistema1904_ = false;
};

} // namespace quercino::sheets
