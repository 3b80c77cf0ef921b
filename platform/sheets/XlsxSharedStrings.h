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
    // Reads the part; throws SheetError when it is malformed or unreasonably large.
    XlsxSharedStrings(const ZipArchive& archivio, const ZipEntry& voce);

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

// Undoes the _xHHHH_ escapes the workbook format uses for control characters.
QString DecodificaEscapeOoxml(const std::string& utf8);

} // namespace quercino::sheets
