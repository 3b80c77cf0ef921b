#include "app/core/Schema.h"

#include "platform/db/Database.h"

namespace quercino::schema {

namespace {

// Text columns without a width of their own in the registry.
constexpr int TestoLibero = 255;

Column testo(const char* nome, int larghezza = TestoLibero)
{
    return Column{QString::fromLatin1(nome), ColumnType::Text, larghezza};
}

Column casella(const char* nome)
{
    return Column{QString::fromLatin1(nome), ColumnType::SmallInt, 0};
}

QString tipoSql(const Column& colonna)
{
    switch (colonna.type) {
    case ColumnType::Text:
        return QStringLiteral("VARCHAR(%1)").arg(colonna.width);
    case ColumnType::SmallInt:
        return QStringLiteral("SMALLINT");
    case ColumnType::Integer:
        return QStringLiteral("INTEGER");
    case ColumnType::Date:
        return QStringLiteral("DATE");
    }
    return QString();
}

} // namespace

const Table& COPE()
{
    static const Table tabella{
        QStringLiteral("COPE"),
        {testo("OCOD", 16), testo("ORAG"), testo("ONOME"), testo("OCOG"), testo("OPIVA", 16),
         testo("OCF", 16), testo("OSINDI"), testo("OSNUMC"), testo("OSCAP"), testo("OSCOM"),
         testo("OSPRO", 2), testo("OSPAESE", 2), testo("OSPAESED", 60), casella("OPF"),
         testo("ODES"), testo("ODICPIVA", 16), testo("ODICCARICA", 2), testo("ODICCARICAD"),
         testo("ORFPIVA", 16), testo("ORFRAG", 70), testo("ORFNOME"), testo("ORFCOG"),
         casella("ORFPF"), testo("OSOINDI"), testo("OSONUMC"), testo("OSOCAP"),
         testo("OSOCOM"), testo("OSOPRO", 2), testo("OSOPAESE", 2), testo("OSOPAESED", 60),
         testo("OUCDTE"), testo("OUCDTR"), testo("OPROG")},
        {QStringLiteral("OCOD")}};
    return tabella;
}

const Table& CTAB()
{
    static const Table tabella{QStringLiteral("CTAB"),
                               {testo("TIPO", 10), testo("COD", 10), testo("DES")},
                               {QStringLiteral("TIPO"), QStringLiteral("COD")}};
    return tabella;
}

const Table& T_COMUNI()
{
    static const Table tabella{QStringLiteral("T_COMUNI"),
                               {testo("COMUNE", 100), testo("PRO", 2)},
                               {}};
    return tabella;
}

const Table& T_COMUNICF()
{
    static const Table tabella{QStringLiteral("T_COMUNICF"),
                               {testo("KEY_TAB", 4), testo("DESCRIZION", 100)},
                               {}};
    return tabella;
}

std::vector<const Table*> tabelle()
{
    return {&COPE(), &CTAB(), &T_COMUNI(), &T_COMUNICF()};
}

QString istruzioneCreazione(const Database&, const Table& table)
{
    // The same portable types serve SQLite and PostgreSQL.
    QStringList definizioni;
    for (const Column& colonna : table.columns)
        definizioni << colonna.name + QLatin1Char(' ') + tipoSql(colonna);
    if (!table.primaryKey.isEmpty())
        definizioni << QStringLiteral("PRIMARY KEY (%1)").arg(table.primaryKey.join(QStringLiteral(", ")));
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(table.name, definizioni.join(QStringLiteral(", ")));
}

void creaTabelle(Database& db)
{
    db.transaction([&db] {
        for (const Table* table : tabelle())
            db.exec(istruzioneCreazione(db, *table));
        db.exec(QStringLiteral("CREATE INDEX T_COMUNICF_KEY_TAB ON T_COMUNICF (KEY_TAB)"));
    });
}

} // namespace quercino::schema
