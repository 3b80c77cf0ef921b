#pragma once
// The registry's code lookups: the signer's role ("CARICA") and the nations ("PAESE")
// are chosen in the code-table lookup window, which takes its request and gives its
// answer through the run's globals, or typed by hand into their boxes, and then looked up
// in the same table, so that the description beside a code always says what it means.

#include <QString>

#include <functional>
#include <optional>

namespace quercino {

class Database;

struct CodiceScelta {
    QString codice;
    QString descrizione;
};

// Shows the lookup window modally over the registry and returns when it closes.
using MostraRicerca = std::function<void()>;

// Role codes: listed by code, and every later lookup of the run too.
std::optional<CodiceScelta> RicercaCarica(const MostraRicerca& mostra);
// Nations: in the order of the last request (by description until a role lookup ran).
std::optional<CodiceScelta> RicercaPaese(const MostraRicerca& mostra);

// A box of the registry that takes a code of the code table.
struct CasellaCodice {
    const char* colonna;        // COPE column of the code, e.g. "OSPAESE"
    const char* descrizione;    // COPE column of its description, e.g. "OSPAESED"
    const char* tipo;           // CTAB.TIPO it is looked up in
    const char* sconosciuto;    // the message of a code the table does not hold
};

// The code box of `colonna` (OSPAESE, OSOPAESE, ODICCARICA), nullptr for any other column.
const CasellaCodice* CasellaDelCodice(const QString& colonna);

// `codice` as the table of kind `tipo` holds it, with its description; nothing when the
// table has no such code. A role is a number: "07" is role 7. Throws DbError.
std::optional<CodiceScelta> CercaCodice(Database& db, const QString& tipo, const QString& codice);

} // namespace quercino
