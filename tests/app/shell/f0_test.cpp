// The main window on the offscreen platform: the bars hidden until "ENTRA", the registry
// opened as its child window and placed within reach, and every item of the bars walked
// through with what it leads to (the golden file pins the bars' layout and each effect).

#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/shell/BarreComandi.h"
#include "app/shell/Collegamenti.h"
#include "app/shell/F0.h"
#include "app/shell/F0INI.h"
#include "app/shell/FVer.h"
#include "app/shell/Indirizzi.h"
#include "support/apertura_registrata.h"
#include "support/golden.h"
#include "support/servizi_simulati.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
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
        ImpostaIndirizzi({"https://example.org/agg", "https://example.org/news", "https://example.org/remota", "",
                          "assistenza@example.org", "commerciale@example.org"});
        RegistraAnagrafica([this]() -> FinestraAnagrafica* {
            ++creazioni;
            anagrafica = new AnagraficaProva;
            return anagrafica;
        });
        RegistraSalvataggio([this](QWidget* proprietario) {
            salvataggi << "FSalva " + (ModoSalva == "S" ? ModoSalva + (SalvaTutti ? " tutti" : " uno") : ModoSalva)
                              + (proprietario == f0.get() ? "" : " altro");
        });
        Nuova();
    }
    void Nuova()
    {
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

    QAction* Azione(const QString& caption)
    {
        for (QAction* azione : f0->Azioni()) {
            if (azione->property(ProprietaCaption).toString() == caption)
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

} // namespace

TEST_F(F0Test, BarreNascosteFinoAEntraPoiLAnagrafica)
{
    EXPECT_EQ(f0->windowTitle(), "Quercino  Release 1.4.4 - 19 Aprile 2021");
    EXPECT_FALSE(f0->menuBar()->isVisible());
    EXPECT_FALSE(f0->BarraBase()->isVisible());
    ASSERT_TRUE(f0->Benvenuto());
    EXPECT_EQ(f0->Benvenuto()->Nrel()->text(), "Release 1.4.4 - 19 Aprile 2021");
    // The welcome window cannot be closed or escaped: "ENTRA" is the way in.
    f0->Benvenuto()->close();
    f0->Benvenuto()->reject();
    EXPECT_TRUE(f0->Benvenuto()->isVisible());
    EXPECT_EQ(creazioni, 0);

    f0->Benvenuto()->Command1()->click();
    EXPECT_FALSE(f0->Benvenuto()->isVisible());
    EXPECT_TRUE(f0->menuBar()->isVisible());
    EXPECT_TRUE(f0->BarraArchivi()->isVisible());
    EXPECT_TRUE(f0->BarraBase()->isVisible());
    EXPECT_TRUE(f0->AzioneSoggettiObbligati()->isChecked());
    ASSERT_EQ(f0->AreaFinestre()->subWindowList().size(), 1);
    EXPECT_EQ(f0->AreaFinestre()->subWindowList()[0]->widget(), anagrafica);

    // Closed, the registry's commands do nothing; reopened, it is the same window.
    CodiceOperatore = "01";
    QMdiSubWindow* finestra = f0->AreaFinestre()->subWindowList()[0];
    finestra->close();
    EXPECT_FALSE(f0->AzioneSoggettiObbligati()->isChecked());
    Azione("Aggiungi")->trigger();
    EXPECT_TRUE(anagrafica->chiamate.isEmpty());
    CodiceOperatore.clear();
    f0->AzioneSoggettiObbligati()->trigger();   // never refused, even without a declarant
    EXPECT_EQ(creazioni, 1);
    EXPECT_FALSE(finestra->isHidden());
    EXPECT_TRUE(messaggi.mostrati.empty());

    f0->close();
    EXPECT_EQ(terminazioni, 1);
}

// Every action of the real bars, one by one, with every document in place: what each leads
// to, read off what was opened, asked, saved or ended; Yes and OK to every question. The
// golden file lists the menus and bars in order ("--" where a group begins), each item with
// its effects, first with a declarant chosen (the three backups name the main window as
// their owner), then without one (refused but for adding, restoring and the registry), then
// in a main window made without the maker's addresses (their items disabled, the version
// window without its mail buttons). Every item has an icon.
TEST_F(F0Test, OgniVoceDelleBarreIlSuoEffetto)
{
    QTemporaryDir programma;
    ASSERT_TRUE(programma.isValid());
    ASSERT_TRUE(QDir(programma.path()).mkpath("Help/documentazione"));
    for (const char* documento :
         {"Specifiche+tecniche+e+regole+per+la+compilazione+dei+dati+delle+fatture+v1.1.pdf",
          "ISTRUZIONI TRASMISSIONE DATI FATTURE XML.pdf", "Quercino - Manuale Completo.pdf",
          "DATI_FATTURE_BASE.xlsx", "DATI_FATTURE_EMESSE.csv", "DATI_FATTURE_RICEVUTE.csv"})
        ASSERT_TRUE(test::ScriviFile(programma.filePath(QStringLiteral("Help/") + documento), {}));
    qputenv("QUERCINO_HOME", QFile::encodeName(programma.path()));
    ImpostaIndirizzi({"https://example.org/agg", "https://example.org/news", "https://example.org/remota",
                      "/non/esiste/assistenza", "assistenza@example.org", "commerciale@example.org"});
    f0->Benvenuto()->Command1()->click();

    auto effetti = [&] {
        QStringList visti;
        for (const Messaggio& m : messaggi.mostrati)
            visti << "box " + m.titolo;
        for (const QUrl& url : aperture.aperti)
            visti << "apre " + (url.isLocalFile() ? QDir(programma.path()).relativeFilePath(url.toLocalFile())
                                                  : url.toString());
        visti << salvataggi << anagrafica->chiamate;
        for (int i = 0; i < terminazioni; ++i)
            visti << "fine";
        messaggi.mostrati.clear();
        aperture.aperti.clear();
        salvataggi.clear();
        anagrafica->chiamate.clear();
        terminazioni = 0;
        return visti;
    };
    QString testo;
    auto percorri = [&](const QString& nome, const QList<QAction*>& azioni) {
        testo += "[" + nome + "]\n";
        for (QAction* azione : azioni) {
            if (azione->isSeparator()) {
                testo += "--\n";
                continue;
            }
            QString versione;
            QTimer::singleShot(0, [&versione] {
                if (auto* finestra = qobject_cast<FVer*>(QApplication::activeModalWidget())) {
                    versione = finestra->PushButton1()->isHidden() ? "FVer senza posta" : "FVer";
                    finestra->Bannulla()->click();
                }
            });
            EXPECT_FALSE(azione->icon().isNull()) << azione->text().toStdString();
            azione->trigger();
            QStringList visti = effetti();
            if (!versione.isEmpty())
                visti << versione;
            testo += "\"" + azione->property(ProprietaCaption).toString() + "\""
                     + (azione->isEnabled() ? "" : " (disattivata)") + " -> " + visti.join(", ") + "\n";
        }
    };
    auto tutte = [&](const QString& titolo) {
        testo += "== " + titolo + "\n";
        for (QAction* menu : f0->menuBar()->actions())
            percorri(menu->text(), menu->menu()->actions());
        percorri(f0->BarraArchivi()->windowTitle(), f0->BarraArchivi()->actions());
        percorri(f0->BarraBase()->windowTitle(), f0->BarraBase()->actions());
    };
    CodiceOperatore = "01";
    tutte("Con un soggetto");
    CodiceOperatore.clear();
    tutte("Senza soggetto");
    EXPECT_EQ(creazioni, 1);
    ImpostaIndirizzi({});
    Nuova();
    f0->Benvenuto()->Command1()->click();
    CodiceOperatore = "01";
    tutte("Senza gli indirizzi del produttore");
    qunsetenv("QUERCINO_HOME");
    EXPECT_GOLDEN(testo.toUtf8(), "attesi/voci_barre.txt");
}

TEST_F(F0Test, SenzaSoggettoSoloIlRifiuto)
{
    f0->Benvenuto()->Command1()->click();
    messaggi.risposte = {RispostaOk, RispostaOk, RispostaNo, RispostaSi};
    Azione("Versione Programma")->trigger();
    Azione("Esci dal Programma")->trigger();
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(messaggi.mostrati[1].testo, "Compilare i dati di almeno un soggetto obbligato.");
    EXPECT_EQ(f0->Versione(), nullptr);
    // With a declarant, an exit answered "No" goes on.
    CodiceOperatore = "01";
    Azione("Esci dal Programma")->trigger();
    EXPECT_EQ(terminazioni, 0);
    Azione("Esci dal Programma")->trigger();
    EXPECT_EQ(terminazioni, 1);
}

// The version window's buttons write to the maker's addresses; without a mail program the
// failure is told and the window stays.
TEST_F(F0Test, FinestraVersioneEPosta)
{
    f0->Benvenuto()->Command1()->click();
    CodiceOperatore = "01";
    QTimer::singleShot(0, [this] {
        FVer* versione = f0->Versione();
        ASSERT_TRUE(versione && versione->isModal());
        versione->PushButton1()->click();
        versione->PushButton2()->click();
        versione->Bannulla()->click();
    });
    Azione("Versione")->trigger();
    ASSERT_EQ(aperture.aperti.size(), 2);
    EXPECT_EQ(aperture.aperti[0].toString(QUrl::FullyEncoded),
              "mailto:commerciale@example.org?subject=Utente%20QUERCINO%20-%20Crea%20XML%20per%20DATI%20FATTURE");
    EXPECT_EQ(aperture.aperti[1].path(), "assistenza@example.org");
    QDesktopServices::unsetUrlHandler("mailto");
    FVer senzaPosta;
    senzaPosta.show();
    senzaPosta.PushButton1()->click();
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Microsoft Outlook NON installato");
    EXPECT_TRUE(messaggi.mostrati[0].testo.endsWith("\r\n \r\nVerificare la corretta installazione di Micorsoft Outlook"));
    EXPECT_TRUE(senzaPosta.isVisible());
}

TEST_F(F0Test, AnagraficaInErroreEntraMostraLErroreEProsegue)
{
    RegistraAnagrafica([]() -> FinestraAnagrafica* { throw std::runtime_error("database non raggiungibile"); });
    f0->Benvenuto()->Command1()->click();
    EXPECT_TRUE(f0->menuBar()->isVisible());
    // 802 tries again and reports through the dispatcher.
    f0->AzioneSoggettiObbligati()->trigger();
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(messaggi.mostrati[0].testo, "database non raggiungibile");
    EXPECT_EQ(messaggi.mostrati[1].testo, "ERR COMMANDBARS EXECUTE: database non raggiungibile");
    EXPECT_FALSE(f0->AzioneSoggettiObbligati()->isChecked());
}

// A registry larger than the main window starts in its top-left corner and scrolls.
TEST_F(F0Test, AnagraficaGrandeInAltoASinistraEScorribile)
{
    RegistraAnagrafica([]() -> FinestraAnagrafica* {
        auto* anagrafica = new AnagraficaProva;
        anagrafica->setMinimumSize(1600, 1200);
        return anagrafica;
    });
    f0->resize(800, 600);
    f0->Benvenuto()->Command1()->click();
    QApplication::processEvents();
    ASSERT_EQ(f0->AreaFinestre()->subWindowList().size(), 1);
    EXPECT_EQ(f0->AreaFinestre()->subWindowList()[0]->pos(), QPoint(0, 0));
    EXPECT_GT(f0->AreaFinestre()->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(f0->AreaFinestre()->verticalScrollBar()->maximum(), 0);
}
