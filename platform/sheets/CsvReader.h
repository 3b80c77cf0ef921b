#pragma once
// Reads a CSV file record by record, as a stream. Fields follow the usual quoting rules:
// a field in quotation marks may hold the separator, line breaks and doubled quotation
// marks, and loses its enclosing marks; an unquoted field is taken as it stands. Lines may
// end in CR LF, LF or CR. The bytes are read as UTF-8 when they are valid UTF-8 (a leading
// byte-order mark is dropped), otherwise as Windows-1252.

#include "platform/sheets/SheetRow.h"

#include <QString>
#include <QStringDecoder>

#include <fstream>
#include <string>
#include <vector>

namespace quercino::sheets {

class CsvReader {
public:
    // Throws SheetError when the file cannot be opened or read.
    CsvReader(const QString& percorso, const QString& separatore);

    // The next record (Numero counts records from 1, as a spreadsheet numbers its rows);
    // false at the end of the file. Throws SheetError on a quoted field left open.
    bool Prossima(SheetRow& riga);

    bool Utf8() const { return utf8_; }

private:
    bool Riempi();
    void ChiudiCampo(SheetRow& riga);

    QString percorso_;
    QString separatore_;
    std::ifstream file_;
    bool utf8_ = false;
    QStringDecoder decoder_;
    QString testo_;
    qsizetype pos_ = 0;
    bool fineFile_ = false;
    std::int32_t record_ = 0;

    // Parsing state that spans chunks.
    QString campo_;
    bool tuttiVirgolette_ = false;   // the field began with a quotation mark
    bool dentroVirgolette_ = false;
    bool virgolettaInSospeso_ = false;
    bool crInSospeso_ = false;
    qsizetype lunghezzaRecord_ = 0;
};

} // namespace quercino::sheets
