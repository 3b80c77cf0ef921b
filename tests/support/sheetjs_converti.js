// Reads a workbook with SheetJS and writes it again in one of SheetJS's formats, number
// formats kept (so that date cells stay dates):
//   node sheetjs_converti.js SHEETJS_DIR SOURCE BOOK_TYPE OUTPUT
// BOOK_TYPE is SheetJS's own: xlsx, xlsb, biff8, biff5, ods.
'use strict';
const [dir, source, bookType, output] = process.argv.slice(2);
if (!output) {
  console.error('usage: node sheetjs_converti.js SHEETJS_DIR SOURCE BOOK_TYPE OUTPUT');
  process.exit(2);
}
const XLSX = require(dir);
const workbook = XLSX.readFile(source, {cellNF: true});
XLSX.writeFile(workbook, output, {bookType});
