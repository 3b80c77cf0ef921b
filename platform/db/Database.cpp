#include "platform/db/Database.h"

#include "platform/db/OdbcConnectionString.h"
#include "platform/db/TypedValue.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <atomic>

namespace quercino {

namespace {

std::atomic<int> connectionCounter{0};

QString newConnectionName()
{
    return QStringLiteral("quercino_%1").arg(++connectionCounter);
}

DbError errorOf(const QSqlError& error)
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

QSqlDatabase handle(const QString& connectionName)
{
    return QSqlDatabase::database(connectionName, false);
}

void prepareAndRun(QSqlQuery& query, const QString& sql, const QVariantList& values)
{
    query.setForwardOnly(true);
    bool ok = false;
    if (values.isEmpty()) {
        ok = query.exec(sql);
    } else {
        if (!query.prepare(sql))
            throw errorOf(query.lastError());
        for (const QVariant& v : values)
            query.addBindValue(toDriver(v));
        ok = query.exec();
    }
    if (!ok)
        throw errorOf(query.lastError());
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
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open())
            throw errorOf(db.lastError());
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
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
    db.setDatabaseName(qtOdbcDatabaseName(connection));
    if (!user.isEmpty())
        db.setUserName(user);
    if (!password.isEmpty())
        db.setPassword(password);
    if (!db.open())
        throw errorOf(db.lastError());
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

int Database::exec(const QString& sql, const QVariantList& values)
{
    QSqlQuery query(handle(connectionName_));
    prepareAndRun(query, sql, values);
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
    prepareAndRun(query, sql, values);
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
        throw errorOf(query.lastError());
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
    prepareAndRun(query, sql, values);
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

void Database::begin()
{
    // Both SQLite drivers leave the statement to us: the Qt driver would begin a deferred
    // transaction, and the ODBC one keeps auto-commit while a statement began it.
    if (dialect_ == Dialect::SQLite) {
        exec(QStringLiteral("BEGIN IMMEDIATE"));
        sqliteTransaction_ = true;
        return;
    }
    QSqlDatabase db = handle(connectionName_);
    if (!db.transaction())
        throw errorOf(db.lastError());
}

void Database::commit()
{
    if (sqliteTransaction_) {
        exec(QStringLiteral("COMMIT"));
        sqliteTransaction_ = false;
        return;
    }
    QSqlDatabase db = handle(connectionName_);
    if (!db.commit())
        throw errorOf(db.lastError());
}

void Database::rollback()
{
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

bool Database::isAlive()
{
    try {
        return scalar(QStringLiteral("SELECT 1"), {}, ColumnType::Integer).has_value();
    } catch (const DbError&) {
        return false;
    }
}

} // namespace quercino
