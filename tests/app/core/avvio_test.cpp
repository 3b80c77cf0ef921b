// The launch without windows, as the steps of scenari/avvio_*.txt (see support/scenario.h):
// every database mode with its texts on the back-ends it reaches, the attachments folder,
// the debug log, and the messages of a failed launch.
#include "support/db_backends.h"
#include "support/casi.h"
#include "support/scenario.h"

#include "app/core/Comuni.h"
#include "app/core/Cripta.h"
#include "app/core/Globals.h"
#include "app/core/Main.h"
#include "app/core/ScriviLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quercino;
using quercino::test::LeggiFile;

namespace {

const QDate Oggi(2026, 3, 9);

void Riempi(Database& db)
{
    db.insert(schema::T_COMUNI(), {QStringLiteral("L'AQUILA"), QStringLiteral("AQ")});
    db.insert(schema::T_COMUNICF(), {QStringLiteral("H501"), QStringLiteral("ROMA")});
}

// A launch's steps on one back-end: "avvia" with the configuration's lines as its "<"
// lines ("<utente>", "<password>", "<password-cripta>", "<connessione>" and "<lunga>", the
// connection string made longer than an ordinary key, stand for this back-end's own), or
// "avvia pubblica-file" with a file where the public folder should be.
class Avvio : public test::DbBackendTest {
protected:
    void SetUp() override
    {
        DbBackendTest::SetUp();
        if (HasFatalFailure())
            return;
        PathLog.clear();
        ChiudiConnessione();
        Riempi(db());
        const QString lunga = backend().stringaConnessione() + ";Description=" + QString(140, 'x');
        segnaposti = {{"<utente>", backend().utente()},
                      {"<password>", backend().password()},
                      {"<password-cripta>", Cripta(backend().password(), ModoScrivi, ChiavePassword)},
                      {"<lunga>", lunga},
                      {"<connessione>", backend().stringaConnessione()}};
        s.Sostituisci(lunga, "<lunga>");
        s.Sostituisci(QString(lunga).replace("Pwd=" + backend().password() + ";", "Pwd=****;"), "<lunga>");
        s.Sostituisci(backend().stringaConnessione(), "<connessione>");
        s.Sostituisci("UID=" + backend().utente(), "UID=<utente>");
        s.sostituzioni.emplace_back(QRegularExpression("PWD=" + QRegularExpression::escape(backend().password()) + "$"),
                                    "PWD=<password>");
        s.Sostituisci(backend().programDir(), "<programma>");
        s.Sostituisci(pubblica.path(), "<pubblica>");
        s.verbi["avvia"] = [this](const QString& a) {
            const EsitoAvvio esito = Lancia(s.Dati(), a == "pubblica-file");
            if (!esito.riuscito) {
                s.Stampa("[" + esito.errore.titolo + "] " + (Cnn ? "connesso" : "non connesso"));
                s.Stampa(esito.errore.testo);
                return;
            }
            s.Stampa("TipoDb " + TipoDb + "; " + VersioneProgramma + "; StrConn " + StrConn);
            s.Stampa("PathAllegati " + PathAllegati + (QFileInfo(backend().programDir() + "/ALLEGATI").isDir()
                                                          ? "; cartella ALLEGATI" : ""));
            // The run's own connection reaches this test's database: the towns in memory.
            s.Stampa(QStringLiteral("connessione propria %1, comuni %2")
                         .arg(Cnn != &db())
                         .arg(ComuniCF().contiene("h501") && Comuni().cercaPrefisso("l'a") != nullptr));
            s.Stampa(mostrati);
            // What is shown never holds the password.
            if (!backend().password().isEmpty()) {
                EXPECT_FALSE(mostrati.join('\n').contains(backend().password()));
            }
        };
        s.verbi["rm"] = [this](const QString& a) {
            QDir(backend().programDir() + "/" + a).removeRecursively();
            QFile::remove(backend().programDir() + "/" + a);
        };
        s.verbi["log"] = [](const QString& a) { ScriviLog(a); };
        s.verbi["esiste"] = [this](const QString& a) {
            s.Stampa(QFileInfo::exists(backend().programDir() + "/" + a) ? "si" : "no");
        };
        s.verbi["leggi-log"] = [this](const QString&) {
            s.Stampa(QFileInfo::exists(pubblica.path() + "/VORNSOFTLAB")
                         ? test::Codifica(QString::fromLatin1(LeggiFile(Log())))
                         : QStringLiteral("(nessuna cartella VORNSOFTLAB)"));
        };
        s.verbi["senza-database"] = [this](const QString&) {
            backend().chiudi();
            QFile::remove(backend().sqlitePath());
        };
    }

    void TearDown() override
    {
        ChiudiConnessione();
        DbBackendTest::TearDown();
    }

    // A launch with these lines as its options (placeholders replaced, escapes resolved;
    // none: no configuration file at all), the texts it shows kept in `mostrati`.
    EsitoAvvio Lancia(const QStringList& opzioni, bool pubblicaFile = false)
    {
        QString righe = "; prova\r\n[opzioni]\r\n";
        for (const QString& riga : opzioni)
            righe += test::Decodifica(riga) + "\r\n";
        for (const auto& [segnaposto, valore] : segnaposti)
            righe.replace(segnaposto, valore);
        const QString configurazione = backend().programDir() + "/configurazione.ini";
        QFile::remove(configurazione);
        if (!opzioni.isEmpty())
            test::ScriviFile(configurazione, righe.toUtf8());
        QString cartellaPubblica = pubblica.path();
        if (pubblicaFile)
            test::ScriviFile(cartellaPubblica = pubblica.filePath("nonunacartella"), {});
        mostrati.clear();
        return Avvia(AmbienteAvvio{backend().programDir(), cartellaPubblica, Oggi},
                     [this](const QString& t) { mostrati << t; });
    }
    QString Log() const { return pubblica.path() + "/VORNSOFTLAB/LOG_VEKO.TXT"; }

    QTemporaryDir pubblica;
    QStringList mostrati;
    test::Scenario s;
    std::vector<std::pair<QString, QString>> segnaposti;
};

class AvvioFile : public Avvio {};
class AvvioPostgres : public Avvio {};

} // namespace

// Modes that reach the database through ODBC, on every back-end: the data source with user
// and (scrambled) password, and a connection string of any length, which become mode "S".
TEST_P(Avvio, Odbc)
{
    EXPECT_SCENARIO(s, "scenari/avvio_odbc.txt");
}

QUERCINO_DB_BACKENDS(Avvio);

// The single-user file of the program folder.
TEST_P(AvvioFile, Passi)
{
    EXPECT_SCENARIO(s, "scenari/avvio_file.txt");
}

QUERCINO_DB_SOLO_FILE(AvvioFile);

// Passwords are checked by the server only: a wrong one refused and never shown, one with
// the connection string's separators taken whole.
TEST_P(AvvioPostgres, PasswordRifiutataNascostaEPasswordConSeparatoriIntera)
{
    EsitoAvvio esito = Lancia({"TipoDb=S", "Server_Utente=<utente>", "Server_Password=sbagliata"});
    ASSERT_FALSE(esito.riuscito);
    EXPECT_EQ(Cnn, nullptr);
    EXPECT_TRUE(esito.errore.testo.startsWith("Errore VEKO Dichiarazioni num. "));
    EXPECT_TRUE(esito.errore.testo.endsWith(
        QStringLiteral("\r\n  \r\n StrConn dsn=VEKO; UID=%1; PWD=****\r\n TipoDb S").arg(backend().utente())));
    EXPECT_FALSE(esito.errore.testo.contains("sbagliata"));

    // A role of its own, so the shared test user keeps its password.
    const QString ruolo = QStringLiteral("quercino_r%1").arg(QCoreApplication::applicationPid());
    db().exec(QStringLiteral("DROP ROLE IF EXISTS %1").arg(ruolo));
    db().exec(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD 'p;w}d={x'").arg(ruolo));
    db().exec(QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO %1").arg(ruolo));
    esito = Lancia({"TipoDb=S", "Server_Utente=" + ruolo, "Server_Password=p;w}d={x"});
    const bool caricati = ComuniCF().contiene("H501");
    ChiudiConnessione();
    db().exec(QStringLiteral("REVOKE ALL ON ALL TABLES IN SCHEMA public FROM %1").arg(ruolo));
    db().exec(QStringLiteral("DROP ROLE %1").arg(ruolo));
    EXPECT_TRUE(esito.riuscito) << esito.errore.testo.toStdString();
    EXPECT_TRUE(caricati);
}

INSTANTIATE_TEST_SUITE_P(Postgres, AvvioPostgres, ::testing::Values(test::Backend::OdbcPostgres),
                         test::NomeParametroBackend());
