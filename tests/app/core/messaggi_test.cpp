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

// Buttons numbered from 1001 in order, empty captions adding none; an answer that names no
// button of the dialog, or none at all, leaves no answer (never the previous one).
TEST(MostraMessaggio, PulsantiNumeratiNellOrdine)
{
    MessaggiSimulati messaggi;
    messaggi.risposteTask = {1002, 1003, 1001, 0, 1005};
    MostraMessaggio("Richiesta di conferma", "Confermi?", 5, "Si, Confermo", "NO");
    EXPECT_EQ(RispostaTask, 1002);
    MostraMessaggio("File XML creato", "testo", 3, "OK Chiudi", "", "Vai al Portale dell'Agenzia");
    EXPECT_EQ(RispostaTask, 0);
    MostraMessaggio("Annullamento", "Confermi?", 5, "Si, Confermo", "NO");
    EXPECT_EQ(RispostaTask, 1001);
    MostraMessaggio("Annullamento", "Confermi?", 5, "Si, Confermo", "NO");
    EXPECT_EQ(RispostaTask, 0);
    MostraMessaggio("t", "x", 3, "a", "b", "c", "d", "e");
    EXPECT_EQ(RispostaTask, 1005);
    ASSERT_EQ(messaggi.task.size(), 5u);
    const DialogoTask& primo = messaggi.task[0];
    EXPECT_EQ(QStringList({primo.titolo, primo.testo}), (QStringList{"Richiesta di conferma", "Confermi?"}));
    EXPECT_EQ(primo.icona, 5);
    EXPECT_EQ(primo.pulsanti, (QStringList{"Si, Confermo", "NO"}));
    EXPECT_EQ(primo.larghezza, 9 + 150);
    EXPECT_EQ(messaggi.task[1].pulsanti, (QStringList{"OK Chiudi", "Vai al Portale dell'Agenzia"}));
    EXPECT_EQ(messaggi.task[4].pulsanti.size(), 5);
}
