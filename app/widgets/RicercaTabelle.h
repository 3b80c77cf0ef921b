#pragma once
// What the code-table lookup lists: the rows of one kind of CTAB, optionally narrowed by a
// search text found anywhere in the code or the description (without regard to case), in
// the order the caller asked for. The search text is always a bound value, so quotes and
// wildcards in it are plain characters.

#include <QString>

#include <vector>

namespace quercino {

class Database;

struct VoceTabella {
    QString codice;
    QString descrizione;
};

// The window's title for a kind of list.
QString TitoloRicerca(const QString& tipo);

// The sort column actually used: "COD" or "DES". An empty request becomes "DES" (and so
// does anything else, which must never reach the statement).
QString OrdineValido(const QString& ordine);

// Rows of kind `tipo`, filtered by `cerca` when it is not empty, sorted by `ordine` (as
// OrdineValido reads it), ties broken by the other column. Throws DbError.
std::vector<VoceTabella> CaricaVoci(Database& db, const QString& tipo, const QString& ordine,
                                    const QString& cerca);

} // namespace quercino
