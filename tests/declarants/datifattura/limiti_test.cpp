// The limits of a file on generated rows, large enough that each limit is really reached:
// 998 invoices per block, 999 blocks per file (repeated blocks included), a new file at the
// next counterpart after 9000 rows or about 4.5 MB, and never a file over 5,000,000 bytes.
// Every file is read back with Qt's XML reader and validated with xmllint.

#include "supporto.h"

#include "declarants/datifattura/ScrittoreDatiFattura.h"

#include <QTemporaryDir>

#include <random>

using namespace quercino::datifattura;
using namespace quercino::datifattura::prova;

namespace {

using Scrittore = ScrittoreDatiFattura;

// One invoice as the rows give it: its counterpart's VAT number, number and row count.
struct FatturaAttesa {
    QString partitaIva;
    QString numero;
    int righe = 0;
    bool operator==(const FatturaAttesa&) const = default;
};

class Generatore {
public:
    explicit Generatore(TipoComunicazione tipo = TipoComunicazione::DTE) : tipo_(tipo) {}

    // `fatture` invoices of `righe` rows each for the counterpart number `soggetto`.
    void Soggetto(int soggetto, int fatture, int righe, bool ricco = false)
    {
        const QString piva = QString::number(10000000000LL + soggetto);
        for (int f = 0; f < fatture; ++f) {
            const QString numero = QStringLiteral("%1/%2").arg(soggetto).arg(f + 1);
            for (int r = 0; r < righe; ++r) {
                RigaFattura riga = r == 0 ? Riga(piva, QStringLiteral("SOCIETA NUMERO %1 SRL").arg(soggetto), numero)
                                          : Continuazione(numero);
                if (r == 0 && ricco)
                    Arricchisci(riga, soggetto);
                riga.Imponibile = 1000 + r;
                righe_.push_back(riga);
            }
            attese_.push_back({piva, numero, righe});
        }
    }

    const std::vector<RigaFattura>& Righe() const { return righe_; }
    const std::vector<FatturaAttesa>& Attese() const { return attese_; }
    TipoComunicazione Tipo() const { return tipo_; }

private:
    // Long names and every address, so that blocks are large.
    static void Arricchisci(RigaFattura& r, int soggetto)
    {
        r.Denominazione = QStringLiteral("SOCIETA DI PROVA CON UNA DENOMINAZIONE MOLTO LUNGA NUMERO %1 SRL").arg(soggetto);
        r.Sede = {QStringLiteral("VIA DI UNA CITTA QUALUNQUE CON UN NOME LUNGO"), QStringLiteral("123/B"),
                  QStringLiteral("20100"), QStringLiteral("MILANO"), QStringLiteral("MI"), QStringLiteral("IT")};
        r.StabileOrganizzazione = {QStringLiteral("PIAZZA DELLA STABILE ORGANIZZAZIONE"), QStringLiteral("1"),
                                   QStringLiteral("00100"), QStringLiteral("ROMA"), QStringLiteral("RM"),
                                   QStringLiteral("IT")};
        r.Rappresentante = {QStringLiteral("99999999999"), QStringLiteral("RAPPRESENTANTE FISCALE DI PROVA SRL"),
                            QString(), QString()};
    }

    TipoComunicazione tipo_;
    std::vector<RigaFattura> righe_;
    std::vector<FatturaAttesa> attese_;
};

struct Esito {
    QTemporaryDir cartella;
    std::vector<FileScritto> file;
    std::vector<FileLetto> letti;
    int aumenti = 0;
    int controparti = 0;
};

std::unique_ptr<Esito> Esegui(const Generatore& g, int progressivo = 7)
{
    auto esito = std::make_unique<Esito>();
    RichiesteProva richieste(esito->cartella.path(), progressivo);
    DatiDichiarante d = DichiaranteSocieta();
    d.OPROG = progressivo;
    Scrittore scrittore(d, g.Tipo(), richieste);
    for (const RigaFattura& r : g.Righe()) {
        const RisultatoRiga risultato = scrittore.Scrivi(r);
        EXPECT_EQ(risultato.esito, EsitoRiga::Scritta)
            << (risultato.errore ? (risultato.errore->etichetta + QLatin1Char(' ') + risultato.errore->valore).toStdString() : "");
    }
    scrittore.Chiudi();
    esito->file = scrittore.FileScritti();
    esito->aumenti = richieste.aumenti;
    esito->controparti = scrittore.Controparti();
    for (const FileScritto& f : esito->file)
        esito->letti.push_back(LeggiDatiFattura(f.percorso));
    return esito;
}

QStringList Percorsi(const Esito& e)
{
    QStringList p;
    for (const FileScritto& f : e.file)
        p << f.percorso;
    return p;
}

// Every file within the limits, named and numbered in sequence, and the invoices read back
// in order, each whole, exactly as the rows gave them.
void VerificaLimitiEContenuto(const Esito& e, const Generatore& g, int progressivo = 7)
{
    std::vector<FatturaAttesa> lette;
    for (std::size_t i = 0; i < e.file.size(); ++i) {
        const FileScritto& f = e.file[i];
        const FileLetto& l = e.letti[i];
        const int numero = progressivo + static_cast<int>(i);
        SCOPED_TRACE(f.percorso.toStdString());
        ASSERT_TRUE(l.benFormato);
        EXPECT_EQ(QFileInfo(f.percorso).fileName(), QStringLiteral("IT01234567890_DF_%1.xml").arg(numero, 5, 10, QLatin1Char('0')));
        EXPECT_EQ(l.progressivo, QStringLiteral("%1").arg(numero, 5, 10, QLatin1Char('0')));
        EXPECT_EQ(f.progressivo, numero);
        EXPECT_EQ(QFileInfo(f.percorso).size(), f.byte);
        EXPECT_LE(f.byte, 5'000'000);
        EXPECT_GE(l.blocchi.size(), 1u);
        EXPECT_LE(l.blocchi.size(), 999u);
        EXPECT_EQ(static_cast<int>(l.blocchi.size()), f.blocchi);
        for (const BloccoLetto& b : l.blocchi) {
            EXPECT_LE(b.fatture.size(), 998u);
            for (const FatturaLetta& fattura : b.fatture) {
                // An invoice never continues past its block: the next one has another number.
                if (!lette.empty() && lette.back().partitaIva == b.idCodice && lette.back().numero == fattura.numero)
                    ADD_FAILURE() << "invoice " << fattura.numero.toStdString() << " written twice";
                lette.push_back({b.idCodice, fattura.numero, fattura.riepiloghi});
            }
        }
    }
    EXPECT_EQ(e.aumenti, static_cast<int>(e.file.size()));
    ASSERT_EQ(lette.size(), g.Attese().size());
    EXPECT_TRUE(lette == g.Attese());
}

TEST(LimitiFile, IlBloccoConPiuDi998FattureVieneRipetuto)
{
    Generatore g;
    g.Soggetto(1, 998, 1);
    g.Soggetto(2, 999, 1);
    const auto e = Esegui(g);

    ASSERT_EQ(e->file.size(), 1u);
    const FileLetto& l = e->letti[0];
    ASSERT_EQ(l.blocchi.size(), 3u);
    EXPECT_EQ(l.blocchi[0].fatture.size(), 998u);
    EXPECT_EQ(l.blocchi[1].fatture.size(), 998u);
    EXPECT_EQ(l.blocchi[2].fatture.size(), 1u);
    // The repeated block carries the same identification and the next number in its comment.
    EXPECT_EQ(l.blocchi[2].idCodice, l.blocchi[1].idCodice);
    EXPECT_EQ(l.blocchi[2].nome, l.blocchi[1].nome);
    const QByteArray testo = LeggiFile(e->file[0].percorso);
    EXPECT_TRUE(testo.contains("<!--BLOCCO NUMERO 000002 CLIENTE 10000000002 SOCIETA NUMERO 2 SRL-->"));
    EXPECT_TRUE(testo.contains("<!--BLOCCO NUMERO 000003 CLIENTE 10000000002 SOCIETA NUMERO 2 SRL-->"));
    EXPECT_EQ(e->controparti, 2);
    VerificaLimitiEContenuto(*e, g);
    EXPECT_TRUE(ValidoPerSchema(Percorsi(*e)));
}

TEST(LimitiFile, IlBloccoRipetutoContaNeiNovecentonovantanove)
{
    Generatore g;
    for (int s = 1; s <= 998; ++s)
        g.Soggetto(s, 1, 1);
    g.Soggetto(999, 999, 1);  // its 999th invoice repeats the block: the file's 1000th block
    const auto e = Esegui(g);

    ASSERT_EQ(e->file.size(), 2u);
    EXPECT_EQ(e->letti[0].blocchi.size(), 999u);
    ASSERT_EQ(e->letti[1].blocchi.size(), 1u);
    EXPECT_EQ(e->letti[1].blocchi[0].idCodice, QStringLiteral("10000000999"));
    EXPECT_EQ(e->letti[1].blocchi[0].fatture.size(), 1u);
    VerificaLimitiEContenuto(*e, g);
    EXPECT_TRUE(ValidoPerSchema(Percorsi(*e)));
}

TEST(LimitiFile, OltreNovemilaRigheIlProssimoSoggettoApreUnNuovoFile)
{
    Generatore g;
    g.Soggetto(1, 901, 10);  // 9010 rows: they all stay with their counterpart
    // The counterpart that begins the new file goes on with continuation rows and a second
    // invoice: one block for it there, not a second one after its first row.
    g.Soggetto(2, 2, 3);
    g.Soggetto(3, 1, 1);
    const auto e = Esegui(g);

    ASSERT_EQ(e->file.size(), 2u);
    ASSERT_EQ(e->letti[0].blocchi.size(), 1u);
    EXPECT_EQ(e->file[0].righe, 9010);
    ASSERT_EQ(e->letti[1].blocchi.size(), 2u);
    EXPECT_EQ(e->letti[1].blocchi[0].fatture.size(), 2u);
    VerificaLimitiEContenuto(*e, g);
    EXPECT_TRUE(ValidoPerSchema(Percorsi(*e)));
}

TEST(LimitiFile, NovemilaRigheEsatteNonDividono)
{
    Generatore g;
    g.Soggetto(1, 900, 10);
    g.Soggetto(2, 1, 1);
    const auto e = Esegui(g);

    ASSERT_EQ(e->file.size(), 1u);
    EXPECT_EQ(e->letti[0].blocchi.size(), 2u);
    VerificaLimitiEContenuto(*e, g);
    EXPECT_TRUE(ValidoPerSchema(Percorsi(*e)));
}

TEST(LimitiFile, UnFilePienoSiChiudeAlSoggettoSuccessivo)
{
    Generatore g;
    for (int s = 1; s <= 999; ++s)
        g.Soggetto(s, 3, 3, true);  // about 5.5 KB per counterpart, 9 rows
    const auto e = Esegui(g);

    ASSERT_GE(e->file.size(), 2u);
    const FileScritto& primo = e->file[0];
    EXPECT_LT(primo.blocchi, 999);
    EXPECT_LE(primo.righe, 9000);
    EXPECT_GT(primo.byte, 4'400'000);
    EXPECT_LE(primo.byte, 5'000'000);
    // The split falls between counterparts: none is repeated in the next file.
    EXPECT_NE(e->letti[0].blocchi.back().idCodice, e->letti[1].blocchi.front().idCodice);
    EXPECT_EQ(e->controparti, 999);
    VerificaLimitiEContenuto(*e, g);
    EXPECT_TRUE(ValidoPerSchema(Percorsi(*e)));
}

TEST(LimitiFile, UnSoggettoOltreCinqueMegaVieneDivisoTraFatture)
{
    Generatore g;
    g.Soggetto(1, 2500, 8, true);  // about 7 MB for one counterpart
    const auto e = Esegui(g);

    ASSERT_EQ(e->file.size(), 2u);
    EXPECT_GT(e->file[0].byte, 4'400'000);
    for (const FileLetto& l : e->letti) {
        for (const BloccoLetto& b : l.blocchi) {
            EXPECT_EQ(b.idCodice, QStringLiteral("10000000001"));
            for (const FatturaLetta& f : b.fatture)
                EXPECT_EQ(f.riepiloghi, 8);
        }
    }
    EXPECT_EQ(e->controparti, 1);
    VerificaLimitiEContenuto(*e, g);
    EXPECT_TRUE(ValidoPerSchema(Percorsi(*e)));
}

TEST(LimitiFile, MigliaiaDiSoggettiCasuali)
{
    // A skewed mix: many small counterparts, a few very large ones, received invoices.
    Generatore g(TipoComunicazione::DTR);
    std::mt19937 caso(20171231);
    std::uniform_int_distribution<int> fatture(1, 8);
    std::uniform_int_distribution<int> righe(1, 3);
    std::uniform_int_distribution<int> ricco(0, 9);
    for (int s = 1; s <= 4000; ++s) {
        if (s % 1000 == 500)
            g.Soggetto(s, 2200, 2, true);
        else
            g.Soggetto(s, fatture(caso), righe(caso), ricco(caso) == 0);
    }
    const auto e = Esegui(g, 98000);

    EXPECT_GE(e->file.size(), 5u);
    VerificaLimitiEContenuto(*e, g, 98000);
    EXPECT_TRUE(ValidoPerSchema(Percorsi(*e)));
}

} // namespace
