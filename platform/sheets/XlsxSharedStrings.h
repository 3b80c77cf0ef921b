#pragma once
// The workbook's table of shared strings, read once (the sheet's cells refer to it by index).

#include "platform/sheets/ZipArchive.h"

#include <QString>

#include <optional>
#include <vector>

namespace quercino::sheets {

class XlsxSharedStrings {
public:
    XlsxSharedStrings() = default;
    // What the table may take in memory (texts in UTF-16 and one entry each): far beyond any
    // invoice workbook, yet a crafted file of millions of empty strings cannot exhaust memory.
    static constexpr std::size_t MemoriaMassima = std::size_t{1} << 28;

    // Reads the part; throws SheetError when it is malformed or would take more memory than
    // `memoriaMassima`.
    XlsxSharedStrings(const ZipArchive& archivio, const ZipEntry& voce, std::size_t memoriaMassima = MemoriaMassima);

    std::optional<QString> Testo(std::size_t indice) const
    {
        if (indice >= testi_.size())
            return std::nullopt;
        return testi_[indice];
    }
    std::size_t Numero() const { return testi_.size(); }

private:
    std::vector<QString> testi_;
};

// The most a cell holds in the spreadsheet programs that write these files.
inline constexpr qsizetype MassimoCaratteriCella = 32767;

// A cell's text: the _xHHHH_ escapes the format uses for control characters undone, cut
// at MassimoCaratteriCella characters.
QString TestoCella(const std::string& utf8);

} // namespace quercino::sheets
