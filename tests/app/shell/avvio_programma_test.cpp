// The program's start as the user meets it: against a seeded program folder the main
// window comes up with its caption, bars hidden until "ENTRA"; a database that cannot be
// opened ends the program with its message (password masked) and no window; debugging
// shows the connection and writes its log, the welcome window's line included.

#include "app/core/Globals.h"
#include "app/core/Main.h"
#include "app/core/Messaggi.h"
#include "app/shell/Avvio.h"
#include "app/shell/Collegamenti.h"
#include "app/shell/F0.h"
#include "app/shell/F0INI.h"
#include "support/db_backends.h"
#include "support/servizi_simulati.h"

#include <QCoreApplication>
#include <QDate>
#include <QLabel>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace quercino;
using quercino::test::MessaggiSimulati;

namespace {

class AvvioProgramma : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(programma.isValid());
        ASSERT_TRUE(pubblica.isValid());
        qputenv("QUERCINO_HOME", QFile::encodeName(programma.path()));
        qputenv("PUBLIC", QFile::encodeName(pubblica.path()));
        ChiudiConnessione();
        Release.clear();
        DebugMode.clear();
        PathLog.clear();
    }
    void TearDown() override
    {
        ChiudiConnessione();
        qunsetenv("QUERCINO_HOME");
        qunsetenv("PUBLIC");
        DebugMode.clear();
        PathLog.clear();
    }

    void Configurazione(const QByteArray& opzioni)
    {
        QFile ini(programma.filePath("configurazione.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[opzioni]\r\n" + opzioni);
    }

    // The seeded database of the build when there is one, else an empty one with the
    // program's tables.
    void Database()
    {
        ASSERT_TRUE(QDir(programma.path()).mkpath("DataBase"));
        const QString destinazione = programma.filePath("DataBase/VEKO.sqlite");
        const QString seminato = QStringLiteral(QUERCINO_SEED_DATABASE);
        if (QFileInfo::exists(seminato)) {
            ASSERT_TRUE(QFile::copy(seminato, destinazione));
            return;
        }
        test::DbBackend vuoto(test::Backend::SqliteFile);
        const QString sorgente = vuoto.sqlitePath();
        vuoto.chiudi();
        ASSERT_TRUE(QFile::copy(sorgente, destinazione));
    }

    QTemporaryDir programma;
    QTemporaryDir pubblica;
    MessaggiSimulati messaggi;
};

// What the main window looked like during the run.
struct Osservato {
    bool f0 = false;
    QString titolo;
    bool barrePrima = true;
    bool benvenuto = false;
    QString versione;
    bool barreDopo = false;
};

void OsservaEdEsci(Osservato& osservato)
{
    QTimer::singleShot(0, [&osservato] {
        F0* f0 = F0::Istanza();
        osservato.f0 = f0 != nullptr;
        if (!f0)
            return;
        f0->ImpostaTermine([] { QCoreApplication::exit(0); });
        osservato.titolo = f0->windowTitle();
        osservato.barrePrima = f0->menuBar()->isVisible() || f0->BarraArchivi()->isVisible()
                               || f0->BarraBase()->isVisible();
        osservato.benvenuto = f0->Benvenuto()->isVisible();
        osservato.versione = f0->Benvenuto()->Versione()->text();
        f0->Benvenuto()->Command1()->click();
        osservato.barreDopo = f0->menuBar()->isVisible() && f0->BarraArchivi()->isVisible()
                              && f0->BarraBase()->isVisible();
        f0->close();
    });
}

} // namespace

TEST_F(AvvioProgramma, CartellaSeminataFinestraPrincipale)
{
    Configurazione("TipoDb=M\r\ndebug=0\r\n");
    Database();
    Osservato osservato;
    OsservaEdEsci(osservato);
    EXPECT_EQ(EseguiProgramma(&Main), 0);
    EXPECT_TRUE(osservato.f0);
    EXPECT_EQ(osservato.titolo, "Quercino  Release 1.4.4 - 19 Aprile 2021");
    EXPECT_FALSE(osservato.barrePrima);
    EXPECT_TRUE(osservato.benvenuto);
    EXPECT_EQ(osservato.versione, "Versione 1.0 - Monoutente");
    EXPECT_TRUE(osservato.barreDopo);
    EXPECT_TRUE(messaggi.mostrati.empty());
    // The run is over: no window left, connection closed.
    EXPECT_EQ(F0::Istanza(), nullptr);
    EXPECT_EQ(Cnn, nullptr);
}

TEST_F(AvvioProgramma, DatabaseAssenteMessaggioEFine)
{
    Configurazione("TipoDb=M\r\n");
    Osservato osservato;
    OsservaEdEsci(osservato);
    EXPECT_EQ(EseguiProgramma(&Main), 1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(osservato.f0);
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    const Messaggio& errore = messaggi.mostrati[0];
    EXPECT_TRUE(errore.testo.startsWith("Errore VEKO Dichiarazioni num. ")) << errore.testo.toStdString();
    EXPECT_TRUE(errore.testo.contains("\r\n  \r\n StrConn "));
    EXPECT_TRUE(errore.testo.endsWith("\r\n TipoDb M"));
    EXPECT_EQ(errore.titolo, "Quercino");
    EXPECT_EQ(errore.pulsanti, Pulsanti::Ok);
}

TEST_F(AvvioProgramma, PasswordMascherataNelMessaggio)
{
    Configurazione("TipoDb=X\r\nStrConn=DSN=QUERCINO_NESSUNO;UID=utente;PWD=segreto99\r\n");
    EXPECT_EQ(EseguiProgramma(&Main), 1);
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    const QString& testo = messaggi.mostrati[0].testo;
    EXPECT_TRUE(testo.startsWith("Errore VEKO Dichiarazioni num. "));
    EXPECT_FALSE(testo.contains("segreto99")) << testo.toStdString();
    EXPECT_TRUE(testo.contains("UID=utente"));
    EXPECT_TRUE(testo.endsWith("\r\n TipoDb S"));
    EXPECT_EQ(F0::Istanza(), nullptr);
}

TEST_F(AvvioProgramma, DebugMostraEScriveIlLog)
{
    Configurazione("TipoDb=M\r\ndebug=1\r\n");
    Database();
    Osservato osservato;
    OsservaEdEsci(osservato);
    EXPECT_EQ(EseguiProgramma(&Main), 0);
    EXPECT_TRUE(osservato.barreDopo);

    const QString log = pubblica.filePath("VORNSOFTLAB/LOG_VEKO.TXT");
    ASSERT_EQ(messaggi.mostrati.size(), 2u);
    EXPECT_TRUE(messaggi.mostrati[0].testo.startsWith("Connessione "));
    EXPECT_EQ(messaggi.mostrati[1].testo, "File Debug: " + log);

    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray atteso = "DATA ELABORAZIONE: "
                              + QDate::currentDate().toString("dd/MM/yyyy").toLatin1()
                              + "\r\nBenvenuto\r\n";
    EXPECT_EQ(file.readAll(), atteso);
}
