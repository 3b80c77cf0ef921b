#pragma once
// The one failure of the sheet readers: a file that cannot be read as the kind it claims
// to be. The message is Italian and ready to show to the user.

#include <QString>

#include <stdexcept>
#include <string>

namespace quercino::sheets {

class SheetError : public std::runtime_error {
public:
    explicit SheetError(const QString& messaggio)
        : std::runtime_error(messaggio.toStdString()), Messaggio(messaggio) {}

    QString Messaggio;
};

// The file is none of the kinds of workbook the import reads.
inline SheetError NonCartellaLeggibile(const QString& percorso)
{
    return SheetError(QStringLiteral("Il file %1 non è una cartella di lavoro leggibile (.xlsx, .xlsm, .xlsb, .xls o .ods).")
                          .arg(percorso));
}

// A fault found in one part of a file (a sheet, the shared strings, content.xml): the
// message names both, then says what is wrong ("è troncata.").
inline SheetError ErroreParte(const std::string& parte, const std::string& file, const QString& difetto)
{
    return SheetError(QStringLiteral("La parte %1 del file %2 %3").arg(QString::fromStdString(parte), QString::fromStdString(file), difetto));
}

} // namespace quercino::sheets
