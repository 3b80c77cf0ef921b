// How rows become counterpart blocks and invoices: the counterpart key (VAT number, tax
// code, name), continuation rows, the invoice key (number, date, document type), and the
// rows the writer refuses rather than write an invoice twice or outside a block.

#include "supporto.h"

#include "declarants/datifattura/ScrittoreDatiFattura.h"

#include <QTemporaryDir>

#include <random>

using namespace quercino::datifattura;
using namespace quercino::datifattura::prova;

namespace {

class Raggruppamento : public ::testing::Test {
protected:
    QTemporaryDir cartella;
    RichiesteProva richieste{cartella.path(), 7};
    std::vector<RisultatoRiga> esiti;

    FileLetto Scrivi(const std::vector<RigaFattura>& righe, TipoComunicazione tipo = TipoComunicazione::DTE)
    {
        ScrittoreDatiFattura s(DichiaranteSocieta(), tipo, richieste);
        for (const RigaFattura& r : righe)
            esiti.push_back(s.Scrivi(r));
        s.Chiudi();
        if (s.FileScritti().size() != 1)
            return {};
        percorso = s.FileScritti()[0].percorso;
        return LeggiDatiFattura(percorso);
    }

    QString percorso;
};

RigaFattura ConCodiceFiscale(RigaFattura r, const QString& cf)
{
    r.CodiceFiscale = cf;
    return r;
}

TEST_F(Raggruppamento, StessoSoggettoStessoNumeroUnaFatturaConPiuRiepiloghi)
{
    // The second row repeats the name only, the third nothing: one invoice of three rows.
    const FileLetto letto = Scrivi({ConCodiceFiscale(Riga(QString(), QStringLiteral("BETA"), QStringLiteral("1")),
                                                     QStringLiteral("BTEBTE80A01H501U")),
                                    Riga(QString(), QStringLiteral("BETA"), QStringLiteral("1")),
                                    Continuazione(QStringLiteral("1"))});
    ASSERT_EQ(letto.blocchi.size(), 1u);
    ASSERT_EQ(letto.blocchi[0].fatture.size(), 1u);
    EXPECT_EQ(letto.blocchi[0].fatture[0].riepiloghi, 3);
    EXPECT_TRUE(ValidoPerSchema(percorso));
}

TEST_F(Raggruppamento, NomeECodiceFiscaleInsiemeNonAlternanoIBlocchi)
{
    // Every row carries both the name and the tax code: one counterpart, one block.
    std::vector<RigaFattura> righe;
    for (int i = 1; i <= 4; ++i)
        righe.push_back(ConCodiceFiscale(Riga(QStringLiteral("11111111111"), QStringLiteral("BETA"), QString::number(i)),
                                         QStringLiteral("11111111111")));
    const FileLetto l = Scrivi(righe);
    ASSERT_EQ(l.blocchi.size(), 1u);
    EXPECT_EQ(l.blocchi[0].fatture.size(), 4u);
    EXPECT_EQ(l.blocchi[0].codiceFiscale, QStringLiteral("11111111111"));
    EXPECT_TRUE(ValidoPerSchema(percorso));
}

TEST_F(Raggruppamento, OmonimiConPartiteIvaDiverseNonSiFondono)
{
    const FileLetto l = Scrivi({Riga(QStringLiteral("11111111111"), QStringLiteral("ROSSI SRL"), QStringLiteral("1")),
                                Riga(QStringLiteral("22222222222"), QStringLiteral("ROSSI SRL"), QStringLiteral("1")),
                                Continuazione(QStringLiteral("1"))});
    ASSERT_EQ(l.blocchi.size(), 2u);
    EXPECT_EQ(l.blocchi[0].idCodice, QStringLiteral("11111111111"));
    EXPECT_EQ(l.blocchi[1].idCodice, QStringLiteral("22222222222"));
    ASSERT_EQ(l.blocchi[1].fatture.size(), 1u);
    EXPECT_EQ(l.blocchi[1].fatture[0].riepiloghi, 2);
    EXPECT_TRUE(ValidoPerSchema(percorso));
}

TEST_F(Raggruppamento, CambioDiCodiceFiscaleSottoLoStessoNomeApreUnBlocco)
{
    const FileLetto l = Scrivi({ConCodiceFiscale(Riga(QString(), QStringLiteral("BIANCHI LUCA"), QStringLiteral("1")),
                                                 QStringLiteral("BNCLCU80A01H501X")),
                                ConCodiceFiscale(Riga(QString(), QStringLiteral("BIANCHI LUCA"), QStringLiteral("2")),
                                                 QStringLiteral("BNCLCU81A01H501Y"))});
    ASSERT_EQ(l.blocchi.size(), 2u);
    EXPECT_EQ(l.blocchi[0].codiceFiscale, QStringLiteral("BNCLCU80A01H501X"));
    EXPECT_EQ(l.blocchi[1].codiceFiscale, QStringLiteral("BNCLCU81A01H501Y"));
    EXPECT_TRUE(ValidoPerSchema(percorso));
}

TEST_F(Raggruppamento, IdentificativiVuotiContinuanoIlSoggetto)
{
    // Only the name: same counterpart; only the VAT number: same counterpart.
    RigaFattura soloPiva = Riga(QStringLiteral("11111111111"), QString(), QStringLiteral("2"));
    const FileLetto l = Scrivi({Riga(QStringLiteral("11111111111"), QStringLiteral("BETA"), QStringLiteral("1")),
                                Riga(QString(), QStringLiteral("BETA"), QStringLiteral("1")), soloPiva,
                                Continuazione(QStringLiteral("3"))});
    ASSERT_EQ(l.blocchi.size(), 1u);
    ASSERT_EQ(l.blocchi[0].fatture.size(), 3u);
    EXPECT_EQ(l.blocchi[0].fatture[0].riepiloghi, 2);
    EXPECT_TRUE(ValidoPerSchema(percorso));
}

TEST_F(Raggruppamento, FatturaENotaDiCreditoConLoStessoNumeroRestanoDistinte)
{
    RigaFattura fattura = Riga(QStringLiteral("11111111111"), QStringLiteral("BETA"), QStringLiteral("7"), QDate(2018, 1, 10));
    RigaFattura nota = Continuazione(QStringLiteral("7"), QDate(2018, 1, 10));
    nota.TipoDocumento = QStringLiteral("TD04");
    RigaFattura altraData = Continuazione(QStringLiteral("7"), QDate(2018, 2, 10));
    const FileLetto l = Scrivi({fattura, nota, altraData});
    ASSERT_EQ(l.blocchi.size(), 1u);
    ASSERT_EQ(l.blocchi[0].fatture.size(), 3u);
    EXPECT_EQ(l.blocchi[0].fatture[0].tipo, QStringLiteral("TD01"));
    EXPECT_EQ(l.blocchi[0].fatture[1].tipo, QStringLiteral("TD04"));
    EXPECT_EQ(l.blocchi[0].fatture[2].data, QStringLiteral("2018-02-10"));
    EXPECT_TRUE(ValidoPerSchema(percorso));
}

TEST_F(Raggruppamento, RigheNonConsecutiveDellaStessaFatturaSonoRifiutate)
{
    const FileLetto l = Scrivi({Riga(QStringLiteral("11111111111"), QStringLiteral("BETA"), QStringLiteral("1")),
                                Continuazione(QStringLiteral("2")), Continuazione(QStringLiteral("1")),
                                Riga(QStringLiteral("22222222222"), QStringLiteral("GAMMA"), QStringLiteral("1")),
                                Riga(QStringLiteral("11111111111"), QStringLiteral("BETA"), QStringLiteral("2"))});
    ASSERT_EQ(esiti.size(), 5u);
    EXPECT_EQ(esiti[2].esito, EsitoRiga::Rifiutata);
    ASSERT_TRUE(esiti[2].errore);
    EXPECT_EQ(esiti[2].errore->etichetta, QStringLiteral("NUMERO DOCUMENTO"));
    EXPECT_TRUE(esiti[2].errore->valore.contains(QStringLiteral("Valore non corretto (fattura già scritta")));
    EXPECT_EQ(esiti[3].esito, EsitoRiga::Scritta) << "another counterpart may use the same number";
    EXPECT_EQ(esiti[4].esito, EsitoRiga::Rifiutata);
    ASSERT_EQ(l.blocchi.size(), 2u);
    EXPECT_EQ(l.blocchi[0].fatture.size(), 2u);
    EXPECT_TRUE(ValidoPerSchema(percorso));
}

TEST_F(Raggruppamento, LeContinuazioniDiUnSoggettoRifiutatoNonFinisconoSottoIlPrecedente)
{
    // BETA's own row is refused (by the writer, then by the caller): the rows that continue
    // it must not become invoices of ALFA.
    RigaFattura beta = Riga(QStringLiteral("22222222222"), QStringLiteral("BETA"), QStringLiteral("5"));
    beta.Natura = QStringLiteral("N9");
    const RigaFattura gamma = Riga(QStringLiteral("33333333333"), QStringLiteral("GAMMA"), QStringLiteral("8"));
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    const RisultatoRiga alfa = s.Scrivi(Riga(QStringLiteral("11111111111"), QStringLiteral("ALFA"), QStringLiteral("1")));
    EXPECT_EQ(alfa.esito, EsitoRiga::Scritta);
    EXPECT_EQ(s.Scrivi(beta).esito, EsitoRiga::Rifiutata);
    const RisultatoRiga orfana = s.Scrivi(Continuazione(QStringLiteral("5")));
    EXPECT_EQ(orfana.esito, EsitoRiga::Rifiutata);
    EXPECT_EQ(orfana.errore, (ErroreRiga{QStringLiteral("Partita Iva / Codice Fiscale"), QStringLiteral("* VUOTO *")}));
    EXPECT_EQ(s.Scrivi(Continuazione(QStringLiteral("6"))).esito, EsitoRiga::Rifiutata);
    EXPECT_EQ(s.Scrivi(gamma).esito, EsitoRiga::Scritta);
    EXPECT_EQ(s.Scrivi(Continuazione(QStringLiteral("8"))).esito, EsitoRiga::Scritta);

    // Refused by the caller: another counterpart stops the continuations, the same one does not.
    s.RigaScartata(Riga(QStringLiteral("44444444444"), QStringLiteral("DELTA"), QStringLiteral("2")));
    EXPECT_EQ(s.Scrivi(Continuazione(QStringLiteral("2"))).esito, EsitoRiga::Rifiutata);
    s.RigaScartata(Continuazione(QStringLiteral("3")));
    EXPECT_EQ(s.Scrivi(Continuazione(QStringLiteral("2"))).esito, EsitoRiga::Rifiutata);
    s.RigaScartata(Riga(QString(), QStringLiteral("GAMMA"), QStringLiteral("9")));
    EXPECT_EQ(s.Scrivi(Continuazione(QStringLiteral("9"))).esito, EsitoRiga::Scritta);
    s.Chiudi();

    ASSERT_EQ(s.FileScritti().size(), 1u);
    percorso = s.FileScritti()[0].percorso;
    const FileLetto l = LeggiDatiFattura(percorso);
    ASSERT_EQ(l.blocchi.size(), 2u);
    EXPECT_EQ(l.blocchi[0].idCodice, QStringLiteral("11111111111"));
    ASSERT_EQ(l.blocchi[0].fatture.size(), 1u);
    EXPECT_EQ(l.blocchi[0].fatture[0].riepiloghi, 1);
    EXPECT_EQ(l.blocchi[1].idCodice, QStringLiteral("33333333333"));
    ASSERT_EQ(l.blocchi[1].fatture.size(), 2u);
    EXPECT_EQ(l.blocchi[1].fatture[0].riepiloghi, 2);
    EXPECT_EQ(l.blocchi[1].fatture[1].numero, QStringLiteral("9"));
    EXPECT_TRUE(ValidoPerSchema(percorso));
}

TEST_F(Raggruppamento, UnaFatturaNonSuperaMilleRiepiloghi)
{
    std::vector<RigaFattura> righe{Riga(QStringLiteral("11111111111"), QStringLiteral("BETA"), QStringLiteral("1"))};
    for (int i = 0; i < 1000; ++i)
        righe.push_back(Continuazione(QStringLiteral("1")));
    const FileLetto l = Scrivi(righe);
    EXPECT_EQ(esiti[999].esito, EsitoRiga::Scritta);
    EXPECT_EQ(esiti[1000].esito, EsitoRiga::Rifiutata);
    ASSERT_EQ(l.blocchi.size(), 1u);
    EXPECT_EQ(l.blocchi[0].fatture[0].riepiloghi, 1000);
    EXPECT_TRUE(ValidoPerSchema(percorso));
}

TEST_F(Raggruppamento, UnNuovoSoggettoDeveEssereIdentificabile)
{
    RigaFattura senzaNome = Riga(QStringLiteral("11111111111"), QString(), QStringLiteral("1"));
    RigaFattura soloNome = Riga(QString(), QStringLiteral("BETA"), QStringLiteral("1"));
    soloNome.Sede.Nazione.clear();
    RigaFattura fornitoreSenzaPiva = ConCodiceFiscale(Riga(QString(), QStringLiteral("BETA"), QStringLiteral("1")),
                                                      QStringLiteral("BTEBTE80A01H501U"));
    Scrivi({senzaNome, soloNome});
    ASSERT_EQ(esiti.size(), 2u);
    EXPECT_EQ(esiti[0].errore, (ErroreRiga{QStringLiteral("Denominazione/Nome Cognome"), QStringLiteral("* VUOTO *")}));
    EXPECT_EQ(esiti[1].errore, (ErroreRiga{QStringLiteral("Partita Iva / Codice Fiscale"), QStringLiteral("* VUOTO *")}));
    esiti.clear();
    Scrivi({fornitoreSenzaPiva}, TipoComunicazione::DTR);
    EXPECT_EQ(esiti[0].errore, (ErroreRiga{QStringLiteral("Partita Iva"), QStringLiteral("* VUOTO *")}));
    EXPECT_EQ(richieste.aumenti, 0);
}

} // namespace

namespace {

TEST(RaggruppamentoCasuale, NessunaFatturaPersaDoppiaOFusa)
{
    // Random rows in any order: counterparts coming back, continuation rows, numbers reused
    // with other dates and types. Whatever is answered Scritta is in the files exactly once.
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    ScrittoreDatiFattura s(DichiaranteSocieta(), TipoComunicazione::DTE, richieste);
    std::mt19937 caso(7);
    std::uniform_int_distribution<int> soggetto(1, 40), numero(1, 30), tipo(0, 2), forma(0, 9), giorno(1, 3);
    const QString tipi[] = {QStringLiteral("TD01"), QStringLiteral("TD04"), QStringLiteral("TD05")};
    QHash<QString, int> righePerFattura;
    int scritte = 0;
    QString ultimoSoggetto;
    for (int i = 0; i < 20000; ++i) {
        const int c = soggetto(caso);
        RigaFattura r = Riga(QString::number(30000000000LL + c), QStringLiteral("SOGGETTO %1").arg(c),
                             QString::number(numero(caso)), QDate(2018, 1, giorno(caso)));
        r.TipoDocumento = tipi[tipo(caso)];
        const int f = forma(caso);
        if (f < 3) {  // a continuation row of whatever counterpart is open
            r.PartitaIva.clear();
            r.Denominazione.clear();
        } else if (f < 5) {  // the name only
            r.PartitaIva.clear();
        }
        const RisultatoRiga esito = s.Scrivi(r);
        ASSERT_NE(esito.esito, EsitoRiga::Annullata);
        if (esito.esito != EsitoRiga::Scritta)
            continue;
        ++scritte;
        if (!r.PartitaIva.isEmpty())
            ultimoSoggetto = r.PartitaIva;
        else if (!r.Denominazione.isEmpty())
            ultimoSoggetto = QString::number(30000000000LL + r.Denominazione.mid(9).toInt());
        ++righePerFattura[ultimoSoggetto + QLatin1Char('|') + r.Numero + QLatin1Char('|')
                          + r.Data.toString(Qt::ISODate) + QLatin1Char('|') + r.TipoDocumento];
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
                const QString chiave = b.idCodice + QLatin1Char('|') + f.numero + QLatin1Char('|') + f.data
                    + QLatin1Char('|') + f.tipo;
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

} // namespace
