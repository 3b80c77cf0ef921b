#pragma once
// The message and dialog doubles driven by a scenario (support/scenario.h). The verbs
// "risposte Si No Annulla Ok" (message boxes), "task 1001 1003" (task dialogs),
// "salva NOME..." (save dialogs, names in `cartella`, "-" a Cancel) and "scegli NOME..."
// (one open dialog's files) script the answers; every box, task dialog and file dialog is
// printed by the step that shows it, in order:
//   | [Richiesta conferma] (domanda) Invio=No   title, icon, and the default answer when not
//                                             the first button
//   | Confermi l'Eliminazione ...              the text
//   | [File XML creato] OK Chiudi | ...        a task dialog's title and buttons
//   | (dialogo "Indica dove salvare il file XML" IT01234567890_DF_00001.xml)

#include "support/scenario.h"
#include "support/servizi_simulati.h"

namespace quercino::test {

class ServiziInScenario final : public ServizioMessaggi, public ServizioDialoghi {
public:
    ServiziInScenario(Scenario& scenario, QString cartella = {});
    ~ServiziInScenario() override;

    int Mostra(const Messaggio& messaggio) override;
    int MostraTask(const DialogoTask& dialogo) override;
    QString ChiediSalvataggio(const RichiestaFile& richiesta) override;
    QStringList ChiediApertura(const RichiestaFile& richiesta, bool multipla) override;

    // The doubles that answer and keep what was shown.
    MessaggiSimulati messaggi;
    DialoghiSimulati dialoghi;
    QString cartella;

private:
    void Dialogo(const RichiestaFile& richiesta);

    Scenario& scenario_;
};

// "Si", "No", "Annulla", "Ok" and the other answers by name, and back.
int RispostaDaNome(const QString& nome);
QString NomeRisposta(int risposta);

} // namespace quercino::test
