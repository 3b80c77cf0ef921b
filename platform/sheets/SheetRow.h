#pragma once
// One row of a sheet or one record of a CSV file, as texts by column.

#include <QString>

#include <cstdint>
#include <vector>

namespace quercino::sheets {

struct SheetRow {
    std::int32_t Numero = 0;           // sheet row number, or record number in a CSV file
    std::vector<QString> Celle;        // index 0 is column 1

    // The text of column c (from 1); empty when the row has no such cell.
    QString Cella(int c) const
    {
        return c >= 1 && static_cast<std::size_t>(c) <= Celle.size() ? Celle[static_cast<std::size_t>(c) - 1] : QString();
    }
};

} // namespace quercino::sheets
