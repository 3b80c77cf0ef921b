#pragma once

#include <QString>

namespace quercino {

// A connection text fit to be shown: the value of every PWD= or PASSWORD= attribute
// (names ignoring case, braced values included) becomes "****".
QString MascheraPassword(const QString& connessione);

} // namespace quercino
