#pragma once
// The message boxes and the task dialog on screen (QMessageBox).

#include "app/core/Messaggi.h"

class QMessageBox;

namespace quercino {

class MessaggiQt final : public ServizioMessaggi {
public:
    int Mostra(const Messaggio& messaggio) override;
    int MostraTask(const DialogoTask& dialogo) override;
};

// Installs the on-screen service for the rest of the run.
void UsaMessaggiQt();

} // namespace quercino
