#pragma once
// A workbook of any kind the import reads, opened for its worksheets in tab order. Each
// kind of file has its own reader behind these two interfaces; ApriCartella picks it from
// the file's content, whatever its extension says.

#include "platform/sheets/SheetRow.h"

#include <QString>

#include <memory>

namespace quercino::sheets {

// The rows of one worksheet in order, as a stream. Rows and cells missing from the file are
// simply not returned; every cell gives the text the spreadsheet would show an Italian user
// (numbers with a comma for decimals, dates as dd/mm/yyyy, VERO and FALSO, a formula's
// cached value).
class SheetReader {
public:
    virtual ~SheetReader() = default;
    // The next row present in the sheet, with cells 1 to the column count; false at the end.
    // Throws SheetError on a damaged sheet.
    virtual bool Prossima(SheetRow& riga) = 0;
};

class Workbook {
public:
    virtual ~Workbook() = default;
    virtual int NumeroFogli() const = 0;
    virtual QString NomeFoglio(int indice) const = 0;   // indice from 1
    // A reader of worksheet indice (from 1) giving cells 1 to colonne. Throws SheetError.
    virtual std::unique_ptr<SheetReader> ApriFoglio(int indice, int colonne) const = 0;
};

// The workbook in the file, read by the reader its signature asks for. Throws SheetError
// with a message for the user when the file cannot be read.
std::unique_ptr<Workbook> ApriCartella(const QString& percorso);

} // namespace quercino::sheets
