#pragma once
// The declarants in table COPE: read one, store one (insert or update by its code),
// delete one, list them for the registry's grid, store the progressive. Every value is
// bound; database failures throw DbError.

#include "declarants/registry/DatiSoggetto.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace quercino {

class Database;

// One line of the registry's grid.
struct RigaElenco {
    QString OCOD;
    QString OCF;
    QString ODES;
};

// The row of `codice`, or nothing. Nulls read as empty text, check boxes as 0/1.
std::optional<DatiSoggetto> LeggiSoggetto(Database& db, const QString& codice);

// Stores the record under its code OCOD: a new row when there is none, otherwise the
// row is rewritten. ODES is written from the names (DescrizioneGriglia), whatever the
// record holds. The stored progressive is never lowered (a later file would repeat a
// number already used): with `conProgressivo` OPROG becomes the larger of the stored one
// and the record's, otherwise the stored one stays (another copy of the program may have
// raised it since the record was read); read and written in one transaction. Returns OPROG
// as stored afterwards.
QString ScriviSoggetto(Database& db, const DatiSoggetto& dati, bool conProgressivo = true);

// Stores a record as a new row under its code OCOD. When the code already belongs to a
// stored declarant (typed by the user, or stored meanwhile by another copy of the
// program), nothing is written and that declarant is returned.
std::optional<DatiSoggetto> InserisciSoggetto(Database& db, const DatiSoggetto& dati);

// Deletes the row of `codice` (none is not an error).
void EliminaSoggetto(Database& db, const QString& codice);

// Every declarant, ordered by company name (then by code, so the order is the same on
// every database).
std::vector<RigaElenco> ElencoSoggetti(Database& db);

// Writes OPROG of `codice`; false when there is no such row.
bool ScriviProgressivo(Database& db, const QString& codice, const QString& progressivo);

// Reads OPROG of `codice` and writes what `cambia` makes of it (nothing: left as it is), in
// one transaction that keeps every other connection from changing it in between. Returns
// the value read, nothing when there is no such row. While another copy of the program holds
// the row (a restore, say) the transaction waits and runs again: `cambia` may be called more
// than once, and only computes.
std::optional<QString> CambiaProgressivo(Database& db, const QString& codice,
                                         const std::function<std::optional<QString>(const QString& letto)>& cambia);

} // namespace quercino
