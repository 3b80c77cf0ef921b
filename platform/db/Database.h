#pragma once
// The program's one way to the database (Qt SQL underneath). Every statement goes through
// this class:
//  - values are always bound ("?" placeholders, positional), never pasted into the SQL text;
//  - identifiers come only from the program's schema (Table descriptions, app/core/Schema.h);
//  - case-insensitive searches are written with likeInsensitive() and bound with
//    likeContains()/likePrefix(), which escape the wildcards of the user's text;
//  - reads are typed by the caller's declared column types, never by the driver's report;
//  - bind each value with the type of its column (QString for text columns, even for a
//    code made of digits; int for SMALLINT/INTEGER; QDate for DATE): PostgreSQL does not
//    compare a VARCHAR column with an integer parameter. insert() converts by itself.
// Failures throw DbError. One instance is the run's connection (quercino::Cnn); tests open
// as many as they need, each on its own Qt connection name.
//
// Locks: a statement never waits blind for a lock that another connection holds (another
// copy of the program restoring the archive, say). Each attempt waits about LockAttempt
// (PostgreSQL's lock_timeout, SQLite's busy timeout), then the observer hears how long it has
// waited and the statement runs again; inside a transaction the whole transaction does
// (transaction()). Past the limit it fails in Italian (DbError::Kind::LockWaitOver). Within
// one Operation (one command of the user) every wait counts against one limit: once it has
// passed, the operation's later statements that find a lock fail at once, never waiting again.
//
// Back-ends: an SQLite file (mode "M"), an ODBC data source opened with user and password
// as separate values (mode "S"), or a whole ODBC connection string (mode "X").

#include "platform/db/DbError.h"
#include "platform/db/Row.h"
#include "platform/db/Table.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

class QSqlError;
class QSqlQuery;

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quercino {

class Database {
public:
    // What the SQL dialect of DDL and a few functions depends on.
    enum class Dialect { SQLite, PostgreSQL, Other };

    // An existing SQLite file; a missing file is an error (the driver would create one).
    static std::unique_ptr<Database> openSqliteFile(const QString& path);
    // An ODBC data source by name; user and password reach the driver as values of their
    // own (quoted, so ";" or "}" in a password cannot add attributes).
    static std::unique_ptr<Database> openDataSource(const QString& dsn, const QString& user,
                                                    const QString& password);
    // A complete ODBC connection string, handed to the driver as it is.
    static std::unique_ptr<Database> openConnectionString(const QString& connection);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    Dialect dialect() const { return dialect_; }

    // Runs a statement that returns no rows; returns the rows affected (-1 when unknown).
    int exec(const QString& sql, const QVariantList& values = {});
    // Runs a query; each row has one value per entry of `types`, converted to that type.
    // The query must return at least that many columns.
    std::vector<Row> query(const QString& sql, const QVariantList& values,
                           const std::vector<ColumnType>& types);
    // The same, one row at a time: `each` sees every row as it is read and none is kept
    // (a whole table's rows never need to be in memory at once); it returns false to stop.
    void forEach(const QString& sql, const QVariantList& values, const std::vector<ColumnType>& types,
                 const std::function<bool(Row&)>& each);
    // Every column of `table`, in table order: sql is what follows "SELECT ... FROM T"
    // (e.g. " WHERE OCOD = ?"), may be empty.
    std::vector<Row> select(const Table& table, const QString& where = {},
                            const QVariantList& values = {});
    // First column of the first row converted to `type`; nullopt when there is no row.
    std::optional<QVariant> scalar(const QString& sql, const QVariantList& values,
                                   ColumnType type);
    // Names of the columns a query returns, in order, upper case (PostgreSQL folds
    // unquoted names to lower case).
    QStringList resultColumns(const QString& sql, const QVariantList& values = {});
    // INSERT of one whole row, values in table order (nulls allowed).
    void insert(const Table& table, const QVariantList& values);

    // Runs `work` in a transaction (begin() below) and commits it. When a lock another
    // connection holds keeps one of its statements waiting past an attempt, the transaction
    // is rolled back and `work` runs again from the start, until the lock comes free or the
    // wait passes the limit. So `work` only reads and writes the database and sets its
    // results anew each time: it may run more than once.
    void transaction(const std::function<void()>& work);

    // A transaction that writes. On SQLite it takes the file's write lock at once (BEGIN
    // IMMEDIATE): two connections that read and then write never both hold a read lock and
    // then fail on the write; the second waits for the first instead.
    void begin();
    void commit();
    void rollback();
    // What ends a SELECT inside a transaction that will write the rows it reads: PostgreSQL's
    // row lock (" FOR UPDATE"); nothing on SQLite, whose write lock already excludes every
    // other writer.
    QString forUpdate() const;

    // The longest one attempt of a statement waits for a lock another connection holds.
    static constexpr std::chrono::milliseconds LockAttempt{200};
    // Told while a statement of any connection of the process waits for a lock: `waiting`
    // after each attempt, with the time waited so far (a window shows it and keeps painting);
    // `ended` once, when a wait it was told of is over.
    struct LockWaitObserver {
        std::function<void(std::chrono::milliseconds waited)> waiting;
        std::function<void()> ended;
    };
    static void setLockWaitObserver(LockWaitObserver observer);
    // How long a statement (or a transaction) may wait for a lock in all; 5 minutes. Within
    // an Operation, how long all of its statements may wait together.
    static void setLockWaitLimit(std::chrono::milliseconds limit);
    static std::chrono::milliseconds lockWaitLimit();

    // One command of the user, from the event that starts it to its end, the windows it opens
    // included: the statements of any connection of the process run while one lives share one
    // lock wait limit, so the user who was told that the archive stays locked does not wait
    // again from the start for the next statement (the next file of an import, the list
    // reloaded after it). Scopes opened inside one join it.
    class Operation {
    public:
        Operation();
        ~Operation();
        Operation(const Operation&) = delete;
        Operation& operator=(const Operation&) = delete;
    };
    // True when the current operation has waited for a lock past the limit: what is left of
    // it can only fail, and is better not begun.
    static bool lockWaitGivenUp();

    // True when a trivial query still runs: after a failure, tells a lost connection (the
    // server stopped, the network dropped) from a statement the database refused.
    bool isAlive();

    // "UPPER(column) LIKE UPPER(?) ESCAPE '\'": bind likeContains() or likePrefix().
    static QString likeInsensitive(const QString& column);
    static QString likeContains(const QString& text);  // %text% with % _ \ escaped
    static QString likePrefix(const QString& text);    // text% with % _ \ escaped

private:
    explicit Database(const QString& connectionName);
    static std::unique_ptr<Database> openOdbc(const QString& connection, const QString& user,
                                              const QString& password);

    Dialect probeDialect();
    // Prepares, binds and runs; a statement refused by another connection's lock runs again
    // (outside a transaction, or when `alsoInTransaction`) until the lock wait's limit.
    void run(QSqlQuery& query, const QString& sql, const QVariantList& values, bool alsoInTransaction = false);
    // The failure as DbError: a lock another connection holds is Kind::Locked, in Italian.
    DbError errorOf(const QSqlError& error, const QSqlQuery* query = nullptr) const;

    QString connectionName_;
    Dialect dialect_ = Dialect::Other;
    bool odbc_ = false;
    bool sqliteTransaction_ = false;  // begun by our own statement, ended by ours too
    bool inTransaction_ = false;
};

// Commits only when asked; rolls back when it goes out of scope otherwise (an exception).
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& db_;
    bool done_ = false;
};

} // namespace quercino
