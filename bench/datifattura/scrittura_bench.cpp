// The DatiFattura writer on 300,000 generated rows (about 20,000 counterparts with a skewed
// distribution, some with more than 10,000 rows; 1 to 8 invoices per visit, 1 to 3 VAT lines
// per invoice; 5 % foreign, 2 % natural persons), against the baseline of writing the same
// bytes, in 1 MB chunks, to files in the same folder. One run prints both times and their
// ratio, rows per second, files and bytes. Target: within 3 times the raw write.

#include "declarants/datifattura/ScrittoreDatiFattura.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::vector<RigaFattura> righe = Genera(300000);

    QTemporaryDir cartella;
    Risposte risposte(cartella.path());
    const auto inizio = std::chrono::steady_clock::now();
    ScrittoreDatiFattura scrittore(Dichiarante(), TipoComunicazione::DTE, risposte);
    int rifiutate = 0;
    for (const RigaFattura& r : righe)
        rifiutate += scrittore.Scrivi(r).esito != EsitoRiga::Scritta;
    scrittore.Chiudi();
    const double tempoScrittore = Secondi(inizio);

    qint64 byte = 0;
    QByteArray contenuto;
    for (const FileScritto& f : scrittore.FileScritti()) {
        byte += f.byte;
        QFile file(f.percorso);
        file.open(QIODevice::ReadOnly);
        contenuto.append(file.readAll());
    }

    // Baseline: the same bytes, already in memory, written raw in files of the same sizes.
    QTemporaryDir grezza;
    const auto inizioGrezzo = std::chrono::steady_clock::now();
    qint64 posizione = 0;
    for (std::size_t i = 0; i < scrittore.FileScritti().size(); ++i) {
        QFile file(QDir(grezza.path()).filePath(QStringLiteral("f%1.xml").arg(i)));
        file.open(QIODevice::WriteOnly);
        const qint64 fine = posizione + scrittore.FileScritti()[i].byte;
        for (; posizione < fine; posizione += std::min<qint64>(1 << 20, fine - posizione))
            file.write(contenuto.constData() + posizione, std::min<qint64>(1 << 20, fine - posizione));
        file.close();
    }
    const double tempoGrezzo = Secondi(inizioGrezzo);

    std::printf("rows %zu (refused %d), files %zu, bytes %lld\n", righe.size(), rifiutate,
                scrittore.FileScritti().size(), static_cast<long long>(byte));
    std::printf("writer          %.3f s  (%.0f rows/s, %.1f MB/s)\n", tempoScrittore, righe.size() / tempoScrittore,
                byte / 1e6 / tempoScrittore);
    std::printf("raw write       %.3f s  (baseline)\n", tempoGrezzo);
    std::printf("ratio writer/raw %.2f  (target <= 3)\n", tempoScrittore / tempoGrezzo);
    return 0;
}
