// Support e-mail and remote assistance: what would be opened or started, and the messages.

#include "app/core/Messaggi.h"
#include "app/shell/Assistenza.h"
#include "app/shell/Indirizzi.h"
#include "support/apertura_registrata.h"
#include "support/servizi_simulati.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace quercino;
using quercino::test::AperturaRegistrata;
using quercino::test::MessaggiSimulati;

namespace {

const QString domandaAssistenza =
    "Controllo ed Esecuzione programma di Assistenza Remota. \r\n  \r\nConfermi?  \r\n  \r\n"
    "Potrebbe essere necessario attendere qualche istante... ";

bool AttendiFile(const QString& percorso)
{
    for (int i = 0; i < 200 && !QFileInfo::exists(percorso); ++i)
        QThread::msleep(25);
    return QFileInfo::exists(percorso);
}

} // namespace

TEST(ComponiEmail, SenzaProgrammaDiPostaMessaggioEProseguo)
{
    // No handler: the offscreen desktop cannot open mailto: addresses.
    MessaggiSimulati messaggi;
    EXPECT_FALSE(ComponiEmail("assistenza@example.org", "oggetto"));
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    const Messaggio& m = messaggi.mostrati[0];
    EXPECT_EQ(m.titolo, "Microsoft Outlook NON installato");
    EXPECT_EQ(m.icona, Icona::Critica);
    EXPECT_TRUE(m.testo.startsWith("Errore Creazione Email: \r\n"));
    EXPECT_TRUE(m.testo.endsWith(
        "\r\n \r\nVerificare la corretta installazione di Micorsoft Outlook"));
}

TEST(ComponiEmail, OggettoCodificato)
{
    MessaggiSimulati messaggi;
    AperturaRegistrata aperture;
    EXPECT_TRUE(ComponiEmail("info@example.org", "Utente QUERCINO - Crea XML per DATI FATTURE"));
    ASSERT_EQ(aperture.aperti.size(), 1);
    EXPECT_EQ(aperture.aperti[0].toString(QUrl::FullyEncoded),
              "mailto:info@example.org?subject=Utente%20QUERCINO%20-%20Crea%20XML%20per%20DATI%20FATTURE");
    EXPECT_TRUE(messaggi.mostrati.empty());
}

TEST(AssistenzaRemota, RispostaNoNonFaNulla)
{
    MessaggiSimulati messaggi;
    AperturaRegistrata aperture;
    ImpostaIndirizzi({"", "", "https://example.org/remota", "/non/esiste/prog", "", ""});
    messaggi.risposte = {RispostaNo};
    AssistenzaRemota();
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].testo, domandaAssistenza);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Richiesta Conferma");
    EXPECT_EQ(messaggi.mostrati[0].pulsanti, Pulsanti::SiNo);
    EXPECT_TRUE(aperture.aperti.isEmpty());
    ImpostaIndirizzi({});
}

TEST(AssistenzaRemota, ProgrammaAssenteMessaggioPoiPagina)
{
    MessaggiSimulati messaggi;
    AperturaRegistrata aperture;
    ImpostaIndirizzi({"", "", "https://example.org/remota", "/non/esiste/prog", "", ""});
    messaggi.risposte = {RispostaSi};
    AssistenzaRemota();
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(messaggi.mostrati[1].testo, "Il programma  /non/esiste/prog non è disponibile.");
    EXPECT_EQ(messaggi.mostrati[1].titolo, "Quercino");
    ASSERT_EQ(aperture.aperti.size(), 1);
    EXPECT_EQ(aperture.aperti[0], QUrl("https://example.org/remota"));
    ImpostaIndirizzi({});
}

TEST(AssistenzaRemota, ProgrammaPresenteAvviato)
{
    QTemporaryDir dir;
    const QString segno = dir.filePath("avviato");
    const QString programma = dir.filePath("assistenza.sh");
    {
        QFile f(programma);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("#!/bin/sh\ntouch '" + segno + "'\n").toUtf8());
    }
    QFile::setPermissions(programma, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                         | QFileDevice::ExeOwner);
    MessaggiSimulati messaggi;
    AperturaRegistrata aperture;
    ImpostaIndirizzi({"", "", "https://example.org/remota", programma, "", ""});
    messaggi.risposte = {RispostaSi};
    AssistenzaRemota();
    EXPECT_TRUE(AttendiFile(segno));
    EXPECT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_TRUE(aperture.aperti.isEmpty());
    ImpostaIndirizzi({});
}
