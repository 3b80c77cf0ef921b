#include "app/backup/RegistraFSalva.h"

#include "app/backup/FSalva.h"
#include "app/shell/Collegamenti.h"

#include <QPointer>

namespace quercino {

void RegistraFSalva()
{
    RegistraSalvataggio([](QWidget* proprietario) {
        static QPointer<FSalva> finestra;
        if (!finestra)
            finestra = new FSalva(proprietario);
        finestra->Apri();
    });
}

} // namespace quercino
