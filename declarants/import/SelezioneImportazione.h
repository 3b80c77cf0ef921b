#pragma once
// SelIMPORTA: the choice of the input files and their import one after the other, in the
// order the open dialog gives them. All the files of one selection share one log, which
// goes to the folder of the output files (LogImportazione.h).

#include "app/core/DialoghiFile.h"
#include "declarants/import/Importazione.h"

#include <vector>

namespace quercino::importazione {

// The open dialog's title and filters for a kind of input.
RichiestaFile RichiestaApertura(TipoFile tipo);

// Shows the open dialog and imports every file chosen; an empty separator for a CSV file
// is refused before anything is asked. Returns the outcome of each file.
std::vector<EsitoImportazione> SelIMPORTA(TipoFile tipo, const QString& separatore, SorgenteDichiarante& sorgente,
                                          const Avanzamento& avanzamento = {});

} // namespace quercino::importazione
