// The main window on the offscreen platform: its bars item by item against the designed
// table, hidden until "ENTRA", the registry opened as its child window, and each action
// reaching the dispatcher with its own ID and caption.

#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/shell/BarreComandi.h"
#include "app/shell/Collegamenti.h"
#include "app/shell/F0.h"
#include "app/shell/F0INI.h"
#include "app/shell/FVer.h"
#include "app/shell/Indirizzi.h"
#include "support/apertura_registrata.h"
#include "support/servizi_simulati.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
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

struct Attesa {
    const char* caption;
    int id;
    bool gruppo;
};

// The bars as designed.
const Attesa funzioni[] = {
    {"Salva Dati (singolo)", 721, false}, {"Salva Dati (tutti)", 721, false},
    {"Ripristina Dati", 722, false},      {"Registra", 700, true},
    {"Aggiungi", 701, false},             {"Elimina", 702, false},
    {"Esci dal Programma", 708, true},
};
const Attesa aiuto[] = {
    {"Portale FATTURE e CORRISPETTIVI (Agenzia d.E.)", 706, false},
    {"1-Istruzioni COMPILAZIONE DATI", 706, true},
    {"2-Istruzioni TRASMISSIONE XML", 706, false},
    {"3-Foglio EXCEL Base ", 818, false},
    {"4-Foglio CSV FATTURE EMESSE Esempio", 818, false},
    {"5-Foglio CSV FATTURE RICEVUTE Esempio", 818, false},
    {"6-Manuale completo", 706, false},
    {"7-Ulteriore documentazione", 706, false},
    {"Richiesta Assistenza", 713, true},
    {"Versione", 712, false},
    {"Sito VORN - Controllo Aggiornamenti", 726, false},
    {"Sito VORN - News", 726, false},
    {"Assistenza Remota", 727, false},
};
const Attesa base[] = {
    {"Aggiungi all'elenco attivo ", 701, true},
    {"Elimina dall'elenco attivo", 702, false},
    {"Conferma i dati in elaborazione", 700, false},
    {"Salva Dati (singolo)", 721, true},
    {"Ripristina Salvataggio", 722, false},
    {"Documentazione", 706, true},
    {"Sito Vorn - Assistenza Remota", 727, true},
    {"Versione Programma", 712, false},
    {"Richiesta di Assistenza (email)", 713, false},
    {"Elabora Foglio Excel", 818, true},
};

// Checks a menu's or toolbar's actions against the table: captions, IDs, and separators
// exactly before the items that begin a group (not before the first).
template <std::size_t N>
void ControllaVoci(const QList<QAction*>& azioni, const Attesa (&attese)[N])
{
    std::size_t i = 0;
    bool separatore = false;
    for (QAction* azione : azioni) {
        if (azione->isSeparator()) {
            separatore = true;
            continue;
        }
        ASSERT_LT(i, N);
        EXPECT_EQ(azione->property(ProprietaCaption).toString(), QString::fromUtf8(attese[i].caption));
        EXPECT_EQ(azione->text(), QString::fromUtf8(attese[i].caption));
        EXPECT_EQ(azione->property(ProprietaId).toInt(), attese[i].id) << attese[i].caption;
        EXPECT_EQ(separatore, attese[i].gruppo && i > 0) << attese[i].caption;
        EXPECT_FALSE(azione->icon().isNull()) << attese[i].caption;
        separatore = false;
        ++i;
    }
    EXPECT_EQ(i, N);
}

class AnagraficaProva final : public QWidget, public FinestraAnagrafica {
public:
    AnagraficaProva() { setObjectName("F1OP"); }
    QWidget* Finestra() override { return this; }
    void Aggiungi() override { chiamate << "Aggiungi"; }
    void Elimina() override { chiamate << "Elimina"; }
    void Lista() override { chiamate << "Lista"; }
    QStringList chiamate;
};

class F0Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        Release = "Release 1.4.4 - 19 Aprile 2021";
        VersioneProgramma = "Versione 1.0 - Monoutente";
        CodiceOperatore.clear();
        PathIni = QDir::temp().filePath("quercino-f0-nessuno/configurazione.ini");
        ImpostaIndirizzi({"https://example.org/agg", "https://example.org/news",
                          "https://example.org/remota", "", "assistenza@example.org",
                          "commerciale@example.org"});
        creazioni = 0;
        RegistraAnagrafica([this]() -> FinestraAnagrafica* {
            ++creazioni;
            anagrafica = new AnagraficaProva;
            return anagrafica;
        });
        RegistraSalvataggio([this](QWidget* proprietario) {
            salvataggi << QStringLiteral("%1 %2 %3")
                              .arg(ModoSalva)
                              .arg(SalvaTutti ? "tutti" : "uno")
                              .arg(proprietario == f0.get() ? "F0" : "altro");
        });
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
    }

    QAction* Azione(const QString& caption, QObject* contenitore = nullptr)
    {
        for (QAction* azione : f0->Azioni()) {
            if (azione->property(ProprietaCaption).toString() != caption)
                continue;
            if (!contenitore || azione->associatedObjects().contains(contenitore))
                return azione;
        }
        return nullptr;
    }

    MessaggiSimulati messaggi;
    AperturaRegistrata aperture;
    std::unique_ptr<F0> f0;
    AnagraficaProva* anagrafica = nullptr;
    int creazioni = 0;
    int terminazioni = 0;
    QStringList salvataggi;
};

QMenu* Menu(F0& f0, const QString& titolo)
{
    for (QAction* azione : f0.menuBar()->actions()) {
        if (azione->menu() && azione->text() == titolo)
            return azione->menu();
    }
    return nullptr;
}

} // namespace

TEST_F(F0Test, BarreComeProgettate)
{
    QMenu* menuFunzioni = Menu(*f0, "Funzioni");
    QMenu* menuAiuto = Menu(*f0, "Aiuto");
    ASSERT_TRUE(menuFunzioni);
    ASSERT_TRUE(menuAiuto);
    EXPECT_EQ(f0->menuBar()->actions().size(), 2);
    EXPECT_EQ(f0->menuBar()->actions()[0]->menu(), menuFunzioni);
    ControllaVoci(menuFunzioni->actions(), funzioni);
    ControllaVoci(menuAiuto->actions(), aiuto);
    EXPECT_EQ(menuFunzioni->font().pointSize(), 10);

    ASSERT_EQ(f0->BarraArchivi()->actions().size(), 1);
    QAction* soggetti = f0->BarraArchivi()->actions()[0];
    EXPECT_EQ(soggetti, f0->AzioneSoggettiObbligati());
    EXPECT_EQ(soggetti->property(ProprietaCaption).toString(), " SOGGETTI OBBLIGATI  ");
    EXPECT_EQ(soggetti->property(ProprietaId).toInt(), 802);
    EXPECT_EQ(f0->BarraArchivi()->windowTitle(), "Archivi");
    EXPECT_EQ(f0->BarraArchivi()->iconSize(), QSize(32, 32));

    ControllaVoci(f0->BarraBase()->actions(), base);
    EXPECT_EQ(f0->BarraBase()->windowTitle(), "Base");
    EXPECT_EQ(f0->BarraBase()->iconSize(), QSize(24, 24));

    // Bars in order: archives above the base bar, both at the top.
    EXPECT_EQ(f0->toolBarArea(f0->BarraArchivi()), Qt::TopToolBarArea);
    EXPECT_EQ(f0->toolBarArea(f0->BarraBase()), Qt::TopToolBarArea);

    // Style 3 shows icon and caption; the rest the icon, the caption as tip.
    auto stile = [](QToolBar* barra, QAction* azione) {
        return qobject_cast<QToolButton*>(barra->widgetForAction(azione))->toolButtonStyle();
    };
    EXPECT_EQ(stile(f0->BarraArchivi(), soggetti), Qt::ToolButtonTextBesideIcon);
    QAction* elabora = Azione("Elabora Foglio Excel");
    ASSERT_TRUE(elabora);
    EXPECT_EQ(stile(f0->BarraBase(), elabora), Qt::ToolButtonTextBesideIcon);
    EXPECT_EQ(elabora->toolTip(), " Crea file XML da foglio Excel");
    QAction* versione = Azione("Versione Programma");
    EXPECT_EQ(stile(f0->BarraBase(), versione), Qt::ToolButtonIconOnly);
    EXPECT_EQ(versione->toolTip(), "Versione Programma");
}

TEST_F(F0Test, DidascaliaEBarreNascosteFinoAEntra)
{
    EXPECT_EQ(f0->windowTitle(), "Quercino  Release 1.4.4 - 19 Aprile 2021");
    EXPECT_FALSE(f0->menuBar()->isVisible());
    EXPECT_FALSE(f0->BarraArchivi()->isVisible());
    EXPECT_FALSE(f0->BarraBase()->isVisible());
    ASSERT_TRUE(f0->Benvenuto());
    EXPECT_TRUE(f0->Benvenuto()->isVisible());
    EXPECT_FALSE(f0->Benvenuto()->isModal());
    EXPECT_EQ(f0->Benvenuto()->windowTitle(), "Benvenuto");
    EXPECT_EQ(f0->Benvenuto()->Versione()->text(), "Versione 1.0 - Monoutente");
    EXPECT_EQ(f0->Benvenuto()->Nrel()->text(), "Release 1.4.4 - 19 Aprile 2021");
    EXPECT_EQ(f0->Benvenuto()->Command1()->text(), "ENTRA");
    EXPECT_EQ(creazioni, 0);

    // The welcome window cannot be closed or escaped: "ENTRA" is the way in.
    f0->Benvenuto()->close();
    f0->Benvenuto()->reject();
    EXPECT_TRUE(f0->Benvenuto()->isVisible());

    f0->Benvenuto()->Command1()->click();
    EXPECT_FALSE(f0->Benvenuto()->isVisible());
    EXPECT_TRUE(f0->menuBar()->isVisible());
    EXPECT_TRUE(f0->BarraArchivi()->isVisible());
    EXPECT_TRUE(f0->BarraBase()->isVisible());
    EXPECT_TRUE(f0->AzioneSoggettiObbligati()->isChecked());
    ASSERT_EQ(creazioni, 1);
    ASSERT_EQ(f0->AreaFinestre()->subWindowList().size(), 1);
    EXPECT_EQ(f0->AreaFinestre()->subWindowList()[0]->widget(), anagrafica);
    EXPECT_TRUE(anagrafica->isVisible());
    EXPECT_EQ(f0->NomeFinestraAttiva(), "F1OP");
}

TEST_F(F0Test, AnagraficaCreataUnaVoltaERiaperta)
{
    f0->Benvenuto()->Command1()->click();
    CodiceOperatore = "01";
    QMdiSubWindow* finestra = f0->AreaFinestre()->subWindowList()[0];
    finestra->close();
    EXPECT_EQ(f0->NomeFinestraAttiva(), "");
    EXPECT_FALSE(f0->AzioneSoggettiObbligati()->isChecked());
    // Closed registry: add and delete do nothing, and no error is shown.
    Azione("Aggiungi")->trigger();
    EXPECT_TRUE(anagrafica->chiamate.isEmpty());
    EXPECT_TRUE(messaggi.mostrati.empty());

    // Reopened without a declarant too: 802 is never refused.
    CodiceOperatore.clear();
    f0->AzioneSoggettiObbligati()->trigger();
    EXPECT_EQ(creazioni, 1);
    EXPECT_FALSE(finestra->isHidden());
    EXPECT_EQ(f0->NomeFinestraAttiva(), "F1OP");
    EXPECT_TRUE(messaggi.mostrati.empty());
    // Clicking the button of an open registry leaves its state set.
    f0->AzioneSoggettiObbligati()->trigger();
    EXPECT_TRUE(f0->AzioneSoggettiObbligati()->isChecked());
    ImpostaStatoSoggettiObbligati(false);
    EXPECT_FALSE(f0->AzioneSoggettiObbligati()->isChecked());
}

// What the walk through every item below does not tell apart: one declarant or all in the
// backup, the main window as its owner, and an exit that is answered "No".
TEST_F(F0Test, SalvataggiEUscitaRifiutata)
{
    f0->Benvenuto()->Command1()->click();
    CodiceOperatore = "01";

    Azione("Salva Dati (tutti)")->trigger();
    Azione("Salva Dati (singolo)", f0->BarraBase())->trigger();
    Azione("Ripristina Dati")->trigger();
    EXPECT_EQ(salvataggi, (QStringList{"S tutti F0", "S uno F0", "R uno F0"}));

    messaggi.risposte = {RispostaNo, RispostaSi};
    Azione("Esci dal Programma")->trigger();
    EXPECT_EQ(terminazioni, 0);
    Azione("Esci dal Programma")->trigger();
    EXPECT_EQ(terminazioni, 1);
}

TEST_F(F0Test, RifiutoSenzaSoggetto)
{
    f0->Benvenuto()->Command1()->click();
    Azione("Versione Programma")->trigger();
    Azione("Esci dal Programma")->trigger();
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(messaggi.mostrati[1].testo, "Compilare i dati di almeno un soggetto obbligato.");
    EXPECT_EQ(terminazioni, 0);
    EXPECT_EQ(f0->Versione(), nullptr);
}

TEST_F(F0Test, FinestraVersione)
{
    f0->Benvenuto()->Command1()->click();
    CodiceOperatore = "01";
    bool controllata = false;
    QTimer::singleShot(0, [&] {
        FVer* versione = f0->Versione();
        ASSERT_TRUE(versione);
        EXPECT_TRUE(versione->isVisible());
        EXPECT_TRUE(versione->isModal());
        EXPECT_EQ(versione->windowTitle(), "QUERCINO - Versione");
        EXPECT_EQ(versione->Versione()->text(), "Versione 1.0 - Monoutente");
        EXPECT_EQ(versione->Nrel()->text(), "Release 1.4.4 - 19 Aprile 2021");
        EXPECT_EQ(versione->PushButton1()->text(), "commerciale@example.org");
        EXPECT_EQ(versione->PushButton2()->text(), "assistenza@example.org");
        versione->PushButton1()->click();
        versione->PushButton2()->click();
        controllata = true;
        versione->Bannulla()->click();
    });
    Azione("Versione")->trigger();
    EXPECT_TRUE(controllata);
    EXPECT_FALSE(f0->Versione()->isVisible());
    ASSERT_EQ(aperture.aperti.size(), 2);
    EXPECT_EQ(aperture.aperti[0].toString(QUrl::FullyEncoded),
              "mailto:commerciale@example.org?subject=Utente%20QUERCINO%20-%20Crea%20XML%20per%20DATI%20FATTURE");
    EXPECT_EQ(aperture.aperti[1].path(), "assistenza@example.org");
}

TEST_F(F0Test, ChiusuraDellaFinestraTermina)
{
    f0->close();
    EXPECT_EQ(terminazioni, 1);
}

TEST(F0SenzaIndirizzi, VociSenzaDestinazioneDisattivate)
{
    ImpostaIndirizzi({});
    F0 f0;
    f0.ImpostaTermine([] {});
    f0.show();
    f0.MDIForm_Load();
    for (QAction* azione : f0.Azioni()) {
        const int id = azione->property(ProprietaId).toInt();
        const bool senzaDestinazione = id == 713 || id == 726 || id == 727;
        EXPECT_EQ(azione->isEnabled(), !senzaDestinazione)
            << azione->property(ProprietaCaption).toString().toStdString();
    }
    f0.Benvenuto()->Command1()->click();   // no registry registered: nothing to open
    EXPECT_TRUE(f0.AreaFinestre()->subWindowList().isEmpty());
    FVer versione;
    EXPECT_TRUE(versione.PushButton1()->isHidden());
    EXPECT_TRUE(versione.PushButton2()->isHidden());
}

TEST(FVerSenzaPosta, ErroreRiportatoEFinestraAperta)
{
    // No mail handler on the offscreen desktop: the failure is reported, nothing ends.
    MessaggiSimulati messaggi;
    ImpostaIndirizzi({"", "", "", "", "assistenza@example.org", "commerciale@example.org"});
    FVer versione;
    versione.show();
    versione.PushButton1()->click();
    versione.PushButton2()->click();
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Microsoft Outlook NON installato");
    EXPECT_EQ(messaggi.mostrati[1].titolo, "Microsoft Outlook NON installato");
    EXPECT_TRUE(versione.isVisible());
    ImpostaIndirizzi({});
}

TEST(F0INIDebug, IlBenvenutoScriveNelLog)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    PathLog = dir.filePath("LOG_VEKO.TXT");
    {
        QFile log(PathLog);
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
        log.write("DATA ELABORAZIONE: 06/12/2026\r\n");
    }
    DebugMode = "0";
    F0INI spento;
    spento.show();
    DebugMode = "1";
    F0INI acceso;
    acceso.show();
    QFile log(PathLog);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), QByteArray("DATA ELABORAZIONE: 06/12/2026\r\nBenvenuto\r\n"));
    DebugMode.clear();
    PathLog.clear();
}

TEST(F0AnagraficaInErrore, EntraMostraLErroreEProsegue)
{
    MessaggiSimulati messaggi;
    int tentativi = 0;
    RegistraAnagrafica([&tentativi]() -> FinestraAnagrafica* {
        ++tentativi;
        throw std::runtime_error("database non raggiungibile");
    });
    F0 f0;
    f0.ImpostaTermine([] {});
    f0.show();
    f0.MDIForm_Load();
    f0.Benvenuto()->Command1()->click();
    EXPECT_TRUE(f0.menuBar()->isVisible());
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].testo, "database non raggiungibile");
    // 802 tries again and reports through the dispatcher.
    f0.AzioneSoggettiObbligati()->trigger();
    EXPECT_EQ(tentativi, 2);
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(messaggi.mostrati[1].testo, "ERR COMMANDBARS EXECUTE: database non raggiungibile");
    EXPECT_FALSE(f0.AzioneSoggettiObbligati()->isChecked());
    RegistraAnagrafica({});
}

namespace {

// "ENTRA" in a main window of size `area`, with a registry shaped by `forma`: the child
// window that holds it, or null.
QMdiSubWindow* AnagraficaAperta(F0& f0, QSize area, const std::function<void(AnagraficaProva&)>& forma)
{
    RegistraAnagrafica([forma]() -> FinestraAnagrafica* {
        auto* anagrafica = new AnagraficaProva;
        forma(*anagrafica);
        return anagrafica;
    });
    f0.ImpostaTermine([] {});
    f0.show();
    f0.MDIForm_Load();
    f0.resize(area);
    f0.Benvenuto()->Command1()->click();
    QApplication::processEvents();
    RegistraAnagrafica({});
    const auto finestre = f0.AreaFinestre()->subWindowList();
    return finestre.size() == 1 ? finestre[0] : nullptr;
}

} // namespace

TEST(F0AnagraficaGrande, InAltoASinistraEScorribile)
{
    MessaggiSimulati messaggi;
    F0 f0;
    QMdiSubWindow* finestra =
        AnagraficaAperta(f0, {800, 600}, [](AnagraficaProva& grande) { grande.setMinimumSize(1600, 1200); });
    ASSERT_NE(finestra, nullptr);
    // Nothing of it is out of reach: it starts in the top-left corner, the rest scrolls.
    EXPECT_EQ(finestra->pos(), QPoint(0, 0));
    EXPECT_GE(finestra->width(), 1600);
    EXPECT_GT(f0.AreaFinestre()->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(f0.AreaFinestre()->verticalScrollBar()->maximum(), 0);
}

TEST(F0AnagraficaPiccola, DimensioneProgettataEntroLArea)
{
    MessaggiSimulati messaggi;
    F0 f0;
    QMdiSubWindow* finestra =
        AnagraficaAperta(f0, {1000, 700}, [](AnagraficaProva& piccola) { piccola.resize(500, 300); });
    ASSERT_NE(finestra, nullptr);
    EXPECT_EQ(finestra->pos(), QPoint(0, 0));
    EXPECT_GE(finestra->widget()->width(), 500);
    EXPECT_GE(finestra->widget()->height(), 300);
    EXPECT_TRUE(f0.AreaFinestre()->viewport()->rect().contains(finestra->geometry()));
}

// Every action of the real bars, one by one, with a declarant chosen and every document in
// place: what each caption leads to, read off what was opened, asked, saved or ended.
TEST_F(F0Test, OgniVoceDelleBarreIlSuoEffetto)
{
    QTemporaryDir programma;
    ASSERT_TRUE(programma.isValid());
    const QStringList documenti{
        "Help/Specifiche+tecniche+e+regole+per+la+compilazione+dei+dati+delle+fatture+v1.1.pdf",
        "Help/ISTRUZIONI TRASMISSIONE DATI FATTURE XML.pdf", "Help/Quercino - Manuale Completo.pdf",
        "Help/DATI_FATTURE_BASE.xlsx", "Help/DATI_FATTURE_EMESSE.csv",
        "Help/DATI_FATTURE_RICEVUTE.csv"};
    ASSERT_TRUE(QDir(programma.path()).mkpath("Help/documentazione"));
    for (const QString& documento : documenti) {
        QFile file(programma.filePath(documento));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    qputenv("QUERCINO_HOME", QFile::encodeName(programma.path()));
    struct Ripristino {
        ~Ripristino() { qunsetenv("QUERCINO_HOME"); }
    } ripristino;
    ImpostaIndirizzi({"https://example.org/agg", "https://example.org/news",
                      "https://example.org/remota", "/non/esiste/assistenza", "assistenza@example.org",
                      "commerciale@example.org"});
    f0->Benvenuto()->Command1()->click();
    CodiceOperatore = "01";
    // No answers scripted: Yes and OK to every question.

    auto effetti = [&]() {
        QStringList visti;
        for (const Messaggio& m : messaggi.mostrati)
            visti << "box " + m.titolo;
        for (const QUrl& url : aperture.aperti) {
            visti << (url.isLocalFile()
                          ? "apre " + QDir(programma.path()).relativeFilePath(url.toLocalFile())
                          : "apre " + url.toString());
        }
        for (const QString& s : salvataggi)
            visti << "FSalva " + s.left(1);
        for (const QString& c : anagrafica->chiamate)
            visti << c;
        for (int i = 0; i < terminazioni; ++i)
            visti << "fine";
        messaggi.mostrati.clear();
        aperture.aperti.clear();
        salvataggi.clear();
        anagrafica->chiamate.clear();
        terminazioni = 0;
        return visti.join(", ");
    };
    const QString pdf1 = "Help/Specifiche+tecniche+e+regole+per+la+compilazione+dei+dati+delle+fatture+v1.1.pdf";
    const std::vector<std::pair<QString, QString>> attesi{
        // "Funzioni"
        {"Salva Dati (singolo)", "FSalva S, Lista"},
        {"Salva Dati (tutti)", "FSalva S, Lista"},
        {"Ripristina Dati", "FSalva R, Lista"},
        {"Registra", ""},
        {"Aggiungi", "Aggiungi"},
        {"Elimina", "Elimina"},
        {"Esci dal Programma", "box Chiudi, fine"},
        // "Aiuto"
        {"Portale FATTURE e CORRISPETTIVI (Agenzia d.E.)",
         "apre https://ivaservizi.agenziaentrate.gov.it/portale/"},
        {"1-Istruzioni COMPILAZIONE DATI", "apre " + pdf1},
        {"2-Istruzioni TRASMISSIONE XML", "apre Help/ISTRUZIONI TRASMISSIONE DATI FATTURE XML.pdf"},
        {"3-Foglio EXCEL Base ", "apre Help/DATI_FATTURE_BASE.xlsx"},
        {"4-Foglio CSV FATTURE EMESSE Esempio", "apre Help/DATI_FATTURE_EMESSE.csv"},
        {"5-Foglio CSV FATTURE RICEVUTE Esempio", "apre Help/DATI_FATTURE_RICEVUTE.csv"},
        {"6-Manuale completo", "apre Help/Quercino - Manuale Completo.pdf"},
        {"7-Ulteriore documentazione", "apre Help/documentazione"},
        {"Richiesta Assistenza",
         "apre mailto:assistenza@example.org?subject=RICHIESTA ASSISTENZA Utente VEKO:"},
        {"Versione", "FVer"},
        {"Sito VORN - Controllo Aggiornamenti",
         "box Verifica Aggiornamento, apre https://example.org/agg, fine"},
        {"Sito VORN - News", "apre https://example.org/news"},
        {"Assistenza Remota", "box Richiesta Conferma, box Quercino, apre https://example.org/remota"},
        // "Archivi": the registry is already open
        {" SOGGETTI OBBLIGATI  ", ""},
        // "Base"
        {"Aggiungi all'elenco attivo ", "Aggiungi"},
        {"Elimina dall'elenco attivo", "Elimina"},
        {"Conferma i dati in elaborazione", ""},
        {"Salva Dati (singolo)", "FSalva S, Lista"},
        {"Ripristina Salvataggio", "FSalva R, Lista"},
        {"Documentazione", ""},
        {"Sito Vorn - Assistenza Remota",
         "box Richiesta Conferma, box Quercino, apre https://example.org/remota"},
        {"Versione Programma", "FVer"},
        {"Richiesta di Assistenza (email)",
         "apre mailto:assistenza@example.org?subject=RICHIESTA ASSISTENZA Utente VEKO:"},
        {"Elabora Foglio Excel", ""},
    };
    ASSERT_EQ(f0->Azioni().size(), qsizetype(attesi.size()));
    for (std::size_t i = 0; i < attesi.size(); ++i) {
        QAction* azione = f0->Azioni()[qsizetype(i)];
        ASSERT_EQ(azione->property(ProprietaCaption).toString(), attesi[i].first);
        bool versione = false;
        QTimer::singleShot(0, [&versione] {
            if (auto* finestra = qobject_cast<FVer*>(QApplication::activeModalWidget())) {
                versione = true;
                finestra->Bannulla()->click();
            }
        });
        azione->trigger();
        QString visti = effetti();
        if (versione)
            visti = visti.isEmpty() ? "FVer" : visti + ", FVer";
        EXPECT_EQ(visti.toStdString(), attesi[i].second.toStdString())
            << attesi[i].first.toStdString();
        EXPECT_EQ(creazioni, 1);
    }
}
