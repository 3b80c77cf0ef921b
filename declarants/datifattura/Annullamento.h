#pragma once
// The annulment file: a DatiFattura file whose body is ANN with the identifier that the
// Agency gave the file to cancel. The registry window asks for the identifier and the
// confirmation and shows the closing message; this writes the file.

#include "declarants/datifattura/DatiDichiarante.h"
#include "declarants/datifattura/RichiesteScrittura.h"

#include <QString>

#include <string>

namespace quercino::datifattura {

// The whole file's bytes for `idFile` with the declarant's header.
std::string TestoAnnullamento(const DatiDichiarante& dichiarante, const QString& idFile);

// `CreaAnnullamento`: takes the progressive (the declarant's OPROG is not used), asks for the
// path (always, proposing the usual file name) and writes the file. Returns the path written,
// or the empty text when the user cancelled (nothing written, the number given back). Throws
// ErroreDatiFattura when the identifier or the header data would make a file the Agency
// refuses, no progressive can be taken, or the file cannot be written (nothing written, the
// number given back); DbError when the database fails.
QString CreaAnnullamento(const DatiDichiarante& dichiarante, const QString& idFile,
                         RichiesteScrittura& richieste);

} // namespace quercino::datifattura
