// Reads a workbook with SheetJS and writes it again in one of SheetJS's formats, number
// formats kept and dates read as dates, so that date cells stay dates in every book type
// (without the dates, the OpenDocument writer puts a bare serial number and no date style):
//   node sheetjs_converti.js SHEETJS_DIR SOURCE BOOK_TYPE OUTPUT
// BOOK_TYPE is SheetJS's own: xlsx, xlsb, biff8, biff5, ods.
'use strict';
const [dir, source, bookType, output] = process.argv.slice(2);
if (!output) {
  console.error('usage: node sheetjs_converti.js SHEETJS_DIR SOURCE BOOK_TYPE OUTPUT');
  process.exit(2);
}
const XLSX = require(dir);
const workbook = XLSX.readFile(source, {cellNF: true, cellDates: true});
XLSX.writeFile(workbook, output, {bookType});
