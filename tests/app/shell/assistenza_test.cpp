// Remote assistance: what would be opened or started, and the messages (the support e-mail
// is composed by the version window in f0_test).

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
