// Quercino: the program's entry point. The windows of the other areas register with the
// main window here; everything else starts in AvviaProgramma.

#include "app/backup/RegistraFSalva.h"
#include "app/core/AutorePdf.h"
#include "app/core/Main.h"
#include "app/shell/Avvio.h"
#include "declarants/import/ImportazioneDaRegistro.h"
#include "declarants/registry/F1OP.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication applicazione(argc, argv);
    quercino::CollegaAutorePdf();
    quercino::RegistraF1OP();
    quercino::RegistraFSalva();
    quercino::RegistraFinestraImportazione();
    return quercino::AvviaProgramma(applicazione, &quercino::Main);
}
