// The DatiFattura writer on 300,000 generated rows (about 20,000 counterparts with a skewed
// distribution, some with more than 10,000 rows; 1 to 8 invoices per visit, 1 to 3 VAT lines
// per invoice; 5 % foreign, 2 % natural persons), against the baseline of writing the same
// bytes, in 1 MB chunks, to files of the same sizes. Both write to the same memory file
// system (/dev/shm where there is one), so neither waits for a disk's write-back; they run
// in turn three times and the ratio of their processor times is taken pair by pair.
// Target: within 3 times the raw write.

#include "declarants/datifattura/ScrittoreDatiFattura.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <random>
#include <vector>

using namespace quercino::datifattura;

namespace {

class Risposte : public RichiesteScrittura {
public:
    explicit Risposte(QString cartella) : cartella_(std::move(cartella)) {}
    QString ChiediFileXML(const QString& nome) override { return QDir(cartella_).filePath(nome); }
    bool ControlloDocumento(const QString&) override { return false; }
    int AggiornaProgressivo() override { return ++progressivo; }
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

struct Tempi {
    double parete = 0, processore = 0;
};

QString CartellaMemoria()
{
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/datifattura_bench_XXXXXX")
                                                     : QDir::temp().filePath(QStringLiteral("datifattura_bench_XXXXXX"));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::vector<RigaFattura> righe = Genera(300000);
    constexpr int Coppie = 3;
    std::vector<double> rapporti, rapportiParete;
    Tempi scrittura, grezza;
    std::size_t file = 0;
    qint64 byte = 0;
    int rifiutate = 0;
    for (int coppia = 0; coppia < Coppie; ++coppia) {
        QTemporaryDir cartella(CartellaMemoria());
        Risposte risposte(cartella.path());
        const double cpu = Processore();
        const auto inizio = std::chrono::steady_clock::now();
        ScrittoreDatiFattura scrittore(Dichiarante(), TipoComunicazione::DTE, risposte);
        rifiutate = 0;
        for (const RigaFattura& r : righe)
            rifiutate += scrittore.Scrivi(r).esito != EsitoRiga::Scritta;
        scrittore.Chiudi();
        const Tempi a{Secondi(inizio), Processore() - cpu};

        byte = 0;
        QByteArray contenuto;
        for (const FileScritto& f : scrittore.FileScritti()) {
            byte += f.byte;
            QFile letto(f.percorso);
            letto.open(QIODevice::ReadOnly);
            contenuto.append(letto.readAll());
        }
        file = scrittore.FileScritti().size();

        // Baseline: the same bytes, already in memory, written raw in files of the same sizes.
        QTemporaryDir cartellaGrezza(CartellaMemoria());
        const double cpuGrezzo = Processore();
        const auto inizioGrezzo = std::chrono::steady_clock::now();
        qint64 posizione = 0;
        for (std::size_t i = 0; i < file; ++i) {
            QFile uscita(QDir(cartellaGrezza.path()).filePath(QStringLiteral("f%1.xml").arg(i)));
            uscita.open(QIODevice::WriteOnly);
            const qint64 fine = posizione + scrittore.FileScritti()[i].byte;
            for (; posizione < fine; posizione += std::min<qint64>(1 << 20, fine - posizione))
                uscita.write(contenuto.constData() + posizione, std::min<qint64>(1 << 20, fine - posizione));
            uscita.close();
        }
        const Tempi b{Secondi(inizioGrezzo), Processore() - cpuGrezzo};
        rapporti.push_back(a.processore / b.processore);
        rapportiParete.push_back(a.parete / b.parete);
        scrittura = a;
        grezza = b;
    }
    std::sort(rapporti.begin(), rapporti.end());
    std::sort(rapportiParete.begin(), rapportiParete.end());

    std::printf("rows %zu (refused %d), files %zu, bytes %lld; both sides write to %s\n", righe.size(), rifiutate, file,
                static_cast<long long>(byte), qPrintable(QFileInfo(CartellaMemoria()).path()));
    std::printf("writer          %.3f s processor, %.3f s elapsed (last run; %.0f rows/s)\n", scrittura.processore,
                scrittura.parete, righe.size() / scrittura.processore);
    std::printf("raw write       %.3f s processor, %.3f s elapsed (last run; baseline)\n", grezza.processore,
                grezza.parete);
    std::printf("ratio writer/raw, %d pairs: processor %.2f/%.2f/%.2f, elapsed %.2f/%.2f/%.2f (min/median/max)\n", Coppie,
                rapporti.front(), rapporti[rapporti.size() / 2], rapporti.back(), rapportiParete.front(),
                rapportiParete[rapportiParete.size() / 2], rapportiParete.back());
    std::printf("target: processor time within 3 times the raw write: %s\n",
                rapporti[rapporti.size() / 2] <= 3 ? "met" : "NOT MET");
    return 0;
}
