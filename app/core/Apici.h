#pragma once
// Quoting of texts for SQL literals and command lines. Statements of this program bind
// their values as parameters; these remain for the texts that are literally shown or
// written (command lines, log lines) and for callers composing text that is not SQL.

#include <QString>

namespace quercino {

// The text between double quotes (code 34).
QString Virgolette(const QString& testo);

// The text between single quotes; quotes inside are not doubled.
QString Apici(const QString& testo);

// "'%" & text & "%'": a LIKE pattern for the text anywhere in a field.
QString ApiciLike(const QString& testo);

// Every single quote doubled.
QString RaddoppiaApici(const QString& testo);

} // namespace quercino
