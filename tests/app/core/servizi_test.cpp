// The services the program asks of the desktop and of the user, intercepted: what would be
// opened and the launcher's answer, message boxes and task dialogs, the save dialog's
// questions and replace loop, the program and public folders, files and folders on the disk.

#include "app/core/Aperture.h"
#include "app/core/CartelleProgramma.h"
#include "app/core/DialoghiFile.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "app/core/Percorsi.h"
#include "support/apertura_registrata.h"
#include "support/golden.h"
#include "support/servizi_simulati.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <gtest/gtest.h>

using namespace quercino;
using quercino::test::AperturaRegistrata;
using quercino::test::MessaggiSimulati;

TEST(Esegui, PagineCartelleDocumentiONiente)
{
    AperturaRegistrata aperture;
    QTemporaryDir dir;
    const QString documento = dir.filePath("log con spazi.txt");
    ASSERT_TRUE(quercino::test::ScriviFile(documento, {}));
    const QUrl portale("https://ivaservizi.agenziaentrate.gov.it/portale/");
    const std::tuple<QString, int, QUrl> comandi[] = {
        {"EXPLORER \"https://ivaservizi.agenziaentrate.gov.it/portale/\"", 1, portale},
        {"EXPLORER https://example.org/assistenza?x=1", 1, QUrl("https://example.org/assistenza?x=1")},
        {"explorer " + dir.path() + "/", 1, QUrl::fromLocalFile(dir.path() + "/")},
        {documento, 1, QUrl::fromLocalFile(documento)},
        {"", 0, {}},
        {"EXPLORER ", 0, {}},
        {dir.filePath("manca.pdf"), 0, {}},
    };
    for (const auto& [comando, esito, aperto] : comandi) {
        EXPECT_EQ(Esegui(comando), esito) << comando.toStdString();
        EXPECT_EQ(aperture.aperti, aperto.isEmpty() ? QList<QUrl>() : QList<QUrl>{aperto}) << comando.toStdString();
        aperture.aperti.clear();
    }
    EXPECT_FALSE(ApriDocumento(dir.filePath("manca.pdf")));
    EXPECT_TRUE(ApriIndirizzo(IndirizzoPortale));
    EXPECT_EQ(aperture.aperti, QList<QUrl>{portale});
}

// Where the desktop hands files to a launcher, its exit status is the answer: a launcher that
// could not open the file, or could not start, gives a message naming the file.
TEST(ConsegnaAlDesktop, EsitoDelLanciatore)
{
    QTemporaryDir dir;
    const QString documento = dir.filePath("nota.txt");
    ASSERT_TRUE(QFile(documento).open(QIODevice::WriteOnly));
    const std::pair<QString, bool> casi[] = {{QStandardPaths::findExecutable("true"), true},
                                             {QStandardPaths::findExecutable("false"), false},
                                             {dir.filePath("nessun-lanciatore"), false}};
    for (const auto& [lanciatore, preso] : casi) {
        ImpostaLanciatore(lanciatore);
        std::optional<bool> esito;
        ConsegnaAlDesktop(QUrl::fromLocalFile(documento), [&esito](bool p) { esito = p; });
        ASSERT_TRUE(QTest::qWaitFor([&esito] { return esito.has_value(); })) << lanciatore.toStdString();
        EXPECT_EQ(*esito, preso) << lanciatore.toStdString();
    }
    quercino::test::MessaggiSimulati messaggi;
    ApriDocumento(documento);
    ASSERT_TRUE(QTest::qWaitFor([&messaggi] { return !messaggi.mostrati.empty(); }));
    EXPECT_EQ(messaggi.mostrati[0].titolo, TitoloNessunProgramma);
    EXPECT_TRUE(messaggi.mostrati[0].testo.contains(QDir::toNativeSeparators(documento)));
    ImpostaLanciatore(QString());
}

TEST(MsgBox, TitoloPredefinitoEdEsito)
{
    MessaggiSimulati messaggi;
    messaggi.risposte = {RispostaNo};
    EXPECT_EQ(MsgBox("Vuoi?", Pulsanti::SiNo, Icona::Domanda), RispostaNo);
    EXPECT_EQ(MsgBox("Fatto"), RispostaOk);
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Quercino");
    EXPECT_EQ(messaggi.mostrati[0].icona, Icona::Domanda);
    EXPECT_EQ(messaggi.mostrati[0].pulsanti, Pulsanti::SiNo);
    EXPECT_EQ(messaggi.mostrati[1].pulsanti, Pulsanti::Ok);
    MsgBox("x", Pulsanti::Ok, Icona::Nessuna, "Errore");
    EXPECT_EQ(messaggi.mostrati[2].titolo, "Errore");
}

TEST(MsgBox, SenzaServizioNessunaRispostaAffermativa)
{
    // Nothing installed: nothing can be shown, and no question is taken as answered Yes/OK.
    ImpostaServizioMessaggi(nullptr);
    EXPECT_EQ(MsgBox("Sostituire?", Pulsanti::SiNo), RispostaNo);
    EXPECT_EQ(MsgBox("Procedere?", Pulsanti::OkAnnulla), RispostaAnnulla);
    RispostaTask = 1002;
    MostraMessaggio("t", "x", 3, "A", "B");
    EXPECT_EQ(RispostaTask, 0);
}

// Buttons numbered from 1001 in order, empty captions adding none; an answer that names no
// button of the dialog, or none at all, leaves no answer (never the previous one).
TEST(MostraMessaggio, PulsantiNumeratiNellOrdine)
{
    MessaggiSimulati messaggi;
    messaggi.risposteTask = {1002, 1003, 1001, 0, 1005};
    MostraMessaggio("Richiesta di conferma", "Confermi?", 5, "Si, Confermo", "NO");
    EXPECT_EQ(RispostaTask, 1002);
    MostraMessaggio("File XML creato", "testo", 3, "OK Chiudi", "", "Vai al Portale dell'Agenzia");
    EXPECT_EQ(RispostaTask, 0);
    MostraMessaggio("Annullamento", "Confermi?", 5, "Si, Confermo", "NO");
    EXPECT_EQ(RispostaTask, 1001);
    MostraMessaggio("Annullamento", "Confermi?", 5, "Si, Confermo", "NO");
    EXPECT_EQ(RispostaTask, 0);
    MostraMessaggio("t", "x", 3, "a", "b", "c", "d", "e");
    EXPECT_EQ(RispostaTask, 1005);
    ASSERT_EQ(messaggi.task.size(), 5u);
    const DialogoTask& primo = messaggi.task[0];
    EXPECT_EQ(QStringList({primo.titolo, primo.testo}), (QStringList{"Richiesta di conferma", "Confermi?"}));
    EXPECT_EQ(primo.icona, 5);
    EXPECT_EQ(primo.pulsanti, (QStringList{"Si, Confermo", "NO"}));
    EXPECT_EQ(primo.larghezza, 9 + 150);
    EXPECT_EQ(messaggi.task[1].pulsanti, (QStringList{"OK Chiudi", "Vai al Portale dell'Agenzia"}));
    EXPECT_EQ(messaggi.task[4].pulsanti.size(), 5);
}

TEST(SalvaConNome, NuovoSostituitoRifiutatoAnnullato)
{
    QTemporaryDir dir;
    const QString esistente = dir.filePath("a.xml"), altro = dir.filePath("b.xml");
    ASSERT_TRUE(test::ScriviFile(esistente, "x"));
    struct Caso {
        QStringList scelte;         // the dialog's answers in turn ("" = cancel)
        std::deque<int> risposte;   // to "replace it?"
        QString cartella;           // given to SalvaConNome
        QString fileSalva, ultimaCartella;
        int dialoghi;
    };
    const Caso casi[] = {
        {{altro}, {}, dir.path(), altro, dir.path(), 1},
        {{esistente}, {RispostaSi}, dir.path(), esistente, dir.path(), 1},
        {{esistente, altro}, {RispostaNo}, dir.path(), altro, dir.path(), 2},
        {{esistente, ""}, {RispostaNo}, dir.path(), "", "/una/cartella", 2},
        // Given no folder, the dialog opens where the previous one ended.
        {{""}, {}, "", "", "/una/cartella", 1},
    };
    for (const Caso& caso : casi) {
        test::MessaggiSimulati messaggi;
        test::DialoghiSimulati dialoghi;
        dialoghi.salvataggi.assign(caso.scelte.begin(), caso.scelte.end());
        messaggi.risposte = caso.risposte;
        FileSalva = "vecchio";
        UltimaCartella = "/una/cartella";
        SalvaConNome("a.xml", "XML", caso.cartella);
        EXPECT_EQ(FileSalva, caso.fileSalva);
        EXPECT_EQ(UltimaCartella, caso.ultimaCartella);
        ASSERT_EQ(dialoghi.richieste.size(), std::size_t(caso.dialoghi));
        // Asked again with the same proposed name, in the folder given or the last one.
        for (const RichiestaFile& r : dialoghi.richieste) {
            EXPECT_EQ(r.titolo, "Indica dove salvare il file XML");
            EXPECT_EQ(r.nomeFile, "a.xml");
            EXPECT_EQ(r.cartella, caso.cartella.isEmpty() ? "/una/cartella" : caso.cartella);
            EXPECT_EQ(r.filtri, QStringList{"Tipo File XML (*.xml *.XML)"});
        }
        ASSERT_EQ(messaggi.mostrati.size(), caso.risposte.size());
        for (const Messaggio& domanda : messaggi.mostrati) {
            EXPECT_EQ(domanda.titolo, "Controllo Documento");
            EXPECT_EQ(domanda.testo, "Il documento \r\n \r\na.xml\r\n \r\nesiste già. Vuoi sostituirlo?  ");
            EXPECT_EQ(domanda.pulsanti, Pulsanti::SiNo);
            EXPECT_EQ(domanda.predefinito, RispostaNo);
        }
    }
    // No folder at all: the desktop.
    test::DialoghiSimulati dialoghi;
    UltimaCartella.clear();
    SalvaConNome("a.xml", "XML");
    EXPECT_EQ(dialoghi.richieste.at(0).cartella, CartellaDesktop());
    EXPECT_EQ(FiltroTipoFile("VEKO"), "Tipo File VEKO (*.veko *.VEKO)");
}

TEST(Percorsi, FileECartelleSulDisco)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("presente.txt");
    ASSERT_TRUE(test::ScriviFile(file, {}));
    EXPECT_TRUE(EsisteFile(file));
    EXPECT_FALSE(EsisteFile(dir.filePath("assente.txt")));
    EXPECT_FALSE(EsisteFile(dir.path()));  // a folder is not a file
    EXPECT_FALSE(EsisteFile(""));
    // Parents made, an existing folder left alone; below a file nothing, and no exception.
    CreaCartella(dir.filePath("a/b/c/"));
    CreaCartella(dir.filePath("a/b/c/"));
    EXPECT_TRUE(QFileInfo(dir.filePath("a/b/c")).isDir());
    CreaCartella(file + "/sotto");
    EXPECT_FALSE(QFileInfo::exists(file + "/sotto"));
    EXPECT_TRUE(QFileInfo(CartellaDesktop()).isDir());
}

namespace {

class Ambiente {
public:
    explicit Ambiente(const char* nome) : nome_(nome), c_(qEnvironmentVariableIsSet(nome)), v_(qgetenv(nome)) {}
    ~Ambiente()
    {
        if (c_)
            qputenv(nome_, v_);
        else
            qunsetenv(nome_);
    }

private:
    const char* nome_;
    bool c_;
    QByteArray v_;
};

TEST(CartelleProgramma, CartellaProgrammaDaQuercinoHomeOAccantoAllEseguibile)
{
    Ambiente salva("QUERCINO_HOME");
    qputenv("QUERCINO_HOME", "/opt/quercino/");
    EXPECT_EQ(CartellaProgramma(), QStringLiteral("/opt/quercino"));
    qunsetenv("QUERCINO_HOME");
    EXPECT_EQ(CartellaProgramma(), QCoreApplication::applicationDirPath());
}

TEST(CartelleProgramma, CartellaPubblicaMaiLaRadice)
{
    Ambiente salvaPublic("PUBLIC");
    Ambiente salvaHome("HOME");
    Ambiente salvaXdg("XDG_DATA_HOME");
    qputenv("PUBLIC", "/srv/pubblica");
    EXPECT_EQ(CartellaPubblica(), QStringLiteral("/srv/pubblica"));

    qunsetenv("PUBLIC");
    qunsetenv("XDG_DATA_HOME");
    qputenv("HOME", "/home/prova");
    EXPECT_EQ(CartellaPubblica(), QStringLiteral("/home/prova/.local/share"));

    for (const char* radice : {"/", "//", ""}) {
        qputenv("PUBLIC", radice);
        qputenv("HOME", "/");
        const QString c = CartellaPubblica();
        EXPECT_FALSE(c.isEmpty()) << radice;
        EXPECT_NE(QDir::cleanPath(c), QStringLiteral("/")) << radice;
    }
}

} // namespace
