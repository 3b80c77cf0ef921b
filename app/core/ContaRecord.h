#pragma once

#include <QString>

#include <cstdint>

namespace quercino {

// The number of rows of a table of the program's schema on `Cnn`, only those of the
// declarant when `codice` is not empty (column OCOD). Any failure (unknown table, no
// connection, query error) gives 0.
std::int32_t ContaRecord(const QString& tabella, const QString& codice);

} // namespace quercino
