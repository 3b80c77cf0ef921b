// The data-access layer on the three back-ends: typed round trips, bound values that hold
// SQL syntax, case-insensitive searches with literal wildcards, transactions, waiting for a
// lock another connection holds, and the failures a user can meet (missing file, a file
// that is not a database, a wrong password).
#include "support/casi.h"
#include "support/db_backends.h"
#include "support/golden.h"

#include "platform/db/Database.h"
#include "platform/db/OdbcConnectionString.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <vector>

using namespace quercino;
using quercino::test::Backend;
using quercino::test::DbBackendTest;

namespace {

const Table& tabellaProva()
{
    static const Table t{QStringLiteral("PROVA"),
                         {{QStringLiteral("TESTO"), ColumnType::Text, 100},
                          {QStringLiteral("PICCOLO"), ColumnType::SmallInt, 0},
                          {QStringLiteral("NUMERO"), ColumnType::Integer, 0},
                          {QStringLiteral("GIORNO"), ColumnType::Date, 0}},
                         {}};
    return t;
}

void creaTabellaProva(Database& db)
{
    db.exec(schema::istruzioneCreazione(db, tabellaProva()));
}

class DatabaseTest : public DbBackendTest {};

TEST_P(DatabaseTest, ValoriTipizzatiEValoriNulliTornanoUguali)
{
    creaTabellaProva(db());
    const QString accentato = QStringLiteral("Perché l'è già così: àèéìòù ÀÉ € ¦ «»");
    db().insert(tabellaProva(), {accentato, -32768, 2147483647, QDate(2021, 12, 31)});
    db().insert(tabellaProva(), {QVariant(), QVariant(), QVariant(), QVariant()});
    db().insert(tabellaProva(), {QString(), 32767, -7, QDate(1899, 12, 30)});

    // Each value with the type it reads as, the rows sorted here (ORDER BY puts nulls first
    // on SQLite and last on PostgreSQL); a null reads as an empty text, 0 and no date.
    QStringList lette;
    for (const Row& r : db().select(tabellaProva())) {
        QStringList valori;
        const QString letti[] = {r.text(0), QString::number(r.integer(1)), QString::number(r.integer(2)), r.date(3).toString(Qt::ISODate)};
        for (int i = 0; i < 4; ++i)
            valori << (r.isNull(i) ? QStringLiteral("(nullo)") : QString(r.value(i).metaType().name()) + " " + letti[i]);
        lette << valori.join(" | ");
        if (r.isNull(2)) {
            EXPECT_EQ(std::tuple(r.text(0), r.integer(1), r.date(3).isValid()), std::tuple(QString(), 0, false));
        }
    }
    lette.sort();
    EXPECT_EQ(lette, QStringList({"(nullo) | (nullo) | (nullo) | (nullo)", "(nullo) | int 32767 | int -7 | QDate 1899-12-30",
                                  "QString " + accentato + " | int -32768 | int 2147483647 | QDate 2021-12-31"}));

    // An integer written as text reads as a number.
    db().exec(QStringLiteral("UPDATE PROVA SET PICCOLO = ? WHERE NUMERO = -7"), {QStringLiteral(" 7 ")});
    const auto valore = db().scalar(QStringLiteral("SELECT PICCOLO FROM PROVA WHERE NUMERO = -7"), {}, ColumnType::SmallInt);
    ASSERT_TRUE(valore.has_value());
    EXPECT_EQ(valore->metaType(), QMetaType::fromType<int>());
    EXPECT_EQ(valore->toInt(), 7);
}

// Only SQLite stores text in an integer column (and its ODBC driver turns such a text into
// 0 before we see it): the direct SQLite file is where a wrong value can reach us.
TEST(DatabaseSQLite, UnTestoNonNumericoInUnaColonnaInteraEUnErroreChiaro)
{
    quercino::test::DbBackend backend(Backend::SqliteFile);
    Database& db = backend.db();
    creaTabellaProva(db);
    db.exec(QStringLiteral("INSERT INTO PROVA (PICCOLO, NUMERO) VALUES (?, ?)"),
              {QStringLiteral("AB"), 70000});
    try {
        db.select(tabellaProva());
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("PICCOLO"))) << e.what();
    }
    // 70000 does not fit a SMALLINT read.
    EXPECT_THROW(db.scalar(QStringLiteral("SELECT NUMERO FROM PROVA"), {}, ColumnType::SmallInt),
                 DbError);
}

// Texts through bound values (casi/database.tsv): SQL syntax in a value is harmless, control
// characters are taken out, searches ignore case and take wildcards literally. The rows
// run in order on one table, so a search sees every text stored before it.
TEST_P(DatabaseTest, TestiDellaTabella)
{
    int codice = 0;
    const auto leggi = [this](const QString& cod) {
        const auto letto = db().scalar(QStringLiteral("SELECT DES FROM CTAB WHERE COD = ?"), {cod}, ColumnType::Text);
        return !letto ? QStringLiteral("(nessuna riga)") : letto->isNull() ? QStringLiteral("(nullo)") : letto->toString();
    };
    quercino::test::ControllaFunzioni(__FILE__, "casi/database.tsv", {
        // Stored by insert() or by a statement of its own; read back by code, then found by value.
        {"Inserisci", [&](const QStringList& a) {
             const QString cod = QStringLiteral("%1").arg(++codice, 3, 10, QLatin1Char('0'));
             if (a[0] == "insert")
                 db().insert(schema::CTAB(), {QStringLiteral("PROVA"), cod, a[1]});
             else
                 db().exec(QStringLiteral("INSERT INTO CTAB (TIPO, COD, DES) VALUES ('PROVA', ?, ?)"), {cod, a[1]});
             const QString letto = leggi(cod);
             const auto trovate = db().select(schema::CTAB(), QStringLiteral(" WHERE DES = ?"), {letto});
             return QStringList{letto, QString::number(trovate.size())};
         }},
        {"Cerca", [&](const QStringList& a) {
             const QString valore = a[0] == "inizia" ? Database::likePrefix(a[1]) : Database::likeContains(a[1]);
             QStringList trovate;
             const QString condizione = " WHERE " + Database::likeInsensitive("DES") + " ORDER BY COD";
             for (const Row& r : db().select(schema::CTAB(), condizione, {valore}))
                 trovate << r.text(ctab::DES);
             return trovate;
         }},
        {"Righe", [&](const QStringList&) {
             return QStringList{db().scalar(QStringLiteral("SELECT COUNT(*) FROM CTAB"), {}, ColumnType::Integer)->toString()};
         }},
        // Values with special characters go between braces in a connection string.
        {"Attributo", [](const QStringList& a) { return QStringList{odbcAttributeValue(a[0])}; }},
        {"Origine", [](const QStringList& a) { return QStringList{odbcDataSourceString(a[0], a[1], a[2])}; }},
    });
}

TEST_P(DatabaseTest, UnaTransazioneNonConfermataNonLasciaNulla)
{
    for (const bool conferma : {false, true}) {
        Transaction t(db());
        db().insert(schema::CTAB(), {"PAESE", "IT", "ITALIA"});
        if (conferma)
            t.commit();
        else
            EXPECT_EQ(db().select(schema::CTAB()).size(), 1u);  // seen inside the transaction
    }
    EXPECT_EQ(db().select(schema::CTAB()).size(), 1u);
    // Seen from a second connection: really stored, not only in this session.
    auto altra = backend().apriAltraConnessione();
    EXPECT_EQ(altra->select(schema::CTAB()).size(), 1u);
}

TEST_P(DatabaseTest, ErroriDelDatabaseDiventanoDbError)
{
    EXPECT_THROW(db().exec("SELECT * FROM TABELLA_CHE_NON_CE"), DbError);
    EXPECT_THROW(db().insert(schema::CTAB(), {"PAESE"}), DbError);
    db().insert(schema::CTAB(), {"PAESE", "IT", "ITALIA"});
    EXPECT_THROW(db().insert(schema::CTAB(), {"PAESE", "IT", "X"}), DbError);  // primary key (TIPO, COD)
    EXPECT_THROW(db().query("SELECT COD FROM CTAB", {}, {ColumnType::Text, ColumnType::Text}), DbError);
}

// The lock-wait settings are the process's: each test puts them back.
struct AttesaDiProva {
    AttesaDiProva(Database::LockWaitObserver osservatore, std::chrono::milliseconds limite)
    {
        Database::setLockWaitObserver(std::move(osservatore));
        Database::setLockWaitLimit(limite);
    }
    ~AttesaDiProva()
    {
        Database::setLockWaitObserver({});
        Database::setLockWaitLimit(limitePrima);
    }
    std::chrono::milliseconds limitePrima = Database::lockWaitLimit();
};

// Another connection holds a lock (on SQLite the file's, on PostgreSQL the row's): a
// statement, then a transaction, wait for it attempt after attempt, the observer told after
// each one, and run once it is released (here by the observer, at its third call); the
// transaction's work runs again on PostgreSQL, where its statement was refused, not on
// SQLite, where the transaction's start waits. Never released, both give up past the limit
// in Italian.
TEST_P(DatabaseTest, UnBloccoDiUnAltraConnessioneAttesoEDetto)
{
    db().insert(schema::CTAB(), {"PAESE", "IT", "ITALIA"});
    auto altra = backend().apriAltraConnessione();
    const auto blocca = [&] {
        altra->begin();
        altra->exec("UPDATE CTAB SET DES = 'ALTRA' WHERE COD = 'IT'");
    };
    const auto descrizione = [&] {
        return altra->scalar("SELECT DES FROM CTAB WHERE COD = 'IT'", {}, ColumnType::Text)->toString();
    };
    int attese = 0, finite = 0, liberaAlla = 3;
    AttesaDiProva attesa({[&](std::chrono::milliseconds) {
                              if (++attese == liberaAlla)
                                  altra->commit();
                          },
                          [&] { ++finite; }},
                         std::chrono::seconds(1));

    blocca();
    db().exec("UPDATE CTAB SET DES = ? WHERE COD = 'IT'", {"UNO"});
    EXPECT_EQ(std::pair(attese, finite), std::pair(3, 1));
    EXPECT_EQ(descrizione(), "UNO");

    attese = finite = 0;
    blocca();
    int volte = 0;
    db().transaction([&] {
        ++volte;
        db().exec("UPDATE CTAB SET DES = ? WHERE COD = 'IT'", {"DUE"});
    });
    EXPECT_EQ(std::pair(attese, finite), std::pair(3, 1));
    EXPECT_EQ(volte, db().dialect() == Database::Dialect::PostgreSQL ? 4 : 1);
    EXPECT_EQ(descrizione(), "DUE");

    liberaAlla = 0;
    blocca();
    const QString oltre = "L'archivio è bloccato da un'altra postazione da oltre un secondo (ad esempio per un ripristino "
                          "dei dati in corso): riprovare al termine dell'operazione.";
    for (const bool transazione : {false, true}) {
        attese = finite = 0;
        try {
            if (transazione)
                db().transaction([&] { db().exec("UPDATE CTAB SET DES = 'TRE' WHERE COD = 'IT'"); });
            else
                db().exec("UPDATE CTAB SET DES = 'TRE' WHERE COD = 'IT'");
            ADD_FAILURE() << "not refused";
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbError::Kind::LockWaitOver);
            EXPECT_EQ(e.description(), oltre);
        }
        EXPECT_GT(attese, 1);
        EXPECT_EQ(finite, 1);
    }
    altra->rollback();
    EXPECT_EQ(descrizione(), "DUE");
}

// One operation of the user (Database::Operation) has one limit for all its waits: a second
// wait goes on from the time the first one took, and once the limit has passed every later
// statement or transaction that finds a lock fails at once, unheard by the observer, until
// the operation ends; the next one waits again from zero. Outside an operation each
// statement has the whole limit.
TEST_P(DatabaseTest, UnSoloLimitePerOperazione)
{
    db().insert(schema::CTAB(), {"PAESE", "IT", "ITALIA"});
    auto altra = backend().apriAltraConnessione();
    const auto blocca = [&] {
        altra->begin();
        altra->exec("UPDATE CTAB SET DES = 'ALTRA' WHERE COD = 'IT'");
    };
    std::vector<std::chrono::milliseconds> attese;
    int finite = 0;
    bool liberaAlTerzo = true;
    AttesaDiProva attesa({[&](std::chrono::milliseconds atteso) {
                              attese.push_back(atteso);
                              if (liberaAlTerzo && attese.size() == 3)
                                  altra->commit();
                          },
                          [&] { ++finite; }},
                         std::chrono::seconds(2));
    const auto aggiorna = [&](bool transazione) -> QString {
        try {
            if (transazione)
                db().transaction([&] { db().exec("UPDATE CTAB SET DES = 'NOSTRA' WHERE COD = 'IT'"); });
            else
                db().exec("UPDATE CTAB SET DES = 'NOSTRA' WHERE COD = 'IT'");
            return "eseguita";
        } catch (const DbError& e) {
            return e.kind() == DbError::Kind::LockWaitOver ? "oltre il limite" : "errore " + e.description();
        }
    };
    {
        const Database::Operation operazione;
        blocca();
        EXPECT_EQ(aggiorna(false), "eseguita");
        ASSERT_EQ(attese.size(), 3u);
        const std::chrono::milliseconds primaAttesa = attese.back();
        EXPECT_EQ(finite, 1);

        attese.clear();
        liberaAlTerzo = false;
        blocca();
        EXPECT_EQ(aggiorna(true), "oltre il limite");
        ASSERT_FALSE(attese.empty());
        EXPECT_GT(attese.front(), primaAttesa) << "the second wait went on from the first";
        EXPECT_LT(attese.back(), std::chrono::seconds(2));
        EXPECT_EQ(finite, 2);
        EXPECT_TRUE(Database::lockWaitGivenUp());

        attese.clear();
        for (const bool transazione : {false, true})
            EXPECT_EQ(aggiorna(transazione), "oltre il limite");
        EXPECT_TRUE(attese.empty()) << "no wait after the limit";
        EXPECT_EQ(finite, 2);
        // What finds no lock still runs.
        EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM COPE", {}, ColumnType::Integer)->toInt(), 0);
    }
    EXPECT_FALSE(Database::lockWaitGivenUp());
    for (const bool inOperazione : {true, false}) {
        std::optional<Database::Operation> operazione;
        if (inOperazione)
            operazione.emplace();
        attese.clear();
        EXPECT_EQ(aggiorna(false), "oltre il limite");
        ASSERT_FALSE(attese.empty());
        EXPECT_LT(attese.front(), std::chrono::seconds(1)) << "a new operation waits from zero";
        EXPECT_EQ(Database::lockWaitGivenUp(), inOperazione);
    }
    altra->rollback();
}

QUERCINO_DB_BACKENDS(DatabaseTest);

// A missing SQLite file is not created; a file that is not a database, or a data source
// that does not exist, is an error.
TEST(DatabaseApertura, FileMancanteNonDatabaseOrigineInesistente)
{
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("DataBase/VEKO.sqlite"));
    try {
        Database::openSqliteFile(percorso);
        ADD_FAILURE() << "opened a missing file";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.description().contains(percorso));
    }
    EXPECT_FALSE(QFile::exists(percorso));
    ASSERT_TRUE(test::ScriviFile(dir.filePath("VEKO.sqlite"), QByteArray(4096, 'x')));
    EXPECT_THROW(Database::openSqliteFile(dir.filePath("VEKO.sqlite")), DbError);
    EXPECT_THROW(Database::openDataSource(QStringLiteral("NESSUNA_ORIGINE_QUERCINO"), QString(), QString()), DbError);
}

} // namespace
