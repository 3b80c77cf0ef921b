// How rows become counterpart blocks and invoices: the counterpart key (VAT number, tax
// code, name), continuation rows, the invoice key (number, date, document type), and the
// rows the writer refuses rather than write an invoice twice or outside a block. Files
// are read back with Qt's XML reader and validated with xmllint.

#include "supporto.h"

#include "declarants/datifattura/ScrittoreDatiFattura.h"

#include <QTemporaryDir>

#include <random>

using namespace quercino::datifattura;
using namespace quercino::datifattura::prova;

namespace {

RigaFattura ConCodiceFiscale(RigaFattura r, const QString& cf)
{
    r.CodiceFiscale = cf;
    return r;
}

RigaFattura ConTipo(RigaFattura r, const QString& tipo)
{
    r.TipoDocumento = tipo;
    return r;
}

// A file read back as text: each block "IdCodice/CodiceFiscale:" followed by its invoices
// "number date type xN" (N summary lines); blocks separated by " | ".
QString Struttura(const FileLetto& l)
{
    QStringList blocchi;
    for (const BloccoLetto& b : l.blocchi) {
        QString testo = b.idCodice + "/" + b.codiceFiscale + ":";
        for (const FatturaLetta& f : b.fatture)
            testo += QStringLiteral(" %1 %2 %3 x%4").arg(f.numero, f.data, f.tipo).arg(f.riepiloghi);
        blocchi << testo;
    }
    return blocchi.join(" | ");
}

// Writes the rows; their outcomes ("S" written, "R" refused) and the file's structure.
std::pair<QString, QString> Scrivi(const std::vector<RigaFattura>& righe, TipoComunicazione tipo = TipoComunicazione::DTE)
{
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    ScrittoreDatiFattura s(DichiaranteSocieta(), tipo, richieste);
    QString esiti;
    for (const RigaFattura& r : righe)
        esiti += s.Scrivi(r).esito == EsitoRiga::Scritta ? 'S' : 'R';
    s.Chiudi();
    if (s.FileScritti().size() != 1)
        return {esiti, "<nessun file>"};
    EXPECT_TRUE(ValidoPerSchema(s.FileScritti()[0].percorso));
    return {esiti, Struttura(LeggiDatiFattura(s.FileScritti()[0].percorso))};
}

const QString P1 = "11111111111", P2 = "22222222222";

} // namespace

TEST(Raggruppamento, BlocchiEFatture)
{
    const QDate d10(2018, 1, 10), f10(2018, 2, 10);
    struct Caso {
        const char* descrizione;
        std::vector<RigaFattura> righe;
        QString esiti, struttura;
    };
    const Caso casi[] = {
        {"the name repeated, then nothing: one invoice of three rows",
         {ConCodiceFiscale(Riga({}, "BETA", "1"), "BTEBTE80A01H501U"), Riga({}, "BETA", "1"), Continuazione("1")},
         "SSS", "/BTEBTE80A01H501U: 1 2018-01-10 TD01 x3"},
        {"name and tax code on every row: one block",
         {ConCodiceFiscale(Riga(P1, "BETA", "1"), P1), ConCodiceFiscale(Riga(P1, "BETA", "2"), P1)},
         "SS", P1 + "/" + P1 + ": 1 2018-01-10 TD01 x1 2 2018-01-10 TD01 x1"},
        {"namesakes with other VAT numbers never merge",
         {Riga(P1, "ROSSI SRL", "1"), Riga(P2, "ROSSI SRL", "1"), Continuazione("1")},
         "SSS", P1 + "/: 1 2018-01-10 TD01 x1 | " + P2 + "/: 1 2018-01-10 TD01 x2"},
        {"another tax code under the same name opens a block",
         {ConCodiceFiscale(Riga({}, "BIANCHI LUCA", "1"), "BNCLCU80A01H501X"),
          ConCodiceFiscale(Riga({}, "BIANCHI LUCA", "2"), "BNCLCU81A01H501Y")},
         "SS", "/BNCLCU80A01H501X: 1 2018-01-10 TD01 x1 | /BNCLCU81A01H501Y: 2 2018-01-10 TD01 x1"},
        {"the name only or the VAT number only continue the counterpart",
         {Riga(P1, "BETA", "1"), Riga({}, "BETA", "1"), Riga(P1, {}, "2"), Continuazione("3")},
         "SSSS", P1 + "/: 1 2018-01-10 TD01 x2 2 2018-01-10 TD01 x1 3 2018-01-10 TD01 x1"},
        {"an invoice and a credit note with one number, or another date, stay apart",
         {Riga(P1, "BETA", "7", d10), ConTipo(Continuazione("7", d10), "TD04"), Continuazione("7", f10)},
         "SSS", P1 + "/: 7 2018-01-10 TD01 x1 7 2018-01-10 TD04 x1 7 2018-02-10 TD01 x1"},
        {"rows of one invoice apart are refused; another counterpart may reuse the number",
         {Riga(P1, "BETA", "1"), Continuazione("2"), Continuazione("1"), Riga(P2, "GAMMA", "1"), Riga(P1, "BETA", "2")},
         "SSRSR", P1 + "/: 1 2018-01-10 TD01 x1 2 2018-01-10 TD01 x1 | " + P2 + "/: 1 2018-01-10 TD01 x1"},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.descrizione);
        const auto [esiti, struttura] = Scrivi(caso.righe);
        EXPECT_EQ(esiti, caso.esiti);
        EXPECT_EQ(struttura, caso.struttura);
    }
}

TEST(Raggruppamento, RifiutiConLaLoroEtichetta)
{
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    RigaFattura soloNome = Riga({}, "BETA", "1");
    soloNome.Sede.Nazione.clear();
    const std::pair<RigaFattura, ErroreRiga> casi[] = {
        {Riga(P1, {}, "1"), {"Denominazione/Nome Cognome", "* VUOTO *"}},
        {soloNome, {"Partita Iva / Codice Fiscale", "* VUOTO *"}},
        {Continuazione("1"), {"Partita Iva / Codice Fiscale", "* VUOTO *"}},
    };
    for (const auto& [riga, errore] : casi)
        EXPECT_EQ(s.Scrivi(riga).errore, errore);
    ScrittoreDatiFattura dtr(DichiaranteSocieta(), TipoComunicazione::DTR, richieste);
    EXPECT_EQ(dtr.Scrivi(ConCodiceFiscale(Riga({}, "BETA", "1"), "BTEBTE80A01H501U")).errore,
              (ErroreRiga{"Partita Iva", "* VUOTO *"}));
    // A repeated invoice's row: the number, said wrong.
    s.Scrivi(Riga(P1, "BETA", "1"));
    s.Scrivi(Continuazione("2"));
    const auto ripetuta = s.Scrivi(Continuazione("1")).errore;
    ASSERT_TRUE(ripetuta);
    EXPECT_EQ(ripetuta->etichetta, "NUMERO DOCUMENTO");
    EXPECT_TRUE(ripetuta->valore.contains("Valore non corretto (fattura già scritta"));
    // At most 1000 summary lines in an invoice.
    for (int i = 0; i < 999; ++i)
        ASSERT_EQ(s.Scrivi(Continuazione("2")).esito, EsitoRiga::Scritta);
    EXPECT_EQ(s.Scrivi(Continuazione("2")).esito, EsitoRiga::Rifiutata);
    s.Chiudi();
    ASSERT_EQ(s.FileScritti().size(), 1u);
    EXPECT_EQ(LeggiDatiFattura(s.FileScritti()[0].percorso).blocchi.at(0).fatture.at(1).riepiloghi, 1000);
}

// BETA's own row is refused (by the writer, then by the caller): the rows that continue it
// must not become invoices of ALFA; another counterpart stops the continuations, the same
// one does not.
TEST(Raggruppamento, LeContinuazioniDiUnSoggettoRifiutatoNonFinisconoSottoIlPrecedente)
{
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    RigaFattura beta = Riga(P2, "BETA", "5");
    beta.Natura = "N9";
    QString esiti;
    auto scrivi = [&](const RigaFattura& r) { esiti += s.Scrivi(r).esito == EsitoRiga::Scritta ? 'S' : 'R'; };
    scrivi(Riga(P1, "ALFA", "1"));
    scrivi(beta);
    scrivi(Continuazione("5"));
    scrivi(Continuazione("6"));
    scrivi(Riga("33333333333", "GAMMA", "8"));
    scrivi(Continuazione("8"));
    s.RigaScartata(Riga("44444444444", "DELTA", "2"));
    scrivi(Continuazione("2"));
    s.RigaScartata(Continuazione("3"));
    scrivi(Continuazione("2"));
    s.RigaScartata(Riga({}, "GAMMA", "9"));
    scrivi(Continuazione("9"));
    s.Chiudi();
    EXPECT_EQ(esiti, "SRRRSSRRS");
    ASSERT_EQ(s.FileScritti().size(), 1u);
    EXPECT_TRUE(ValidoPerSchema(s.FileScritti()[0].percorso));
    EXPECT_EQ(Struttura(LeggiDatiFattura(s.FileScritti()[0].percorso)),
              P1 + "/: 1 2018-01-10 TD01 x1 | 33333333333/: 8 2018-01-10 TD01 x2 9 2018-01-10 TD01 x1");
}

TEST(Raggruppamento, CasualeNessunaFatturaPersaDoppiaOFusa)
{
    // Random rows in any order: counterparts coming back, continuation rows, numbers reused
    // with other dates and types. Whatever is answered Scritta is in the files exactly once.
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    std::mt19937 caso(7);
    std::uniform_int_distribution<int> soggetto(1, 40), numero(1, 30), tipo(0, 2), forma(0, 9), giorno(1, 3);
    const QString tipi[] = {"TD01", "TD04", "TD05"};
    QHash<QString, int> righePerFattura;
    int scritte = 0;
    QString ultimoSoggetto;
    for (int i = 0; i < 20000; ++i) {
        const int c = soggetto(caso);
        RigaFattura r = Riga(QString::number(30000000000LL + c), QStringLiteral("SOGGETTO %1").arg(c),
                             QString::number(numero(caso)), QDate(2018, 1, giorno(caso)));
        r.TipoDocumento = tipi[tipo(caso)];
        const int f = forma(caso);
        if (f < 3)   // a continuation row of whatever counterpart is open
            r.Denominazione.clear();
        if (f < 5)   // or the name only
            r.PartitaIva.clear();
        const RisultatoRiga esito = s.Scrivi(r);
        ASSERT_NE(esito.esito, EsitoRiga::Annullata);
        if (esito.esito != EsitoRiga::Scritta)
            continue;
        ++scritte;
        if (!r.Denominazione.isEmpty())
            ultimoSoggetto = QString::number(30000000000LL + r.Denominazione.mid(9).toInt());
        ++righePerFattura[ultimoSoggetto + '|' + r.Numero + '|' + r.Data.toString(Qt::ISODate) + '|' + r.TipoDocumento];
    }
    s.Chiudi();
    QHash<QString, int> lette;
    int riepiloghi = 0;
    QStringList percorsi;
    for (const FileScritto& file : s.FileScritti()) {
        percorsi << file.percorso;
        const FileLetto l = LeggiDatiFattura(file.percorso);
        ASSERT_TRUE(l.benFormato);
        for (const BloccoLetto& b : l.blocchi) {
            for (const FatturaLetta& f : b.fatture) {
                const QString chiave = b.idCodice + '|' + f.numero + '|' + f.data + '|' + f.tipo;
                EXPECT_FALSE(lette.contains(chiave)) << "written twice: " << chiave.toStdString();
                lette[chiave] = f.riepiloghi;
                riepiloghi += f.riepiloghi;
            }
        }
    }
    EXPECT_GT(scritte, 5000);
    EXPECT_EQ(riepiloghi, scritte);
    EXPECT_EQ(lette, righePerFattura);
    EXPECT_TRUE(ValidoPerSchema(percorsi));
}
