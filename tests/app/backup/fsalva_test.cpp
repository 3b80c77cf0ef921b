// The backup and restore window offscreen, on the SQLite file, with the dialogs and
// message boxes answered by test doubles: both backups (single and all declarants),
// their cancels, the replace question, the "Cripta" box, the restore with a valid, an
// invalid and no file, the progress display and the registration with the main window.

#include "app/backup/FSalva.h"

#include "app/backup/LeggiBackup.h"
#include "app/backup/NomiBackup.h"
#include "app/backup/RegistraFSalva.h"
#include "app/core/Globals.h"
#include "app/core/Percorsi.h"
#include "app/core/Schema.h"
#include "app/shell/BarreComandi.h"
#include "app/shell/Collegamenti.h"
#include "app/shell/CommandBarsExecute.h"
#include "support/db_backends.h"
#include "support/servizi_simulati.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

QByteArray Contenuto(const QString& percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<manca>");
    return file.readAll();
}

void Scrivi(const QString& percorso, const QByteArray& byte)
{
    QFile file(percorso);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(byte);
}

QString Oggi()
{
    return DataSalvataggioDi(QDate::currentDate());
}

class FinestraSalva : public ::testing::Test {
protected:
    void SetUp() override
    {
        backend_ = std::make_unique<test::DbBackend>(test::Backend::SqliteFile);
        Cnn = &backend_->db();
        qputenv("QUERCINO_HOME", backend_->programDir().toUtf8());
        ASSERT_TRUE(cartella_.isValid());
        backend_->db().insert(schema::COPE(), test::rigaCope("01", "ROSSI SPA"));
        backend_->db().insert(schema::COPE(), test::rigaCope("02", "BIANCHI SRL"));
        ModoSalva = "S";
        SalvaTutti = false;
        CodiceOperatore = "01";
        NomeOperatore = "ROSSI SPA";
    }
    void TearDown() override
    {
        Cnn = nullptr;
        qunsetenv("QUERCINO_HOME");
        CodiceOperatore.clear();
        NomeOperatore.clear();
    }
    Database& db() { return backend_->db(); }
    QString File(const QString& nome) const { return cartella_.filePath(nome); }
    QStringList FileScritti() const { return QDir(cartella_.path()).entryList(QDir::Files); }

    std::unique_ptr<test::DbBackend> backend_;
    QTemporaryDir cartella_;
    test::MessaggiSimulati messaggi_;
    test::DialoghiSimulati dialoghi_;
};

} // namespace

TEST_F(FinestraSalva, BackupDelSoggettoCorrente)
{
    FSalva f;
    f.Form_Load();
    EXPECT_FALSE(f.Chiusa());
    EXPECT_EQ(f.Label1()->text(), "Crea ARCHIVIO DI BACKUP");
    EXPECT_EQ(f.Label2()->text(), "ROSSI SPA");
    EXPECT_TRUE(f.bconferma()->isVisibleTo(&f));
    EXPECT_FALSE(f.saveALL()->isVisibleTo(&f));
    EXPECT_FALSE(f.Label3()->isVisibleTo(&f));
    EXPECT_FALSE(f.PBar1()->isVisibleTo(&f));
    EXPECT_FALSE(f.PERC()->isVisibleTo(&f));
    EXPECT_FALSE(f.Label16()->isVisibleTo(&f));
    EXPECT_TRUE(f.Crip()->isChecked());
    EXPECT_EQ(f.bconferma()->text(), "   Conferma");
    EXPECT_EQ(f.DataSalvataggio(), Oggi());

    const QString percorso = File("scelto.VEKO");
    dialoghi_.salvataggi = {percorso};
    f.bconferma_Click();
    ASSERT_EQ(dialoghi_.richieste.size(), 1u);
    const RichiestaFile& richiesta = dialoghi_.richieste[0];
    EXPECT_EQ(richiesta.titolo, "Indica dove salvare il file di backUp");
    EXPECT_EQ(richiesta.cartella, CartellaDesktop());
    EXPECT_EQ(richiesta.nomeFile, "SAVEVEKO_01_ROSSISPA_" + Oggi() + ".VEKO");
    EXPECT_EQ(richiesta.filtri, QStringList{"BackUp VEKO (*.VEKO)"});

    EXPECT_EQ(f.Label1()->text(), "CREA ARCHIVIO DI BACKUP");
    EXPECT_EQ(f.ContaRighe(), 1);
    EXPECT_EQ(f.PERC()->text(), "1");
    ASSERT_EQ(messaggi_.mostrati.size(), 1u);
    EXPECT_EQ(messaggi_.mostrati[0].testo, "Creazione file di BackUP terminata");
    EXPECT_TRUE(f.Chiusa());
    // Scrambled by default: the name "COPE" moved by 8 to 11, the code "01" by 8 and 9.
    EXPECT_TRUE(Contenuto(percorso).startsWith("\xA6" "KXZP" "\xA6" "8:" "\xA6"));
    EXPECT_EQ(FileScritti(), QStringList{"scelto.VEKO"});
}

TEST_F(FinestraSalva, CriptaTolta)
{
    FSalva f;
    f.Form_Load();
    f.Crip()->setChecked(false);
    dialoghi_.salvataggi = {File("chiaro.VEKO")};
    f.bconferma_Click();
    EXPECT_TRUE(Contenuto(File("chiaro.VEKO")).startsWith("\xA6" "COPE" "\xA6" "01" "\xA6" "ROSSI SPA" "\xA6"));
    // The box is ticked again at the next load.
    f.Form_Load();
    EXPECT_TRUE(f.Crip()->isChecked());
}

TEST_F(FinestraSalva, AnnulloESostituzione)
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
    Scrivi(esistente, "vecchio");
    dialoghi_.salvataggi = {esistente, esistente};
    messaggi_.risposte = {RispostaNo, RispostaSi};
    f.bconferma_Click();
    EXPECT_EQ(dialoghi_.richieste.size(), 3u);
    ASSERT_EQ(messaggi_.mostrati.size(), 3u);
    EXPECT_EQ(messaggi_.mostrati[0].titolo, "Controllo Documento");
    EXPECT_EQ(messaggi_.mostrati[1].titolo, "Controllo Documento");
    EXPECT_EQ(messaggi_.mostrati[2].testo, "Creazione file di BackUP terminata");
    EXPECT_TRUE(Contenuto(esistente).startsWith("\xA6" "KXZP"));
}

TEST_F(FinestraSalva, BackupInCartellaImpossibile)
{
    FSalva f;
    f.Form_Load();
    Scrivi(File("unfile"), "x");
    dialoghi_.salvataggi = {File("unfile") + "/b.VEKO"};
    f.bconferma_Click();
    ASSERT_EQ(messaggi_.mostrati.size(), 1u);
    EXPECT_TRUE(messaggi_.mostrati[0].testo.startsWith("Creazione file di BackUP non riuscita"));
    EXPECT_EQ(messaggi_.mostrati[0].icona, Icona::Critica);
    EXPECT_FALSE(f.Chiusa());
}

TEST_F(FinestraSalva, BackupDiTuttiNellaCartellaScelta)
{
    SalvaTutti = true;
    // A folder with "(" in its path: only the folder of the chosen path counts.
    ASSERT_TRUE(QDir(cartella_.path()).mkdir("copie (2026)"));
    const QString cartella = File("copie (2026)");
    FSalva f;
    f.Form_Load();
    EXPECT_TRUE(f.saveALL()->isVisibleTo(&f));
    EXPECT_FALSE(f.bconferma()->isVisibleTo(&f));
    EXPECT_EQ(f.Label2()->text(), "(TUTTI)");

    dialoghi_.salvataggi = {cartella + "/(TUTTI)"};
    f.saveALL_Click();
    ASSERT_EQ(dialoghi_.richieste.size(), 1u);
    EXPECT_EQ(dialoghi_.richieste[0].nomeFile, "(TUTTI)");
    EXPECT_EQ(dialoghi_.richieste[0].titolo, "Indica dove salvare il file di backUp");
    const QString atteso = cartella + "/SAVEVEKO_TUTTI_" + Oggi() + ".VEKO";
    EXPECT_EQ(f.PercorsoBackup(), atteso);
    const FileBackupLetto letto = LeggiFileBackup(atteso);
    EXPECT_EQ(letto.righe.size(), 2u);
    ASSERT_EQ(messaggi_.mostrati.size(), 1u);
    EXPECT_EQ(messaggi_.mostrati[0].testo, "Salvataggio terminato");
    EXPECT_FALSE(SalvaTutti);
    EXPECT_TRUE(f.Chiusa());
    EXPECT_FALSE(f.PBar1()->isVisibleTo(&f));

    // The same window later in the run writes to the same folder without asking.
    QFile::remove(atteso);
    SalvaTutti = true;
    f.Form_Load();
    f.saveALL_Click();
    EXPECT_EQ(dialoghi_.richieste.size(), 1u);
    EXPECT_TRUE(QFile::exists(atteso));
}

TEST_F(FinestraSalva, BackupDiTuttiAnnullato)
{
    SalvaTutti = true;
    FSalva f;
    f.Form_Load();
    dialoghi_.salvataggi = {QString()};
    f.saveALL_Click();
    EXPECT_TRUE(f.CartellaTutti().isEmpty());
    EXPECT_TRUE(messaggi_.mostrati.empty());
    EXPECT_TRUE(SalvaTutti);
    EXPECT_FALSE(f.Chiusa());
    EXPECT_TRUE(QDir::current().entryList({"SAVEVEKO_TUTTI_*"}, QDir::Files).isEmpty());
}

TEST_F(FinestraSalva, AnnullaNonScriveNulla)
{
    SalvaTutti = true;
    FSalva f;
    f.Form_Load();
    f.bannulla_Click();
    EXPECT_TRUE(f.Chiusa());
    EXPECT_TRUE(SalvaTutti);
    EXPECT_TRUE(dialoghi_.richieste.empty());
    EXPECT_TRUE(FileScritti().isEmpty());
}

TEST_F(FinestraSalva, RipristinoConfermato)
{
    const QString percorso = File("b.VEKO");
    Scrivi(percorso, "\xA6" "COPE" "\xA6" "01" "\xA6" "ROSSI RIPRISTINATA" "\xA6" "\r\n");
    ModoSalva = "R";
    SalvaTutti = true;  // left over from an earlier command: no effect on a restore
    dialoghi_.aperture = {QStringList{percorso}};
    FSalva f;
    f.Form_Load();
    ASSERT_FALSE(f.Chiusa());
    ASSERT_EQ(dialoghi_.richieste.size(), 1u);
    EXPECT_EQ(dialoghi_.richieste[0].titolo, "Indica il file di backUp da ripristinare");
    EXPECT_EQ(dialoghi_.richieste[0].filtri, QStringList{"BackUp VEKO (*.VEKO)"});
    EXPECT_EQ(f.Label1()->text(), "RIPRISTINA ARCHIVIO DI BACKUP");
    EXPECT_EQ(f.Label2()->text(), "01 ROSSI RIPRISTINATA");
    EXPECT_TRUE(f.Label3()->isVisibleTo(&f));
    EXPECT_EQ(f.Label3()->text(), "Confermi il ripristino di questo archivio? Se presenti, i dati dell'operatore saranno SOSTITUITI");
    EXPECT_TRUE(f.bconferma()->isVisibleTo(&f));
    EXPECT_FALSE(f.saveALL()->isVisibleTo(&f));
    EXPECT_EQ(f.CodiceRipristino(), "01");

    f.bconferma_Click();
    ASSERT_EQ(messaggi_.mostrati.size(), 1u);
    EXPECT_EQ(messaggi_.mostrati[0].testo, "Ripristino terminato");
    EXPECT_TRUE(f.Chiusa());
    const auto righe = db().select(schema::COPE(), " WHERE OCOD = ?", {"01"});
    ASSERT_EQ(righe.size(), 1u);
    EXPECT_EQ(righe[0].text(cope::ORAG), "ROSSI RIPRISTINATA");
    EXPECT_EQ(db().select(schema::COPE()).size(), 2u);
    // The safety copy went to the program folder first.
    const QString copia = backend_->programDir() + "/BFRR_01_" + Oggi() + ".VEKO";
    ASSERT_TRUE(QFile::exists(copia));
    EXPECT_EQ(LeggiFileBackup(copia).righe.at(0).campi.at(3), "ROSSI SPA");
}

TEST_F(FinestraSalva, DuranteIlLavoroLaFinestraNonRiparte)
{
    const QString percorso = File("b.VEKO");
    Scrivi(percorso, "\xA6" "COPE" "\xA6" "01" "\xA6" "ROSSI RIPRISTINATA\r\n"
                     "\xA6" "COPE" "\xA6" "03" "\xA6" "VERDI\r\n");
    ModoSalva = "R";
    dialoghi_.aperture = {QStringList{percorso}};
    FSalva f;
    f.Form_Load();
    ASSERT_FALSE(f.Chiusa());
    // The progress display lets these run in the middle of the restore.
    bool occupataDurante = false;
    bool pulsantiSpenti = false;
    QTimer::singleShot(0, &f, [&] {
        occupataDurante = f.Occupata();
        pulsantiSpenti = !f.bconferma()->isEnabled() && !f.bannulla()->isEnabled();
        f.bconferma_Click();
        f.bannulla_Click();
        f.reject();
        EXPECT_FALSE(f.Chiusa());
    });
    f.bconferma_Click();
    EXPECT_TRUE(occupataDurante);
    EXPECT_TRUE(pulsantiSpenti);
    ASSERT_EQ(messaggi_.mostrati.size(), 1u);
    EXPECT_EQ(messaggi_.mostrati[0].testo, "Ripristino terminato");
    EXPECT_TRUE(f.Chiusa());
    EXPECT_FALSE(f.Occupata());
    EXPECT_EQ(db().select(schema::COPE(), " WHERE OCOD = ?", {"01"}).at(0).text(cope::ORAG), "ROSSI RIPRISTINATA");
    EXPECT_EQ(db().select(schema::COPE()).size(), 3u);
    // One safety copy: a second restore never started.
    EXPECT_EQ(QDir(backend_->programDir()).entryList({"BFRR_*"}, QDir::Files).size(), 1);
}

TEST_F(FinestraSalva, RipristinoFallitoLoDice)
{
    const QString percorso = File("b.VEKO");
    Scrivi(percorso, "\xA6" "COPE" "\xA6" "01" "\xA6" "A\r\n" "\xA6" "ALTRA" "\xA6" "01\r\n");
    ModoSalva = "R";
    dialoghi_.aperture = {QStringList{percorso}};
    FSalva f;
    f.Form_Load();
    f.bconferma_Click();
    ASSERT_EQ(messaggi_.mostrati.size(), 1u);
    EXPECT_TRUE(messaggi_.mostrati[0].testo.startsWith("Ripristino non riuscito: Riga 2 del file"));
    EXPECT_EQ(messaggi_.mostrati[0].icona, Icona::Critica);
    EXPECT_EQ(db().select(schema::COPE(), " WHERE OCOD = ?", {"01"}).at(0).text(cope::ORAG), "ROSSI SPA");
}

TEST_F(FinestraSalva, RipristinoSenzaFileONonValido)
{
    ModoSalva = "R";
    {
        FSalva f;
        f.Form_Load();  // the open dialog is cancelled
        EXPECT_TRUE(f.Chiusa());
        EXPECT_TRUE(messaggi_.mostrati.empty());
    }
    for (const QByteArray& contenuto : {QByteArray(), QByteArray("\xA6" "CTAB" "\xA6" "PAESE" "\xA6" "IT\r\n"),
                                        QByteArray("\xA6" "COPE" "\xA6" "01\r\n")}) {
        messaggi_.mostrati.clear();
        const QString percorso = File("x.VEKO");
        Scrivi(percorso, contenuto);
        dialoghi_.aperture = {QStringList{percorso}};
        FSalva f;
        f.Form_Load();
        EXPECT_TRUE(f.Chiusa());
        ASSERT_EQ(messaggi_.mostrati.size(), 1u);
        EXPECT_EQ(messaggi_.mostrati[0].testo, "Il file indicato non è un file di backUp di VEKO. Operazione annullata");
        EXPECT_EQ(messaggi_.mostrati[0].pulsanti, Pulsanti::Ok);
    }
    EXPECT_EQ(db().select(schema::COPE()).size(), 2u);
}

TEST_F(FinestraSalva, AvanzamentoRicominciaDaUno)
{
    FSalva f;
    f.Form_Load();
    for (int i = 0; i < 999; ++i)
        f.AvanzaProgresso();
    EXPECT_EQ(f.PBar1()->value(), 999);
    f.AvanzaProgresso();
    EXPECT_EQ(f.PBar1()->value(), 1);
    f.AvanzaProgresso();
    EXPECT_EQ(f.PBar1()->value(), 2);
    EXPECT_EQ(f.ContaRighe(), 1001);
    EXPECT_EQ(f.PERC()->text(), "1001");
}

TEST_F(FinestraSalva, RegistrataPerIlMenu)
{
    RegistraFSalva();
    const ApriSalvataggio& apri = SalvataggioRegistrato();
    ASSERT_TRUE(static_cast<bool>(apri));
    // A restore whose open dialog is cancelled closes before it is shown: the call returns.
    ModoSalva = "R";
    apri(nullptr);
    ASSERT_EQ(dialoghi_.richieste.size(), 1u);
    EXPECT_EQ(dialoghi_.richieste[0].titolo, "Indica il file di backUp da ripristinare");
    // The window is kept for the run; the program parents it to the main window, here
    // it has no parent and the test removes it.
    for (QWidget* finestra : QApplication::topLevelWidgets()) {
        if (qobject_cast<FSalva*>(finestra))
            delete finestra;
    }
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
    RegistraFSalva();
    const QString percorso = File("b.VEKO");
    Scrivi(percorso, "\xA6" "COPE" "\xA6" "02" "\xA6" "BIANCHI DAL MENU\r\n");
    dialoghi_.aperture = {QStringList{percorso}};
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
    EXPECT_EQ(ModoSalva, "R");
    EXPECT_EQ(ambiente.liste, 1);
    EXPECT_EQ(db().select(schema::COPE(), " WHERE OCOD = ?", {"02"}).at(0).text(cope::ORAG), "BIANCHI DAL MENU");
    ASSERT_FALSE(messaggi_.mostrati.empty());
    EXPECT_EQ(messaggi_.mostrati.back().testo, "Ripristino terminato");
    delete vista;
}
