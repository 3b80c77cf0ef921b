#include "platform/db/Database.h"

#include "platform/db/OdbcConnectionString.h"
#include "platform/db/TypedValue.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QThread>

#include <sql.h>
#include <sqlext.h>

#include <atomic>
#include <optional>

namespace quercino {

namespace {

std::atomic<int> connectionCounter{0};

QString newConnectionName()
{
    return QStringLiteral("quercino_%1").arg(++connectionCounter);
}

struct LockSettings {
    Database::LockWaitObserver observer;
    std::chrono::milliseconds limit = std::chrono::minutes(5);
    int operations = 0;          // Operation scopes open
    qint64 waitedBefore = 0;     // ms the current operation waited in its earlier waits
    bool givenUp = false;        // the current operation passed the limit
    // The wait under way: a transaction's wait can hold a statement's (its COMMIT's) inside
    // it, and the time is counted once.
    int waits = 0;
    QElapsedTimer clock;
    qint64 firstAttempt = 0;
    bool told = false;
};

LockSettings& lockSettings()
{
    static LockSettings settings;
    return settings;
}

QString lockCause()
{
    return QStringLiteral("(ad esempio per un ripristino dei dati in corso)");
}

QString lockedText()
{
    return QStringLiteral("L'archivio è bloccato da un'altra postazione ") + lockCause()
           + QStringLiteral(": riprovare al termine dell'operazione.");
}

QString lockWaitOverText(std::chrono::milliseconds limit)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limit).count();
    QString duration;
    if (seconds >= 60 && seconds % 60 == 0)
        duration = seconds == 60 ? QStringLiteral("un minuto") : QStringLiteral("%1 minuti").arg(seconds / 60);
    else
        duration = seconds == 1 ? QStringLiteral("un secondo") : QStringLiteral("%1 secondi").arg(seconds);
    return QStringLiteral("L'archivio è bloccato da un'altra postazione da oltre ") + duration + QLatin1Char(' ')
           + lockCause() + QStringLiteral(": riprovare al termine dell'operazione.");
}

DbError waitOver()
{
    return DbError(0, lockWaitOverText(lockSettings().limit), DbError::Kind::LockWaitOver);
}

// One wait for a lock: from the first attempt refused, told to the observer after each
// one, given up past the limit (counting the operation's earlier waits).
class LockWait {
public:
    explicit LockWait(qint64 firstAttemptMs)
    {
        LockSettings& settings = lockSettings();
        if (settings.waits++ > 0)
            return;
        settings.clock.start();
        settings.firstAttempt = firstAttemptMs;
        settings.told = false;
    }
    ~LockWait()
    {
        LockSettings& settings = lockSettings();
        if (--settings.waits > 0)
            return;
        if (settings.operations > 0)
            settings.waitedBefore += settings.firstAttempt + settings.clock.elapsed();
        if (!settings.told || !settings.observer.ended)
            return;
        try {
            settings.observer.ended();
        } catch (...) {
            // A window that could not close is no reason to lose the statement's outcome.
        }
    }
    LockWait(const LockWait&) = delete;
    LockWait& operator=(const LockWait&) = delete;

    // After an attempt that took `attemptMs` and found the lock taken.
    void again(qint64 attemptMs)
    {
        // An attempt refused without waiting is not repeated at once.
        constexpr qint64 shortest = Database::LockAttempt.count() / 4;
        if (attemptMs < shortest)
            QThread::msleep(static_cast<unsigned long>(shortest - attemptMs));
        LockSettings& settings = lockSettings();
        const std::chrono::milliseconds waited(settings.waitedBefore + settings.firstAttempt + settings.clock.elapsed());
        if (waited >= settings.limit) {
            settings.givenUp = settings.operations > 0;
            throw waitOver();
        }
        settings.told = true;
        if (settings.observer.waiting)
            settings.observer.waiting(waited);
    }
};

// A lock found by an operation that already waited past the limit: refused at once.
void refuseWhenGivenUp()
{
    if (lockSettings().givenUp)
        throw waitOver();
}

DbError genericError(const QSqlError& error)
{
    bool ok = false;
    const int number = error.nativeErrorCode().section(QLatin1Char(';'), 0, 0).trimmed().toInt(&ok);
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    if (text.isEmpty())
        text = QStringLiteral("Errore del database");
    return DbError(ok ? number : 0, text);
}

// The SQLSTATE of an ODBC statement's failure, asked of the driver: Qt keeps only the
// message, which the server writes in its own language.
QString odbcSqlState(const QSqlQuery& query)
{
    if (!query.result())
        return {};
    const QVariant handle = query.result()->handle();
    if (!handle.isValid() || handle.constData() == nullptr)
        return {};
    const SQLHANDLE statement = *static_cast<const SQLHANDLE*>(handle.constData());
    if (statement == nullptr)
        return {};
    SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[SQL_MAX_MESSAGE_LENGTH] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetDiagRec(SQL_HANDLE_STMT, statement, 1, state, &native, message,
                                     static_cast<SQLSMALLINT>(sizeof message), &length)))
        return {};
    return QString::fromLatin1(reinterpret_cast<const char*>(state));
}

QSqlDatabase handle(const QString& connectionName)
{
    return QSqlDatabase::database(connectionName, false);
}

// Qt's ODBC driver passes a text holding "DRIVER=" or "SERVER=" to the driver manager as
// it is and puts "DSN=" in front of anything else: a string that starts with "DSN=" (and
// names no driver or server) must lose it, or the data source would be looked up as
// "DSN=name".
QString qtOdbcDatabaseName(const QString& connection)
{
    const QString trimmed = connection.trimmed();
    if (trimmed.contains(QLatin1String("DRIVER="), Qt::CaseInsensitive) ||
        trimmed.contains(QLatin1String("SERVER="), Qt::CaseInsensitive))
        return connection;
    if (trimmed.startsWith(QLatin1String("DSN="), Qt::CaseInsensitive))
        return trimmed.mid(4);
    return connection;
}

} // namespace

Database::Database(const QString& connectionName) : connectionName_(connectionName) {}

Database::~Database()
{
    {
        QSqlDatabase db = handle(connectionName_);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

std::unique_ptr<Database> Database::openSqliteFile(const QString& path)
{
    // Qt's driver would silently create an empty database in place of a missing file.
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw DbError(53, QStringLiteral("File del database non trovato: %1").arg(path));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        throw DbError(0, QStringLiteral("Driver SQLite di Qt non disponibile"));

    const QString name = newConnectionName();
    std::unique_ptr<Database> result(new Database(name));
    result->dialect_ = Dialect::SQLite;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(info.absoluteFilePath());
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(LockAttempt.count()));
        if (!db.open())
            throw result->errorOf(db.lastError());
    }
    // Opening is lazy: a file that is not a database is found by the first read.
    result->scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master"), {}, ColumnType::Integer);
    return result;
}

std::unique_ptr<Database> Database::openDataSource(const QString& dsn, const QString& user,
                                                   const QString& password)
{
    return openOdbc(odbcDataSourceString(dsn, user, password), QString(), QString());
}

std::unique_ptr<Database> Database::openConnectionString(const QString& connection)
{
    return openOdbc(connection, QString(), QString());
}

std::unique_ptr<Database> Database::openOdbc(const QString& connection, const QString& user,
                                             const QString& password)
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
        throw DbError(0, QStringLiteral("Driver ODBC di Qt non disponibile"));
    const QString name = newConnectionName();
    std::unique_ptr<Database> result(new Database(name));
    result->odbc_ = true;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
    db.setDatabaseName(qtOdbcDatabaseName(connection));
    if (!user.isEmpty())
        db.setUserName(user);
    if (!password.isEmpty())
        db.setPassword(password);
    if (!db.open())
        throw result->errorOf(db.lastError());
    switch (db.driver()->dbmsType()) {
    case QSqlDriver::SQLite:
        result->dialect_ = Dialect::SQLite;
        break;
    case QSqlDriver::PostgreSQL:
        result->dialect_ = Dialect::PostgreSQL;
        break;
    default:
        result->dialect_ = result->probeDialect();
        break;
    }
    if (result->dialect_ == Dialect::SQLite) {
        // The SQLite driver waits for a locked file as long as its "Timeout" says, 100
        // seconds unless the data source sets it: opened again with one attempt's wait (a
        // value the data source or the string gives itself comes first and is kept).
        QString connectionWithTimeout = qtOdbcDatabaseName(connection).trimmed();
        while (connectionWithTimeout.endsWith(QLatin1Char(';')))
            connectionWithTimeout.chop(1);
        db.close();
        db.setDatabaseName(connectionWithTimeout + QStringLiteral(";Timeout=%1").arg(LockAttempt.count() / 2));
        if (!db.open())
            throw result->errorOf(db.lastError());
    } else if (result->dialect_ == Dialect::PostgreSQL) {
        try {
            result->exec(QStringLiteral("SET lock_timeout = '%1ms'").arg(LockAttempt.count()));
        } catch (const DbError&) {
            // A server without the setting: its statements wait for locks as long as they last.
        }
    }
    return result;
}

Database::Dialect Database::probeDialect()
{
    // Qt names few ODBC back-ends: ask the engine itself.
    try {
        scalar(QStringLiteral("SELECT sqlite_version()"), {}, ColumnType::Text);
        return Dialect::SQLite;
    } catch (const DbError&) {
    }
    try {
        const auto version = scalar(QStringLiteral("SELECT version()"), {}, ColumnType::Text);
        if (version && version->toString().contains(QLatin1String("PostgreSQL")))
            return Dialect::PostgreSQL;
    } catch (const DbError&) {
    }
    return Dialect::Other;
}

DbError Database::errorOf(const QSqlError& error, const QSqlQuery* query) const
{
    DbError generic = genericError(error);
    bool locked = false;
    if (dialect_ == Dialect::SQLite) {
        // SQLITE_BUSY and SQLITE_LOCKED, extended codes included.
        const int primary = generic.number() & 0xff;
        locked = primary == 5 || primary == 6;
    } else if (dialect_ == Dialect::PostgreSQL && odbc_ && query) {
        locked = odbcSqlState(*query) == QLatin1String("55P03");  // lock_not_available
    }
    if (!locked)
        return generic;
    return DbError(generic.number(), lockedText(), DbError::Kind::Locked);
}

void Database::run(QSqlQuery& query, const QString& sql, const QVariantList& values, bool alsoInTransaction)
{
    query.setForwardOnly(true);
    std::optional<LockWait> wait;
    QElapsedTimer attempt;
    for (;;) {
        attempt.start();
        bool ok = false;
        if (values.isEmpty()) {
            ok = query.exec(sql);
        } else if (query.prepare(sql)) {
            for (const QVariant& v : values)
                query.addBindValue(toDriver(v));
            ok = query.exec();
        }
        if (ok)
            return;
        DbError error = errorOf(query.lastError(), &query);
        if (error.kind() != DbError::Kind::Locked || (inTransaction_ && !alsoInTransaction))
            throw error;
        refuseWhenGivenUp();
        if (!wait)
            wait.emplace(attempt.elapsed());
        wait->again(attempt.elapsed());
    }
}

int Database::exec(const QString& sql, const QVariantList& values)
{
    QSqlQuery query(handle(connectionName_));
    run(query, sql, values);
    return query.numRowsAffected();
}

std::vector<Row> Database::query(const QString& sql, const QVariantList& values,
                                 const std::vector<ColumnType>& types)
{
    std::vector<Row> rows;
    forEach(sql, values, types, [&rows](Row& row) {
        rows.push_back(std::move(row));
        return true;
    });
    return rows;
}

void Database::forEach(const QString& sql, const QVariantList& values, const std::vector<ColumnType>& types,
                       const std::function<bool(Row&)>& each)
{
    QSqlQuery query(handle(connectionName_));
    run(query, sql, values);
    const QSqlRecord record = query.record();
    if (record.count() < static_cast<int>(types.size()))
        throw DbError(0, QStringLiteral("La query restituisce %1 colonne, attese %2")
                             .arg(record.count())
                             .arg(types.size()));
    while (query.next()) {
        std::vector<QVariant> row;
        row.reserve(types.size());
        for (std::size_t i = 0; i < types.size(); ++i) {
            const int column = static_cast<int>(i);
            row.push_back(fromDriver(query.value(column), types[i], record.fieldName(column)));
        }
        Row read(std::move(row));
        if (!each(read))
            return;
    }
    if (query.lastError().isValid())
        throw errorOf(query.lastError(), &query);
}

std::vector<Row> Database::select(const Table& table, const QString& where,
                                  const QVariantList& values)
{
    return query(table.selectAll() + where, values, table.types());
}

std::optional<QVariant> Database::scalar(const QString& sql, const QVariantList& values,
                                         ColumnType type)
{
    const std::vector<Row> rows = query(sql, values, {type});
    if (rows.empty())
        return std::nullopt;
    return rows.front().value(0);
}

QStringList Database::resultColumns(const QString& sql, const QVariantList& values)
{
    QSqlQuery query(handle(connectionName_));
    run(query, sql, values);
    const QSqlRecord record = query.record();
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i).toUpper();
    return names;
}

void Database::insert(const Table& table, const QVariantList& values)
{
    if (values.size() != static_cast<qsizetype>(table.columns.size()))
        throw DbError(0, QStringLiteral("Riga di %1 valori per la tabella %2 di %3 colonne")
                             .arg(values.size())
                             .arg(table.name)
                             .arg(table.columns.size()));
    QStringList marks;
    QVariantList bound;
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        marks << QStringLiteral("?");
        const Column& column = table.columns[i];
        bound << toDriver(values[static_cast<qsizetype>(i)], column.type, column.name);
    }
    exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
             .arg(table.name, table.columnList(), marks.join(QStringLiteral(", "))),
         bound);
}

void Database::transaction(const std::function<void()>& work)
{
    std::optional<LockWait> wait;
    QElapsedTimer attempt;
    for (;;) {
        attempt.start();
        try {
            Transaction transaction(*this);
            work();
            transaction.commit();
            return;
        } catch (const DbError& error) {
            if (error.kind() != DbError::Kind::Locked)
                throw;
        }
        // Rolled back: nothing is held while the observer lets the windows paint.
        refuseWhenGivenUp();
        if (!wait)
            wait.emplace(attempt.elapsed());
        wait->again(attempt.elapsed());
    }
}

void Database::begin()
{
    // Both SQLite drivers leave the statement to us: the Qt driver would begin a deferred
    // transaction, and the ODBC one keeps auto-commit while a statement began it.
    if (dialect_ == Dialect::SQLite) {
        exec(QStringLiteral("BEGIN IMMEDIATE"));
        sqliteTransaction_ = true;
        inTransaction_ = true;
        return;
    }
    QSqlDatabase db = handle(connectionName_);
    if (!db.transaction())
        throw errorOf(db.lastError());
    inTransaction_ = true;
}

void Database::commit()
{
    if (sqliteTransaction_) {
        // SQLite's COMMIT waits for the readers to finish; refused, it may simply be repeated.
        QSqlQuery query(handle(connectionName_));
        run(query, QStringLiteral("COMMIT"), {}, true);
        sqliteTransaction_ = false;
        inTransaction_ = false;
        return;
    }
    QSqlDatabase db = handle(connectionName_);
    if (!db.commit())
        throw errorOf(db.lastError());
    inTransaction_ = false;
}

void Database::rollback()
{
    inTransaction_ = false;
    if (sqliteTransaction_) {
        sqliteTransaction_ = false;
        exec(QStringLiteral("ROLLBACK"));
        return;
    }
    QSqlDatabase db = handle(connectionName_);
    if (!db.rollback())
        throw errorOf(db.lastError());
}

QString Database::forUpdate() const
{
    return dialect_ == Dialect::PostgreSQL ? QStringLiteral(" FOR UPDATE") : QString();
}

void Database::setLockWaitObserver(LockWaitObserver observer)
{
    lockSettings().observer = std::move(observer);
}

void Database::setLockWaitLimit(std::chrono::milliseconds limit)
{
    lockSettings().limit = limit;
}

std::chrono::milliseconds Database::lockWaitLimit()
{
    return lockSettings().limit;
}

Database::Operation::Operation()
{
    ++lockSettings().operations;
}

Database::Operation::~Operation()
{
    LockSettings& settings = lockSettings();
    if (--settings.operations > 0)
        return;
    settings.waitedBefore = 0;
    settings.givenUp = false;
}

bool Database::lockWaitGivenUp()
{
    return lockSettings().givenUp;
}

bool Database::isAlive()
{
    try {
        return scalar(QStringLiteral("SELECT 1"), {}, ColumnType::Integer).has_value();
    } catch (const DbError&) {
        return false;
    }
}

} // namespace quercino
