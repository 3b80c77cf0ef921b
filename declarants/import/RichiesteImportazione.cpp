#include "declarants/import/RichiesteImportazione.h"

#include "app/core/DialoghiFile.h"
#include "app/core/Globals.h"

namespace quercino::importazione {

QString RichiesteImportazione::ChiediFileXML(const QString& nomeFile)
{
    SalvaConNome(nomeFile, QStringLiteral("XML"));
    return FileSalva;
}

bool RichiesteImportazione::ControlloDocumento(const QString& percorso)
{
    return quercino::ControlloDocumento(percorso);
}

} // namespace quercino::importazione
