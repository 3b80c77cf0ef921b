// The dispatcher, driven through a recording main window: every command's effect, the
// refusal without a declarant, and its error report.

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
using quercino::test::AperturaRegistrata;
using quercino::test::MessaggiSimulati;

namespace {

class AnagraficaFinta final : public FinestraAnagrafica {
public:
    QWidget* Finestra() override { return nullptr; }
    void Aggiungi() override { chiamate << "Aggiungi"; }
    void Elimina() override { chiamate << "Elimina"; }
    void Lista() override
    {
        chiamate << "Lista";
        if (listaFallisce)
            throw std::runtime_error("tabella COPE non trovata");
    }
    QStringList chiamate;
    bool listaFallisce = false;
};

class AmbienteFinto final : public AmbienteComandi {
public:
    QString NomeFinestraAttiva() override { return attiva; }
    FinestraAnagrafica* Anagrafica() override { return esisteAnagrafica ? &anagrafica : nullptr; }
    void MostraAnagrafica() override { chiamate << "MostraAnagrafica"; }
    void ApriSalvataggio() override
    {
        chiamate << QStringLiteral("FSalva %1 %2").arg(ModoSalva).arg(SalvaTutti ? "tutti" : "uno");
    }
    void MostraVersione() override { chiamate << "FVer"; }
    void Termina() override { chiamate << "Termina"; }
    QString CartellaProgramma() override { return cartella; }

    QString attiva = "F1OP";
    bool esisteAnagrafica = true;
    AnagraficaFinta anagrafica;
    QStringList chiamate;
    QString cartella;
};

class CommandBarsExecuteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(programma.isValid());
        ambiente.cartella = programma.path();
        CodiceOperatore = "  01 ";
        FormAttivo = "vecchio";
        Risposta.clear();
        Release = "Release 1.4.4 - 19 Aprile 2021";
        ImpostaIndirizzi({"https://example.org/aggiornamenti", "https://example.org/news",
                          "https://example.org/assistenza", "", "assistenza@example.org",
                          "commerciale@example.org"});
    }
    void TearDown() override { ImpostaIndirizzi({}); }

    void Crea(const QString& relativo)
    {
        QDir(programma.path()).mkpath(QFileInfo(programma.filePath(relativo)).path());
        QFile f(programma.filePath(relativo));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    QTemporaryDir programma;
    AmbienteFinto ambiente;
    MessaggiSimulati messaggi;
    AperturaRegistrata aperture;
};

} // namespace

TEST_F(CommandBarsExecuteTest, SenzaSoggettoRifiutaTuttoTranneAggiuntaRipristinoEAnagrafica)
{
    CodiceOperatore = "   ";
    const int rifiutati[] = {700, 702, 706, 708, 712, 713, 721, 726, 727, 818, 999};
    for (int id : rifiutati) {
        messaggi.mostrati.clear();
        CommandBars_Execute(ambiente, id, "Versione");
        ASSERT_EQ(messaggi.mostrati.size(), 1u) << id;
        EXPECT_EQ(messaggi.mostrati[0].testo, "Compilare i dati di almeno un soggetto obbligato.");
        EXPECT_EQ(messaggi.mostrati[0].titolo, "Dati Soggetto Non compilati");
        EXPECT_EQ(messaggi.mostrati[0].icona, Icona::Informazione);
    }
    EXPECT_TRUE(ambiente.chiamate.isEmpty());
    EXPECT_TRUE(ambiente.anagrafica.chiamate.isEmpty());
    EXPECT_EQ(CodiceOperatore, "");

    messaggi.mostrati.clear();
    CommandBars_Execute(ambiente, 701, "Aggiungi");
    CommandBars_Execute(ambiente, 722, "Ripristina Dati");
    CommandBars_Execute(ambiente, 802, " SOGGETTI OBBLIGATI  ");
    EXPECT_TRUE(messaggi.mostrati.empty());
    EXPECT_EQ(ambiente.anagrafica.chiamate, (QStringList{"Aggiungi", "Lista"}));
    EXPECT_EQ(ambiente.chiamate, (QStringList{"FSalva R uno", "MostraAnagrafica"}));
}

TEST_F(CommandBarsExecuteTest, AggiungiEliminaSoloConLAnagraficaAttiva)
{
    CommandBars_Execute(ambiente, 701, "Aggiungi all'elenco attivo ");
    CommandBars_Execute(ambiente, 702, "Elimina");
    EXPECT_EQ(FormAttivo, "F1OP");
    EXPECT_EQ(CodiceOperatore, "01");
    EXPECT_EQ(ambiente.anagrafica.chiamate, (QStringList{"Aggiungi", "Elimina"}));

    ambiente.attiva = "FAltra";
    CommandBars_Execute(ambiente, 701, "Aggiungi");
    CommandBars_Execute(ambiente, 702, "Elimina dall'elenco attivo");
    EXPECT_EQ(ambiente.anagrafica.chiamate.size(), 2);
}

TEST_F(CommandBarsExecuteTest, NessunaFinestraApertaNessunErrore)
{
    ambiente.attiva.clear();
    CommandBars_Execute(ambiente, 701, "Aggiungi");
    CommandBars_Execute(ambiente, 712, "Versione");
    EXPECT_TRUE(messaggi.mostrati.empty());
    EXPECT_EQ(FormAttivo, "");
    EXPECT_TRUE(ambiente.anagrafica.chiamate.isEmpty());
    EXPECT_EQ(ambiente.chiamate, QStringList{"FVer"});
}

TEST_F(CommandBarsExecuteTest, SalvataggioERipristinoPoiLista)
{
    SalvaTutti = true;
    CommandBars_Execute(ambiente, 721, "Salva Dati (singolo)");
    CommandBars_Execute(ambiente, 721, "Salva Dati (tutti)");
    CommandBars_Execute(ambiente, 722, "Ripristina Salvataggio");
    EXPECT_EQ(ambiente.chiamate, (QStringList{"FSalva S uno", "FSalva S tutti", "FSalva R tutti"}));
    EXPECT_EQ(ambiente.anagrafica.chiamate, (QStringList{"Lista", "Lista", "Lista"}));

    // Without a registry window there is no list to refresh.
    ambiente.esisteAnagrafica = false;
    CommandBars_Execute(ambiente, 721, "Salva Dati (singolo)");
    EXPECT_EQ(ambiente.anagrafica.chiamate.size(), 3);
}

TEST_F(CommandBarsExecuteTest, ErroreRiportatoEProgrammaVivo)
{
    ambiente.anagrafica.listaFallisce = true;
    CommandBars_Execute(ambiente, 722, "Ripristina Dati");
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].testo, "ERR COMMANDBARS EXECUTE: tabella COPE non trovata");
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Quercino");
    EXPECT_EQ(messaggi.mostrati[0].pulsanti, Pulsanti::Ok);
}

TEST_F(CommandBarsExecuteTest, EsciChiedeConferma)
{
    messaggi.risposte = {RispostaNo, RispostaSi};
    CommandBars_Execute(ambiente, 708, "Esci dal Programma");
    EXPECT_TRUE(ambiente.chiamate.isEmpty());
    CommandBars_Execute(ambiente, 708, "Esci dal Programma");
    EXPECT_EQ(ambiente.chiamate, QStringList{"Termina"});
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(messaggi.mostrati[0].testo, "Vuoi chiudere il programma?");
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Chiudi");
    EXPECT_EQ(messaggi.mostrati[0].pulsanti, Pulsanti::SiNo);
}

TEST_F(CommandBarsExecuteTest, DocumentiDellAiutoPerDidascalia)
{
    const QString pdf1 =
        "Help/Specifiche+tecniche+e+regole+per+la+compilazione+dei+dati+delle+fatture+v1.1.pdf";
    const QString pdf2 = "Help/ISTRUZIONI TRASMISSIONE DATI FATTURE XML.pdf";
    const QString pdf6 = "Help/Quercino - Manuale Completo.pdf";
    const QString xlsx = "Help/DATI_FATTURE_BASE.xlsx";
    const QString emesse = "Help/DATI_FATTURE_EMESSE.csv";
    const QString ricevute = "Help/DATI_FATTURE_RICEVUTE.csv";
    for (const QString& f : {pdf1, pdf2, pdf6, xlsx, emesse, ricevute})
        Crea(f);
    QDir(programma.path()).mkpath("Help/documentazione");

    CommandBars_Execute(ambiente, 706, "1-Istruzioni COMPILAZIONE DATI");
    CommandBars_Execute(ambiente, 706, "2-Istruzioni TRASMISSIONE XML");
    CommandBars_Execute(ambiente, 706, "6-Manuale completo");
    CommandBars_Execute(ambiente, 706, "7-Ulteriore documentazione");
    CommandBars_Execute(ambiente, 706, "Portale FATTURE e CORRISPETTIVI (Agenzia d.E.)");
    CommandBars_Execute(ambiente, 818, "3-Foglio EXCEL Base ");
    CommandBars_Execute(ambiente, 818, "4-Foglio CSV FATTURE EMESSE Esempio");
    CommandBars_Execute(ambiente, 818, "5-Foglio CSV FATTURE RICEVUTE Esempio");
    // Captions that name nothing.
    CommandBars_Execute(ambiente, 706, "Documentazione");
    CommandBars_Execute(ambiente, 818, "Elabora Foglio Excel");
    CommandBars_Execute(ambiente, 818, "1-Istruzioni COMPILAZIONE DATI");
    CommandBars_Execute(ambiente, 700, "Registra");
    CommandBars_Execute(ambiente, 700, "Conferma i dati in elaborazione");

    const QList<QUrl> attesi{
        QUrl::fromLocalFile(programma.filePath(pdf1)),
        QUrl::fromLocalFile(programma.filePath(pdf2)),
        QUrl::fromLocalFile(programma.filePath(pdf6)),
        QUrl::fromLocalFile(programma.filePath("Help/documentazione") + "/"),
        QUrl("https://ivaservizi.agenziaentrate.gov.it/portale/"),
        QUrl::fromLocalFile(programma.filePath(xlsx)),
        QUrl::fromLocalFile(programma.filePath(emesse)),
        QUrl::fromLocalFile(programma.filePath(ricevute)),
    };
    ASSERT_EQ(aperture.aperti.size(), attesi.size());
    for (int i = 0; i < attesi.size(); ++i)
        EXPECT_EQ(aperture.aperti[i].adjusted(QUrl::StripTrailingSlash),
                  attesi[i].adjusted(QUrl::StripTrailingSlash))
            << i;
    EXPECT_TRUE(messaggi.mostrati.empty());
    EXPECT_TRUE(ambiente.chiamate.isEmpty());
}

TEST_F(CommandBarsExecuteTest, DocumentoAssenteNonApreNulla)
{
    CommandBars_Execute(ambiente, 706, "1-Istruzioni COMPILAZIONE DATI");
    CommandBars_Execute(ambiente, 706, "7-Ulteriore documentazione");
    CommandBars_Execute(ambiente, 818, "3-Foglio EXCEL Base ");
    EXPECT_TRUE(aperture.aperti.isEmpty());
    EXPECT_TRUE(messaggi.mostrati.empty());
}

TEST_F(CommandBarsExecuteTest, ControlloAggiornamenti)
{
    messaggi.risposte = {RispostaAnnulla, RispostaOk};
    CommandBars_Execute(ambiente, 726, "Sito VORN - Controllo Aggiornamenti");
    EXPECT_EQ(Risposta, "2");
    EXPECT_TRUE(aperture.aperti.isEmpty());
    EXPECT_TRUE(ambiente.chiamate.isEmpty());

    CommandBars_Execute(ambiente, 726, "Sito VORN - Controllo Aggiornamenti");
    EXPECT_EQ(Risposta, "1");
    ASSERT_EQ(aperture.aperti.size(), 1);
    EXPECT_EQ(aperture.aperti[0], QUrl("https://example.org/aggiornamenti"));
    EXPECT_EQ(ambiente.chiamate, QStringList{"Termina"});

    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    const Messaggio& m = messaggi.mostrati[0];
    EXPECT_EQ(m.titolo, "Verifica Aggiornamento");
    EXPECT_EQ(m.pulsanti, Pulsanti::OkAnnulla);
    EXPECT_EQ(m.icona, Icona::Informazione);
    EXPECT_EQ(m.testo,
              "La versione del programma è: \r\n \r\nRelease 1.4.4 - 19 Aprile 2021\r\n \r\n"
              "Questa procedura apre la pagina aggiornamenti del sito VORN. \r\n \r\n"
              "Controllare la DATA della voce VEKO: se maggiore, installare l'aggiornamento. "
              "\r\n \r\nPremere OK per confermare la verifica (VEKO verrà chiuso).");
}

TEST_F(CommandBarsExecuteTest, NewsEIndirizziVuoti)
{
    CommandBars_Execute(ambiente, 726, "Sito VORN - News");
    ASSERT_EQ(aperture.aperti.size(), 1);
    EXPECT_EQ(aperture.aperti[0], QUrl("https://example.org/news"));

    // Not configured: nothing opens, nothing ends.
    ImpostaIndirizzi({});
    CommandBars_Execute(ambiente, 726, "Sito VORN - News");
    CommandBars_Execute(ambiente, 726, "Sito VORN - Controllo Aggiornamenti");
    EXPECT_EQ(aperture.aperti.size(), 1);
    EXPECT_TRUE(messaggi.mostrati.empty());
    EXPECT_TRUE(ambiente.chiamate.isEmpty());
}
