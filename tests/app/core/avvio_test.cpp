// The launch without windows on the three back-ends: every database mode with its texts,
// the attachments folder, the debug log, and the messages of a failed launch.
#include "support/db_backends.h"

#include "app/core/Comuni.h"
#include "app/core/Cripta.h"
#include "app/core/Globals.h"
#include "app/core/Main.h"
#include "app/core/ScriviLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quercino;
using quercino::test::Backend;
using quercino::test::DbBackend;

namespace {

const QDate Oggi(2026, 3, 9);

void scriviIni(const QString& cartella, const QByteArray& righe)
{
    QFile file(cartella + QStringLiteral("/configurazione.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("; prova\r\n[opzioni]\r\n" + righe);
}

QByteArray leggi(const QString& percorso)
{
    QFile file(percorso);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Shared by both fixtures: a public folder, the messages shown, a clean state.
class Lancio {
public:
    Lancio()
    {
        PathLog.clear();
        ChiudiConnessione();
    }
    ~Lancio() { ChiudiConnessione(); }

    EsitoAvvio avvia(const QString& cartellaProgramma)
    {
        return Avvia(AmbienteAvvio{cartellaProgramma, pubblica.path(), Oggi},
                     [this](const QString& t) { mostrati << t; });
    }

    QTemporaryDir pubblica;
    QStringList mostrati;
};

void riempi(Database& db)
{
    db.insert(schema::T_COMUNI(), {QStringLiteral("ROMA"), QStringLiteral("RM")});
    db.insert(schema::T_COMUNI(), {QStringLiteral("L'AQUILA"), QStringLiteral("AQ")});
    db.insert(schema::T_COMUNICF(), {QStringLiteral("H501"), QStringLiteral("ROMA")});
}

// Modes that reach the database through ODBC: on every back-end.
class AvvioOdbc : public quercino::test::DbBackendTest {
protected:
    void SetUp() override
    {
        DbBackendTest::SetUp();
        if (!HasFatalFailure())
            riempi(db());
    }
    Lancio lancio;
};

TEST_P(AvvioOdbc, ModoSOrigineDatiConUtenteEPassword)
{
    scriviIni(backend().programDir(),
              "TipoDb=s\r\nServer_Utente=" + backend().utente().toUtf8() + "\r\nServer_Password=" +
                  backend().password().toUtf8() + "\r\nServer_Nome=SRVDATI\r\n");
    const EsitoAvvio esito = lancio.avvia(backend().programDir());
    ASSERT_TRUE(esito.riuscito) << esito.errore.testo.toStdString();
    EXPECT_EQ(TipoDb, QStringLiteral("S"));
    EXPECT_EQ(VersioneProgramma, QStringLiteral("Versione 1.0 - Client/Server"));
    EXPECT_EQ(StrConn, QStringLiteral("dsn=VEKO; UID=%1; PWD=****").arg(backend().utente()));
    EXPECT_EQ(PathAllegati, QStringLiteral("//SRVDATI/VEKO_ALLEGATI/"));
    EXPECT_FALSE(QFileInfo::exists(backend().programDir() + QStringLiteral("/ALLEGATI")));
    EXPECT_EQ(Release, QStringLiteral("Release 1.4.4 - 19 Aprile 2021"));
    EXPECT_EQ(ColoreFocus, QColor(255, 255, 192));
    EXPECT_EQ(ColoreNormale, QColor(255, 255, 255));
    EXPECT_TRUE(lancio.mostrati.isEmpty());
    // The run's connection reaches this test's database and the towns are in memory.
    ASSERT_NE(Cnn, nullptr);
    EXPECT_NE(Cnn, &db());
    EXPECT_TRUE(ComuniAperto);
    EXPECT_TRUE(ComuniCF().contiene(QStringLiteral("H501")));
    ASSERT_NE(Comuni().cercaPrefisso(QStringLiteral("l'a")), nullptr);
    EXPECT_EQ(Comuni().cercaPrefisso(QStringLiteral("l'a"))->provincia, QStringLiteral("AQ"));
}

TEST_P(AvvioOdbc, ModoSConPasswordCifrataEDebug)
{
    const QString cifrata = Cripta(backend().password(), ModoScrivi, ChiavePassword);
    QByteArray righe = "TipoDb=S\r\ndebug=1\r\nServer_Utente=" + backend().utente().toUtf8() +
                       "\r\nServer_Crx=S\r\nServer_Password=" + cifrata.toUtf8() + "\r\n";
    scriviIni(backend().programDir(), righe);
    const EsitoAvvio esito = lancio.avvia(backend().programDir());
    ASSERT_TRUE(esito.riuscito) << esito.errore.testo.toStdString();
    const QString log = lancio.pubblica.path() + QStringLiteral("/VORNSOFTLAB/LOG_VEKO.TXT");
    EXPECT_EQ(lancio.mostrati,
              (QStringList{QStringLiteral("Connessione dsn=VEKO; UID=%1; PWD=****").arg(backend().utente()),
                           QStringLiteral("File Debug: ") + log}));
    EXPECT_EQ(PathLog, log);
    EXPECT_EQ(leggi(log), QByteArray("DATA ELABORAZIONE: 09/03/2026\r\n"));
    ScriviLog(QStringLiteral("Perché è così"));
    EXPECT_EQ(leggi(log), QByteArray("DATA ELABORAZIONE: 09/03/2026\r\nPerch\xe9 \xe8 cos\xec\r\n"));
}

TEST_P(AvvioOdbc, ModoXStringaDiConnessioneDiventaS)
{
    // Longer than the 127 characters of an ordinary key: StrConn keeps up to 300.
    QString stringa = backend().stringaConnessione();
    const QString riempitivo = QStringLiteral(";Description=") + QString(140, QLatin1Char('x'));
    stringa += riempitivo;
    scriviIni(backend().programDir(), "TipoDb=X\r\ndebug=1\r\nStrConn=  " + stringa.toUtf8() + "  \r\n");
    const EsitoAvvio esito = lancio.avvia(backend().programDir());
    ASSERT_TRUE(esito.riuscito) << esito.errore.testo.toStdString();
    EXPECT_EQ(TipoDb, QStringLiteral("S"));
    EXPECT_EQ(VersioneProgramma, QStringLiteral("Versione 1.0 - Client/Server ExtConn"));
    EXPECT_EQ(StrConn, stringa);
    EXPECT_EQ(PathAllegati, QStringLiteral("///VEKO_ALLEGATI/"));
    ASSERT_FALSE(lancio.mostrati.isEmpty());
    EXPECT_TRUE(lancio.mostrati[0].startsWith(QStringLiteral("Connessione ")));
    if (!backend().password().isEmpty()) {
        EXPECT_FALSE(lancio.mostrati[0].contains(backend().password()));
        EXPECT_TRUE(lancio.mostrati[0].contains(QStringLiteral("Pwd=****")));
    }
    EXPECT_TRUE(ComuniCF().contiene(QStringLiteral("h501")));
}

TEST_P(AvvioOdbc, ModoXConOrigineDatiNellaStringa)
{
    const QByteArray stringa = "DSN=VEKO;UID=" + backend().utente().toUtf8() + ";PWD=" + backend().password().toUtf8();
    scriviIni(backend().programDir(), "TipoDb=x\r\nStrConn=\"" + stringa + "\"\r\n");
    const EsitoAvvio esito = lancio.avvia(backend().programDir());
    ASSERT_TRUE(esito.riuscito) << esito.errore.testo.toStdString();
    EXPECT_EQ(TipoDb, QStringLiteral("S"));
    EXPECT_EQ(StrConn, QString::fromUtf8(stringa));
    EXPECT_TRUE(ComuniCF().contiene(QStringLiteral("H501")));
}

QUERCINO_DB_BACKENDS(AvvioOdbc);

// Passwords are checked by the server only.
class AvvioPostgres : public ::testing::Test {
protected:
    void SetUp() override { riempi(backend.db()); }
    DbBackend backend{Backend::OdbcPostgres};
    Lancio lancio;
};

TEST_F(AvvioPostgres, ConnessioneRifiutataMostraIlTestoSenzaPassword)
{
    scriviIni(backend.programDir(),
              "TipoDb=S\r\nServer_Utente=" + backend.utente().toUtf8() + "\r\nServer_Password=sbagliata\r\n");
    const EsitoAvvio esito = lancio.avvia(backend.programDir());
    ASSERT_FALSE(esito.riuscito);
    EXPECT_EQ(Cnn, nullptr);
    EXPECT_TRUE(esito.errore.testo.startsWith(QStringLiteral("Errore VEKO Dichiarazioni num. ")));
    EXPECT_TRUE(esito.errore.testo.endsWith(
        QStringLiteral("\r\n  \r\n StrConn dsn=VEKO; UID=%1; PWD=****\r\n TipoDb S").arg(backend.utente())))
        << esito.errore.testo.toStdString();
    EXPECT_FALSE(esito.errore.testo.contains(QStringLiteral("sbagliata")));
    EXPECT_EQ(esito.errore.pulsanti, Pulsanti::Ok);
}

TEST_F(AvvioPostgres, UnaPasswordConPuntoEVirgolaEGraffeArrivaIntera)
{
    // A role of its own, so the shared test user keeps its password.
    const QString ruolo = QStringLiteral("quercino_r%1").arg(QCoreApplication::applicationPid());
    const QString password = QStringLiteral("p;w}d={x");
    Database& db = backend.db();
    db.exec(QStringLiteral("DROP ROLE IF EXISTS %1").arg(ruolo));
    db.exec(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD 'p;w}d={x'").arg(ruolo));
    db.exec(QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO %1").arg(ruolo));
    scriviIni(backend.programDir(), "TipoDb=S\r\nServer_Utente=" + ruolo.toUtf8() +
                                        "\r\nServer_Password=" + password.toUtf8() + "\r\n");
    const EsitoAvvio esito = lancio.avvia(backend.programDir());
    ChiudiConnessione();
    db.exec(QStringLiteral("REVOKE ALL ON ALL TABLES IN SCHEMA public FROM %1").arg(ruolo));
    db.exec(QStringLiteral("DROP ROLE %1").arg(ruolo));
    EXPECT_TRUE(esito.riuscito) << esito.errore.testo.toStdString();
    EXPECT_TRUE(ComuniCF().contiene(QStringLiteral("H501")));
}

// The single-user file of the program folder.
class AvvioFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        riempi(backend.db());
        programma = backend.programDir();
    }
    DbBackend backend{Backend::SqliteFile};
    QString programma;
    Lancio lancio;
};

TEST_F(AvvioFile, TabellaDeiModiLocali)
{
    struct Caso {
        QByteArray tipoDb;
        QString tipoAtteso;
        bool allegatiLocali;
    };
    const std::vector<Caso> casi = {
        {"M", QStringLiteral("M"), true},
        {"m", QStringLiteral("M"), true},
        {"Monoutente", QStringLiteral("M"), true},
        {"", QString(), false},
        {"Q", QStringLiteral("Q"), false},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.tipoDb.toStdString());
        QDir(programma + QStringLiteral("/ALLEGATI")).removeRecursively();
        scriviIni(programma, "TipoDb=" + caso.tipoDb + "\r\nServer_Nome=SRV\r\n");
        const EsitoAvvio esito = lancio.avvia(programma);
        ASSERT_TRUE(esito.riuscito) << esito.errore.testo.toStdString();
        EXPECT_EQ(TipoDb, caso.tipoAtteso);
        EXPECT_EQ(VersioneProgramma, QStringLiteral("Versione 1.0 - Monoutente"));
        EXPECT_EQ(StrConn, QStringLiteral("provider=SQLite;Data Source=") + backend.sqlitePath());
        EXPECT_EQ(PathIni, programma + QStringLiteral("/configurazione.ini"));
        if (caso.allegatiLocali) {
            EXPECT_EQ(PathAllegati, programma + QStringLiteral("/ALLEGATI/"));
            EXPECT_TRUE(QFileInfo(PathAllegati).isDir());
        } else {
            EXPECT_EQ(PathAllegati, QStringLiteral("//SRV/VEKO_ALLEGATI/"));
            EXPECT_FALSE(QFileInfo::exists(programma + QStringLiteral("/ALLEGATI")));
        }
        EXPECT_TRUE(ComuniCF().contiene(QStringLiteral("H501")));
        EXPECT_TRUE(lancio.mostrati.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(lancio.pubblica.path() + QStringLiteral("/VORNSOFTLAB")));
    }
}

TEST_F(AvvioFile, SenzaConfigurazioneUsaIlFileLocaleSenzaDebug)
{
    const EsitoAvvio esito = lancio.avvia(programma);
    ASSERT_TRUE(esito.riuscito) << esito.errore.testo.toStdString();
    EXPECT_EQ(TipoDb, QString());
    EXPECT_EQ(DebugMode, QString());
    EXPECT_EQ(PathAllegati, QStringLiteral("///VEKO_ALLEGATI/"));
    ScriviLog(QStringLiteral("niente"));
    EXPECT_FALSE(QFileInfo::exists(lancio.pubblica.path() + QStringLiteral("/VORNSOFTLAB")));
}

TEST_F(AvvioFile, IlLogDiDebugRicominciaAOgniAvvio)
{
    scriviIni(programma, "TipoDb=M\r\ndebug=1\r\n");
    ASSERT_TRUE(lancio.avvia(programma).riuscito);
    ScriviLog(QStringLiteral("prima esecuzione"));
    ASSERT_TRUE(lancio.avvia(programma).riuscito);
    ScriviLog(QStringLiteral("seconda"));
    EXPECT_EQ(leggi(PathLog), QByteArray("DATA ELABORAZIONE: 09/03/2026\r\nseconda\r\n"));
    EXPECT_EQ(lancio.mostrati.size(), 4);
    EXPECT_EQ(lancio.mostrati[0], QStringLiteral("Connessione provider=SQLite;Data Source=") + backend.sqlitePath());
}

TEST_F(AvvioFile, FileDelDatabaseMancante)
{
    backend.chiudi();
    ASSERT_TRUE(QFile::remove(backend.sqlitePath()));
    scriviIni(programma, "TipoDb=M\r\n");
    const EsitoAvvio esito = lancio.avvia(programma);
    ASSERT_FALSE(esito.riuscito);
    EXPECT_EQ(Cnn, nullptr);
    EXPECT_EQ(esito.errore.testo,
              QStringLiteral("Errore VEKO Dichiarazioni num. 53 File del database non trovato: %1\r\n  \r\n"
                             " StrConn provider=SQLite;Data Source=%1\r\n TipoDb M")
                  .arg(backend.sqlitePath()));
    EXPECT_EQ(esito.errore.pulsanti, Pulsanti::Ok);
    EXPECT_FALSE(QFileInfo::exists(backend.sqlitePath()));
}

TEST_F(AvvioFile, CartellaDelLogNonCreabileChiedeDiEseguireComeAmministratore)
{
    // A file where the public folder should be: the maker folder cannot be made below it.
    const QString file = lancio.pubblica.filePath(QStringLiteral("nonunacartella"));
    QFile(file).open(QIODevice::WriteOnly);
    scriviIni(programma, "TipoDb=M\r\ndebug=1\r\n");
    const EsitoAvvio esito = Avvia(AmbienteAvvio{programma, file, Oggi}, [](const QString&) {});
    ASSERT_FALSE(esito.riuscito);
    EXPECT_EQ(esito.errore.testo,
              QStringLiteral("Errore VEKO: è necessario ESEGUIRE COME AMMINISTRATORE\r\n \r\n"
                             "Seleziona l'icona del programma con il TASTO DESTRO e poi scegli la voce\r\n \r\n"
                             "Esegui come Amministratore"));
    EXPECT_EQ(esito.errore.titolo, QStringLiteral("Esegui come Amministratore"));
    EXPECT_EQ(esito.errore.icona, Icona::Informazione);
    EXPECT_EQ(Cnn, nullptr);
}

TEST_F(AvvioFile, CartellaDelProduttoreMancanteVieneCreata)
{
    scriviIni(programma, "TipoDb=M\r\ndebug=1\r\n");
    const QString pubblica = lancio.pubblica.filePath(QStringLiteral("profilo/pubblico"));
    const EsitoAvvio esito = Avvia(AmbienteAvvio{programma, pubblica, Oggi}, [](const QString&) {});
    ASSERT_TRUE(esito.riuscito) << esito.errore.testo.toStdString();
    EXPECT_EQ(leggi(pubblica + QStringLiteral("/VORNSOFTLAB/LOG_VEKO.TXT")),
              QByteArray("DATA ELABORAZIONE: 09/03/2026\r\n"));
}

} // namespace
