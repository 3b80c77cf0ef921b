#pragma once
// An .xlsx or .xlsm workbook opened for reading its worksheets in workbook order (the order
// of the tabs, whatever the names of the parts inside the file). Other kinds of file
// (.xls, .xlsb, .ods, anything else) are refused with an Italian message.

#include "platform/sheets/XlsxSharedStrings.h"
#include "platform/sheets/XlsxSheetReader.h"
#include "platform/sheets/XlsxStyles.h"
#include "platform/sheets/ZipArchive.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace quercino::sheets {

class XlsxWorkbook {
public:
    // Throws SheetError with a message for the user when the file cannot be read.
    explicit XlsxWorkbook(const QString& percorso);

    int NumeroFogli() const { return static_cast<int>(fogli_.size()); }
    QString NomeFoglio(int indice) const;   // indice from 1
    bool Sistema1904() const { return sistema1904_; }
    // A reader of worksheet indice (from 1) giving cells 1 to colonne.
    std::unique_ptr<XlsxSheetReader> ApriFoglio(int indice, int colonne) const;

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

// Resolves a relationship target against the folder of the part that holds it.
std::string RisolviParte(const std::string& cartella, const std::string& destinazione);

} // namespace quercino::sheets
