// The dispatcher driven through a recording main window, in the cases the walk through the
// real bars (f0_test) cannot reach: no declarant, another window active, no registry, a
// failing registry, a missing document, an update check cancelled, addresses not set.

#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/shell/Collegamenti.h"
#include "app/shell/CommandBarsExecute.h"
#include "app/shell/Indirizzi.h"
#include "support/apertura_registrata.h"
#include "support/servizi_simulati.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace quercino;

namespace {

class AmbienteFinto final : public AmbienteComandi, public FinestraAnagrafica {
public:
    QString NomeFinestraAttiva() override { return attiva; }
    FinestraAnagrafica* Anagrafica() override { return esisteAnagrafica ? this : nullptr; }
    void MostraAnagrafica() override { chiamate << "MostraAnagrafica"; }
    void ApriSalvataggio() override { chiamate << QStringLiteral("FSalva %1 %2").arg(ModoSalva, SalvaTutti ? "tutti" : "uno"); }
    void MostraVersione() override { chiamate << "FVer"; }
    void Termina() override { chiamate << "Termina"; }
    QString CartellaProgramma() override { return cartella; }
    QWidget* Finestra() override { return nullptr; }
    void Aggiungi() override { chiamate << "Aggiungi"; }
    void Elimina() override { chiamate << "Elimina"; }
    void Lista() override
    {
        chiamate << "Lista";
        if (listaFallisce)
            throw std::runtime_error("tabella COPE non trovata");
    }

    QString attiva = "F1OP";
    bool esisteAnagrafica = true;
    bool listaFallisce = false;
    QStringList chiamate;
    QString cartella;
};

struct Caso {
    const char* codice;      // the declarant chosen
    const char* attiva;      // the active child window
    bool anagrafica;         // the registry exists
    bool listaFallisce;
    std::vector<int> risposte;
    std::vector<std::pair<int, const char*>> comandi;
    const char* effetti;     // what was called, then the boxes shown, then what was opened
};

// What the dispatcher did with `comandi` in a recording main window.
QString Esegui(const Caso& caso, test::MessaggiSimulati& messaggi)
{
    QTemporaryDir programma;
    test::AperturaRegistrata aperture;
    AmbienteFinto ambiente;
    ambiente.cartella = programma.path();
    ambiente.attiva = caso.attiva;
    ambiente.esisteAnagrafica = caso.anagrafica;
    ambiente.listaFallisce = caso.listaFallisce;
    messaggi.risposte.assign(caso.risposte.begin(), caso.risposte.end());
    CodiceOperatore = caso.codice;
    Release = "Release 1.4.4 - 19 Aprile 2021";
    ImpostaIndirizzi({"https://example.org/agg", "https://example.org/news", "", "", "", ""});
    for (const auto& [id, caption] : caso.comandi)
        CommandBars_Execute(ambiente, id, QString::fromUtf8(caption));
    ImpostaIndirizzi({});
    QStringList effetti = ambiente.chiamate;
    for (const Messaggio& m : messaggi.mostrati)
        effetti << "box " + m.titolo;
    for (const QUrl& url : aperture.aperti)
        effetti << "apre " + url.toString();
    return effetti.join('|');
}

} // namespace

TEST(CommandBarsExecute, CasiDiConfine)
{
    const Caso casi[] = {
        // Without a declarant everything is refused but adding, restoring and the registry.
        {"   ", "F1OP", true, false, {},
         {{700, "Registra"}, {708, "Esci dal Programma"}, {712, "Versione"}, {721, "Salva Dati (singolo)"},
          {818, "3-Foglio EXCEL Base "}, {999, "?"}, {701, "Aggiungi"}, {722, "Ripristina Dati"},
          {802, " SOGGETTI OBBLIGATI  "}},
         "Aggiungi|FSalva R uno|Lista|MostraAnagrafica|box Dati Soggetto Non compilati|box Dati Soggetto Non compilati|"
         "box Dati Soggetto Non compilati|box Dati Soggetto Non compilati|box Dati Soggetto Non compilati|"
         "box Dati Soggetto Non compilati"},
        // Add and delete only reach the registry when it is the active window.
        {" 01 ", "FAltra", true, false, {}, {{701, "Aggiungi"}, {702, "Elimina dall'elenco attivo"}, {712, "Versione"}},
         "FVer"},
        {"01", "", true, false, {}, {{701, "Aggiungi"}, {702, "Elimina"}}, ""},
        // Without a registry there is no list to refresh after a backup.
        {"01", "F1OP", false, false, {}, {{721, "Salva Dati (singolo)"}}, "FSalva S uno"},
        // A failing registry is reported and the program goes on.
        {"01", "F1OP", true, true, {}, {{722, "Ripristina Dati"}}, "FSalva R uno|Lista|box Quercino"},
        // Documents missing from Help open nothing, and say so.
        {"01", "F1OP", true, false, {},
         {{706, "1-Istruzioni COMPILAZIONE DATI"}, {706, "7-Ulteriore documentazione"}, {818, "3-Foglio EXCEL Base "},
          {706, "Documentazione"}},
         "box Documento non trovato|box Documento non trovato|box Documento non trovato"},
        // The update check cancelled, then confirmed: the page opens and the program ends.
        {"01", "F1OP", true, false, {RispostaAnnulla, RispostaOk},
         {{726, "Sito VORN - Controllo Aggiornamenti"}, {726, "Sito VORN - Controllo Aggiornamenti"}},
         "Termina|box Verifica Aggiornamento|box Verifica Aggiornamento|apre https://example.org/agg"},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.comandi.front().second);
        test::MessaggiSimulati messaggi;
        EXPECT_EQ(Esegui(caso, messaggi).toStdString(), caso.effetti);
    }
}

// The manual the build writes into the program folder is what "6-Manuale completo" opens.
TEST(CommandBarsExecute, ApreIlManualeScrittoDalBuild)
{
    test::AperturaRegistrata aperture;
    test::MessaggiSimulati messaggi;
    AmbienteFinto ambiente;
    ambiente.cartella = QUERCINO_PROGRAM_DIR;
    CodiceOperatore = "01";
    const QString manuale = ambiente.cartella + "/Help/Quercino - Manuale Completo.pdf";
    ASSERT_TRUE(QFile::exists(manuale)) << manuale.toStdString();
    CommandBars_Execute(ambiente, 706, "6-Manuale completo");
    EXPECT_EQ(aperture.aperti, QList<QUrl>{QUrl::fromLocalFile(manuale)});
    EXPECT_TRUE(messaggi.mostrati.empty());
}

TEST(CommandBarsExecute, TestiDelRifiutoEDegliErrori)
{
    test::MessaggiSimulati messaggi;
    Esegui({"", "F1OP", true, false, {}, {{712, "Versione"}}, ""}, messaggi);
    Esegui({"01", "F1OP", true, true, {}, {{722, "Ripristina Dati"}}, ""}, messaggi);
    Esegui({"01", "F1OP", true, false, {RispostaAnnulla}, {{726, "Sito VORN - Controllo Aggiornamenti"}}, ""}, messaggi);
    Esegui({"01", "F1OP", true, false, {}, {{706, "6-Manuale completo"}, {706, "7-Ulteriore documentazione"}}, ""}, messaggi);
    ASSERT_EQ(messaggi.mostrati.size(), 5u);
    EXPECT_EQ(messaggi.mostrati[0].testo, TestoSenzaSoggetto);
    EXPECT_EQ(messaggi.mostrati[1].testo, "ERR COMMANDBARS EXECUTE: tabella COPE non trovata");
    EXPECT_EQ(messaggi.mostrati[2].testo,
              "La versione del programma è: \r\n \r\nRelease 1.4.4 - 19 Aprile 2021\r\n \r\n"
              "Questa procedura apre la pagina aggiornamenti del sito VORN. \r\n \r\n"
              "Controllare la DATA della voce VEKO: se maggiore, installare l'aggiornamento. "
              "\r\n \r\nPremere OK per confermare la verifica (VEKO verrà chiuso).");
    EXPECT_EQ(Risposta, "2");
    // What is missing, and where it was looked for.
    EXPECT_TRUE(messaggi.mostrati[3].testo.startsWith(
        "Il documento \"Quercino - Manuale Completo.pdf\" non è presente.\r\n \r\nCercato in: "));
    EXPECT_TRUE(messaggi.mostrati[4].testo.startsWith("La cartella \"documentazione\" non è presente.\r\n \r\nCercata in: "));
    for (std::size_t i : {3u, 4u})
        EXPECT_TRUE(messaggi.mostrati[i].testo.endsWith(QDir::separator() + QStringLiteral("Help"))) << i;
}
