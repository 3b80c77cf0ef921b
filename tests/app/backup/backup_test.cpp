// Backup and restore on the three database back-ends, as the steps of scenari/archivio.txt
// (see support/scenario.h) run on each, the state read through a second connection: the
// writer's files byte by byte (a natural person, plain and scrambled, values that would break
// a line or not survive scrambling), failures leaving nothing partial; round trips, the
// safety copies and their names, a restore that fails half-way, crafted, truncated and
// damaged files, backups of all declarants, foreign line ends, control characters, the
// code-table merge, the field messages and the progressive. Here also a connection the
// server drops in the middle of a restore.

#include "app/backup/Ripristino.h"

#include "app/backup/FSalva.h"
#include "app/backup/LeggiBackup.h"
#include "app/backup/LimitiBackup.h"
#include "app/backup/NomiBackup.h"
#include "app/backup/ScriviBackup.h"
#include "app/core/Globals.h"
#include "app/core/Percorsi.h"
#include "app/core/Schema.h"
#include "app/programma/CollegaFinestre.h"
#include "app/shell/BarreComandi.h"
#include "app/shell/Collegamenti.h"
#include "app/shell/CommandBarsExecute.h"
#include "app/widgets/Finestre.h"
#include "support/backup_di_prova.h"
#include "support/pulsanti_in_vista.h"
#include "support/casi.h"
#include "support/servizi_in_scenario.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <optional>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

const QDateTime Adesso(QDate(2026, 3, 7), QTime(10, 20, 30));

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

class Archivio : public test::BackupTest {
protected:
    void SetUp() override
    {
        test::BackupTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(programma_.isValid());
        s.Sostituisci(programma_.path(), "<programma>");
        s.Sostituisci(cartella_.path(), "<cartella>");
        // The system's words for a failed write follow the machine's language.
        s.sostituzioni.emplace_back(QRegularExpression("(sicurezza [^\\n]*): [^\\n]*"), "\\1: <motivo>");
        test::VerbiFile(s, [this](const QString& nome) { return File(nome); });
        // "soggetto CODICE NOME": a whole declarant (support/backup_di_prova.h).
        s.verbi["soggetto"] = [this](const QString& a) {
            const QStringList p = test::Parole(a, 1);
            db().insert(schema::COPE(), test::SoggettoCompleto(p[0], test::Decodifica(p[1])));
        };
        // "sql ISTRUZIONE" with the step's "<" lines as its values ("<NULL>" a null); a
        // statement the database refuses is said.
        s.verbi["sql"] = [this](const QString& a) {
            QVariantList valori;
            for (const QString& v : s.Dati())
                valori << (v == "<NULL>" ? QVariant() : QVariant(QStringLiteral("") + test::Decodifica(v)));
            try {
                db().exec(a, valori);
            } catch (const DbError&) {
                s.Stampa("(rifiutata dal database)");
            }
        };
        s.verbi["ricrea"] = [this](const QString&) {
            db().exec(schema::istruzioneCreazione(db(), schema::COPE()));
        };
        // "backup FILE CODICE|tutti chiaro|cripta"
        s.verbi["backup"] = [this](const QString& a) {
            const QStringList p = test::Parole(a);
            ScrittoreBackup scrittore(db());
            scrittore.cripta = p[2] == "cripta";
            int avanzate = 0;
            scrittore.avanza = [&] { ++avanzate; };
            const EsitoBackup esito = scrittore.CreaBackup(File(p[0]), p[1] == "tutti" ? QString() : p[1]);
            if (!esito.riuscito) {
                // The database's own words differ by back-end: only that there are some.
                s.Stampa(QStringLiteral("non riuscito, motivo %1").arg(!MessaggioBackupFallito(esito).isEmpty()));
                return;
            }
            s.Stampa(QStringLiteral("%1 righe, %2 avanzate, %3%4%5")
                         .arg(esito.righe)
                         .arg(avanzate)
                         .arg(esito.criptato ? "criptato" : "in chiaro")
                         .arg(esito.inChiaroPerValori ? ", in chiaro per i valori" : "")
                         .arg(esito.caratteriSostituiti ? ", caratteri sostituiti" : ""));
            if (!NoteBackup(esito).isEmpty())
                s.Stampa(NoteBackup(esito));
        };
        // "ripristina FILE [chiaro] [guasto N] [senza-cartella] [cambia ALTRO]": the database
        // fails at the Nth row; without a program folder no safety copy can be written; at a
        // field message FILE is written again as ALTRO.
        s.verbi["ripristina"] = [this](const QString& a) {
            const QStringList p = test::Parole(a);
            Ripristino ripristino(db(), p.contains("senza-cartella") ? File(p[0]) : programma_.path());
            ripristino.cripta = !p.contains("chiaro");
            ripristino.adesso = [] { return Adesso; };
            const int guasto = p.contains("guasto") ? p.value(p.indexOf("guasto") + 1).toInt() : 0;
            int avanzate = 0;
            ripristino.avanza = [&] {
                if (++avanzate == guasto)
                    throw DbError(0, QStringLiteral("connessione persa"));
            };
            ripristino.segnalaCampo = [&, this](const QString& testo) {
                s.Stampa("(segnalato) " + testo);
                if (p.contains("cambia"))
                    test::ScriviFile(File(p[0]), test::LeggiFile(File(p.last())));
            };
            EsitoRipristino esito = ripristino.Ripristina(File(p[0]));
            if (!esito.riuscito) {
                s.Stampa(MessaggioRipristinoFallito(esito));
                return;
            }
            esito.codici.sort();
            s.Stampa(QStringLiteral("%1 righe, soggetti %2").arg(esito.righe).arg(esito.codici.join(' ')));
            if (!esito.note.isEmpty())
                s.Stampa(esito.note.mid(2));
        };
        // The rows as another client sees them now, against the last "fotografa".
        s.verbi["fotografa"] = [this](const QString&) { foto_ = StatoDaFuori(); };
        s.verbi["confronta"] = [this](const QString&) {
            const QStringList ora = StatoDaFuori();
            for (const QString& riga : foto_)
                if (!ora.contains(riga))
                    s.Stampa("- " + test::Codifica(riga));
            for (const QString& riga : ora)
                if (!foto_.contains(riga))
                    s.Stampa("+ " + test::Codifica(riga));
            if (ora == foto_)
                s.Stampa("(uguale)");
        };
        s.verbi["stato"] = [this](const QString& a) {
            for (const QString& riga : StatoDaFuori())
                if (riga.startsWith(a))
                    s.Stampa(test::Codifica(riga));
        };
        // The safety copies, each scrambled or not and with the names it holds; then removed.
        s.verbi["copie"] = [this](const QString&) {
            QDir cartella(programma_.path());
            for (const QString& copia : cartella.entryList(QDir::Files, QDir::Name)) {
                const FileBackupLetto letto = LeggiFileBackup(cartella.filePath(copia));
                QStringList nomi;
                for (const RigaBackupLetta& riga : letto.righe)
                    nomi << riga.campi.value(3);
                nomi.sort();
                s.Stampa(copia + (letto.intestazione.criptato ? ": criptata, " : ": in chiaro, ") + nomi.join(", "));
                cartella.remove(copia);
            }
        };
        // "tronca DA A N": the first N bytes of a file in another, all but the last -N when
        // negative.
        s.verbi["tronca"] = [this](const QString& a) {
            const QStringList p = test::Parole(a);
            const QByteArray byte = test::LeggiFile(File(p[0]));
            const int n = p[2].toInt();
            test::ScriviFile(File(p[1]), byte.left(n < 0 ? byte.size() + n : n));
        };
    }

    QTemporaryDir programma_;
    test::Scenario s;
    QStringList foto_;
};

// The backup and restore window offscreen, on the SQLite file (scenari/salvataggi.txt and
// ripristini.txt): both backups (single and all declarants), their cancels, the replace
// question, the "Cripta" box, the window's size and default buttons, the restore with a
// valid, an invalid and no file, the progress display, the buttons while a restore runs
// and the restore reached from the menu. The file dialogs and message boxes are answered
// by the scenario and printed as they come; the safety copies go to the program folder.
class FinestraSalva : public Archivio {
protected:
    void SetUp() override
    {
        Archivio::SetUp();
        if (HasFatalFailure())
            return;
        qputenv("QUERCINO_HOME", backend().programDir().toUtf8());
        db().insert(schema::COPE(), test::rigaCope("01", "ROSSI SPA"));
        db().insert(schema::COPE(), test::rigaCope("02", "BIANCHI SRL"));
        CodiceOperatore = "01";
        NomeOperatore = "ROSSI SPA";
        s.Sostituisci(QDir::toNativeSeparators(backend().programDir()), "<programma>");
        s.Sostituisci(DataSalvataggioDi(QDate::currentDate()), "<oggi>");
        s.sostituzioni.emplace_back(QRegularExpression("(non riuscita): .*"), "\\1: <motivo>");
        servizi.emplace(s, cartella_.path());
        VerbiFinestra();
    }
    void TearDown() override
    {
        f.reset();
        qunsetenv("QUERCINO_HOME");
        Archivio::TearDown();
    }
    // A file of the test's folder; "<oggi>" in its name stands for today's date.
    QString FileDiOggi(const QString& nome) const
    {
        return File(QString(nome).replace("<oggi>", DataSalvataggioDi(QDate::currentDate())));
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

    void VerbiFinestra()
    {
        test::VerbiFile(s, [this](const QString& nome) { return FileDiOggi(nome); });
        // "apri S", "apri S tutti", "apri R": a new window in that mode, loaded.
        s.verbi["apri"] = [this](const QString& a) {
            ModoSalva = test::Parole(a).value(0);
            SalvaTutti = a.endsWith("tutti");
            f.reset();
            f = std::make_unique<FSalva>();
            f->Form_Load();
            Stato();
        };
        // "ricarica", "ricarica tutti", "ricarica R": the same window loaded again, in mode S
        // unless R is named.
        s.verbi["ricarica"] = [this](const QString& a) {
            ModoSalva = test::Parole(a).contains("R") ? "R" : "S";
            SalvaTutti = test::Parole(a).contains("tutti");
            f->Form_Load();
        };
        s.verbi["titolo"] = [this](const QString&) { s.Stampa(f->Label1()->text()); };
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
            const RichiestaFile& r = servizi->dialoghi.richieste.back();
            s.Stampa("cartella " + QString(r.cartella).replace(CartellaDesktop(), "<scrivania>") + ", filtri "
                     + r.filtri.join(';'));
        };
        s.verbi["soggetti"] = [this](const QString&) {
            for (const Row& r : db().select(schema::COPE(), " ORDER BY OCOD"))
                s.Stampa(r.text(cope::OCOD) + " " + r.text(cope::ORAG));
        };
        // The safety copies in the program folder, each with the name it holds.
        s.verbi["copie"] = [this](const QString&) {
            const QDir programma(backend().programDir());
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
            ModoSalva = "S";
            SalvaTutti = true;
            FSalva tutti;
            tutti.Form_Load();
            s.Stampa(QStringLiteral("S tutti: Invio=") + (tutti.saveALL()->isDefault() ? "Salva TUTTI" : ""));
            SalvaTutti = false;
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
            for (const auto& f : finestre) {   // each mode on the usual screens
                f->show();
                QCoreApplication::processEvents();
                s.Stampa(test::FinestraSuGliSchermi(*f));
            }
            ImpostaFinestraPrincipale(nullptr);
        };
    }

    std::optional<test::ServiziInScenario> servizi;
    std::unique_ptr<FSalva> f;
};

} // namespace

TEST_P(Archivio, Passi)
{
    EXPECT_SCENARIO(s, "scenari/archivio.txt");
}

QUERCINO_DB_BACKENDS(Archivio);

TEST_P(FinestraSalva, Salvataggi)
{
    EXPECT_SCENARIO(s, "scenari/salvataggi.txt");
}

TEST_P(FinestraSalva, Ripristini)
{
    EXPECT_SCENARIO(s, "scenari/ripristini.txt");
}

QUERCINO_DB_SOLO_FILE(FinestraSalva);

class Grande : public test::BackupTest {};

// A registry whose backup is larger than 16 MB: 3,500 declarants with every column at
// its width, each line as long as a line can be. Written whole, restored over the registry
// it came from (a safety copy of all of it first), the database as it was; one declarant
// fewer allowed, the backup and the restore are refused and say why.
TEST_P(Grande, OltreSediciMega)
{
    constexpr int Soggetti = 3500;
    test::RegistroAlLimite(db(), Soggetti);
    const QStringList prima = StatoDaFuori();
    ScrittoreBackup scrittore(db());
    const EsitoBackup scritto = scrittore.CreaBackup(File("tutti.VEKO"), QString());
    ASSERT_TRUE(scritto.riuscito) << scritto.errore.toStdString();
    const qint64 dimensione = QFileInfo(File("tutti.VEKO")).size();
    EXPECT_GT(dimensione, qint64{16} << 20);
    EXPECT_EQ(dimensione, Soggetti * LunghezzaMassimaRiga(schema::COPE()));

    db().exec(QStringLiteral("UPDATE COPE SET ORAG = 'CAMBIATO'"));
    Ripristino ripristino(db(), cartella_.path());
    EsitoRipristino esito = ripristino.Ripristina(File("tutti.VEKO"));
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    EXPECT_EQ(esito.righe, Soggetti);
    EXPECT_EQ(StatoDaFuori(), prima);
    EXPECT_EQ(LeggiFileBackup(esito.copiaSicurezza).righe.size(), std::size_t{Soggetti});

    scrittore.massimoSoggetti = Soggetti - 1;
    EXPECT_EQ(MessaggioBackupFallito(scrittore.CreaBackup(File("troppi.VEKO"), QString())),
              "Creazione file di BackUP non riuscita: l'archivio contiene più soggetti obbligati dei 3.499 che un "
              "file di backUp può contenere\r\nNessun file di backUp è stato scritto.");
    EXPECT_FALSE(QFile::exists(File("troppi.VEKO")));
    ripristino.massimoSoggetti = Soggetti - 1;
    EXPECT_EQ(ripristino.Ripristina(File("tutti.VEKO")).errore,
              "Riga 3500 del file: il file contiene più soggetti obbligati dei 3.499 che un file di backUp può "
              "contenere");
}

QUERCINO_DB_BACKENDS(Grande);

// The server ends the connection in the middle of a restore, as a stopped server or a
// dropped network would: the user is told so in words, and nothing changed.
TEST(RipristinoSenzaConnessionePostgres, LoDiceENienteCambia)
{
    test::DbBackend backend(test::Backend::OdbcPostgres);
    Database& db = backend.db();
    db.insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
    const QStringList prima = test::StatoArchivio(*backend.apriAltraConnessione());
    const auto processo = db.scalar(QStringLiteral("SELECT pg_backend_pid()"), {}, ColumnType::Integer);
    ASSERT_TRUE(processo.has_value());
    QTemporaryDir cartella;
    const QString file = cartella.filePath("b.VEKO");
    ASSERT_TRUE(test::ScriviFile(file, test::LineaBackup(schema::COPE(), {"01", "NUOVA"})
                                           + test::LineaBackup(schema::COPE(), {"02", "ALTRA"})));
    auto server = backend.apriAltraConnessione();
    Ripristino ripristino(db, cartella.path());
    ripristino.avanza = [&] { server->exec(QStringLiteral("SELECT pg_terminate_backend(?)"), {*processo}); };
    const EsitoRipristino esito = ripristino.Ripristina(file);
    EXPECT_FALSE(esito.riuscito);
    EXPECT_EQ(MessaggioRipristinoFallito(esito), "Ripristino non riuscito: la connessione al database è stata persa"
                                                 "\r\nI dati presenti non sono stati modificati.");
    EXPECT_EQ(test::StatoArchivio(*backend.apriAltraConnessione()), prima);
}
