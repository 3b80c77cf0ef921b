#pragma once
// The shared-strings part of an .xlsb file, read once: its texts one after the other in a
// single buffer with the end of each, grown as entries are read (the count the part
// announces is not trusted) within a memory limit.

#include "platform/sheets/ZipArchive.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quercino::sheets {

class XlsbSharedStrings {
public:
    XlsbSharedStrings() = default;
    // As for the .xlsx table: far beyond any invoice workbook.
    static constexpr std::size_t MemoriaMassima = std::size_t{1} << 28;

    // Reads the part through to its end; throws SheetError when it is damaged or would take
    // more memory than `memoriaMassima`.
    XlsbSharedStrings(const ZipArchive& archivio, const ZipEntry& voce, std::size_t memoriaMassima = MemoriaMassima);

    // The cell text of entry `indice` (from 0); none past the end of the table.
    std::optional<QString> Testo(std::size_t indice) const;
    std::size_t Numero() const { return fini_.size(); }

private:
    std::u16string testi_;
    std::vector<std::uint32_t> fini_;   // end of each entry in testi_
};

} // namespace quercino::sheets
