// The program's start as the user meets it: against a seeded program folder the main
// window comes up with its caption, bars hidden until "ENTRA"; a database that cannot be
// opened ends the program with its message (password masked) and no window; debugging
// shows the connection and writes its log, the welcome window's line included.

#include "app/core/Globals.h"
#include "app/core/Main.h"
#include "app/core/Messaggi.h"
#include "app/shell/Avvio.h"
#include "app/shell/F0.h"
#include "app/shell/F0INI.h"
#include "support/golden.h"
#include "support/servizi_simulati.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

class AvvioProgramma : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("QUERCINO_HOME", QFile::encodeName(programma.path()));
        qputenv("PUBLIC", QFile::encodeName(pubblica.path()));
        ChiudiConnessione();
        Release.clear();
    }
    void TearDown() override
    {
        ChiudiConnessione();
        qunsetenv("QUERCINO_HOME");
        qunsetenv("PUBLIC");
        DebugMode.clear();
        PathLog.clear();
    }

    // Runs the program on `opzioni`, with the build's seeded database when `seminato`;
    // what the main window showed, before and after "ENTRA", and the exit code.
    int Esegui(const QByteArray& opzioni, bool seminato)
    {
        test::ScriviFile(programma.filePath("configurazione.ini"), "[opzioni]\r\n" + opzioni);
        if (seminato) {
            QDir(programma.path()).mkpath("DataBase");
            EXPECT_TRUE(QFile::copy(QUERCINO_SEED_DATABASE, programma.filePath("DataBase/VEKO.sqlite")));
        }
        QTimer::singleShot(0, [this] {
            F0* f0 = F0::Istanza();
            if (!f0)
                return;
            f0->ImpostaTermine([] { QCoreApplication::exit(0); });
            auto barre = [f0] {
                return f0->menuBar()->isVisible() && f0->BarraArchivi()->isVisible() && f0->BarraBase()->isVisible();
            };
            visto << f0->windowTitle() << f0->Benvenuto()->Versione()->text() << (barre() ? "barre" : "niente");
            f0->Benvenuto()->Command1()->click();
            visto << (barre() ? "barre" : "niente");
            f0->close();
        });
        const int codice = EseguiProgramma(&Main);
        QCoreApplication::processEvents();
        EXPECT_EQ(F0::Istanza(), nullptr);
        EXPECT_EQ(Cnn, nullptr);
        return codice;
    }

    QTemporaryDir programma;
    QTemporaryDir pubblica;
    test::MessaggiSimulati messaggi;
    QStringList visto;
};

} // namespace

TEST_F(AvvioProgramma, CartellaSeminataFinestraPrincipaleELogDiDebug)
{
    EXPECT_EQ(Esegui("TipoDb=M\r\ndebug=1\r\n", true), 0);
    EXPECT_EQ(visto, (QStringList{"Quercino  Release 1.4.4 - 19 Aprile 2021", "Versione 1.0 - Monoutente", "niente",
                                  "barre"}));
    const QString log = pubblica.filePath("VORNSOFTLAB/LOG_VEKO.TXT");
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_TRUE(messaggi.mostrati[0].testo.startsWith("Connessione "));
    EXPECT_EQ(messaggi.mostrati[1].testo, "File Debug: " + log);
    EXPECT_EQ(test::LeggiFile(log),
              "DATA ELABORAZIONE: " + QDate::currentDate().toString("dd/MM/yyyy").toLatin1() + "\r\nBenvenuto\r\n");
}


// A database that cannot be opened: the message (password masked), no window, exit code 1.
TEST_F(AvvioProgramma, DatabaseIrraggiungibileMessaggioEFine)
{
    EXPECT_EQ(Esegui("TipoDb=X\r\nStrConn=DSN=QUERCINO_NESSUNO;UID=utente;PWD=segreto99\r\n", false), 1);
    EXPECT_TRUE(visto.isEmpty());
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_TRUE(messaggi.mostrati[0].testo.startsWith("Errore VEKO Dichiarazioni num. "));
    EXPECT_TRUE(messaggi.mostrati[0].testo.endsWith("\r\n TipoDb S"));
    EXPECT_FALSE(messaggi.mostrati[0].testo.contains("segreto99"));
}
