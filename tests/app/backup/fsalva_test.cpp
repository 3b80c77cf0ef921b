// The backup and restore window offscreen, on the SQLite file, in scenario files
// (scenari/*.txt: steps and what each printed, see support/scenario.h): both backups
// (single and all declarants), their cancels, the replace question, the "Cripta" box, the
// restore with a valid, an invalid and no file, the progress display, the buttons while a
// restore runs and the restore reached from the menu. The file dialogs and message boxes
// are answered by the scenario and printed as they come.

#include "app/backup/FSalva.h"

#include "app/backup/LeggiBackup.h"
#include "app/backup/NomiBackup.h"
#include "app/programma/CollegaFinestre.h"
#include "app/core/Globals.h"
#include "app/core/Percorsi.h"
#include "app/core/Schema.h"
#include "app/shell/BarreComandi.h"
#include "app/shell/Collegamenti.h"
#include "app/shell/CommandBarsExecute.h"
#include "app/widgets/Finestre.h"
#include "support/backup_di_prova.h"
#include "support/servizi_in_scenario.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

// The main window as the dispatcher sees it: the registered backup window, and a registry
// whose refresh is printed.
class AmbienteProva final : public AmbienteComandi, public FinestraAnagrafica {
public:
    explicit AmbienteProva(test::Scenario& s) : s_(s) {}
    QString NomeFinestraAttiva() override { return QStringLiteral("F1OP"); }
    FinestraAnagrafica* Anagrafica() override { return this; }
    void MostraAnagrafica() override {}
    void ApriSalvataggio() override { SalvataggioRegistrato()(nullptr); }
    void MostraVersione() override {}
    void Termina() override {}
    QString CartellaProgramma() override { return {}; }
    QWidget* Finestra() override { return nullptr; }
    void Aggiungi() override {}
    void Elimina() override {}
    void Lista() override { s_.Stampa("(elenco dei soggetti aggiornato)"); }

private:
    test::Scenario& s_;
};

class FinestraSalva : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        Cnn = &backend_.db();
        qputenv("QUERCINO_HOME", backend_.programDir().toUtf8());
        db().insert(schema::COPE(), test::rigaCope("01", "ROSSI SPA"));
        db().insert(schema::COPE(), test::rigaCope("02", "BIANCHI SRL"));
        CodiceOperatore = "01";
        NomeOperatore = "ROSSI SPA";
        s.Sostituisci(cartella_.path(), "<cartella>");
        s.Sostituisci(QDir::toNativeSeparators(backend_.programDir()), "<programma>");
        s.Sostituisci(DataSalvataggioDi(QDate::currentDate()), "<oggi>");
        // The system's words for a failed write follow the machine's language.
        s.sostituzioni.emplace_back(QRegularExpression("(non riuscita): .*"), "\\1: <motivo>");
        Verbi();
    }
    void TearDown() override
    {
        f.reset();
        Cnn = nullptr;
        qunsetenv("QUERCINO_HOME");
    }
    Database& db() { return backend_.db(); }
    // A file of the test's folder; "<oggi>" in its name stands for today's date.
    QString File(const QString& nome) const
    {
        return cartella_.filePath(QString(nome).replace("<oggi>", DataSalvataggioDi(QDate::currentDate())));
    }

    // The window's title, names, visible controls and percentage, or that it closed.
    void Stato()
    {
        QStringList visibili;
        const std::pair<const char*, QWidget*> controlli[] = {
            {"bconferma", f->bconferma()}, {"saveALL", f->saveALL()}, {"PBar1", f->PBar1()}, {"Crip", f->Crip()}};
        for (const auto& [nome, controllo] : controlli)
            if (controllo->isVisibleTo(f.get()))
                visibili << nome;
        s.Stampa(f->windowTitle() + ": " + f->Label2()->text() + (f->Chiusa() ? " (chiusa)" : "") + "; modo "
                 + ModoSalva + (SalvaTutti ? " tutti" : ""));
        if (f->Chiusa())
            return;
        if (f->Label3()->isVisibleTo(f.get()))
            s.Stampa(f->Label3()->text());
        s.Stampa("visibili: " + visibili.join(' ') + "; Cripta=" + QString::number(f->Crip()->isChecked())
                 + "; PERC=" + f->PERC()->text());
    }

    void Verbi()
    {
        // "apri S", "apri S tutti", "apri R": a new window in that mode, loaded.
        s.verbi["apri"] = [this](const QString& a) {
            ModoSalva = test::Parole(a).value(0);
            SalvaTutti = a.endsWith("tutti");
            f.reset();
            f = std::make_unique<FSalva>();
            f->Form_Load();
            Stato();
        };
        s.verbi["ricarica"] = [this](const QString& a) {
            SalvaTutti = a == "tutti";
            f->Form_Load();
        };
        s.verbi["conferma"] = [this](const QString&) { f->bconferma_Click(); };
        s.verbi["tutti"] = [this](const QString&) { f->saveALL_Click(); };
        s.verbi["annulla"] = [this](const QString&) { f->bannulla_Click(); };
        s.verbi["cripta"] = [this](const QString& a) { f->Crip()->setChecked(a == "si"); };
        s.verbi["stato"] = [this](const QString&) { Stato(); };
        s.verbi["avanza"] = [this](const QString& a) {
            for (int i = a.toInt(); i > 0; --i)
                f->AvanzaProgresso();
            s.Stampa(QStringLiteral("barra %1, PERC %2").arg(f->PBar1()->value()).arg(f->PERC()->text()));
        };
        s.verbi["dialogo"] = [this](const QString&) {
            const RichiestaFile& r = servizi.dialoghi.richieste.back();
            s.Stampa("cartella " + QString(r.cartella).replace(CartellaDesktop(), "<scrivania>") + ", filtri "
                     + r.filtri.join(';'));
        };
        test::VerbiFile(s, [this](const QString& nome) { return File(nome); });
        s.verbi["soggetti"] = [this](const QString&) {
            for (const Row& r : db().select(schema::COPE(), " ORDER BY OCOD"))
                s.Stampa(r.text(cope::OCOD) + " " + r.text(cope::ORAG));
        };
        // The safety copies in the program folder, each with the name it holds.
        s.verbi["copie"] = [this](const QString&) {
            const QDir programma(backend_.programDir());
            for (const QString& copia : programma.entryList({"BFRR_*"}, QDir::Files))
                s.Stampa(copia + ": " + LeggiFileBackup(programma.filePath(copia)).righe.at(0).campi.at(3));
        };
        // Confirms, and while the restore runs presses every button and Esc: nothing restarts.
        s.verbi["conferma-e-insisti"] = [this](const QString&) {
            QTimer::singleShot(0, f.get(), [this] {
                s.Stampa(QStringLiteral("durante: occupata %1, conferma %2, annulla %3")
                             .arg(f->Occupata())
                             .arg(f->bconferma()->isEnabled())
                             .arg(f->bannulla()->isEnabled()));
                f->bconferma_Click();
                f->bannulla_Click();
                f->reject();
            });
            f->bconferma_Click();
        };
        // "Ripristina Dati" from the menu, through the dispatcher: the window runs modally
        // and is confirmed as soon as it shows.
        s.verbi["menu-ripristina"] = [this](const QString&) {
            CollegaFinestre();
            std::unique_ptr<FSalva> vista;
            QTimer::singleShot(0, [&] {
                vista.reset(qobject_cast<FSalva*>(QApplication::activeModalWidget()));
                if (vista)
                    vista->bconferma()->click();
            });
            AmbienteProva ambiente(s);
            CommandBars_Execute(ambiente, comando::Ripristina, QStringLiteral("Ripristina Dati"));
            s.Stampa(vista ? "(finestra modale confermata)" : "(nessuna finestra)");
        };
        s.verbi["soggetto"] = [](const QString& a) { CodiceOperatore = a; };
        // Over a main window: a backup window for a very long name and a restore window (the
        // open dialog answered by the scenario), their default buttons, and whether both
        // have one size, show all they hold and sit centred on the main window.
        s.verbi["misura"] = [this](const QString&) {
            QWidget principale;
            principale.setGeometry(40, 30, 700, 500);
            principale.show();
            ImpostaFinestraPrincipale(&principale);
            NomeOperatore = QString(296, QLatin1Char('R'));
            std::unique_ptr<FSalva> finestre[2];
            for (int i = 0; i < 2; ++i) {
                ModoSalva = i == 0 ? "S" : "R";
                finestre[i] = std::make_unique<FSalva>();
                finestre[i]->Form_Load();
                s.Stampa(ModoSalva + ": Invio=" + (finestre[i]->bconferma()->isDefault() ? "conferma" : "")
                         + (finestre[i]->bannulla()->isDefault() ? "annulla" : ""));
            }
            const FSalva& salva = *finestre[0];
            bool intere = true, centrate = true;
            for (const auto& f : finestre) {
                intere = intere && f->height() >= f->layout()->minimumSize().height();
                centrate = centrate && (f->frameGeometry().center() - principale.frameGeometry().center()).manhattanLength() <= 2;
            }
            s.Stampa(QStringLiteral("stessa misura %1, intere %2, centrate %3, nome entro %4")
                         .arg(finestre[1]->size() == salva.size())
                         .arg(intere)
                         .arg(centrate)
                         .arg(salva.Label2()->sizeHint().width() <= salva.width()));
            ImpostaFinestraPrincipale(nullptr);
        };
    }

    test::DbBackend backend_{test::Backend::SqliteFile};
    QTemporaryDir cartella_;
    test::Scenario s;
    test::ServiziInScenario servizi{s, cartella_.path()};
    std::unique_ptr<FSalva> f;
};

} // namespace

TEST_P(FinestraSalva, Passi)
{
    EXPECT_SCENARIO(s, QStringLiteral("scenari/%1.txt").arg(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Backup, FinestraSalva, ::testing::Values("salvataggi", "ripristini"),
                         [](const auto& info) { return std::string(info.param); });
