#pragma once
// Where the import takes the declarant from: the registry window's fields as they stand, and
// the progressive of each file, taken from the declarant's stored record when the file is
// created. The registry window implements it; tests answer it.

#include "declarants/datifattura/DatiDichiarante.h"

#include <QString>

namespace quercino::importazione {

class SorgenteDichiarante {
public:
    virtual ~SorgenteDichiarante() = default;
    // The declarant's data at this moment.
    virtual datifattura::DatiDichiarante Dichiarante() = 0;
    // As RichiesteScrittura::PrendiProgressivo and RestituisciProgressivo: the number of a
    // new file, read and raised where it is stored in one step (ErroreDatiFattura when no
    // file can carry it, DbError when the database fails), and a number given back.
    virtual int PrendiProgressivo() = 0;
    virtual void RestituisciProgressivo(int numero) = 0;
};

} // namespace quercino::importazione
