// The seeded database of the program folder against its sources, read here independently:
// the codice-fiscale-js list parsed by Python's own literal parser, the ISO countries
// from iso-codes' JSON.
#include "app/core/Comuni.h"
#include "app/core/Globals.h"
#include "app/core/Schema.h"
#include "platform/db/Database.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

QString percorsoListaComuni()
{
    QString npm = qEnvironmentVariable("QUERCINO_NPM_DATA_DIR");
    if (npm.isEmpty())
        npm = QStringLiteral(QUERCINO_SOURCE_DIR "/build/npm-data");
    return npm + QStringLiteral("/node_modules/codice-fiscale-js/src/lista-comuni.js");
}

// [[code, province, name, active], ...] as JSON, by Python's literal parser.
QJsonArray voci()
{
    static const QJsonArray risultato = [] {
        const char* script =
            "import ast, json, sys\n"
            "text = open(sys.argv[1], encoding='utf-8').read()\n"
            "rows = ast.literal_eval(text[text.index('['):].rstrip().rstrip(';'))\n"
            "json.dump(rows, sys.stdout)\n";
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-c"), QString::fromLatin1(script), percorsoListaComuni()});
        if (!python.waitForFinished(60000) || python.exitCode() != 0)
            return QJsonArray();
        return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    }();
    return risultato;
}

class DatabaseSeminato : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(voci().isEmpty()) << "cannot parse " << percorsoListaComuni().toStdString();
        db_ = Database::openSqliteFile(QStringLiteral(QUERCINO_SEED_DATABASE));
    }
    Database& db() { return *db_; }

private:
    std::unique_ptr<Database> db_;
};

TEST_F(DatabaseSeminato, OgniComuneAttivoItalianoConLaSuaProvincia)
{
    QMap<QString, int> attesi;  // "name|province" -> occurrences
    for (const QJsonValue& v : voci()) {
        const QJsonArray voce = v.toArray();
        if (voce[3].toInt() == 1 && voce[1].toString() != QLatin1String("EE"))
            ++attesi[voce[2].toString() + QLatin1Char('|') + voce[1].toString()];
    }
    QMap<QString, int> trovati;
    for (const Row& r : db().select(schema::T_COMUNI()))
        ++trovati[r.text(0) + QLatin1Char('|') + r.text(1)];
    EXPECT_GT(attesi.size(), 7800);
    EXPECT_EQ(trovati, attesi);
}

TEST_F(DatabaseSeminato, OgniCodiceCatastaleAncheStoricoEStraniero)
{
    QSet<QString> attesi;
    for (const QJsonValue& v : voci()) {
        const QJsonArray voce = v.toArray();
        attesi.insert(voce[0].toString() + QLatin1Char('|') + voce[2].toString());
    }
    QSet<QString> trovati;
    for (const Row& r : db().select(schema::T_COMUNICF()))
        trovati.insert(r.text(0) + QLatin1Char('|') + r.text(1));
    EXPECT_EQ(trovati, attesi);
    const auto righe = db().scalar(QStringLiteral("SELECT COUNT(*) FROM T_COMUNICF"), {}, ColumnType::Integer);
    EXPECT_EQ(righe->toInt(), attesi.size()) << "duplicate rows";
}

TEST_F(DatabaseSeminato, LeTabelleInMemoriaCaricateDalDatabase)
{
    CaricaComuni(db());
    EXPECT_TRUE(ComuniCF().contiene(QStringLiteral("z404")));
    EXPECT_FALSE(ComuniCF().contiene(QStringLiteral("H5L1")));
    // The first town in name order that begins with ROM; names compared by code point.
    QString primo;
    for (const QJsonValue& v : voci()) {
        const QJsonArray voce = v.toArray();
        const QString nome = voce[2].toString();
        if (voce[3].toInt() == 1 && voce[1].toString() != QLatin1String("EE") &&
            nome.startsWith(QLatin1String("ROM")) && (primo.isEmpty() || nome < primo))
            primo = nome;
    }
    const Comune* completato = Comuni().cercaPrefisso(QStringLiteral("rom"));
    ASSERT_NE(completato, nullptr);
    EXPECT_EQ(completato->nome, primo);
    ComuniAperto = false;
}

TEST_F(DatabaseSeminato, OgniPaeseIsoConIlNomeItaliano)
{
    QFile file(QStringLiteral("/usr/share/iso-codes/json/iso_3166-1.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QSet<QString> attesi;
    for (const QJsonValue& v : QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("3166-1")).toArray())
        attesi.insert(v.toObject().value(QStringLiteral("alpha_2")).toString());

    QMap<QString, QString> trovati;
    for (const Row& r : db().select(schema::CTAB(), QStringLiteral(" WHERE TIPO = ?"), {QStringLiteral("PAESE")}))
        trovati.insert(r.text(ctab::COD), r.text(ctab::DES));
    EXPECT_EQ(QSet<QString>(trovati.keyBegin(), trovati.keyEnd()), attesi);
    EXPECT_EQ(trovati.value(QStringLiteral("DE")), QStringLiteral("GERMANIA"));
    for (auto it = trovati.cbegin(); it != trovati.cend(); ++it)
        EXPECT_EQ(it.value(), it.value().toUpper()) << it.key().toStdString();
}

TEST_F(DatabaseSeminato, CodiciCaricaDa1A15)
{
    QStringList codici;
    for (const Row& r : db().select(schema::CTAB(), QStringLiteral(" WHERE TIPO = ?"), {QStringLiteral("CARICA")})) {
        codici << r.text(ctab::COD);
        EXPECT_FALSE(r.text(ctab::DES).isEmpty());
        EXPECT_LE(r.text(ctab::DES).size(), schema::CTAB().columns[ctab::DES].width);
    }
    QStringList attesi;
    for (int i = 1; i <= 15; ++i)
        attesi << QString::number(i);
    codici.sort();
    attesi.sort();
    EXPECT_EQ(codici, attesi);
}

} // namespace
