#pragma once
// Which cell styles of an .xlsb file show a date, from its styles part: the number formats
// (built-in or the workbook's own) of the cell formats, decided as for an .xlsx file.

#include "platform/sheets/ZipArchive.h"

#include <vector>

namespace quercino::sheets {

class XlsbStyles {
public:
    XlsbStyles() = default;
    // Throws SheetError when the part is damaged.
    XlsbStyles(const ZipArchive& archivio, const ZipEntry& voce);

    bool StileData(std::size_t indice) const { return indice < date_.size() && date_[indice]; }

private:
    std::vector<bool> date_;
};

} // namespace quercino::sheets
