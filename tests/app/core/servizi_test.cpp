// The services the program asks of the desktop and of the user, intercepted, as the steps
// of scenari/servizi.txt (see support/scenario.h): what would be opened and the launcher's
// answer, message boxes and task dialogs with and without a service, the save dialog's
// questions and replace loop, the program and public folders, files and folders on the disk.

#include "app/core/Aperture.h"
#include "app/core/CartelleProgramma.h"
#include "app/core/DialoghiFile.h"
#include "app/core/Globals.h"
#include "app/core/Percorsi.h"
#include "support/apertura_registrata.h"
#include "support/casi.h"
#include "support/servizi_in_scenario.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <gtest/gtest.h>

using namespace quercino;

TEST(Servizi, Passi)
{
    QTemporaryDir dir;
    test::Scenario s;
    test::ServiziInScenario servizi(s, dir.path());
    test::AperturaRegistrata aperture;
    s.Sostituisci(dir.path(), "<cartella>");
    s.Sostituisci(CartellaDesktop(), "<scrivania>");
    s.Sostituisci(QCoreApplication::applicationDirPath(), "<eseguibile>");
    auto percorso = [&](const QString& a) { return test::Decodifica(a).replace("<cartella>", dir.path()); };
    s.dopoOgniPasso = [&] {
        for (const QUrl& url : aperture.aperti)
            s.Stampa("apre " + url.toString(QUrl::FullyEncoded));
        aperture.aperti.clear();
    };
    auto esito = [&](int n) { s.Stampa("=> " + QString::number(n)); };
    s.verbi["esegui"] = [&](const QString& a) { esito(Esegui(percorso(a))); };
    s.verbi["apri"] = [&](const QString& a) { esito(ApriDocumento(percorso(a))); };
    s.verbi["portale"] = [&](const QString&) { esito(ApriIndirizzo(IndirizzoPortale)); };
    s.verbi["lanciatore"] = [&](const QString& a) {
        ImpostaLanciatore(a == "-" ? QString() : QStandardPaths::findExecutable(a).isEmpty() ? percorso(a)
                                                                                           : QStandardPaths::findExecutable(a));
    };
    // The launcher's answer, waited for.
    s.verbi["consegna"] = [&](const QString& a) {
        std::optional<bool> preso;
        ConsegnaAlDesktop(QUrl::fromLocalFile(percorso(a)), [&preso](bool p) { preso = p; });
        ASSERT_TRUE(QTest::qWaitFor([&preso] { return preso.has_value(); }));
        esito(*preso);
    };
    s.verbi["attendi-messaggio"] = [&](const QString&) {
        const std::size_t prima = servizi.messaggi.mostrati.size();
        EXPECT_TRUE(QTest::qWaitFor([&] { return servizi.messaggi.mostrati.size() > prima; }));
    };
    s.verbi["servizio"] = [&](const QString& a) { ImpostaServizioMessaggi(a == "no" ? nullptr : &servizi); };
    // "msgbox PULSANTI ICONA TITOLO|- TESTO": the answer and the buttons of the box shown.
    s.verbi["msgbox"] = [&](const QString& a) {
        const QStringList p = test::Parole(a, 3);
        const QStringList pulsanti{"Ok", "OkAnnulla", "InterrompiRiprovaIgnora", "SiNoAnnulla", "SiNo", "RiprovaAnnulla"};
        const QStringList icone{"Nessuna", "Critica", "Domanda", "Attenzione", "Informazione"};
        const std::size_t prima = servizi.messaggi.mostrati.size();
        const int risposta = MsgBox(p[3], static_cast<Pulsanti>(pulsanti.indexOf(p[0])),
                                    static_cast<Icona>(icone.indexOf(p[1])), p[2] == "-" ? QString() : p[2]);
        s.Stampa("=> " + test::NomeRisposta(risposta)
                 + (servizi.messaggi.mostrati.size() > prima
                        ? ", pulsanti " + pulsanti.value(static_cast<int>(servizi.messaggi.mostrati.back().pulsanti))
                        : QString()));
    };
    // "mostra TITOLO|TESTO|ICONA|PULSANTE...": the task dialog's answer, icon and width.
    s.verbi["mostra"] = [&](const QString& a) {
        const QStringList p = a.split('|');
        const std::size_t prima = servizi.messaggi.task.size();
        RispostaTask = 1002;
        MostraMessaggio(p[0], p[1], p[2].toInt(), p[3], p.value(4), p.value(5), p.value(6), p.value(7));
        QString visto;
        if (servizi.messaggi.task.size() > prima)
            visto = QStringLiteral(", icona %1, larghezza %2")
                        .arg(servizi.messaggi.task.back().icona)
                        .arg(servizi.messaggi.task.back().larghezza);
        s.Stampa("=> " + QString::number(RispostaTask) + visto);
    };
    // "salva-con-nome NOME TIPO [CARTELLA]" from FileSalva "vecchio": every dialog's folder
    // and filters, then the file and folder kept.
    s.verbi["salva-con-nome"] = [&](const QString& a) {
        const QStringList p = test::Parole(a);
        const std::size_t prima = servizi.dialoghi.richieste.size();
        FileSalva = "vecchio";
        SalvaConNome(p[0], p[1], p.size() > 2 ? percorso(p[2]) : QString());
        for (std::size_t i = prima; i < servizi.dialoghi.richieste.size(); ++i)
            s.Stampa("cartella " + servizi.dialoghi.richieste[i].cartella + ", filtri "
                     + servizi.dialoghi.richieste[i].filtri.join(';'));
        s.Stampa("FileSalva " + FileSalva + ", UltimaCartella " + UltimaCartella);
    };
    s.verbi["ultima"] = [&](const QString& a) { UltimaCartella = a; };
    s.verbi["filtro"] = [&](const QString& a) { s.Stampa(FiltroTipoFile(a)); };
    s.verbi["file"] = [&](const QString& a) { test::ScriviFile(percorso(a), {}); };
    s.verbi["esiste"] = [&](const QString& a) { esito(EsisteFile(percorso(a))); };
    s.verbi["crea-cartella"] = [&](const QString& a) { CreaCartella(percorso(a)); };
    s.verbi["e-cartella"] = [&](const QString& a) { esito(QFileInfo(percorso(a)).isDir()); };
    // "ambiente NOME VALORE" or "ambiente NOME -" (unset); each restored at the end.
    std::map<QByteArray, std::optional<QByteArray>> ambiente;
    s.verbi["ambiente"] = [&](const QString& a) {
        const QStringList p = test::Parole(a, 1);
        const QByteArray nome = p[0].toLatin1();
        if (!ambiente.contains(nome))
            ambiente[nome] = qEnvironmentVariableIsSet(nome) ? std::optional(qgetenv(nome)) : std::nullopt;
        if (p[1] == "-")
            qunsetenv(nome);
        else
            qputenv(nome, test::Decodifica(p[1]).toUtf8());
    };
    s.verbi["cartella-programma"] = [&](const QString&) { s.Stampa(CartellaProgramma()); };
    s.verbi["cartella-pubblica"] = [&](const QString&) { s.Stampa(CartellaPubblica()); };

    EXPECT_SCENARIO(s, "scenari/servizi.txt");
    ImpostaServizioMessaggi(&servizi);
    ImpostaLanciatore(QString());
    for (const auto& [nome, valore] : ambiente) {
        if (valore)
            qputenv(nome, *valore);
        else
            qunsetenv(nome);
    }
}
