// Benchmark of the sheet import: a 300,000-row workbook and the same rows as CSV, imported
// whole (read, check, write) with every question answered automatically. Baseline: the
// time `unzip -p` takes to inflate the same sheet to /dev/null, measured in the same run.
// Targets: the workbook import within 4 times that floor, peak memory under 256 MB, every
// file written valid against the Agency's schema.
//
//   bench_import [work folder]

#include "GeneraFoglioGrande.h"

#include "app/core/DialoghiFile.h"
#include "app/core/Globals.h"
#include "app/core/Messaggi.h"
#include "declarants/import/Importazione.h"
#include "platform/sheets/XlsxWorkbook.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <time.h>

#include <cstdio>

using namespace quercino;
using namespace quercino::importazione;

namespace {

// Rows 4 to 300000: a sheet filled up to the import's last row.
constexpr int Righe = 300000 - 3;

class RisposteAutomatiche final : public ServizioMessaggi, public ServizioDialoghi {
public:
    int Mostra(const Messaggio& m) override
    {
        // Rows reported: go on; a file already there: replace it.
        if (m.pulsanti == Pulsanti::SiNo || m.pulsanti == Pulsanti::SiNoAnnulla)
            return RispostaSi;
        ++messaggi;
        return RispostaOk;
    }
    int MostraTask(const DialogoTask&) override { return PrimoPulsanteTask; }
    QString ChiediSalvataggio(const RichiestaFile& richiesta) override { return QDir(cartella).filePath(richiesta.nomeFile); }
    QStringList ChiediApertura(const RichiestaFile&, bool) override { return {}; }

    QString cartella;
    int messaggi = 0;
};

class DichiaranteProva final : public SorgenteDichiarante {
public:
    DichiaranteProva()
    {
        dati.OSPAESE = QStringLiteral("IT");
        dati.OCF = QStringLiteral("01234567890");
        dati.OPIVA = QStringLiteral("01234567890");
        dati.ORAG = QStringLiteral("ROSSI SPA");
        dati.OSINDI = QStringLiteral("VIA ROMA");
        dati.OSCOM = QStringLiteral("ROMA");
        dati.OSCAP = QStringLiteral("00100");
        dati.OSPRO = QStringLiteral("RM");
    }
    datifattura::DatiDichiarante Dichiarante() override { return dati; }
    QString AggiornaProgressivo() override
    {
        ++dati.OPROG;
        return {};
    }
    datifattura::DatiDichiarante dati;
};

double PiccoMb()
{
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return static_cast<double>(uso.ru_maxrss) / 1024.0;
}

double Secondi(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e9; }

// Processor time of this process, and of its finished children: on a busy machine wall
// times mostly measure the neighbours, processor times measure the work.
double CpuProcesso()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double CpuFigli()
{
    rusage uso{};
    getrusage(RUSAGE_CHILDREN, &uso);
    return static_cast<double>(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec)
        + static_cast<double>(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e6;
}

struct Tempi {
    double parete = 0;
    double cpu = 0;
};

Tempi TempoUnzip(const QString& cartella)
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    const double cpu = CpuFigli();
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), cartella, QStringLiteral("xl/worksheets/sheet1.xml")});
    if (!p.waitForStarted() || !p.waitForFinished(-1) || p.exitCode() != 0)
        return {-1, -1};
    return {Secondi(t), CpuFigli() - cpu};
}

struct Esito {
    double secondi = 0;
    double cpu = 0;
    int file = 0;
    qint64 byte = 0;
    int validi = 0;
    int segnalazioni = 0;
};

Esito Importa(const QString& input, TipoFile tipo, const QString& uscita)
{
    QDir().mkpath(uscita);
    RisposteAutomatiche risposte;
    risposte.cartella = uscita;
    ImpostaServizioMessaggi(&risposte);
    ImpostaServizioDialoghi(&risposte);
    UltimaCartella = uscita;
    DichiaranteProva dichiarante;
    LogImportazione log(uscita);
    Importazione importazione(dichiarante, log);
    const double cpu = CpuProcesso();
    QElapsedTimer t;
    t.start();
    const EsitoImportazione esito = importazione.Importa(input, tipo, QStringLiteral(";"));
    Esito e;
    e.secondi = Secondi(t);
    e.cpu = CpuProcesso() - cpu;
    ImpostaServizioMessaggi(nullptr);
    ImpostaServizioDialoghi(nullptr);
    e.segnalazioni = risposte.messaggi;
    e.file = static_cast<int>(esito.FileScritti.size());
    for (const QString& f : esito.FileScritti) {
        e.byte += QFileInfo(f).size();
        if (qEnvironmentVariableIsSet("BENCH_SENZA_SCHEMA"))
            continue;
        QProcess x;
        x.setStandardOutputFile(QProcess::nullDevice());
        x.setStandardErrorFile(QProcess::nullDevice());
        x.start(QStringLiteral("xmllint"), {QStringLiteral("--nonet"), QStringLiteral("--noout"), QStringLiteral("--schema"),
                                            QStringLiteral(QUERCINO_SCHEMA_DATIFATTURA), f});
        if (x.waitForStarted() && x.waitForFinished(-1) && x.exitCode() == 0)
            ++e.validi;
    }
    return e;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList argomenti = app.arguments();
    if (argomenti.size() == 4 && argomenti[1] == QStringLiteral("genera")) {
        const StatisticheFoglio s = GeneraFoglioGrande(argomenti[2].toStdString(), argomenti[3].toStdString(), Righe, 20171231);
        std::printf("righe %d, controparti %d (la piu' grande: %d righe), estere %d, persone fisiche %d, righe non valide %d\n",
                    s.Righe, s.Controparti, s.MassimoRigheControparte, s.Estere, s.Persone, s.NonValide);
        return 0;
    }
    if (argomenti.size() == 4 && argomenti[1] == QStringLiteral("importa")) {
        // One import alone, for a profiler.
        const bool csv = argomenti[2].endsWith(QStringLiteral(".csv"));
        const Esito e = Importa(argomenti[2], csv ? TipoFile::Csv : TipoFile::Excel, argomenti[3]);
        std::printf("%.3f s, %.3f s di processore, %d file\n", e.secondi, e.cpu, e.file);
        return 0;
    }
    if (argomenti.size() == 3 && argomenti[1] == QStringLiteral("fasi")) {
        // Where the time goes: reading alone, reading and checking, the whole import.
        class Silenzio final : public SegnalazioniRiga {
        public:
            bool SegnalaErrore(const QString&, const QString&) override { return true; }
            bool RigaSenzaValori() override { return true; }
        } silenzio;
        for (int fase = 0; fase < 2; ++fase) {
            const double cpu = CpuProcesso();
            sheets::XlsxWorkbook cartella(argomenti[2]);
            auto lettore = cartella.ApriFoglio(1, 34);
            sheets::SheetRow riga;
            datifattura::RigaFattura fattura;
            int valide = 0;
            while (lettore->Prossima(riga)) {
                if (fase == 1 && riga.Numero >= 4 && LeggiRiga(riga.Celle, datifattura::TipoComunicazione::DTE, silenzio, nullptr, fattura).RigaValida)
                    ++valide;
            }
            std::printf("%s: %.3f s di processore (%d valide)\n", fase == 0 ? "lettura" : "lettura e controlli", CpuProcesso() - cpu, valide);
        }
        return 0;
    }
    QTemporaryDir temporanea;
    const QString lavoro = argomenti.size() > 1 ? argomenti[1] : temporanea.path();
    QDir().mkpath(lavoro);
    const QString xlsx = QDir(lavoro).filePath(QStringLiteral("fatture_300000.xlsx"));
    const QString csv = QDir(lavoro).filePath(QStringLiteral("fatture_300000.csv"));

    // The input is generated in a child process, so that its memory does not count here.
    QProcess generatore;
    generatore.setProcessChannelMode(QProcess::ForwardedChannels);
    generatore.start(app.applicationFilePath(), {QStringLiteral("genera"), xlsx, csv});
    if (!generatore.waitForFinished(-1) || generatore.exitCode() != 0) {
        std::fprintf(stderr, "generazione non riuscita\n");
        return 1;
    }
    std::printf("cartella %.1f MB, CSV %.1f MB\n", QFileInfo(xlsx).size() / 1048576.0, QFileInfo(csv).size() / 1048576.0);

    TempoUnzip(xlsx);   // the file in the page cache for both contenders
    const Tempi unzip = TempoUnzip(xlsx);
    if (unzip.cpu <= 0) {
        std::fprintf(stderr, "unzip non disponibile\n");
        return 1;
    }

    const double cpuLettura = CpuProcesso();
    {
        sheets::XlsxWorkbook cartella(xlsx);
        auto lettore = cartella.ApriFoglio(1, 34);
        sheets::SheetRow riga;
        while (lettore->Prossima(riga)) {}
    }
    const double lettura = CpuProcesso() - cpuLettura;

    const Esito e = Importa(xlsx, TipoFile::Excel, QDir(lavoro).filePath(QStringLiteral("uscita_xlsx")));
    const double piccoXlsx = PiccoMb();
    const Esito c = Importa(csv, TipoFile::Csv, QDir(lavoro).filePath(QStringLiteral("uscita_csv")));
    const double picco = PiccoMb();

    std::printf("tempi di processore (tra parentesi il tempo trascorso, che su una macchina condivisa conta anche i vicini)\n");
    std::printf("unzip -p del foglio (base):      %8.3f s  (%.3f s)\n", unzip.cpu, unzip.parete);
    std::printf("sola lettura del foglio:         %8.3f s  = %.2f x base\n", lettura, lettura / unzip.cpu);
    std::printf("importazione cartella:           %8.3f s  (%.3f s) = %.2f x base, obiettivo <= 4\n", e.cpu, e.secondi, e.cpu / unzip.cpu);
    std::printf("importazione CSV:                %8.3f s  (%.3f s)\n", c.cpu, c.secondi);
    std::printf("picco di memoria:                %8.1f MB dopo la cartella, %.1f MB in tutto (obiettivo < 256)\n", piccoXlsx, picco);
    std::printf("cartella: %d file, %lld byte, %d validi per lo schema, %d righe segnalate\n", e.file,
                static_cast<long long>(e.byte), e.validi, e.segnalazioni);
    std::printf("CSV:      %d file, %lld byte, %d validi per lo schema, %d righe segnalate\n", c.file,
                static_cast<long long>(c.byte), c.validi, c.segnalazioni);
    const bool ok = e.cpu <= 4 * unzip.cpu && picco < 256 && e.validi == e.file && c.validi == c.file && e.file > 0;
    std::printf("%s\n", ok ? "OBIETTIVI RAGGIUNTI" : "OBIETTIVI NON RAGGIUNTI");
    return ok ? 0 : 1;
}
