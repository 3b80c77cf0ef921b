// The backup writer on the three database back-ends, against files written by hand from
// the format: a natural person with an accented letter, empty and null fields, plain and
// scrambled; then what the writer does with values that would break a line or not survive
// scrambling, and with failures (nothing partial, an older file kept).

#include "app/backup/ScriviBackup.h"

#include "app/backup/FormatoBackup.h"
#include "app/core/Schema.h"
#include "support/DbBackends.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

// A natural person: no company name, accented first name, a description with outer blanks,
// OUCDTE left null; every other column empty text.
QVariantList PersonaFisica()
{
    QVariantList riga;
    for (int i = 0; i < cope::NumeroColonne; ++i)
        riga << QStringLiteral("");
    riga[cope::OCOD] = QStringLiteral("12");
    riga[cope::ONOME] = QStringLiteral("NICOLÒ");
    riga[cope::OCOG] = QStringLiteral("D'ANGELO");
    riga[cope::OCF] = QStringLiteral("DNGNCL80A01H501X");
    riga[cope::OSINDI] = QStringLiteral("VIA ROMA");
    riga[cope::OSNUMC] = QStringLiteral("5");
    riga[cope::OSCAP] = QStringLiteral("00100");
    riga[cope::OSCOM] = QStringLiteral("ROMA");
    riga[cope::OSPRO] = QStringLiteral("RM");
    riga[cope::OSPAESE] = QStringLiteral("IT");
    riga[cope::OSPAESED] = QStringLiteral("ITALIA");
    riga[cope::OPF] = 1;
    riga[cope::ODES] = QStringLiteral("  NICOLÒ D'ANGELO  ");
    riga[cope::ORFPF] = 0;
    riga[cope::OUCDTE] = QVariant();
    riga[cope::OPROG] = QStringLiteral("00007");
    return riga;
}

// The same row as the file holds it: Windows-1252, "¦" is 0xA6, "Ò" is 0xD2.
const char GoldenChiaro[] =
    "\xA6" "COPE" "\xA6" "12" "\xA6" "\xA6" "NICOL\xD2" "\xA6" "D'ANGELO" "\xA6"
    "\xA6" "DNGNCL80A01H501X" "\xA6" "VIA ROMA" "\xA6" "5" "\xA6" "00100" "\xA6" "ROMA"
    "\xA6" "RM" "\xA6" "IT" "\xA6" "ITALIA" "\xA6" "1" "\xA6" "NICOL\xD2 D'ANGELO"
    "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "0"
    "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "00007" "\r\n";

// Scrambled with key 7: the character at position i of each field moves up by 7 + i
// ("C" 0x43 + 8 = 0x4B...; "Ò" 0xD2 + 13 = 0xDF); blanks inside a field move too, the
// separators never.
const char GoldenCriptato[] =
    "\xA6" "\x4B\x58\x5A\x50"
    "\xA6" "\x39\x3B"
    "\xA6"
    "\xA6" "\x56\x52\x4D\x5A\x58\xDF"
    "\xA6" "\x4C\x30\x4B\x59\x53\x52\x5A\x5E"
    "\xA6"
    "\xA6" "\x4C\x57\x51\x59\x4F\x59\x46\x3F\x51\x41\x43\x5B\x49\x45\x47\x6F"
    "\xA6" "\x5E\x52\x4B\x2B\x5E\x5C\x5B\x50"
    "\xA6" "\x3D"
    "\xA6" "\x38\x39\x3B\x3B\x3C"
    "\xA6" "\x5A\x58\x57\x4C"
    "\xA6" "\x5A\x56"
    "\xA6" "\x51\x5D"
    "\xA6" "\x51\x5D\x4B\x57\x55\x4E"
    "\xA6" "\x39"
    "\xA6" "\x56\x52\x4D\x5A\x58\xDF\x2E\x53\x37\x52\x60\x5A\x59\x61\x65"
    "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "\xA6"
    "\xA6" "\x38"
    "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "\xA6" "\xA6"
    "\xA6" "\x38\x39\x3A\x3B\x43" "\r\n";

QByteArray Contenuto(const QString& percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<manca>");
    return file.readAll();
}

class Scrittura : public test::DbBackendTest {
protected:
    void SetUp() override
    {
        test::DbBackendTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        ASSERT_TRUE(cartella_.isValid());
    }
    QString Percorso(const char* nome) const { return cartella_.filePath(QString::fromLatin1(nome)); }

    QTemporaryDir cartella_;
};

} // namespace

TEST_P(Scrittura, PersonaFisicaInChiaroECriptata)
{
    db().insert(schema::COPE(), PersonaFisica());
    db().insert(schema::COPE(), test::rigaCope("13", "ALTRA SRL"));

    ScrittoreBackup scrittore(db());
    int avanzamenti = 0;
    scrittore.avanza = [&] { ++avanzamenti; };
    scrittore.cripta = false;
    EsitoBackup esito = scrittore.CreaBackup(Percorso("chiaro.VEKO"), "12");
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    EXPECT_FALSE(esito.criptato);
    EXPECT_EQ(esito.righe, 1);
    EXPECT_EQ(avanzamenti, 1);
    EXPECT_EQ(Contenuto(Percorso("chiaro.VEKO")), QByteArray(GoldenChiaro));

    scrittore.cripta = true;
    esito = scrittore.CreaBackup(Percorso("criptato.VEKO"), "12");
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    EXPECT_TRUE(esito.criptato);
    EXPECT_FALSE(esito.inChiaroPerValori);
    EXPECT_EQ(Contenuto(Percorso("criptato.VEKO")), QByteArray(GoldenCriptato));
}

TEST_P(Scrittura, NessunaRigaFileVuotoEFileSostituito)
{
    const QString percorso = Percorso("vuoto.VEKO");
    {
        QFile vecchio(percorso);
        ASSERT_TRUE(vecchio.open(QIODevice::WriteOnly));
        vecchio.write("vecchio contenuto\r\n");
    }
    ScrittoreBackup scrittore(db());
    const EsitoBackup esito = scrittore.CreaBackup(percorso, "99");
    ASSERT_TRUE(esito.riuscito);
    EXPECT_EQ(esito.righe, 0);
    EXPECT_TRUE(QFile::exists(percorso));
    EXPECT_EQ(Contenuto(percorso), QByteArray());
}

TEST_P(Scrittura, TuttiISoggetti)
{
    db().insert(schema::COPE(), test::rigaCope("01", "ROSSI SPA"));
    db().insert(schema::COPE(), test::rigaCope("02", "BIANCHI SRL"));
    db().insert(schema::COPE(), test::rigaCope("03", "VERDI SNC"));
    ScrittoreBackup scrittore(db());
    scrittore.cripta = false;
    const EsitoBackup esito = scrittore.CreaBackup(Percorso("tutti.VEKO"), QString());
    ASSERT_TRUE(esito.riuscito);
    EXPECT_EQ(esito.righe, 3);
    QList<QByteArray> righe = Contenuto(Percorso("tutti.VEKO")).split('\n');
    ASSERT_EQ(righe.size(), 4);
    EXPECT_TRUE(righe.takeLast().isEmpty());
    QStringList inizi;
    for (const QByteArray& riga : righe) {
        EXPECT_TRUE(riga.endsWith('\r'));
        EXPECT_EQ(riga.count('\xA6'), cope::NumeroColonne + 1);
        inizi << QString::fromLatin1(riga.left(20));
    }
    inizi.sort();
    EXPECT_EQ(inizi, (QStringList{QString::fromLatin1("\xA6" "COPE" "\xA6" "01" "\xA6" "ROSSI SPA" "\xA6" "\xA6"),
                                  QString::fromLatin1("\xA6" "COPE" "\xA6" "02" "\xA6" "BIANCHI SRL"),
                                  QString::fromLatin1("\xA6" "COPE" "\xA6" "03" "\xA6" "VERDI SNC" "\xA6" "\xA6")}));
}

TEST_P(Scrittura, ValoriCheRomperebberoLaRiga)
{
    QVariantList riga = test::rigaCope("01", "ROSSI\r\nSPA");
    riga[cope::OSINDI] = QString("VIA A") + QChar(0x00A6) + "B";
    db().insert(schema::COPE(), riga);
    ScrittoreBackup scrittore(db());
    scrittore.cripta = false;
    ASSERT_TRUE(scrittore.CreaBackup(Percorso("b.VEKO"), "01").riuscito);
    const QByteArray byte = Contenuto(Percorso("b.VEKO"));
    EXPECT_TRUE(byte.startsWith("\xA6" "COPE" "\xA6" "01" "\xA6" "ROSSI  SPA" "\xA6"));
    EXPECT_TRUE(byte.contains("\xA6" "VIA A B" "\xA6"));
    EXPECT_EQ(byte.count('\xA6'), cope::NumeroColonne + 1);
    EXPECT_EQ(byte.count('\n'), 1);
    EXPECT_EQ(byte.count('\r'), 1);
}

TEST_P(Scrittura, ValoriNonCriptabiliFileInChiaro)
{
    // "ÿ" (255) cannot move up: scrambled it would read back as another letter.
    QVariantList riga = test::rigaCope("01", QString("ROSSI ") + QChar(0x00FF));
    db().insert(schema::COPE(), riga);
    db().insert(schema::COPE(), test::rigaCope("02", "BIANCHI"));
    ScrittoreBackup scrittore(db());
    const EsitoBackup esito = scrittore.CreaBackup(Percorso("b.VEKO"), QString());
    ASSERT_TRUE(esito.riuscito);
    EXPECT_FALSE(esito.criptato);
    EXPECT_TRUE(esito.inChiaroPerValori);
    EXPECT_FALSE(NoteBackup(esito).isEmpty());
    const QByteArray byte = Contenuto(Percorso("b.VEKO"));
    // Every line plain, the other declarant's too.
    EXPECT_TRUE(byte.contains("\xA6" "COPE" "\xA6" "01" "\xA6" "ROSSI \xFF" "\xA6"));
    EXPECT_TRUE(byte.contains("\xA6" "COPE" "\xA6" "02" "\xA6" "BIANCHI" "\xA6"));
}

TEST_P(Scrittura, CaratteriFuoriDallaCodifica)
{
    db().insert(schema::COPE(), test::rigaCope("01", QString("KOV") + QChar(0x0151) + "CS"));
    ScrittoreBackup scrittore(db());
    const EsitoBackup esito = scrittore.CreaBackup(Percorso("b.VEKO"), "01");
    ASSERT_TRUE(esito.riuscito);
    EXPECT_TRUE(esito.caratteriSostituiti);
    EXPECT_FALSE(esito.criptato);
    EXPECT_TRUE(Contenuto(Percorso("b.VEKO")).contains("\xA6" "KOV?CS" "\xA6"));
}

TEST_P(Scrittura, UnFallimentoNonLasciaFileParziali)
{
    db().insert(schema::COPE(), test::rigaCope("01", "ROSSI SPA"));
    const QString percorso = Percorso("b.VEKO");
    {
        QFile vecchio(percorso);
        ASSERT_TRUE(vecchio.open(QIODevice::WriteOnly));
        vecchio.write("backup di ieri\r\n");
    }
    // The table is gone: the query fails, yesterday's file stays as it was.
    db().exec("DROP TABLE COPE");
    ScrittoreBackup scrittore(db());
    EsitoBackup esito = scrittore.CreaBackup(percorso, "01");
    EXPECT_FALSE(esito.riuscito);
    EXPECT_FALSE(esito.errore.isEmpty());
    EXPECT_FALSE(MessaggioBackupFallito(esito).isEmpty());
    EXPECT_EQ(Contenuto(percorso), QByteArray("backup di ieri\r\n"));

    // A folder that cannot exist (its parent is a file): nothing is created.
    db().exec(schema::istruzioneCreazione(db(), schema::COPE()));
    esito = scrittore.CreaBackup(percorso + "/dentro.VEKO", "01");
    EXPECT_FALSE(esito.riuscito);
    EXPECT_EQ(QDir(cartella_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"b.VEKO"});
}

QUERCINO_DB_BACKENDS(Scrittura);
