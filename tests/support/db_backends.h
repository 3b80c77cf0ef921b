#pragma once
// Runs one test body on the three database back-ends of the program:
//  - SqliteFile:   an SQLite file opened directly (mode "M"), at
//                  programDir()/DataBase/VEKO.sqlite;
//  - OdbcSqlite:   the ODBC data source "VEKO" on the SQLite3 ODBC driver (libsqliteodbc);
//  - OdbcPostgres: the ODBC data source "VEKO" on a real PostgreSQL 15 (odbc-postgresql),
//                  a new database created for each test and dropped after it.
// Each test gets a temporary program folder and an empty database with every table of
// app/core/Schema.h created; quercino::Cnn points at it during the test.
//
//   class CtabTest : public quercino::test::DbBackendTest {};
//   TEST_P(CtabTest, Legge) {
//       db().insert(quercino::schema::CTAB(), {"PAESE", "IT", "ITALIA"});
//       db().insert(quercino::schema::COPE(), quercino::test::rigaCope("01", "ROSSI SPA"));
//       auto righe = db().select(quercino::schema::CTAB(), " WHERE TIPO = ?", {"PAESE"});
//       ...
//   }
//   QUERCINO_DB_BACKENDS(CtabTest);
//
// The ODBC back-ends need the services of scripts/test-services.sh (source it and run
// services_start; scripts/test.sh does): PostgreSQL's address in QUERCINO_PG_HOST,
// QUERCINO_PG_PORT, QUERCINO_PG_USER, QUERCINO_PG_PASSWORD and the drivers' odbcinst.ini in
// ODBCSYSINI. Without them the PostgreSQL tests fail with a message saying so. A test that
// needs PostgreSQL has "Postgres" in its name (the back-end "OdbcPostgres" gives it), as do
// tests on their own ("Postgres/..." or a suite named so): ctest labels them `postgres`, and
// `ctest -LE postgres` runs the rest without the server.
// Each test points the data source "VEKO" (in a per-process odbc.ini named by ODBCINI) at
// its own database; the fixture itself connects by connection string with the same driver.
// The driver manager caches what it reads of a data source for the life of the process:
// a test that opens "VEKO" itself (mode "S") is correct when it is the first of its
// process to do so. ctest runs every test in its own process; by hand, filter to one test.

#include "support/stampa_qt.h"
#include "app/core/Schema.h"
#include "platform/db/Database.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

namespace quercino::test {

enum class Backend { SqliteFile, OdbcSqlite, OdbcPostgres };

std::string nomeBackend(Backend backend);

// Named in test listings ("OdbcPostgres"), not as the enum's raw bytes.
inline void PrintTo(Backend backend, std::ostream* os)
{
    *os << nomeBackend(backend);
}

// One fresh database on one back-end, with its temporary program folder.
class DbBackend {
public:
    // Throws std::runtime_error with a clear message when the back-end is not available.
    explicit DbBackend(Backend backend);
    ~DbBackend();

    Backend backend() const { return backend_; }
    Database& db() { return *db_; }
    // Temporary program folder (removed at the end); holds DataBase/ for the SQLite file.
    QString programDir() const;
    // Path of the SQLite file when the back-end is SqliteFile.
    QString sqlitePath() const;
    // Mode "S": the data source "VEKO" of this test's odbc.ini, with its user and password
    // (empty for OdbcSqlite).
    QString utente() const { return utente_; }
    QString password() const { return password_; }
    // Mode "X": a complete ODBC connection string that reaches the same database.
    QString stringaConnessione() const { return stringaConnessione_; }
    // Opens another connection to the same database (for checks from outside); by
    // connection string, not through "VEKO".
    std::unique_ptr<Database> apriAltraConnessione() const;
    // Drops the open connection (e.g. before the code under test opens its own).
    void chiudi();

private:
    Backend backend_;
    QTemporaryDir dir_;
    QString utente_;
    QString password_;
    QString stringaConnessione_;
    QString nomeDbPostgres_;
    std::unique_ptr<Database> db_;
};

class DbBackendTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override;
    void TearDown() override;
    Database& db() { return backend_->db(); }
    DbBackend& backend() { return *backend_; }

private:
    std::unique_ptr<DbBackend> backend_;
};

// Test-name suffix for the parameter.
struct NomeParametroBackend {
    std::string operator()(const ::testing::TestParamInfo<Backend>& info) const
    {
        return nomeBackend(info.param);
    }
};

// A whole COPE row in table order: the given code and company name, nation IT/ITALIA,
// company (OPF 0), progressive "00001", every other text empty.
QVariantList rigaCope(const QString& codice, const QString& ragioneSociale);

} // namespace quercino::test

#define QUERCINO_DB_BACKENDS(Suite)                                                       \
    INSTANTIATE_TEST_SUITE_P(DbBackends, Suite,                                           \
                             ::testing::Values(::quercino::test::Backend::SqliteFile,     \
                                               ::quercino::test::Backend::OdbcSqlite,     \
                                               ::quercino::test::Backend::OdbcPostgres),  \
                             ::quercino::test::NomeParametroBackend())

// For what does not depend on the database (windows, messages): the SQLite file only.
#define QUERCINO_DB_SOLO_FILE(Suite)                                                         \
    INSTANTIATE_TEST_SUITE_P(SoloFile, Suite, ::testing::Values(::quercino::test::Backend::SqliteFile), \
                             ::quercino::test::NomeParametroBackend())
