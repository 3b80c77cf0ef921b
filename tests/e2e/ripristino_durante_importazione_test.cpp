// Two copies of the program on one registry (copia_registro): copy A restores a backup of
// all its 3,000 declarants through the backup window ("Ripristina Dati"), slowed to a few
// milliseconds a row as on a busy server, so that the restore holds the archive for longer
// than the drivers' own waits; copy B has the import window open on declarant 01 and starts
// its import while the restore runs. B never freezes without a word: its wait window shows,
// saying why. Then, with the usual limit, B's import ends once the restore has committed,
// with its file numbered from the progressive the restore kept (never below the stored one);
// with a limit shorter than the restore, B stops with the Italian message and writes no file.
// Never "non è più in archivio", never the driver's English. The file's ProgressivoInvio is
// read by xmllint, the archive on a third connection.

#include "app/backup/ScriviBackup.h"
#include "support/backup_di_prova.h"
#include "support/datifattura_xml.h"
#include "support/db_backends.h"
#include "support/golden.h"
#include "copia_in_processo.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

constexpr int Soggetti = 3000;

struct Caso {
    test::Backend backend;
    bool rinuncia;   // B's longest wait shorter than the restore
};

void PrintTo(const Caso& caso, std::ostream* os)
{
    *os << test::nomeBackend(caso.backend) << (caso.rinuncia ? ", attesa massima 2 s" : "");
}

class RipristinoDuranteImportazione : public ::testing::TestWithParam<Caso> {};

TEST_P(RipristinoDuranteImportazione, AttesaDettaENumeriGiusti)
{
    const Caso caso = GetParam();
    test::DbBackend backend(caso.backend);
    Database& db = backend.db();
    // 01 first in the registry's list (by name); its progressive 00003 when the backup was
    // written, 00005 since.
    db.transaction([&] {
        QVariantList soggetto = test::SoggettoCompleto("01", "ROSSI SPA");
        for (const auto& [colonna, valore] : {std::pair{cope::OPIVA, "01234567890"}, {cope::OSNUMC, "1"},
                                              {cope::OSCAP, "47121"}, {cope::OPROG, "00003"}})
            soggetto[colonna] = valore;
        db.insert(schema::COPE(), soggetto);
        for (int i = 2; i <= Soggetti; ++i)
            db.insert(schema::COPE(), test::SoggettoCompleto(QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')),
                                                             QStringLiteral("SOGGETTO %1").arg(i)));
    });
    QTemporaryDir cartella;
    qputenv("QUERCINO_HOME", cartella.path().toLocal8Bit());   // the restore's safety copy
    ScrittoreBackup scrittore(db);
    const EsitoBackup scritto = scrittore.CreaBackup(cartella.filePath("tutti.VEKO"), QString());
    ASSERT_TRUE(scritto.riuscito) << scritto.errore.toStdString();
    db.exec("UPDATE COPE SET OPROG = '00005' WHERE OCOD = '01'");
    const QString csv = cartella.filePath("emesse.csv");
    ASSERT_TRUE(test::ScriviFile(csv, "FATTURE EMESSE\r\n\r\n\r\n10000000000;;ALFA SRL;;;VIA ROMA;1;00100;ROMA;RM;IT;;TD01;15/01/2017;N1;1000;220;22\r\n"));
    QDir().mkpath(cartella.filePath("b"));

    const QString origine = caso.backend == test::Backend::SqliteFile ? "sqlite:" + backend.sqlitePath()
                                                                       : backend.stringaConnessione();
    test::Copia a({origine, csv}), b({origine, csv});
    for (const QString& comando : {"cartella " + cartella.filePath("b"), QStringLiteral("ricarica"),
                                  caso.rinuncia ? QStringLiteral("attesa-massima 2000") : QStringLiteral("ricarica")})
        EXPECT_EQ(b.Esegui(comando), QStringList());
    b.Invia("importa 1 pausa");
    EXPECT_EQ(b.Attendi(false, "importazione pronta"), QStringList());
    a.Invia("ripristina " + cartella.filePath("tutti.VEKO") + " rallenta 3");
    EXPECT_EQ(a.Attendi(false, "ripristino in corso"), QStringList());
    b.Invia("via");
    const QStringList righeB = b.Attendi(true);
    const QStringList righeA = a.Attendi(true);

    ASSERT_FALSE(righeB.isEmpty());
    EXPECT_EQ(righeB.first(), "attesa: Un'altra postazione sta usando l'archivio (ad esempio per un ripristino dei dati in corso).");
    EXPECT_EQ(righeB.mid(1), caso.rinuncia ? QStringList{"messaggio: Errore: Importazione interrotta: L'archivio è bloccato da "
                                                         "un'altra postazione da oltre 2 secondi (ad esempio per un ripristino dei "
                                                         "dati in corso): riprovare al termine dell'operazione."}
                                           : QStringList());
    for (const QString& riga : righeB) {
        EXPECT_FALSE(riga.contains("non è più in archivio")) << riga.toStdString();
        EXPECT_FALSE(riga.contains("lock", Qt::CaseInsensitive)) << riga.toStdString();
    }
    ASSERT_EQ(righeA.size(), 1);
    EXPECT_TRUE(righeA[0].startsWith("messaggio: Quercino: Ripristino terminato")) << righeA[0].toStdString();

    QStringList numeri;
    for (const QString& nome : QDir(cartella.filePath("b")).entryList({"*.xml"}, QDir::Files))
        numeri << nome + " " + test::XPath(cartella.filePath("b/" + nome), "string(//ProgressivoInvio)");
    EXPECT_EQ(numeri, caso.rinuncia ? QStringList() : QStringList{"IT01234567890_DF_00005.xml 00005"});
    auto terza = backend.apriAltraConnessione();
    EXPECT_EQ(terza->scalar("SELECT COUNT(*) FROM COPE", {}, ColumnType::Integer)->toInt(), Soggetti);
    EXPECT_EQ(terza->scalar("SELECT OPROG FROM COPE WHERE OCOD = '01'", {}, ColumnType::Text)->toString(),
              caso.rinuncia ? "00005" : "00006");
    qunsetenv("QUERCINO_HOME");
}

INSTANTIATE_TEST_SUITE_P(Archivi, RipristinoDuranteImportazione,
                         ::testing::Values(Caso{test::Backend::SqliteFile, false}, Caso{test::Backend::SqliteFile, true},
                                           Caso{test::Backend::OdbcSqlite, false}, Caso{test::Backend::OdbcPostgres, false},
                                           Caso{test::Backend::OdbcPostgres, true}),
                         [](const auto& info) {
                             return test::nomeBackend(info.param.backend) + (info.param.rinuncia ? "_rinuncia" : "_attende");
                         });

} // namespace
