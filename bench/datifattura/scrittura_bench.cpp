// The DatiFattura writer on 300,000 generated rows (about 20,000 counterparts with a skewed
// distribution, some with more than 10,000 rows; 1 to 8 invoices per visit, 1 to 3 VAT lines
// per invoice; 5 % foreign, 2 % natural persons), against the baseline of writing the same
// bytes, already in memory, in 1 MB chunks, to files of the same sizes. Both write to the
// same memory file system (/dev/shm where there is one), so neither waits for a disk's
// write-back, and both are measured in processor time, which a busy machine disturbs less
// than elapsed time. After one writing that warms both up (and gives the bytes for the
// baseline), they run in turn, in alternate order, and the ratio is taken pair by pair.
// Peak memory is the rise of the process's resident memory over what it held before each
// run (the rows, and the baseline's bytes), as the kernel's high-water mark reset before it.
// Target: within 3 times the raw write.
//
//   datifattura_scrittura_bench [pairs]      (7 by default)

#include "declarants/datifattura/ScrittoreDatiFattura.h"

#include "bench/pdf/PairedRuns.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <vector>

using namespace quercino::datifattura;

namespace {

class Risposte : public RichiesteScrittura {
public:
    explicit Risposte(QString cartella) : cartella_(std::move(cartella)) {}
    QString ChiediFileXML(const QString& nome) override { return QDir(cartella_).filePath(nome); }
    bool ControlloDocumento(const QString&) override { return false; }
    int PrendiProgressivo() override { return progressivo++; }
    void RestituisciProgressivo(int) override {}
    int progressivo = 1;

private:
    QString cartella_;
};

DatiDichiarante Dichiarante()
{
    DatiDichiarante d;
    d.OSPAESE = QStringLiteral("IT");
    d.OCF = QStringLiteral("01234567890");
    d.OPIVA = QStringLiteral("01234567890");
    d.ORAG = QStringLiteral("ALFA SRL");
    d.OSINDI = QStringLiteral("VIA ROMA");
    d.OSCOM = QStringLiteral("ROMA");
    d.OSPRO = QStringLiteral("RM");
    d.OPROG = 1;
    return d;
}

std::vector<RigaFattura> Genera(int totale)
{
    std::mt19937 caso(300000);
    std::uniform_int_distribution<int> fatture(1, 8), righe(1, 3), cento(0, 99);
    std::discrete_distribution<int> peso({70, 25, 5});  // small, medium, very large visits
    std::vector<RigaFattura> uscita;
    uscita.reserve(static_cast<std::size_t>(totale));
    int numero = 0;
    for (int soggetto = 1; static_cast<int>(uscita.size()) < totale; ++soggetto) {
        const int quota = cento(caso);
        const bool estero = quota < 5;
        const bool persona = quota >= 5 && quota < 7;
        const int visite = std::array<int, 3>{1, 4, 400}[static_cast<std::size_t>(peso(caso))];
        RigaFattura base;
        if (estero) {
            base.PartitaIva = QStringLiteral("DE%1").arg(100000000 + soggetto);
            base.Sede = {QStringLiteral("HAUPTSTRASSE %1").arg(soggetto % 300), QStringLiteral("1"), QStringLiteral("10115"),
                         QStringLiteral("BERLIN"), QString(), QStringLiteral("DE")};
        } else {
            base.PartitaIva = QString::number(10000000000LL + soggetto);
            base.Sede = {QStringLiteral("VIA GARIBALDI %1").arg(soggetto % 300), QStringLiteral("12"), QStringLiteral("20121"),
                         QStringLiteral("MILANO"), QStringLiteral("MI"), QStringLiteral("IT")};
        }
        if (persona) {
            base.Nome = QStringLiteral("MARIO");
            base.Cognome = QStringLiteral("ROSSI %1").arg(soggetto);
        } else {
            base.Denominazione = QStringLiteral("SOCIETA' CLIENTE NUMERO %1 S.R.L.").arg(soggetto);
        }
        for (int v = 0; v < visite && static_cast<int>(uscita.size()) < totale; ++v) {
            const int nf = fatture(caso);
            for (int f = 0; f < nf; ++f) {
                ++numero;
                const int nr = righe(caso);
                for (int r = 0; r < nr; ++r) {
                    RigaFattura riga = base;
                    riga.TipoDocumento = QStringLiteral("TD01");
                    riga.Data = QDate(2018, 1, 1).addDays(numero % 365);
                    riga.Numero = QStringLiteral("%1/2018").arg(numero);
                    riga.Imponibile = 10000 + numero % 100000;
                    riga.Imposta = riga.Imponibile * 22 / 100;
                    riga.Aliquota = 2200;
                    uscita.push_back(riga);
                }
            }
        }
    }
    return uscita;
}

double Secondi(std::chrono::steady_clock::time_point da)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - da).count();
}

double Processore()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

struct Misura {
    double parete = 0, processore = 0;
    double piccoMb = -1;    // rise of the resident memory; negative when it cannot be read
};

// The resident memory of this process in MiB, now (VmRSS) or at its peak (VmHWM).
double MemoriaMb(const char* campo)
{
    QFile stato(QStringLiteral("/proc/self/status"));
    if (!stato.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& riga : stato.readAll().split('\n'))
        if (riga.startsWith(campo))
            return riga.mid(static_cast<qsizetype>(std::strlen(campo))).trimmed().split(' ').value(0).toDouble() / 1024;
    return -1;
}

// Runs `lavoro` and measures it; the kernel's high-water mark of resident memory is reset
// first ("5" in clear_refs), so that the peak is this run's.
template <typename Lavoro>
Misura Misurata(Lavoro lavoro)
{
    QFile azzera(QStringLiteral("/proc/self/clear_refs"));
    const bool azzerata = azzera.open(QIODevice::WriteOnly) && azzera.write("5") == 1 && azzera.flush();
    const double prima = MemoriaMb("VmRSS:");
    const double cpu = Processore();
    const auto inizio = std::chrono::steady_clock::now();
    lavoro();
    Misura m{Secondi(inizio), Processore() - cpu};
    const double picco = MemoriaMb("VmHWM:");
    if (azzerata && prima >= 0 && picco >= 0)
        m.piccoMb = picco - prima;
    return m;
}

QString CartellaMemoria()
{
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/datifattura_bench_XXXXXX")
                                                     : QDir::temp().filePath(QStringLiteral("datifattura_bench_XXXXXX"));
}

struct Scritti {
    std::vector<FileScritto> file;
    int rifiutate = 0;
};

Scritti ScriviTutte(const std::vector<RigaFattura>& righe, const QString& cartella)
{
    Risposte risposte(cartella);
    ScrittoreDatiFattura scrittore(Dichiarante(), TipoComunicazione::DTE, risposte);
    Scritti s;
    for (const RigaFattura& r : righe)
        s.rifiutate += scrittore.Scrivi(r).esito != EsitoRiga::Scritta;
    scrittore.Chiudi();
    s.file = scrittore.FileScritti();
    return s;
}

// The baseline: `contenuto` written raw, in 1 MB chunks, as files of the sizes given.
void ScriviGrezzo(const QByteArray& contenuto, const std::vector<qint64>& dimensioni, const QString& cartella)
{
    qint64 posizione = 0;
    for (std::size_t i = 0; i < dimensioni.size(); ++i) {
        QFile uscita(QDir(cartella).filePath(QStringLiteral("f%1.xml").arg(i)));
        uscita.open(QIODevice::WriteOnly);
        const qint64 fine = posizione + dimensioni[i];
        for (; posizione < fine; posizione += std::min<qint64>(1 << 20, fine - posizione))
            uscita.write(contenuto.constData() + posizione, std::min<qint64>(1 << 20, fine - posizione));
        uscita.close();
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int coppie = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const std::vector<RigaFattura> righe = Genera(300000);

    // The warm-up writing gives the bytes and the file sizes of the baseline, which is
    // warmed up too.
    QByteArray contenuto;
    std::vector<qint64> dimensioni;
    Scritti scritti;
    {
        QTemporaryDir cartella(CartellaMemoria());
        scritti = ScriviTutte(righe, cartella.path());
        for (const FileScritto& f : scritti.file) {
            QFile letto(f.percorso);
            if (!letto.open(QIODevice::ReadOnly))
                return 1;
            contenuto.append(letto.readAll());
            dimensioni.push_back(f.byte);
        }
        QTemporaryDir cartellaGrezza(CartellaMemoria());
        ScriviGrezzo(contenuto, dimensioni, cartellaGrezza.path());
    }

    std::vector<double> rapporti, rapportiParete, scrittura, grezza, piccoScrittura, piccoGrezza;
    for (int coppia = 0; coppia < coppie; ++coppia) {
        QTemporaryDir cartellaScrittore(CartellaMemoria());
        QTemporaryDir cartellaGrezza(CartellaMemoria());
        Misura a, b;
        const auto scrivi = [&] { a = Misurata([&] { ScriviTutte(righe, cartellaScrittore.path()); }); };
        const auto grezzo = [&] { b = Misurata([&] { ScriviGrezzo(contenuto, dimensioni, cartellaGrezza.path()); }); };
        if (coppia % 2 == 0) {
            scrivi();
            grezzo();
        } else {
            grezzo();
            scrivi();
        }
        rapporti.push_back(a.processore / b.processore);
        rapportiParete.push_back(a.parete / b.parete);
        scrittura.push_back(a.processore);
        grezza.push_back(b.processore);
        piccoScrittura.push_back(a.piccoMb);
        piccoGrezza.push_back(b.piccoMb);
    }
    using tavlo::bench::SpreadOf;
    const auto r = SpreadOf(rapporti), p = SpreadOf(rapportiParete), w = SpreadOf(scrittura), g = SpreadOf(grezza);

    std::printf("rows %zu (refused %d), files %zu, bytes %lld; both sides write to %s\n", righe.size(), scritti.rifiutate,
                dimensioni.size(), static_cast<long long>(contenuto.size()), qPrintable(QFileInfo(CartellaMemoria()).path()));
    std::printf("writer     processor %.3f/%.3f/%.3f s (%.0f rows/s at the median); peak +%.1f MiB over the rows in memory\n",
                w.min, w.median, w.max, static_cast<double>(righe.size()) / w.median,
                *std::max_element(piccoScrittura.begin(), piccoScrittura.end()));
    std::printf("raw write  processor %.3f/%.3f/%.3f s (baseline); peak +%.1f MiB over the bytes it writes, held in memory\n",
                g.min, g.median, g.max, *std::max_element(piccoGrezza.begin(), piccoGrezza.end()));
    std::printf("ratio writer/raw, %d pairs (min/median/max): processor %.2f/%.2f/%.2f, elapsed %.2f/%.2f/%.2f\n", coppie,
                r.min, r.median, r.max, p.min, p.median, p.max);
    std::printf("target: processor time within 3 times the raw write: %s\n", r.median <= 3 ? "met" : "NOT MET");
    return 0;
}
