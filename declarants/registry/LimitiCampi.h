#pragma once
// How many characters each text field of the registry takes: what the Agency's schema
// accepts where the field goes into a DatiFattura file, and never more than its column of
// COPE holds. The progressive takes five digits, the numbers a file can carry.

#include <QString>

namespace quercino {

// The limit of a COPE text column (names matched without regard to case); 0 for a column
// that is not a text field.
int LimiteCampo(const QString& colonna);

} // namespace quercino
