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

// The list this build read.
QString percorsoListaComuni()
{
    return QStringLiteral(QUERCINO_NPM_DATA_DIR "/node_modules/codice-fiscale-js/src/lista-comuni.js");
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

    // "v0|v1" of every row of a table (or of one kind of CTAB), counted.
    QMap<QString, int> Righe(const Table& tabella, int c0, int c1, const QString& tipo = {})
    {
        QMap<QString, int> righe;
        for (const Row& r : tipo.isEmpty() ? db().select(tabella) : db().select(tabella, " WHERE TIPO = ?", {tipo}))
            ++righe[r.text(c0) + '|' + r.text(c1)];
        return righe;
    }

private:
    std::unique_ptr<Database> db_;
};

} // namespace

// Every active Italian town with its province; every birthplace code, historic and
// foreign ones too, once; the tables in memory loaded from them.
TEST_F(DatabaseSeminato, ComuniECodiciCatastaliDellaLista)
{
    QMap<QString, int> comuni, codici;
    QString primoRom;  // the first town in name order that begins with ROM, by code point
    for (const QJsonValue& v : voci()) {
        const QJsonArray voce = v.toArray();
        const QString nome = voce[2].toString();
        if (voce[3].toInt() == 1 && voce[1].toString() != "EE") {
            ++comuni[nome + '|' + voce[1].toString()];
            if (nome.startsWith("ROM") && (primoRom.isEmpty() || nome < primoRom))
                primoRom = nome;
        }
        codici[voce[0].toString() + '|' + nome] = 1;
    }
    EXPECT_GT(comuni.size(), 7800);
    EXPECT_EQ(Righe(schema::T_COMUNI(), 0, 1), comuni);
    EXPECT_EQ(Righe(schema::T_COMUNICF(), 0, 1), codici);

    CaricaComuni(db());
    EXPECT_TRUE(ComuniCF().contiene("z404"));
    EXPECT_FALSE(ComuniCF().contiene("H5L1"));
    const Comune* completato = Comuni().cercaPrefisso("rom");
    ASSERT_NE(completato, nullptr);
    EXPECT_EQ(completato->nome, primoRom);
    ComuniAperto = false;
}

// Every ISO country with its Italian name in capitals; the role codes 1 to 15, each with a
// description that fits its column.
TEST_F(DatabaseSeminato, PaesiECariche)
{
    QFile file(QStringLiteral("/usr/share/iso-codes/json/iso_3166-1.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QSet<QString> attesi;
    for (const QJsonValue& v : QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("3166-1")).toArray())
        attesi.insert(v.toObject().value(QStringLiteral("alpha_2")).toString());
    QSet<QString> paesi;
    for (const QString& riga : Righe(schema::CTAB(), ctab::COD, ctab::DES, "PAESE").keys()) {
        paesi.insert(riga.section('|', 0, 0));
        EXPECT_EQ(riga, riga.toUpper());
    }
    EXPECT_EQ(paesi, attesi);
    EXPECT_TRUE(Righe(schema::CTAB(), ctab::COD, ctab::DES, "PAESE").contains("DE|GERMANIA"));

    QSet<QString> cariche, da1a15;
    for (const QString& riga : Righe(schema::CTAB(), ctab::COD, ctab::DES, "CARICA").keys()) {
        cariche.insert(riga.section('|', 0, 0));
        EXPECT_FALSE(riga.section('|', 1).isEmpty());
        EXPECT_LE(riga.section('|', 1).size(), schema::CTAB().columns[ctab::DES].width);
    }
    for (int i = 1; i <= 15; ++i)
        da1a15.insert(QString::number(i));
    EXPECT_EQ(cariche, da1a15);
}
