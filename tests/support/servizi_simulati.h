#pragma once
// Test doubles of the message and dialog services: they record what the program would show
// and answer from a script, so tests run without a screen.
//
//   quercino::test::MessaggiSimulati messaggi;          // installed until destroyed
//   messaggi.risposte = {quercino::RispostaSi};           // answers, in order
//   ... code under test ...
//   ASSERT_EQ(messaggi.mostrati.size(), 1u);
//   EXPECT_EQ(messaggi.mostrati[0].titolo, "Controllo Documento");

#include "support/stampa_qt.h"
#include "app/core/DialoghiFile.h"
#include "app/core/Messaggi.h"

#include <deque>
#include <functional>
#include <vector>

namespace quercino::test {

class MessaggiSimulati final : public ServizioMessaggi {
public:
    MessaggiSimulati();
    ~MessaggiSimulati() override;

    int Mostra(const Messaggio& messaggio) override;
    int MostraTask(const DialogoTask& dialogo) override;

    std::vector<Messaggio> mostrati;       // message boxes, in order
    std::vector<DialogoTask> task;         // task dialogs, in order
    std::deque<int> risposte;              // answers to message boxes (then: first button)
    std::deque<int> risposteTask;          // answers to task dialogs (then: 1001)
    // Called as each box shows (to look at the windows meanwhile).
    std::function<void(const Messaggio&)> mentreMostra;
    // Shows a real modal dialog for each box, closed at once, so the focus leaves the
    // window and comes back as with the program's own boxes (at most 20: a loop ends).
    bool finestraVera = false;
};

class DialoghiSimulati final : public ServizioDialoghi {
public:
    DialoghiSimulati();
    ~DialoghiSimulati() override;

    QString ChiediSalvataggio(const RichiestaFile& richiesta) override;
    QStringList ChiediApertura(const RichiestaFile& richiesta, bool multipla) override;

    std::vector<RichiestaFile> richieste;  // every dialog asked, in order
    std::deque<QString> salvataggi;        // paths chosen in save dialogs ("" = cancel)
    std::deque<QStringList> aperture;      // files chosen in open dialogs (empty = cancel)
};

} // namespace quercino::test
