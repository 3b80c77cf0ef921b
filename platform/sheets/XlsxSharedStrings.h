#pragma once
// The workbook's table of shared strings, read once (the sheet's cells refer to it by index).
// The texts are kept as they stand in the file, one after the other in a single buffer with
// the end of each: a table of hundreds of thousands of short texts takes little more than
// its characters, and a cell's text is made when the cell is read.

#include "platform/sheets/ZipArchive.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quercino::sheets {

class XlsxSharedStrings {
public:
    XlsxSharedStrings() = default;
    // What the table may take in memory (its bytes and four for each entry): far beyond any
    // invoice workbook, yet a crafted file of millions of texts cannot exhaust memory.
    static constexpr std::size_t MemoriaMassima = std::size_t{1} << 28;

    // Reads the part; throws SheetError when it is malformed or would take more memory than
    // `memoriaMassima`.
    XlsxSharedStrings(const ZipArchive& archivio, const ZipEntry& voce, std::size_t memoriaMassima = MemoriaMassima);

    // The cell text of entry `indice` (from 0); none past the end of the table.
    std::optional<QString> Testo(std::size_t indice) const;
    std::size_t Numero() const { return fini_.size(); }

private:
    std::string testi_;                 // UTF-8, entities resolved, runs joined
    std::vector<std::uint32_t> fini_;   // end of each entry in testi_
};

// The most a cell holds in the spreadsheet programs that write these files.
inline constexpr qsizetype MassimoCaratteriCella = 32767;

// A cell's text: the _xHHHH_ escapes the format uses for control characters undone, cut
// at MassimoCaratteriCella characters.
QString TestoCella(std::string_view utf8);

} // namespace quercino::sheets
