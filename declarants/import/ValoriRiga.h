#pragma once
// Amounts and percentages of an invoice row, read exactly from their Italian texts.

#include <QString>

#include <cstdint>
#include <optional>

namespace quercino::importazione {

// An amount as "1.234,56", "1234,56", "1234.56" or "1234" in cents, rounded half away from
// zero to two decimals; nothing when the text is not a number. An empty text is 0.
std::optional<std::int64_t> LeggiCentesimi(const QString& testo);

} // namespace quercino::importazione
