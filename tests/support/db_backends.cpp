#include "db_backends.h"

#include "app/core/Globals.h"
#include "support/golden.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>

#include <dlfcn.h>

#include <atomic>
#include <stdexcept>

namespace quercino::test {

namespace {

std::atomic<int> contatoreDatabase{0};

struct PostgresDiProva {
    QString host, porta, utente, password;
};

PostgresDiProva postgresDiProva()
{
    PostgresDiProva pg{qEnvironmentVariable("QUERCINO_PG_HOST"), qEnvironmentVariable("QUERCINO_PG_PORT"),
                       qEnvironmentVariable("QUERCINO_PG_USER"), qEnvironmentVariable("QUERCINO_PG_PASSWORD")};
    if (pg.host.isEmpty() || pg.porta.isEmpty() || pg.utente.isEmpty())
        throw std::runtime_error(
            "PostgreSQL di prova non avviato: QUERCINO_PG_HOST/PORT/USER non impostate. "
            "Eseguire 'source scripts/test-services.sh && services_start' prima di ctest "
            "(scripts/test.sh lo fa da solo).");
    return pg;
}

QString stringaPostgres(const PostgresDiProva& pg, const QString& database)
{
    return QStringLiteral("Driver={PostgreSQL Unicode};Server=%1;Port=%2;Database=%3;Uid=%4;Pwd=%5")
        .arg(pg.host, pg.porta, database, pg.utente, pg.password);
}

std::unique_ptr<Database> apriManutenzione(const PostgresDiProva& pg)
{
    return Database::openConnectionString(stringaPostgres(pg, QStringLiteral("postgres")));
}

// The driver manager reads ODBCINI's path once per process and keeps it: every test of
// the process rewrites the same file.
QString percorsoOdbcIni()
{
    static QTemporaryDir cartella;
    static const QString percorso = [] {
        const QString p = cartella.filePath(QStringLiteral("odbc.ini"));
        qputenv("ODBCINI", p.toLocal8Bit());
        return p;
    }();
    return percorso;
}

// ... and caches what it read from it: the data source is written through the driver
// manager's own API, which keeps its cache in step.
void scriviOrigineVEKO(const std::vector<std::pair<QByteArray, QByteArray>>& attributi)
{
    using Scrivi = int (*)(const char*, const char*, const char*, const char*);
    using Modo = int (*)(unsigned short);
    static void* libreria = dlopen("libodbcinst.so.2", RTLD_NOW);
    if (libreria == nullptr)
        throw std::runtime_error("libodbcinst.so.2 non trovata");
    static const auto scrivi = reinterpret_cast<Scrivi>(dlsym(libreria, "SQLWritePrivateProfileString"));
    static const auto modo = reinterpret_cast<Modo>(dlsym(libreria, "SQLSetConfigMode"));
    if (scrivi == nullptr || modo == nullptr)
        throw std::runtime_error("API di configurazione ODBC non trovata");
    modo(1);  // ODBC_USER_DSN: the file named by ODBCINI
    scrivi("VEKO", nullptr, nullptr, "odbc.ini");  // removes the old section
    for (const auto& [chiave, valore] : attributi) {
        if (!scrivi("VEKO", chiave.constData(), valore.constData(), "odbc.ini"))
            throw std::runtime_error("Impossibile scrivere l'origine dati VEKO");
    }
    modo(0);
}

} // namespace

std::string nomeBackend(Backend backend)
{
    const char* const nomi[] = {"SqliteFile", "OdbcSqlite", "OdbcPostgres"};
    return nomi[static_cast<int>(backend)];
}

DbBackend::DbBackend(Backend backend) : backend_(backend)
{
    if (!dir_.isValid())
        throw std::runtime_error("Cartella temporanea non creata");
    QDir(dir_.path()).mkpath(QStringLiteral("program/DataBase"));

    // This test's own data source "VEKO"; written for every back-end so that a mode "S"
    // launch never reaches some other database.
    std::vector<std::pair<QByteArray, QByteArray>> origine;
    switch (backend_) {
    case Backend::SqliteFile:
    case Backend::OdbcSqlite: {
        const QString file = backend_ == Backend::SqliteFile
                                 ? sqlitePath()
                                 : dir_.filePath(QStringLiteral("odbc.sqlite"));
        if (!ScriviFile(file, QByteArray()))
            throw std::runtime_error("Impossibile scrivere " + file.toStdString());
        origine = {{"Driver", "SQLite3"}, {"Database", file.toUtf8()}};
        stringaConnessione_ = QStringLiteral("Driver={SQLite3};Database=%1").arg(file);
        if (backend_ == Backend::SqliteFile)
            db_ = Database::openSqliteFile(file);
        break;
    }
    case Backend::OdbcPostgres: {
        const PostgresDiProva pg = postgresDiProva();
        nomeDbPostgres_ = QStringLiteral("quercino_t%1_%2_%3")
                              .arg(QCoreApplication::applicationPid())
                              .arg(++contatoreDatabase)
                              .arg(QRandomGenerator::global()->bounded(1000000));
        apriManutenzione(pg)->exec(QStringLiteral("CREATE DATABASE %1").arg(nomeDbPostgres_));
        utente_ = pg.utente;
        password_ = pg.password;
        origine = {{"Driver", "PostgreSQL Unicode"},
                   {"Servername", pg.host.toUtf8()},
                   {"Port", pg.porta.toUtf8()},
                   {"Database", nomeDbPostgres_.toUtf8()}};
        stringaConnessione_ = stringaPostgres(pg, nomeDbPostgres_);
        break;
    }
    }
    percorsoOdbcIni();
    scriviOrigineVEKO(origine);

    if (!db_)
        db_ = Database::openConnectionString(stringaConnessione_);
    const Database::Dialect atteso = backend_ == Backend::OdbcPostgres ? Database::Dialect::PostgreSQL
                                                                       : Database::Dialect::SQLite;
    if (db_->dialect() != atteso)
        throw std::runtime_error("Il database aperto non è quello del back-end richiesto");
    schema::creaTabelle(*db_);
}

DbBackend::~DbBackend()
{
    db_.reset();
    if (nomeDbPostgres_.isEmpty())
        return;
    try {
        apriManutenzione(postgresDiProva())
            ->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(nomeDbPostgres_));
    } catch (const std::exception&) {
        // A database left behind lives in the server's temporary folder, removed at stop.
    }
}

QString DbBackend::programDir() const
{
    return dir_.filePath(QStringLiteral("program"));
}

QString DbBackend::sqlitePath() const
{
    return dir_.filePath(QStringLiteral("program/DataBase/VEKO.sqlite"));
}

std::unique_ptr<Database> DbBackend::apriAltraConnessione() const
{
    if (backend_ == Backend::SqliteFile)
        return Database::openSqliteFile(sqlitePath());
    return Database::openConnectionString(stringaConnessione_);
}

void DbBackend::chiudi()
{
    db_.reset();
}

void DbBackendTest::SetUp()
{
    try {
        backend_ = std::make_unique<DbBackend>(GetParam());
    } catch (const std::exception& e) {
        FAIL() << "Back-end " << nomeBackend(GetParam()) << " non disponibile: " << e.what();
    }
    Cnn = &backend_->db();
}

void DbBackendTest::TearDown()
{
    Cnn = nullptr;
    ComuniAperto = false;
    backend_.reset();
}

QVariantList rigaCope(const QString& codice, const QString& ragioneSociale)
{
    QVariantList riga;
    for (int i = 0; i < cope::NumeroColonne; ++i)
        riga << QString();
    riga[cope::OCOD] = codice;
    riga[cope::ORAG] = ragioneSociale;
    riga[cope::ODES] = ragioneSociale;
    riga[cope::OSPAESE] = QStringLiteral("IT");
    riga[cope::OSPAESED] = QStringLiteral("ITALIA");
    riga[cope::OPF] = 0;
    riga[cope::ORFPF] = 0;
    riga[cope::OPROG] = QStringLiteral("00001");
    return riga;
}

} // namespace quercino::test
