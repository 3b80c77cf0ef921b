// The backup writer on the three database back-ends, against files written by hand from
// the format: a natural person with an accented letter, empty and null fields, plain and
// scrambled; then what the writer does with values that would break a line or not survive
// scrambling, and with failures (nothing partial, an older file kept).

#include "app/backup/ScriviBackup.h"

#include "app/backup/FormatoBackup.h"
#include "app/core/Schema.h"
#include "support/backup_di_prova.h"
#include "support/golden.h"

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

using test::LeggiFile;

class Scrittura : public test::BackupTest {};

} // namespace

TEST_P(Scrittura, PersonaFisicaInChiaroECriptata)
{
    db().insert(schema::COPE(), PersonaFisica());
    db().insert(schema::COPE(), test::rigaCope("13", "ALTRA SRL"));

    ScrittoreBackup scrittore(db());
    int avanzamenti = 0;
    scrittore.avanza = [&] { ++avanzamenti; };
    scrittore.cripta = false;
    EsitoBackup esito = scrittore.CreaBackup(File("chiaro.VEKO"), "12");
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    EXPECT_FALSE(esito.criptato);
    EXPECT_EQ(esito.righe, 1);
    EXPECT_EQ(avanzamenti, 1);
    // The golden files pin the row as the file holds it: Windows-1252 ("¦" 0xA6, "Ò" 0xD2),
    // OUCDTE's null as an empty field, outer blanks trimmed; scrambled with key 7, the
    // character at position i of each field moves up by 7 + i, the separators never.
    EXPECT_GOLDEN(LeggiFile(File("chiaro.VEKO")), "attesi/persona_chiaro.VEKO");

    scrittore.cripta = true;
    esito = scrittore.CreaBackup(File("criptato.VEKO"), "12");
    ASSERT_TRUE(esito.riuscito) << esito.errore.toStdString();
    EXPECT_TRUE(esito.criptato);
    EXPECT_FALSE(esito.inChiaroPerValori);
    EXPECT_GOLDEN(LeggiFile(File("criptato.VEKO")), "attesi/persona_criptato.VEKO");
}

TEST_P(Scrittura, NessunaRigaFileVuotoEFileSostituito)
{
    const QString percorso = File("vuoto.VEKO");
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
    EXPECT_EQ(LeggiFile(percorso), QByteArray());
}

TEST_P(Scrittura, TuttiISoggetti)
{
    db().insert(schema::COPE(), test::rigaCope("01", "ROSSI SPA"));
    db().insert(schema::COPE(), test::rigaCope("02", "BIANCHI SRL"));
    db().insert(schema::COPE(), test::rigaCope("03", "VERDI SNC"));
    ScrittoreBackup scrittore(db());
    scrittore.cripta = false;
    const EsitoBackup esito = scrittore.CreaBackup(File("tutti.VEKO"), QString());
    ASSERT_TRUE(esito.riuscito);
    EXPECT_EQ(esito.righe, 3);
    QList<QByteArray> righe = LeggiFile(File("tutti.VEKO")).split('\n');
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

// Values that would break a line become blanks; a value that cannot survive scrambling
// ("ÿ", 255, cannot move up) leaves every line plain and says why; characters outside the
// code page become "?" and are said too.
TEST_P(Scrittura, ValoriCheNonPassanoComeSono)
{
    struct Caso {
        QString ragione, indirizzo;
        QList<QByteArray> attesi;   // parts of the file
        bool inChiaroPerValori, sostituiti;
    };
    const Caso casi[] = {
        {"ROSSI\r\nSPA", QString("VIA A") + QChar(0x00A6) + "B", {"\xA6" "ROSSI  SPA" "\xA6", "\xA6" "VIA A B" "\xA6"},
         false, false},
        {QString("ROSSI ") + QChar(0x00FF), "", {"\xA6" "ROSSI \xFF" "\xA6"}, true, false},
        {QString("KOV") + QChar(0x0151) + "CS", "", {"\xA6" "KOV?CS" "\xA6"}, true, true},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.attesi[0].toStdString());
        db().exec("DELETE FROM COPE");
        QVariantList riga = test::rigaCope("01", caso.ragione);
        riga[cope::ODES] = QString();
        riga[cope::OSINDI] = caso.indirizzo;
        db().insert(schema::COPE(), riga);
        db().insert(schema::COPE(), test::rigaCope("02", "BIANCHI"));
        ScrittoreBackup scrittore(db());
        scrittore.cripta = !caso.ragione.startsWith("ROSSI\r");
        const EsitoBackup esito = scrittore.CreaBackup(File("b.VEKO"), QString());
        ASSERT_TRUE(esito.riuscito);
        EXPECT_FALSE(esito.criptato);
        EXPECT_EQ(esito.inChiaroPerValori, caso.inChiaroPerValori);
        EXPECT_EQ(esito.caratteriSostituiti, caso.sostituiti);
        EXPECT_EQ(NoteBackup(esito).isEmpty(), !caso.inChiaroPerValori);
        const QByteArray byte = LeggiFile(File("b.VEKO"));
        for (const QByteArray& parte : caso.attesi)
            EXPECT_TRUE(byte.contains(parte));
        // Every line plain, the other declarant's too, and whole.
        EXPECT_TRUE(byte.contains("\xA6" "COPE" "\xA6" "02" "\xA6" "BIANCHI" "\xA6"));
        EXPECT_EQ(byte.count('\xA6'), 2 * (cope::NumeroColonne + 1));
        EXPECT_EQ(byte.count('\n'), 2);
    }
}

TEST_P(Scrittura, UnFallimentoNonLasciaFileParziali)
{
    db().insert(schema::COPE(), test::rigaCope("01", "ROSSI SPA"));
    const QString percorso = File("b.VEKO");
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
    EXPECT_EQ(LeggiFile(percorso), QByteArray("backup di ieri\r\n"));

    // A folder that cannot exist (its parent is a file): nothing is created.
    db().exec(schema::istruzioneCreazione(db(), schema::COPE()));
    esito = scrittore.CreaBackup(percorso + "/dentro.VEKO", "01");
    EXPECT_FALSE(esito.riuscito);
    EXPECT_EQ(QDir(cartella_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"b.VEKO"});
}

QUERCINO_DB_BACKENDS(Scrittura);
