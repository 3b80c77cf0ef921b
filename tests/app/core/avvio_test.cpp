// The launch without windows: every database mode with its texts on the back-ends it
// reaches, the attachments folder, the debug log, and the messages of a failed launch.
#include "support/db_backends.h"
#include "support/golden.h"

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
using quercino::test::Backend;
using quercino::test::DbBackend;
using quercino::test::LeggiFile;

namespace {

const QDate Oggi(2026, 3, 9);

// One launch from `cartella` with `righe` as its options: the texts shown are kept.
class Lancio {
public:
    Lancio() { PathLog.clear(); ChiudiConnessione(); }
    ~Lancio() { ChiudiConnessione(); }

    EsitoAvvio avvia(const QString& cartella, const QByteArray& righe, const QString& pubblicaAltra = {})
    {
        test::ScriviFile(cartella + "/configurazione.ini", "; prova\r\n[opzioni]\r\n" + righe);
        return Avvia(AmbienteAvvio{cartella, pubblicaAltra.isEmpty() ? pubblica.path() : pubblicaAltra, Oggi},
                     [this](const QString& t) { mostrati << t; });
    }
    QString log() const { return pubblica.path() + "/VORNSOFTLAB/LOG_VEKO.TXT"; }

    QTemporaryDir pubblica;
    QStringList mostrati;
};

void Riempi(Database& db)
{
    db.insert(schema::T_COMUNI(), {QStringLiteral("L'AQUILA"), QStringLiteral("AQ")});
    db.insert(schema::T_COMUNICF(), {QStringLiteral("H501"), QStringLiteral("ROMA")});
}

class AvvioOdbc : public test::DbBackendTest {
protected:
    void SetUp() override
    {
        DbBackendTest::SetUp();
        if (!HasFatalFailure())
            Riempi(db());
    }
    Lancio lancio;
};

} // namespace

// Modes that reach the database through ODBC, on every back-end: the data source with user
// and (scrambled) password, and a connection string of any length, which become mode "S".
TEST_P(AvvioOdbc, ModiSeX)
{
    const QByteArray utente = backend().utente().toUtf8(), password = backend().password().toUtf8();
    const QString lunga = backend().stringaConnessione() + ";Description=" + QString(140, 'x');
    const QString mascherata = QStringLiteral("dsn=VEKO; UID=%1; PWD=****").arg(backend().utente());
    struct Caso {
        QByteArray righe;
        QString versione, strConn, allegati;
    };
    const Caso casi[] = {
        {"TipoDb=s\r\nServer_Utente=" + utente + "\r\nServer_Password=" + password + "\r\nServer_Nome=SRVDATI\r\n",
         "Versione 1.0 - Client/Server", mascherata, "//SRVDATI/VEKO_ALLEGATI/"},
        {"TipoDb=S\r\nServer_Utente=" + utente + "\r\nServer_Crx=S\r\nServer_Password="
             + Cripta(backend().password(), ModoScrivi, ChiavePassword).toUtf8() + "\r\n",
         "Versione 1.0 - Client/Server", mascherata, "///VEKO_ALLEGATI/"},
        // Longer than the 127 characters of an ordinary key: StrConn keeps up to 300.
        {"TipoDb=X\r\nStrConn=  " + lunga.toUtf8() + "  \r\n", "Versione 1.0 - Client/Server ExtConn", lunga,
         "///VEKO_ALLEGATI/"},
        {"TipoDb=x\r\nStrConn=\"DSN=VEKO;UID=" + utente + ";PWD=" + password + "\"\r\n",
         "Versione 1.0 - Client/Server ExtConn", "DSN=VEKO;UID=" + utente + ";PWD=" + password, "///VEKO_ALLEGATI/"},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.righe.left(10).toStdString());
        lancio.mostrati.clear();
        const EsitoAvvio esito = lancio.avvia(backend().programDir(), caso.righe + "debug=1\r\n");
        ASSERT_TRUE(esito.riuscito) << esito.errore.testo.toStdString();
        EXPECT_EQ(TipoDb, "S");
        EXPECT_EQ(VersioneProgramma, caso.versione);
        EXPECT_EQ(StrConn, caso.strConn);
        EXPECT_EQ(PathAllegati, caso.allegati);
        EXPECT_FALSE(QFileInfo::exists(backend().programDir() + "/ALLEGATI"));
        // Debugging shows the connection with the password masked, and the log.
        ASSERT_EQ(lancio.mostrati.size(), 2);
        EXPECT_TRUE(lancio.mostrati[0].startsWith("Connessione "));
        if (!password.isEmpty())
            EXPECT_FALSE(lancio.mostrati[0].contains(backend().password()));
        EXPECT_EQ(lancio.mostrati[1], "File Debug: " + lancio.log());
        // The run's connection reaches this test's database and the towns are in memory.
        ASSERT_NE(Cnn, nullptr);
        EXPECT_NE(Cnn, &db());
        EXPECT_TRUE(ComuniCF().contiene("h501"));
        ASSERT_NE(Comuni().cercaPrefisso("l'a"), nullptr);
    }
    ScriviLog("Perché è così");
    EXPECT_EQ(LeggiFile(lancio.log()), QByteArray("DATA ELABORAZIONE: 09/03/2026\r\nPerch\xe9 \xe8 cos\xec\r\n"));
}

QUERCINO_DB_BACKENDS(AvvioOdbc);

// Passwords are checked by the server only.
TEST(AvvioPostgres, PasswordRifiutataNascostaEPasswordConSeparatoriIntera)
{
    DbBackend backend(Backend::OdbcPostgres);
    Riempi(backend.db());
    Lancio lancio;
    EsitoAvvio esito = lancio.avvia(backend.programDir(), "TipoDb=S\r\nServer_Utente=" + backend.utente().toUtf8()
                                                             + "\r\nServer_Password=sbagliata\r\n");
    ASSERT_FALSE(esito.riuscito);
    EXPECT_EQ(Cnn, nullptr);
    EXPECT_TRUE(esito.errore.testo.startsWith("Errore VEKO Dichiarazioni num. "));
    EXPECT_TRUE(esito.errore.testo.endsWith(
        QStringLiteral("\r\n  \r\n StrConn dsn=VEKO; UID=%1; PWD=****\r\n TipoDb S").arg(backend.utente())));
    EXPECT_FALSE(esito.errore.testo.contains("sbagliata"));

    // A role of its own, so the shared test user keeps its password.
    const QString ruolo = QStringLiteral("quercino_r%1").arg(QCoreApplication::applicationPid());
    Database& db = backend.db();
    db.exec(QStringLiteral("DROP ROLE IF EXISTS %1").arg(ruolo));
    db.exec(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD 'p;w}d={x'").arg(ruolo));
    db.exec(QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO %1").arg(ruolo));
    esito = lancio.avvia(backend.programDir(), "TipoDb=S\r\nServer_Utente=" + ruolo.toUtf8() + "\r\nServer_Password=p;w}d={x\r\n");
    const bool caricati = ComuniCF().contiene("H501");
    ChiudiConnessione();
    db.exec(QStringLiteral("REVOKE ALL ON ALL TABLES IN SCHEMA public FROM %1").arg(ruolo));
    db.exec(QStringLiteral("DROP ROLE %1").arg(ruolo));
    EXPECT_TRUE(esito.riuscito) << esito.errore.testo.toStdString();
    EXPECT_TRUE(caricati);
}

// The single-user file of the program folder.
TEST(AvvioFile, ModiLocaliSenzaConfigurazioneELogCheRicomincia)
{
    DbBackend backend(Backend::SqliteFile);
    Riempi(backend.db());
    const QString programma = backend.programDir();
    Lancio lancio;
    const std::tuple<QByteArray, QString, bool> casi[] = {
        {"M", "M", true}, {"m", "M", true}, {"Monoutente", "M", true}, {"", "", false}, {"Q", "Q", false}};
    for (const auto& [tipo, atteso, allegatiLocali] : casi) {
        SCOPED_TRACE(tipo.toStdString());
        QDir(programma + "/ALLEGATI").removeRecursively();
        const EsitoAvvio esito = lancio.avvia(programma, "TipoDb=" + tipo + "\r\nServer_Nome=SRV\r\n");
        ASSERT_TRUE(esito.riuscito) << esito.errore.testo.toStdString();
        EXPECT_EQ(TipoDb, atteso);
        EXPECT_EQ(VersioneProgramma, "Versione 1.0 - Monoutente");
        EXPECT_EQ(StrConn, "provider=SQLite;Data Source=" + backend.sqlitePath());
        EXPECT_EQ(PathAllegati, allegatiLocali ? programma + "/ALLEGATI/" : "//SRV/VEKO_ALLEGATI/");
        EXPECT_EQ(QFileInfo(programma + "/ALLEGATI").isDir(), allegatiLocali);
        EXPECT_TRUE(ComuniCF().contiene("H501"));
    }
    EXPECT_TRUE(lancio.mostrati.isEmpty());
    // Without the file no debugging: nothing is written.
    QFile::remove(programma + "/configurazione.ini");
    ASSERT_TRUE(Avvia(AmbienteAvvio{programma, lancio.pubblica.path(), Oggi}, [](const QString&) {}).riuscito);
    ScriviLog("niente");
    EXPECT_FALSE(QFileInfo::exists(lancio.pubblica.path() + "/VORNSOFTLAB"));
    // The debug log starts again at each launch; a missing maker folder is made.
    ASSERT_TRUE(lancio.avvia(programma, "TipoDb=M\r\ndebug=1\r\n").riuscito);
    ScriviLog("prima esecuzione");
    ASSERT_TRUE(lancio.avvia(programma, "TipoDb=M\r\ndebug=1\r\n").riuscito);
    ScriviLog("seconda");
    EXPECT_EQ(LeggiFile(lancio.log()), QByteArray("DATA ELABORAZIONE: 09/03/2026\r\nseconda\r\n"));
}

TEST(AvvioFile, FileMancanteECartellaDelLogImpossibile)
{
    DbBackend backend(Backend::SqliteFile);
    const QString programma = backend.programDir();
    Lancio lancio;
    // A file where the public folder should be: the maker folder cannot be made below it.
    const QString file = lancio.pubblica.filePath("nonunacartella");
    test::ScriviFile(file, {});
    EsitoAvvio esito = lancio.avvia(programma, "TipoDb=M\r\ndebug=1\r\n", file);
    ASSERT_FALSE(esito.riuscito);
    EXPECT_EQ(esito.errore.titolo, "Esegui come Amministratore");
    EXPECT_EQ(esito.errore.testo, "Errore VEKO: è necessario ESEGUIRE COME AMMINISTRATORE\r\n \r\n"
                                  "Seleziona l'icona del programma con il TASTO DESTRO e poi scegli la voce\r\n \r\n"
                                  "Esegui come Amministratore");
    EXPECT_EQ(Cnn, nullptr);

    backend.chiudi();
    ASSERT_TRUE(QFile::remove(backend.sqlitePath()));
    esito = lancio.avvia(programma, "TipoDb=M\r\n");
    ASSERT_FALSE(esito.riuscito);
    EXPECT_EQ(Cnn, nullptr);
    EXPECT_EQ(esito.errore.testo, QStringLiteral("Errore VEKO Dichiarazioni num. 53 File del database non trovato: %1\r\n  \r\n"
                                                 " StrConn provider=SQLite;Data Source=%1\r\n TipoDb M")
                                      .arg(backend.sqlitePath()));
    EXPECT_FALSE(QFileInfo::exists(backend.sqlitePath()));
}
