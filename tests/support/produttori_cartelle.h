#pragma once
// Workbooks written by other programs, for the readers' and the import's tests: LibreOffice
// (soffice), Gnumeric (ssconvert) and SheetJS (run by Node.js). A missing program or a failed
// conversion fails the calling test, with what the program said.

#include <QString>
#include <QStringList>

namespace produttori {

// The sources converted by LibreOffice into `formato` in `cartella`, one output each, named as
// its source with the new extension. `formato` is soffice's --convert-to argument: an
// extension, optionally with a filter after a colon ("xls", "xlsx:Calc MS Excel 2007 XML").
// LibreOffice runs with a profile of its own, so that no user's settings or running instance
// take part.
QStringList DaCalc(const QStringList& sorgenti, const QString& formato, const QString& cartella);
QString DaCalc(const QString& sorgente, const QString& formato, const QString& cartella);

// `sorgente` written again by Gnumeric's ssconvert as `uscita`, with one of its exporters
// ("Gnumeric_Excel:excel_biff8" Excel 97, "Gnumeric_Excel:excel_biff7" Excel 5.0/95,
// "Gnumeric_OpenCalc:odf" .ods, "Gnumeric_Excel:xlsx2" .xlsx).
QString DaGnumeric(const QString& sorgente, const QString& esportatore, const QString& uscita);

// `sorgente` read by SheetJS (npm package xlsx 0.18.5) and written again as `uscita` in one of
// its book types: "xlsx", "xlsb", "biff8" (Excel 97), "biff5" (Excel 5.0/95), "ods".
QString DaSheetJs(const QString& sorgente, const QString& formato, const QString& uscita);

} // namespace produttori
