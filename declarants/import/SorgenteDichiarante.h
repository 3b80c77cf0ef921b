#pragma once
// Where the import takes the declarant from: the registry window's fields as they stand
// (its progressive included), and the raise of the progressive after each file written.
// The registry window implements it; tests answer it.

#include "declarants/datifattura/DatiDichiarante.h"

#include <QString>

namespace quercino::importazione {

class SorgenteDichiarante {
public:
    virtual ~SorgenteDichiarante() = default;
    // The declarant's data at this moment (the progressive of the next file included).
    virtual datifattura::DatiDichiarante Dichiarante() = 0;
    // Raises the progressive by one in the window and in the database; an error text (and
    // nothing changed) when it cannot be raised, otherwise empty.
    virtual QString AggiornaProgressivo() = 0;
};

} // namespace quercino::importazione
