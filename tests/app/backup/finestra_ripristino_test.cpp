// The backup and restore window while it works, through its buttons, offscreen: a restore
// of the largest registry a backup holds on PostgreSQL, during which a timer on the
// window's thread must keep ticking (the window answers within 250 ms from the click to
// the final message, the safety copy and the deletion included); and the progress bar,
// read as each closing message shows, full at the end of every backup and restore on the
// three back-ends.

#include "app/backup/FSalva.h"
#include "app/backup/LeggiBackup.h"
#include "app/backup/LimitiBackup.h"
#include "app/backup/ScriviBackup.h"
#include "app/core/Globals.h"
#include "support/backup_di_prova.h"
#include "support/casi.h"
#include "support/servizi_simulati.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quercino;

namespace {

// Under the sanitizers every step of the program runs several times slower, the server's
// no slower: the same restore of a fifth of the registry keeps the run's length in reason.
#if defined(__SANITIZE_ADDRESS__)
constexpr int SoggettiRegistro = MassimoSoggettiBackup / 5;
#else
constexpr int SoggettiRegistro = MassimoSoggettiBackup;
#endif

// `n` declarants made by the server from one (a registry typed in one statement).
void RegistroDi(Database& db, int n)
{
    db.insert(schema::COPE(), test::SoggettoCompleto("MODELLO", "SOGGETTO DI PROVA"));
    QString colonne = schema::COPE().columnList();
    const QString copiate = QString(colonne).replace(QStringLiteral("OCOD"), QStringLiteral("LPAD(CAST(g AS VARCHAR), 6, '0')"));
    db.exec(QStringLiteral("INSERT INTO COPE (%1) SELECT %2 FROM COPE, generate_series(1, %3) AS g WHERE OCOD = 'MODELLO'")
                .arg(colonne, copiate)
                .arg(n));
    db.exec(QStringLiteral("DELETE FROM COPE WHERE OCOD = 'MODELLO'"));
}

// The window in the mode of `modo`, loaded as the dispatcher loads it (in the restore
// mode the open dialog gives `file`).
struct Finestra {
    Finestra(const QString& modo, bool tutti, test::DialoghiSimulati& dialoghi, const QString& file = {})
    {
        ModoSalva = modo;
        SalvaTutti = tutti;
        if (!file.isEmpty())
            dialoghi.aperture = {{file}};
        f.Form_Load();
        f.show();
        QCoreApplication::processEvents();
    }
    FSalva f;
};

TEST(RipristinoGrandePostgres, LaFinestraRispondeSempre)
{
    test::DbBackend backend(test::Backend::OdbcPostgres);
    Database& db = backend.db();
    RegistroDi(db, SoggettiRegistro);
    QTemporaryDir cartella;
    const QString file = cartella.filePath("tutti.VEKO");
    const EsitoBackup scritto = ScrittoreBackup(db).CreaBackup(file, QString());
    ASSERT_TRUE(scritto.riuscito) << scritto.errore.toStdString();
    ASSERT_EQ(scritto.righe, SoggettiRegistro);
    db.exec("UPDATE COPE SET ORAG = 'CAMBIATO'");
    qputenv("QUERCINO_HOME", backend.programDir().toLocal8Bit());   // the safety copy
    Cnn = &db;

    test::MessaggiSimulati messaggi;
    test::DialoghiSimulati dialoghi;
    Finestra finestra("R", false, dialoghi, file);
    ASSERT_FALSE(finestra.f.Chiusa());
    // The gaps between the timer's ticks, the click and the end of its handler included.
    QElapsedTimer orologio;
    qint64 ultimo = 0, pausaMassima = 0, righeAllaPausa = 0;
    const auto battito = [&] {
        const qint64 ora = orologio.elapsed();
        if (ora - ultimo > pausaMassima) {
            pausaMassima = ora - ultimo;
            righeAllaPausa = finestra.f.ContaRighe();
        }
        ultimo = ora;
    };
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, battito);
    timer.start();
    orologio.start();
    QTest::mouseClick(finestra.f.bconferma(), Qt::LeftButton);
    battito();
    timer.stop();
    Cnn = nullptr;
    qunsetenv("QUERCINO_HOME");

    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_TRUE(messaggi.mostrati[0].testo.startsWith("Ripristino terminato")) << messaggi.mostrati[0].testo.toStdString();
    EXPECT_LT(pausaMassima, 250) << "the window gave no answer for " << pausaMassima << " ms, after "
                                 << righeAllaPausa << " rows restored (of " << SoggettiRegistro << "), in a restore of "
                                 << orologio.elapsed() << " ms";
    EXPECT_EQ(finestra.f.ContaRighe(), SoggettiRegistro);
    auto altra = backend.apriAltraConnessione();
    EXPECT_EQ(altra->scalar("SELECT COUNT(*) FROM COPE WHERE ORAG = 'SOGGETTO DI PROVA'", {}, ColumnType::Integer)->toInt(),
              SoggettiRegistro);
    EXPECT_EQ(altra->scalar("SELECT COUNT(*) FROM COPE", {}, ColumnType::Integer)->toInt(), SoggettiRegistro);
    const QStringList copie = QDir(backend.programDir()).entryList({"BFRR_TUTTI_*.VEKO"}, QDir::Files);
    ASSERT_EQ(copie.size(), 1);
    EXPECT_EQ(LeggiFileBackup(QDir(backend.programDir()).filePath(copie[0])).righe.size(),
              static_cast<std::size_t>(SoggettiRegistro));
}

class BarraPiena : public test::BackupTest {};

// casi/barra.tsv: each work of the window, with its closing message; the bar's value and
// maximum are read as that message shows.
TEST_P(BarraPiena, AlMessaggioFinale)
{
    db().insert(schema::COPE(), test::SoggettoCompleto("01", "ROSSI SPA"));
    CodiceOperatore = "01";
    NomeOperatore = "ROSSI SPA";
    qputenv("QUERCINO_HOME", backend().programDir().toLocal8Bit());
    for (const test::Caso& caso : test::Casi(__FILE__, "casi/barra.tsv")) {
        SCOPED_TRACE(caso.dove.toStdString());
        test::MessaggiSimulati messaggi;
        test::DialoghiSimulati dialoghi;
        dialoghi.salvataggi = {File("singolo.VEKO"), File("(TUTTI)")};
        QStringList viste;
        const QString lavoro = caso[0];
        std::unique_ptr<Finestra> finestra;
        messaggi.mentreMostra = [&](const Messaggio& m) {
            const QProgressBar& barra = *finestra->f.PBar1();
            viste << QStringLiteral("%1 (barra %2 di %3)").arg(m.testo.section("\r\n", 0, 0)).arg(barra.value()).arg(barra.maximum());
        };
        if (lavoro == "ripristino") {
            ASSERT_TRUE(test::ScriviFile(File("uno.VEKO"), test::LineaBackup(schema::COPE(), {"01", "ROSSI SPA"})));
            finestra = std::make_unique<Finestra>("R", false, dialoghi, File("uno.VEKO"));
        } else {
            finestra = std::make_unique<Finestra>("S", lavoro == "tutti", dialoghi);
        }
        QTest::mouseClick(lavoro == "tutti" ? finestra->f.saveALL() : finestra->f.bconferma(), Qt::LeftButton);
        EXPECT_EQ(viste, QStringList{caso[1]});
    }
    qunsetenv("QUERCINO_HOME");
}

QUERCINO_DB_BACKENDS(BarraPiena);

} // namespace
