#pragma once

#include <QString>

namespace quercino {

class Database;

// The code for a new declarant: the highest all-digit OCOD of COPE, as a number, plus 1,
// zero-filled to two digits ("01" for the first, "100" after "99"). Codes that are not
// all digits, and codes of eleven digits or more (a tax code used as the code), are left
// out. Throws DbError when the table cannot be read.
QString NuovoCodiceOpe(Database& db);
// On the run's connection `Cnn`.
QString NuovoCodiceOpe();

} // namespace quercino
