#pragma once
// The save and open dialogs on screen (QFileDialog).

#include "app/core/DialoghiFile.h"

namespace quercino {

class DialoghiQt final : public ServizioDialoghi {
public:
    QString ChiediSalvataggio(const RichiestaFile& richiesta) override;
    QStringList ChiediApertura(const RichiestaFile& richiesta, bool multipla) override;
};

// Installs the on-screen service for the rest of the run.
void UsaDialoghiQt();

} // namespace quercino
