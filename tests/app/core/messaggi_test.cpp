// The message-box and task-dialog services as callers see them.

#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "support/servizi_simulati.h"

#include <gtest/gtest.h>

using namespace quercino;
using quercino::test::MessaggiSimulati;

TEST(MsgBox, TitoloPredefinitoEdEsito)
{
    MessaggiSimulati messaggi;
    messaggi.risposte = {RispostaNo};
    EXPECT_EQ(MsgBox("Vuoi?", Pulsanti::SiNo, Icona::Domanda), RispostaNo);
    EXPECT_EQ(MsgBox("Fatto"), RispostaOk);
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Quercino");
    EXPECT_EQ(messaggi.mostrati[0].icona, Icona::Domanda);
    EXPECT_EQ(messaggi.mostrati[0].pulsanti, Pulsanti::SiNo);
    EXPECT_EQ(messaggi.mostrati[1].pulsanti, Pulsanti::Ok);
    MsgBox("x", Pulsanti::Ok, Icona::Nessuna, "Errore");
    EXPECT_EQ(messaggi.mostrati[2].titolo, "Errore");
}

TEST(MsgBox, SenzaServizioNessunaRispostaAffermativa)
{
    // Nothing installed: nothing can be shown, and no question is taken as answered Yes/OK.
    ImpostaServizioMessaggi(nullptr);
    EXPECT_EQ(MsgBox("Sostituire?", Pulsanti::SiNo), RispostaNo);
    EXPECT_EQ(MsgBox("Procedere?", Pulsanti::OkAnnulla), RispostaAnnulla);
    RispostaTask = 1002;
    MostraMessaggio("t", "x", 3, "A", "B");
    EXPECT_EQ(RispostaTask, 0);
}

TEST(MostraMessaggio, PulsantiNumeratiNellOrdine)
{
    MessaggiSimulati messaggi;
    messaggi.risposteTask = {1002};
    MostraMessaggio("Richiesta di conferma", "Confermi?", 5, "Si, Confermo", "NO");
    ASSERT_EQ(messaggi.task.size(), 1u);
    const DialogoTask& dialogo = messaggi.task[0];
    EXPECT_EQ(dialogo.titolo, "Richiesta di conferma");
    EXPECT_EQ(dialogo.testo, "Confermi?");
    EXPECT_EQ(dialogo.icona, 5);
    EXPECT_EQ(dialogo.pulsanti, (QStringList{"Si, Confermo", "NO"}));
    EXPECT_EQ(dialogo.larghezza, 9 + 150);
    EXPECT_EQ(RispostaTask, 1002);
}

TEST(MostraMessaggio, DidascalieVuoteNonAggiungonoPulsanti)
{
    MessaggiSimulati messaggi;
    messaggi.risposteTask = {1003};
    MostraMessaggio("File XML creato", "testo", 3, "OK Chiudi", "", "Vai al Portale dell'Agenzia");
    ASSERT_EQ(messaggi.task.size(), 1u);
    // Caption 2 empty: the third caption becomes the second button.
    EXPECT_EQ(messaggi.task[0].pulsanti, (QStringList{"OK Chiudi", "Vai al Portale dell'Agenzia"}));
    // 1003 names no button of this dialog: no answer.
    EXPECT_EQ(RispostaTask, 0);
}

TEST(MostraMessaggio, NessunaRispostaVecchia)
{
    MessaggiSimulati messaggi;
    messaggi.risposteTask = {1001, 0};
    MostraMessaggio("Annullamento", "Confermi?", 5, "Si, Confermo", "NO");
    EXPECT_EQ(RispostaTask, 1001);
    // The next dialog closes without a button: the previous "Si, Confermo" must not count.
    MostraMessaggio("Annullamento", "Confermi?", 5, "Si, Confermo", "NO");
    EXPECT_EQ(RispostaTask, 0);
}

TEST(MostraMessaggio, CinquePulsanti)
{
    MessaggiSimulati messaggi;
    messaggi.risposteTask = {1005};
    MostraMessaggio("t", "x", 3, "a", "b", "c", "d", "e");
    EXPECT_EQ(messaggi.task[0].pulsanti.size(), 5);
    EXPECT_EQ(RispostaTask, 1005);
}
