// The backup and restore window offscreen, on the SQLite file, with the dialogs and
// message boxes answered by test doubles: both backups (single and all declarants), their
// cancels, the replace question, the "Cripta" box, the restore with a valid, an invalid
// and no file, the progress display and the restore reached from the menu.

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
#include "support/db_backends.h"
#include "support/golden.h"
#include "support/servizi_simulati.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quercino;
using test::LeggiFile;

namespace {

QString Oggi()
{
    return DataSalvataggioDi(QDate::currentDate());
}

class FinestraSalva : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cnn = &backend_.db();
        qputenv("QUERCINO_HOME", backend_.programDir().toUtf8());
        db().insert(schema::COPE(), test::rigaCope("01", "ROSSI SPA"));
        db().insert(schema::COPE(), test::rigaCope("02", "BIANCHI SRL"));
        ModoSalva = "S";
        SalvaTutti = false;
        CodiceOperatore = "01";
        NomeOperatore = "ROSSI SPA";
    }
    void TearDown() override
    {
        Cnn = nullptr;
        qunsetenv("QUERCINO_HOME");
    }
    Database& db() { return backend_.db(); }
    QString File(const QString& nome) const { return cartella_.filePath(nome); }
    QStringList FileScritti() const { return QDir(cartella_.path()).entryList(QDir::Files); }
    QString Ragione(const char* codice)
    {
        return db().select(schema::COPE(), " WHERE OCOD = ?", {codice}).at(0).text(cope::ORAG);
    }
    // A restore window on a file holding `contenuto`.
    std::unique_ptr<FSalva> Ripristino(const QByteArray& contenuto)
    {
        test::ScriviFile(File("b.VEKO"), contenuto);
        ModoSalva = "R";
        dialoghi_.aperture = {QStringList{File("b.VEKO")}};
        auto f = std::make_unique<FSalva>();
        f->Form_Load();
        return f;
    }

    test::DbBackend backend_{test::Backend::SqliteFile};
    QTemporaryDir cartella_;
    test::MessaggiSimulati messaggi_;
    test::DialoghiSimulati dialoghi_;
};

} // namespace

TEST_F(FinestraSalva, BackupDelSoggettoCorrente)
{
    FSalva f;
    f.Form_Load();
    EXPECT_EQ(f.Label2()->text(), "ROSSI SPA");
    EXPECT_TRUE(f.bconferma()->isVisibleTo(&f));
    EXPECT_FALSE(f.saveALL()->isVisibleTo(&f));
    EXPECT_FALSE(f.PBar1()->isVisibleTo(&f));
    dialoghi_.salvataggi = {File("scelto.VEKO")};
    f.bconferma_Click();
    ASSERT_EQ(dialoghi_.richieste.size(), 1u);
    const RichiestaFile& richiesta = dialoghi_.richieste[0];
    EXPECT_EQ(richiesta.titolo, "Indica dove salvare il file di backUp");
    EXPECT_EQ(richiesta.cartella, CartellaDesktop());
    EXPECT_EQ(richiesta.nomeFile, "SAVEVEKO_01_ROSSISPA_" + Oggi() + ".VEKO");
    EXPECT_EQ(richiesta.filtri, QStringList{"BackUp VEKO (*.VEKO)"});
    EXPECT_EQ(f.PERC()->text(), "1");
    ASSERT_EQ(messaggi_.mostrati.size(), 1u);
    EXPECT_EQ(messaggi_.mostrati[0].testo, "Creazione file di BackUP terminata");
    EXPECT_TRUE(f.Chiusa());
    // Scrambled by default: the name "COPE" moved by 8 to 11, the code "01" by 8 and 9.
    EXPECT_TRUE(LeggiFile(File("scelto.VEKO")).startsWith("\xA6" "KXZP" "\xA6" "8:" "\xA6"));

    // "Cripta" taken off writes plain; the box is ticked again at the next load.
    f.Form_Load();
    f.Crip()->setChecked(false);
    dialoghi_.salvataggi = {File("chiaro.VEKO")};
    f.bconferma_Click();
    EXPECT_TRUE(LeggiFile(File("chiaro.VEKO")).startsWith("\xA6" "COPE" "\xA6" "01" "\xA6" "ROSSI SPA" "\xA6"));
    f.Form_Load();
    EXPECT_TRUE(f.Crip()->isChecked());
}

TEST_F(FinestraSalva, AnnulloSostituzioneECartellaImpossibile)
{
    FSalva f;
    f.Form_Load();
    dialoghi_.salvataggi = {QString()};
    f.bconferma_Click();
    EXPECT_FALSE(f.Chiusa());
    EXPECT_TRUE(messaggi_.mostrati.empty());
    EXPECT_TRUE(FileScritti().isEmpty());

    // An existing file: "No" asks again, "Yes" replaces it.
    const QString esistente = File("esistente.VEKO");
    test::ScriviFile(esistente, "vecchio");
    dialoghi_.salvataggi = {esistente, esistente};
    messaggi_.risposte = {RispostaNo, RispostaSi};
    f.bconferma_Click();
    EXPECT_EQ(dialoghi_.richieste.size(), 3u);
    ASSERT_EQ(messaggi_.mostrati.size(), 3u);
    EXPECT_EQ(messaggi_.mostrati[1].titolo, "Controllo Documento");
    EXPECT_TRUE(LeggiFile(esistente).startsWith("\xA6" "KXZP"));

    // A folder that cannot exist: the failure is told and the window stays.
    messaggi_.mostrati.clear();
    FSalva g;
    g.Form_Load();
    dialoghi_.salvataggi = {esistente + "/b.VEKO"};
    g.bconferma_Click();
    ASSERT_EQ(messaggi_.mostrati.size(), 1u);
    EXPECT_TRUE(messaggi_.mostrati[0].testo.startsWith("Creazione file di BackUP non riuscita"));
    EXPECT_EQ(messaggi_.mostrati[0].icona, Icona::Critica);
    EXPECT_FALSE(g.Chiusa());
}

TEST_F(FinestraSalva, BackupDiTuttiNellaCartellaScelta)
{
    SalvaTutti = true;
    {
        FSalva annullata;
        annullata.Form_Load();
        dialoghi_.salvataggi = {QString()};
        annullata.saveALL_Click();
        annullata.bannulla_Click();
        EXPECT_TRUE(SalvaTutti);
        EXPECT_TRUE(messaggi_.mostrati.empty());
    }
    // A folder with "(" in its path: only the folder of the chosen path counts.
    ASSERT_TRUE(QDir(cartella_.path()).mkdir("copie (2026)"));
    FSalva f;
    f.Form_Load();
    EXPECT_TRUE(f.saveALL()->isVisibleTo(&f));
    EXPECT_EQ(f.Label2()->text(), "(TUTTI)");
    dialoghi_.salvataggi = {File("copie (2026)/(TUTTI)")};
    f.saveALL_Click();
    EXPECT_EQ(dialoghi_.richieste.back().nomeFile, "(TUTTI)");
    const QString atteso = File("copie (2026)/SAVEVEKO_TUTTI_" + Oggi() + ".VEKO");
    EXPECT_EQ(LeggiFileBackup(atteso).righe.size(), 2u);
    ASSERT_EQ(messaggi_.mostrati.size(), 1u);
    EXPECT_EQ(messaggi_.mostrati[0].testo, "Salvataggio terminato");
    EXPECT_FALSE(SalvaTutti);
    EXPECT_TRUE(f.Chiusa());

    // The same window later in the run writes to the same folder without asking.
    QFile::remove(atteso);
    SalvaTutti = true;
    f.Form_Load();
    f.saveALL_Click();
    EXPECT_EQ(dialoghi_.richieste.size(), 2u);
    EXPECT_TRUE(QFile::exists(atteso));
}

TEST_F(FinestraSalva, RipristinoConfermatoEFinestraOccupata)
{
    SalvaTutti = true;  // left over from an earlier command: no effect on a restore
    auto f = Ripristino(test::LineaBackup(schema::COPE(), {"01", "ROSSI RIPRISTINATA"})
                        + test::LineaBackup(schema::COPE(), {"03", "VERDI"}));
    ASSERT_FALSE(f->Chiusa());
    EXPECT_EQ(dialoghi_.richieste.at(0).titolo, "Indica il file di backUp da ripristinare");
    EXPECT_EQ(f->Label2()->text(), "01 ROSSI RIPRISTINATA");
    EXPECT_EQ(f->Label3()->text(),
              "Confermi il ripristino di questo archivio? Se presenti, i dati dell'operatore saranno SOSTITUITI");
    // The progress display lets these run in the middle of the restore: nothing restarts.
    bool occupata = false;
    QTimer::singleShot(0, f.get(), [&] {
        occupata = f->Occupata() && !f->bconferma()->isEnabled() && !f->bannulla()->isEnabled();
        f->bconferma_Click();
        f->bannulla_Click();
        f->reject();
    });
    f->bconferma_Click();
    EXPECT_TRUE(occupata);
    EXPECT_TRUE(f->Chiusa());
    EXPECT_EQ(Ragione("01"), "ROSSI RIPRISTINATA");
    EXPECT_EQ(db().select(schema::COPE()).size(), 3u);
    // One safety copy, in the program folder, of the declarant as it was; the final message
    // names it.
    const QStringList copie = QDir(backend_.programDir()).entryList({"BFRR_*"}, QDir::Files);
    ASSERT_EQ(copie, QStringList{"BFRR_01_" + Oggi() + ".VEKO"});
    ASSERT_EQ(messaggi_.mostrati.size(), 1u);
    EXPECT_EQ(messaggi_.mostrati[0].testo, "Ripristino terminato\r\nCopia di sicurezza dei dati sostituiti:\r\n"
                                               + QDir::toNativeSeparators(backend_.programDir() + "/" + copie[0]));
    EXPECT_EQ(LeggiFileBackup(backend_.programDir() + "/" + copie[0]).righe.at(0).campi.at(3), "ROSSI SPA");
}

TEST_F(FinestraSalva, RipristinoFallitoSenzaFileONonValido)
{
    auto f = Ripristino(test::LineaBackup(schema::COPE(), {"01", "A"}) + "\xA6" "ALTRA" "\xA6" "01\r\n");
    f->bconferma_Click();
    ASSERT_EQ(messaggi_.mostrati.size(), 1u);
    EXPECT_TRUE(messaggi_.mostrati[0].testo.startsWith("Ripristino non riuscito: Riga 2 del file"));
    EXPECT_EQ(Ragione("01"), "ROSSI SPA");

    for (const QByteArray& contenuto : {QByteArray(), QByteArray("\xA6" "COPE" "\xA6" "01\r\n")}) {
        messaggi_.mostrati.clear();
        EXPECT_TRUE(Ripristino(contenuto)->Chiusa());
        ASSERT_EQ(messaggi_.mostrati.size(), 1u);
        EXPECT_EQ(messaggi_.mostrati[0].testo, "Il file indicato non è un file di backUp di VEKO. Operazione annullata");
    }
    messaggi_.mostrati.clear();
    dialoghi_.aperture.clear();   // the open dialog is cancelled
    FSalva g;
    g.Form_Load();
    EXPECT_TRUE(g.Chiusa());
    EXPECT_TRUE(messaggi_.mostrati.empty());
    EXPECT_EQ(db().select(schema::COPE()).size(), 2u);
}

// One size for every use, whatever name it shows, centred on the main window; in a restore,
// which replaces data, Enter answers with the cancel button.
TEST_F(FinestraSalva, UnaMisuraCentrataSullaPrincipale)
{
    QWidget principale;
    principale.setGeometry(40, 30, 700, 500);
    principale.show();
    ImpostaFinestraPrincipale(&principale);
    NomeOperatore = QString(296, QLatin1Char('R'));
    FSalva s;
    s.Form_Load();
    EXPECT_TRUE(s.bconferma()->isDefault());
    auto r = Ripristino("\xA6" "COPE" "\xA6" "01" "\xA6" "ROSSI RIPRISTINATA\r\n");
    EXPECT_TRUE(r->bannulla()->isDefault() && !r->bconferma()->isDefault());
    for (const FSalva* f : {&s, r.get()}) {
        EXPECT_EQ(f->size(), s.size());
        EXPECT_GE(f->height(), f->layout()->minimumSize().height()) << "nothing clipped";
        EXPECT_LE((f->frameGeometry().center() - principale.frameGeometry().center()).manhattanLength(), 2);
    }
    EXPECT_LE(s.Label2()->sizeHint().width(), s.width());
    ImpostaFinestraPrincipale(nullptr);
}

TEST_F(FinestraSalva, AvanzamentoRicominciaDaUno)
{
    FSalva f;
    f.Form_Load();
    for (int i = 0; i < 1001; ++i)
        f.AvanzaProgresso();
    EXPECT_EQ(f.PBar1()->value(), 2);
    EXPECT_EQ(f.PERC()->text(), "1001");
}

namespace {

// The main window as the dispatcher sees it: the registered backup window, and a registry
// whose refresh is counted.
class AmbienteProva final : public AmbienteComandi, public FinestraAnagrafica {
public:
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
    void Lista() override { ++liste; }
    int liste = 0;
};

} // namespace

TEST_F(FinestraSalva, RipristinoDalMenu)
{
    CollegaFinestre();
    test::ScriviFile(File("b.VEKO"), test::LineaBackup(schema::COPE(), {"02", "BIANCHI DAL MENU"}));
    dialoghi_.aperture = {QStringList{File("b.VEKO")}};
    CodiceOperatore.clear();  // a restore needs no current declarant
    // The window runs modally: confirm it as soon as it shows.
    FSalva* vista = nullptr;
    QTimer::singleShot(0, [&] {
        vista = qobject_cast<FSalva*>(QApplication::activeModalWidget());
        if (vista)
            vista->bconferma()->click();
    });
    AmbienteProva ambiente;
    CommandBars_Execute(ambiente, comando::Ripristina, QStringLiteral("Ripristina Dati"));
    ASSERT_NE(vista, nullptr);
    EXPECT_EQ(ambiente.liste, 1);
    EXPECT_EQ(Ragione("02"), "BIANCHI DAL MENU");
    EXPECT_TRUE(messaggi_.mostrati.back().testo.startsWith("Ripristino terminato\r\nCopia di sicurezza"));
    delete vista;
}
