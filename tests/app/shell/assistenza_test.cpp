// Support e-mail and remote assistance: what would be opened or started, and the messages.

#include "app/core/Messaggi.h"
#include "app/shell/Assistenza.h"
#include "app/shell/Indirizzi.h"
#include "support/apertura_registrata.h"
#include "support/golden.h"
#include "support/servizi_simulati.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace quercino;

TEST(ComponiEmail, OggettoCodificatoOppureMessaggioSenzaPosta)
{
    test::MessaggiSimulati messaggi;
    {
        test::AperturaRegistrata aperture;
        EXPECT_TRUE(ComponiEmail("info@example.org", "Utente QUERCINO - Crea XML per DATI FATTURE"));
        ASSERT_EQ(aperture.aperti.size(), 1);
        EXPECT_EQ(aperture.aperti[0].toString(QUrl::FullyEncoded),
                  "mailto:info@example.org?subject=Utente%20QUERCINO%20-%20Crea%20XML%20per%20DATI%20FATTURE");
    }
    // No handler: the offscreen desktop cannot open mailto: addresses.
    EXPECT_FALSE(ComponiEmail("assistenza@example.org", "oggetto"));
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Microsoft Outlook NON installato");
    EXPECT_TRUE(messaggi.mostrati[0].testo.endsWith("\r\n \r\nVerificare la corretta installazione di Micorsoft Outlook"));
}

TEST(AssistenzaRemota, NoProgrammaAssenteProgrammaPresente)
{
    QTemporaryDir dir;
    const QString segno = dir.filePath("avviato");
    const QString programma = dir.filePath("assistenza.sh");
    ASSERT_TRUE(test::ScriviFile(programma, ("#!/bin/sh\ntouch '" + segno + "'\n").toUtf8()));
    QFile::setPermissions(programma, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    struct Caso {
        QString programma;
        int risposta;
        QStringList effetti;
    };
    const Caso casi[] = {
        {"/non/esiste/prog", RispostaNo, {"Richiesta Conferma"}},
        {"/non/esiste/prog", RispostaSi,
         {"Richiesta Conferma", "Quercino: Il programma  /non/esiste/prog non è disponibile.", "https://example.org/remota"}},
        {programma, RispostaSi, {"Richiesta Conferma"}},
    };
    for (const Caso& caso : casi) {
        test::MessaggiSimulati messaggi;
        test::AperturaRegistrata aperture;
        ImpostaIndirizzi({"", "", "https://example.org/remota", caso.programma, "", ""});
        messaggi.risposte = {caso.risposta};
        AssistenzaRemota();
        ImpostaIndirizzi({});
        QStringList effetti;
        for (const Messaggio& m : messaggi.mostrati)
            effetti << (m.titolo == "Richiesta Conferma" ? m.titolo : m.titolo + ": " + m.testo);
        for (const QUrl& url : aperture.aperti)
            effetti << url.toString();
        EXPECT_EQ(effetti, caso.effetti);
    }
    for (int i = 0; i < 200 && !QFileInfo::exists(segno); ++i)
        QThread::msleep(25);
    EXPECT_TRUE(QFileInfo::exists(segno)) << "the assistance program was not started";
}
