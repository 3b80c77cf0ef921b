#pragma once
// Which cell styles show a date: the only thing the import needs of the workbook's styles.

#include "platform/sheets/ZipArchive.h"

#include <string_view>
#include <vector>

namespace quercino::sheets {

class XlsxStyles {
public:
    XlsxStyles() = default;
    XlsxStyles(const ZipArchive& archivio, const ZipEntry& voce);

    bool StileData(std::size_t indice) const { return indice < date_.size() && date_[indice]; }

private:
    std::vector<bool> date_;
};

// True when a number format shows a date (built-in identifier or format code with day or year).
bool FormatoData(int identificativo, std::string_view codice);

} // namespace quercino::sheets
