// The main window on the offscreen platform, as the steps of scenari/principale.txt (see
// support/scenario.h): the bars hidden until "ENTRA", the registry opened as its child
// window and placed within reach, the refusals without a declarant, the version window's
// mail, remote assistance, and every item of the bars walked through with what it leads to;
// the whole program's start too, against a seeded program folder or a database it cannot open;
// and the main window's size from the configuration (casi/dimensioni.tsv).

#include "app/core/Globals.h"
#include "app/core/Main.h"
#include "app/core/Messaggi.h"
#include "app/shell/Avvio.h"
#include "app/shell/BarreComandi.h"
#include "app/shell/Collegamenti.h"
#include "app/shell/DimensionaFinestra.h"
#include "app/shell/F0.h"
#include "app/shell/F0INI.h"
#include "app/shell/FVer.h"
#include "app/shell/Indirizzi.h"
#include "app/shell/CommandBarsExecute.h"
#include "support/apertura_registrata.h"
#include "support/casi.h"
#include "support/scenario.h"
#include "support/servizi_in_scenario.h"
#include "support/servizi_simulati.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using namespace quercino;
using quercino::test::AperturaRegistrata;
using quercino::test::MessaggiSimulati;

namespace {

class AnagraficaProva final : public QWidget, public FinestraAnagrafica {
public:
    AnagraficaProva() { setObjectName("F1OP"); }
    QWidget* Finestra() override { return this; }
    void Aggiungi() override { chiamate << "Aggiungi"; }
    void Elimina() override { chiamate << "Elimina"; }
    void Registra() override { chiamate << "Registra"; }
    void ElaboraFoglio() override { chiamate << "ElaboraFoglio"; }
    void Lista() override
    {
        chiamate << "Lista";
        if (fallisce)
            throw std::runtime_error("tabella COPE non trovata");
    }
    QStringList chiamate;
    bool fallisce = false;
};

class F0Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        Release = "Release 1.4.4 - 19 Aprile 2021";
        VersioneProgramma = "Versione 1.0 - Monoutente";
        CodiceOperatore.clear();
        PathIni = QDir::temp().filePath("quercino-f0-nessuno/configurazione.ini");
        ImpostaIndirizzi({"https://example.org/agg", "https://example.org/news", "https://example.org/remota", "",
                          "assistenza@example.org", "commerciale@example.org", "", ""});
        RegistraAnagrafica([this]() -> FinestraAnagrafica* {
            ++creazioni;
            anagrafica = new AnagraficaProva;
            return anagrafica;
        });
        RegistraSalvataggio([this](QWidget* proprietario) {
            salvataggi << "FSalva " + (ModoSalva == "S" ? ModoSalva + (SalvaTutti ? " tutti" : " uno") : ModoSalva)
                              + (proprietario == f0.get() ? "" : " altro");
        });
        qputenv("QUERCINO_HOME", QFile::encodeName(programma.path()));
        s.Sostituisci(programma.path(), "<programma>");
        Verbi();
        Nuova();
    }
    void Nuova()
    {
        anagrafica = nullptr;
        f0 = std::make_unique<F0>();
        f0->ImpostaTermine([this] { ++terminazioni; });
        f0->show();
        f0->MDIForm_Load();
    }
    void TearDown() override
    {
        f0.reset();
        RegistraAnagrafica({});
        RegistraSalvataggio({});
        ImpostaIndirizzi({});
        qunsetenv("QUERCINO_HOME");
    }

    QAction* Azione(const QString& caption)
    {
        for (QAction* azione : f0->Azioni()) {
            if (azione->property(ProprietaCaption).toString() == caption)
                return azione;
        }
        ADD_FAILURE() << "nessuna voce " << caption.toStdString();
        return new QAction(f0.get());
    }

    // What the last actions led to, read off what was opened, asked, saved or ended.
    QStringList Effetti()
    {
        QStringList visti;
        for (const Messaggio& m : messaggi.mostrati)
            visti << "box " + m.titolo;
        for (const QUrl& url : aperture.aperti)
            visti << "apre " + (url.isLocalFile() ? QDir(programma.path()).relativeFilePath(url.toLocalFile())
                                                  : url.toString());
        visti << salvataggi;
        if (anagrafica)
            visti << anagrafica->chiamate;
        for (int i = 0; i < terminazioni; ++i)
            visti << "fine";
        messaggi.mostrati.clear();
        aperture.aperti.clear();
        salvataggi.clear();
        if (anagrafica)
            anagrafica->chiamate.clear();
        terminazioni = 0;
        return visti;
    }

    // Runs `passo`; the version window, if it shows, is named and closed.
    static QString ChiudendoLaVersione(const std::function<void()>& passo)
    {
        QString versione;
        QTimer::singleShot(0, [&versione] {
            if (auto* finestra = qobject_cast<FVer*>(QApplication::activeModalWidget())) {
                versione = finestra->PushButton1()->isHidden() ? "FVer senza posta" : "FVer";
                finestra->Bannulla()->click();
            }
        });
        passo();
        return versione;
    }

    // Every action of the bars, one by one, each with what it leads to and whether it is
    // disabled ("--" where a group begins); the version window is closed as it shows.
    void Percorri(const QString& nome, const QList<QAction*>& azioni)
    {
        s.Stampa("[" + nome + "]");
        for (QAction* azione : azioni) {
            if (azione->isSeparator()) {
                s.Stampa("--");
                continue;
            }
            EXPECT_FALSE(azione->icon().isNull()) << azione->text().toStdString();
            const QString versione = ChiudendoLaVersione([azione] { azione->trigger(); });
            QStringList visti = Effetti();
            if (!versione.isEmpty())
                visti << versione;
            s.Stampa("\"" + azione->property(ProprietaCaption).toString() + "\""
                     + (azione->isEnabled() ? "" : " (disattivata)") + " -> " + visti.join(", "));
        }
    }

    void Stato(F0& principale)
    {
        auto si = [](bool b) { return b ? QStringLiteral("si") : QStringLiteral("no"); };
        const QList<QMdiSubWindow*> finestre = principale.AreaFinestre()->subWindowList();
        s.Stampa(principale.windowTitle() + "; benvenuto "
                 + si(principale.Benvenuto() && principale.Benvenuto()->isVisible()) + "; menu "
                 + si(principale.menuBar()->isVisible()) + ", archivi " + si(principale.BarraArchivi()->isVisible())
                 + ", base " + si(principale.BarraBase()->isVisible()) + "; soggetti "
                 + si(principale.AzioneSoggettiObbligati()->isChecked()));
        QStringList viste;
        for (QMdiSubWindow* finestra : finestre)
            viste << QStringLiteral("%1 %2 in %3,%4").arg(finestra->widget() == anagrafica ? "anagrafica" : "altra",
                                                          finestra->isHidden() ? "nascosta" : "visibile")
                         .arg(finestra->pos().x()).arg(finestra->pos().y());
        s.Stampa(QStringLiteral("finestre: %1; create %2; scorre %3").arg(viste.join(", ")).arg(creazioni)
                     .arg(si(principale.AreaFinestre()->horizontalScrollBar()->maximum() > 0
                             && principale.AreaFinestre()->verticalScrollBar()->maximum() > 0)));
    }

    void Verbi()
    {
        s.dopoOgniPasso = [this] {
            for (const Messaggio& m : messaggi.mostrati) {
                s.Stampa("[" + m.titolo + "]");
                s.Stampa(m.testo);
            }
            messaggi.mostrati.clear();
            const QStringList visti = Effetti();
            if (!visti.isEmpty())
                s.Stampa("-> " + visti.join(", "));
        };
        // "nuova" or "nuova senza-indirizzi": a main window, loaded and shown.
        s.verbi["nuova"] = [this](const QString& a) {
            if (a == "senza-indirizzi")
                ImpostaIndirizzi({});
            Nuova();
        };
        s.verbi["entra"] = [this](const QString&) { f0->Benvenuto()->Command1()->click(); };
        s.verbi["stato"] = [this](const QString&) { Stato(*f0); };
        s.verbi["benvenuto"] = [this](const QString&) { s.Stampa(f0->Benvenuto()->Nrel()->text()); };
        s.verbi["chiudi-benvenuto"] = [this](const QString&) {
            f0->Benvenuto()->close();
            f0->Benvenuto()->reject();
        };
        s.verbi["chiudi-anagrafica"] = [this](const QString&) { f0->AreaFinestre()->subWindowList().at(0)->close(); };
        s.verbi["voce"] = [this](const QString& a) { Azione(a)->trigger(); };
        s.verbi["soggetti-obbligati"] = [this](const QString&) { f0->AzioneSoggettiObbligati()->trigger(); };
        s.verbi["soggetto"] = [](const QString& a) { CodiceOperatore = a == "-" ? QString() : test::Decodifica(a); };
        s.verbi["risposte"] = [this](const QString& a) {
            for (const QString& nome : test::Parole(a))
                messaggi.risposte.push_back(test::RispostaDaNome(nome));
        };
        s.verbi["chiudi"] = [this](const QString&) { f0->close(); };
        s.verbi["dimensioni"] = [this](const QString& a) {
            f0->resize(test::Parole(a).value(0).toInt(), test::Parole(a).value(1).toInt());
        };
        // "anagrafica errore" (its creation fails) or "anagrafica grande" (1600 x 1200).
        s.verbi["anagrafica"] = [this](const QString& a) {
            RegistraAnagrafica([a]() -> FinestraAnagrafica* {
                if (a == "errore")
                    throw std::runtime_error("database non raggiungibile");
                auto* anagrafica = new AnagraficaProva;
                anagrafica->setMinimumSize(1600, 1200);
                return anagrafica;
            });
        };
        s.verbi["attendi"] = [](const QString&) { QApplication::processEvents(); };
        // The version window: its two mail buttons pressed, then closed.
        s.verbi["versione-posta"] = [this](const QString&) {
            QTimer::singleShot(0, [this] {
                FVer* versione = f0->Versione();
                ASSERT_TRUE(versione && versione->isModal());
                versione->PushButton1()->click();
                versione->PushButton2()->click();
                versione->Bannulla()->click();
            });
            Azione("Versione")->trigger();
            for (const QUrl& url : aperture.aperti)
                s.Stampa("apre " + url.toString(QUrl::FullyEncoded));
            aperture.aperti.clear();
        };
        // Without a mail program the failure is told and the window stays.
        s.verbi["versione-senza-posta"] = [this](const QString&) {
            QDesktopServices::unsetUrlHandler("mailto");
            FVer senzaPosta;
            senzaPosta.show();
            senzaPosta.PushButton1()->click();
            s.Stampa(senzaPosta.isVisible() ? "(resta aperta)" : "(chiusa)");
            QDesktopServices::setUrlHandler("mailto", &aperture, "apri");
        };
        // The documents of the program folder's Help, then every bar walked through.
        s.verbi["documenti"] = [this](const QString&) {
            ASSERT_TRUE(QDir(programma.path()).mkpath("Help/documentazione"));
            for (const char* documento :
                 {"Specifiche+tecniche+e+regole+per+la+compilazione+dei+dati+delle+fatture+v1.1.pdf",
                  "ISTRUZIONI TRASMISSIONE DATI FATTURE XML.pdf", "Quercino - Manuale Completo.pdf",
                  "DATI_FATTURE_BASE.xlsx", "DATI_FATTURE_EMESSE.csv", "DATI_FATTURE_RICEVUTE.csv"})
                ASSERT_TRUE(test::ScriviFile(programma.filePath(QStringLiteral("Help/") + documento), {}));
            ImpostaIndirizzi({"https://example.org/agg", "https://example.org/news", "https://example.org/remota",
                              "/non/esiste/assistenza", "assistenza@example.org", "commerciale@example.org", "", ""});
        };
        // The remote-assistance program: "assistenza PERCORSO", or "assistenza presente" (a
        // script that leaves a mark when started), then "avviata" (waits for the mark).
        s.verbi["assistenza"] = [this](const QString& a) {
            QString percorso = a;
            if (a == "presente") {
                percorso = programma.filePath("assistenza.sh");
                test::ScriviFile(percorso, ("#!/bin/sh\ntouch '" + programma.filePath("avviata") + "'\n").toUtf8());
                QFile::setPermissions(percorso, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            }
            ImpostaIndirizzi({"https://example.org/agg", "https://example.org/news", "https://example.org/remota",
                              percorso, "assistenza@example.org", "commerciale@example.org", "", ""});
        };
        s.verbi["avviata"] = [this](const QString&) {
            for (int i = 0; i < 200 && !QFileInfo::exists(programma.filePath("avviata")); ++i)
                QThread::msleep(25);
            s.Stampa(QFileInfo::exists(programma.filePath("avviata")) ? "si" : "no");
        };
        // "comando ID CAPTION" straight to the dispatcher; the answer kept for a cancelled
        // update check is said.
        s.verbi["comando"] = [this](const QString& a) {
            const QStringList p = test::Parole(a, 1);
            const QString versione =
                ChiudendoLaVersione([&] { CommandBars_Execute(*f0, p[0].toInt(), test::Decodifica(p[1])); });
            if (!versione.isEmpty())
                s.Stampa(versione);
            if (!Risposta.isEmpty())
                s.Stampa("(Risposta " + std::exchange(Risposta, QString()) + ")");
        };
        // Another child window, active.
        s.verbi["altra-finestra"] = [this](const QString&) {
            auto* altra = new QWidget;
            altra->setObjectName("FAltra");
            f0->AreaFinestre()->addSubWindow(altra)->show();
            f0->AreaFinestre()->setActiveSubWindow(f0->AreaFinestre()->subWindowList().last());
        };
        s.verbi["lista-fallisce"] = [this](const QString&) { anagrafica->fallisce = true; };
        s.verbi["barre"] = [this](const QString&) {
            for (QAction* menu : f0->menuBar()->actions())
                Percorri(menu->text(), menu->menu()->actions());
            Percorri(f0->BarraArchivi()->windowTitle(), f0->BarraArchivi()->actions());
            Percorri(f0->BarraBase()->windowTitle(), f0->BarraBase()->actions());
        };
        // "avvia [seminato] OPZIONE...": the whole program, in place of this window, on a
        // configuration of these options (and the build's seeded database): its main window
        // before and after "ENTRA", then its exit code and debug log.
        s.verbi["avvia"] = [this](const QString& a) {
            QStringList opzioni = test::Parole(a);
            if (opzioni.value(0) == "seminato") {
                opzioni.removeFirst();
                QDir(programma.path()).mkpath("DataBase");
                ASSERT_TRUE(QFile::copy(QUERCINO_SEED_DATABASE, programma.filePath("DataBase/VEKO.sqlite")));
            }
            test::ScriviFile(programma.filePath("configurazione.ini"), ("[opzioni]\r\n" + opzioni.join("\r\n") + "\r\n").toUtf8());
            f0.reset();
            RegistraAnagrafica({});
            Release.clear();
            qputenv("PUBLIC", QFile::encodeName(programma.filePath("pubblica")));
            QTimer::singleShot(0, [this] {
                F0* principale = F0::Istanza();
                if (!principale)
                    return;
                principale->ImpostaTermine([] { QCoreApplication::exit(0); });
                s.Stampa(principale->Benvenuto()->Versione()->text());
                Stato(*principale);
                principale->Benvenuto()->Command1()->click();
                Stato(*principale);
                principale->close();
            });
            const int codice = EseguiProgramma(&Main);
            QCoreApplication::processEvents();
            s.Stampa(QStringLiteral("uscita %1; finestra %2, connessione %3").arg(codice)
                         .arg(F0::Istanza() ? "resta" : "chiusa", Cnn ? "aperta" : "chiusa"));
            const QString percorsoLog = programma.filePath("pubblica/VORNSOFTLAB/LOG_VEKO.TXT");
            QString log = test::LeggiFile(percorsoLog);
            if (QFile::remove(percorsoLog))
                s.Stampa("log: " + log.replace(QDate::currentDate().toString("dd/MM/yyyy"), "<oggi>"));
            ChiudiConnessione();
            DebugMode.clear();
            PathLog.clear();
            qunsetenv("PUBLIC");
        };
    }

    QTemporaryDir programma;
    test::Scenario s;
    MessaggiSimulati messaggi;
    AperturaRegistrata aperture;
    std::unique_ptr<F0> f0;
    AnagraficaProva* anagrafica = nullptr;
    int creazioni = 0;
    int terminazioni = 0;
    QStringList salvataggi;
};

} // namespace

TEST_F(F0Test, Passi)
{
    EXPECT_SCENARIO(s, "scenari/principale.txt");
}

// The manual the build writes into the program folder is what "6-Manuale completo" opens.
TEST_F(F0Test, ApreIlManualeScrittoDalBuild)
{
    qputenv("QUERCINO_HOME", QUERCINO_PROGRAM_DIR);
    CodiceOperatore = "01";
    const QString manuale = QStringLiteral(QUERCINO_PROGRAM_DIR "/Help/Quercino - Manuale Completo.pdf");
    ASSERT_TRUE(QFile::exists(manuale)) << manuale.toStdString();
    CommandBars_Execute(*f0, 706, "6-Manuale completo");
    EXPECT_EQ(aperture.aperti, QList<QUrl>{QUrl::fromLocalFile(manuale)});
    EXPECT_TRUE(messaggi.mostrati.empty());
}

// The main window's size from the configuration: a share of the screen at the designed
// ratio, halves to the even neighbour, never beyond the room available (casi/dimensioni.tsv).
TEST(CalcolaDimensioni, Tabella)
{
    const auto misura = [](const QString& testo) {
        return testo == "-" ? QSize() : QSize(testo.section('x', 0, 0).toInt(), testo.section('x', 1).toInt());
    };
    test::ControllaFunzioni(__FILE__, "casi/dimensioni.tsv", {
        {"Dimensioni", [&](const QStringList& a) {
             const auto d = CalcolaDimensioni(a[0], a[1], misura(a[2]), misura(a[3]), misura(a[4]));
             return QStringList{d ? QStringLiteral("%1x%2").arg(d->width()).arg(d->height()) : "-"};
         }},
    });
}
