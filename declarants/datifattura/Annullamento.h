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

// `CreaAnnullamento`: asks for the path (always, proposing the usual file name), writes the
// file and raises the progressive once. Returns the path written, or the empty text when the
// user cancelled (nothing written, progressive unchanged). Throws ErroreDatiFattura when the
// identifier or the header data would make a file the Agency refuses, or the file cannot be
// written (nothing is written and the progressive is unchanged then), and when the file is
// written but the progressive cannot be raised (the message names the file).
QString CreaAnnullamento(const DatiDichiarante& dichiarante, const QString& idFile,
                         RichiesteScrittura& richieste);

} // namespace quercino::datifattura
