// Benchmark of the backup and the restore at their limit: the largest registry a backup
// holds (MassimoSoggettiBackup declarants, every column at its width, so every line as long
// as a line can be), on each back-end. Each step runs in a child process of its own, so its
// time and peak memory are its own: the backup of every declarant, then its restore over
// the registry it came from (the safety copy included). Baselines of the same run: reading
// the rows through the database layer without writing them (the backup's floor) and
// inserting them in one transaction (the restore's floor, timed while the registry is
// made). Times are wall-clock: most of the work is the database's. For the restore it also
// prints when its first row was stored, against the same reading, and the longest stretch
// in which it gave the window no turn to paint (the window answers no sooner).
//
//   backup_bench [declarants]        after: source scripts/test-services.sh; services_start

#include "app/backup/LimitiBackup.h"
#include "app/backup/Ripristino.h"
#include "app/backup/ScriviBackup.h"
#include "app/core/Schema.h"
#include "support/backup_di_prova.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

using namespace quercino;

namespace {

double Secondi(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e9; }

// One step in this process; prints its seconds and peak memory (MB) for the parent.
int Passo(const QStringList& a)
{
    const QString& passo = a[0];
    const QString& connessione = a[2];
    auto db = a[1] == "M" ? Database::openSqliteFile(connessione) : Database::openConnectionString(connessione);
    QElapsedTimer t;
    t.start();
    bool riuscito = true;
    if (passo == "leggi") {
        const Table& cope = schema::COPE();
        db->forEach(cope.selectAll(), {}, cope.types(), [](const Row&) { return true; });
    } else if (passo == "scrivi") {
        riuscito = ScrittoreBackup(*db).CreaBackup(a[3], QString()).riuscito;
    }
    double primaRiga = 0;
    qint64 pausaMassima = 0;
    if (passo == "ripristina") {
        Ripristino ripristino(*db, a[4]);
        QElapsedTimer pausa;
        pausa.start();
        const auto turno = [&] { pausaMassima = std::max(pausaMassima, pausa.restart()); };
        ripristino.avanza = [&] {
            if (primaRiga == 0)
                primaRiga = Secondi(t);
            turno();
        };
        ripristino.prosegue = turno;
        const EsitoRipristino esito = ripristino.Ripristina(a[3]);
        turno();
        riuscito = esito.riuscito;
        if (!riuscito)
            std::fprintf(stderr, "%s\n", qPrintable(esito.errore));
    }
    const double secondi = Secondi(t);
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    std::printf("%.3f %.1f %.3f %lld\n", secondi, static_cast<double>(uso.ru_maxrss) / 1024.0, primaRiga,
                static_cast<long long>(pausaMassima));
    return riuscito ? 0 : 1;
}

struct Misura {
    double secondi = -1;
    double piccoMb = 0;
    double primaRiga = 0;    // the restore's first row stored, seconds from its start
    qint64 pausaMassimaMs = 0;
};

Misura InFiglio(const QStringList& argomenti)
{
    QProcess figlio;
    figlio.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    figlio.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--passo")} + argomenti);
    if (!figlio.waitForStarted() || !figlio.waitForFinished(-1) || figlio.exitCode() != 0)
        return {};
    const QStringList parti = QString::fromLatin1(figlio.readAllStandardOutput()).split(u' ');
    return {parti.value(0).toDouble(), parti.value(1).toDouble(), parti.value(2).toDouble(),
            parti.value(3).trimmed().toLongLong()};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList argomenti = app.arguments().mid(1);
    if (argomenti.value(0) == "--passo")
        return Passo(argomenti.mid(1));
    const int soggetti = argomenti.isEmpty() ? MassimoSoggettiBackup : argomenti[0].toInt();

    std::printf("Backup e ripristino di %d soggetti, ogni colonna piena (righe di %lld byte)\n", soggetti,
                static_cast<long long>(LunghezzaMassimaRiga(schema::COPE())));
    int falliti = 0;
    using test::Backend;
    for (const Backend backend : {Backend::SqliteFile, Backend::OdbcSqlite, Backend::OdbcPostgres}) {
        try {
            test::DbBackend base(backend);
            QElapsedTimer t;
            t.start();
            test::RegistroAlLimite(base.db(), soggetti);
            const double inserimento = Secondi(t);
            const QStringList db = backend == Backend::SqliteFile
                                       ? QStringList{QStringLiteral("M"), base.sqlitePath()}
                                       : QStringList{QStringLiteral("X"), base.stringaConnessione()};
            QTemporaryDir cartella;
            const QString file = cartella.filePath(QStringLiteral("tutti.VEKO"));
            const Misura lettura = InFiglio(QStringList{QStringLiteral("leggi")} + db);
            const Misura scrittura = InFiglio(QStringList{QStringLiteral("scrivi")} + db << file);
            const Misura ripristino =
                InFiglio(QStringList{QStringLiteral("ripristina")} + db << file << cartella.path());
            if (lettura.secondi < 0 || scrittura.secondi < 0 || ripristino.secondi < 0) {
                std::printf("%s: non riuscito\n", test::nomeBackend(backend).c_str());
                ++falliti;
                continue;
            }
            std::printf("%-13s file %lld byte; backup %.1f s, %.2f volte la lettura (%.1f s), picco %.0f MB; "
                        "ripristino %.1f s, %.2f volte l'inserimento (%.1f s), picco %.0f MB; prima riga dopo "
                        "%.1f s, %.2f volte la lettura; finestra senza eventi per %lld ms al massimo\n",
                        (test::nomeBackend(backend) + ":").c_str(), static_cast<long long>(QFileInfo(file).size()),
                        scrittura.secondi, scrittura.secondi / lettura.secondi, lettura.secondi, scrittura.piccoMb,
                        ripristino.secondi, ripristino.secondi / inserimento, inserimento, ripristino.piccoMb,
                        ripristino.primaRiga, ripristino.primaRiga / lettura.secondi,
                        static_cast<long long>(ripristino.pausaMassimaMs));
        } catch (const std::exception& e) {
            std::printf("%s: %s\n", test::nomeBackend(backend).c_str(), e.what());
            ++falliti;
        }
        std::fflush(stdout);
    }
    return falliti == 0 ? 0 : 1;
}
