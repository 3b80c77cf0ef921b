// Whole files compared byte for byte with files written by hand from the layout, and
// validated against the Agency's schema.

#include "supporto.h"

#include "declarants/datifattura/Annullamento.h"
#include "declarants/datifattura/ErroreDatiFattura.h"
#include "declarants/datifattura/ScrittoreDatiFattura.h"

#include <QLocale>
#include <QTemporaryDir>

#include <clocale>
#include <string>

using namespace quercino::datifattura;
using namespace quercino::datifattura::prova;

namespace {

std::vector<RigaFattura> RigheEmesse()
{
    std::vector<RigaFattura> righe;

    RigaFattura beta = Riga(QStringLiteral("11111111111"), QStringLiteral("BETA SPA"), QStringLiteral("1"),
                            QDate(2017, 12, 31));
    beta.Sede = {QStringLiteral("VIA MILANO"), QStringLiteral("5"), QStringLiteral("123"),
                 QStringLiteral("MILANO"), QStringLiteral("MI"), QStringLiteral("IT")};
    beta.Imponibile = 100000;
    beta.Imposta = 22000;
    righe.push_back(beta);

    RigaFattura secondaRiga = Continuazione(QStringLiteral("1"), QDate(2017, 12, 31));
    secondaRiga.Imponibile = 5000;
    secondaRiga.Imposta = 0;
    secondaRiga.Aliquota = 0;
    secondaRiga.Natura = QStringLiteral("N2");
    righe.push_back(secondaRiga);

    RigaFattura notaCredito = Continuazione(QStringLiteral("2"), QDate(2018, 1, 15));
    notaCredito.TipoDocumento = QStringLiteral("TD04");
    notaCredito.Imponibile = -20000;
    notaCredito.Imposta = -4400;
    notaCredito.EsigibilitaIVA = QStringLiteral("I");
    righe.push_back(notaCredito);

    RigaFattura persona = Riga(QString(), QString(), QStringLiteral("FT--2"), QDate(2018, 2, 1));
    persona.CodiceFiscale = QStringLiteral("VRDGPP70B02F205X");
    persona.Nome = QStringLiteral("GIUSEPPE");
    persona.Cognome = QStringLiteral("VERDI");
    persona.Imponibile = 1000;
    persona.Imposta = 220;
    righe.push_back(persona);

    RigaFattura estero = Riga(QStringLiteral("ATU12345678"), QStringLiteral("GAMMA GMBH"), QStringLiteral("3"),
                              QDate(2018, 3, 1));
    estero.Sede = {QStringLiteral("HAUPTSTRASSE"), QStringLiteral("1"), QStringLiteral("1010"),
                   QStringLiteral("WIEN"), QString(), QStringLiteral("AT")};
    estero.StabileOrganizzazione = {QStringLiteral("VIA VENETO"), QStringLiteral("3"), QStringLiteral("187"),
                                    QStringLiteral("ROMA"), QStringLiteral("RM"), QStringLiteral("IT")};
    estero.Rappresentante.PartitaIva = QStringLiteral("22222222222");
    estero.Rappresentante.Denominazione = QStringLiteral("DELTA SRL");
    estero.Imponibile = 50000;
    estero.Imposta = 0;
    estero.Aliquota = 0;
    estero.Natura = QStringLiteral("N3");
    righe.push_back(estero);
    return righe;
}

std::vector<RigaFattura> RigheRicevute()
{
    std::vector<RigaFattura> righe;
    const QString caffe = QStringLiteral("CAFF\u00c8 SRL");

    RigaFattura prima = Riga(QStringLiteral("44444444444"), caffe, QStringLiteral("10/A"), QDate(2018, 4, 10));
    prima.DataRegistrazione = QDate(2018, 4, 12);
    prima.Sede = {QStringLiteral("VIA PO"), QString(), QStringLiteral("10100"), QStringLiteral("TORINO"),
                  QStringLiteral("TO"), QStringLiteral("IT")};
    prima.Imponibile = 123456;
    prima.Imposta = 27160;
    prima.Detraibile = 10000;
    prima.Deducibile = true;
    prima.EsigibilitaIVA = QStringLiteral("D");
    righe.push_back(prima);

    // Same supplier (same VAT number and name), new number.
    RigaFattura seconda = Riga(QStringLiteral("44444444444"), caffe, QStringLiteral("11&B<2>"), QDate(2018, 5, 2));
    seconda.DataRegistrazione = QDate(2018, 5, 3);
    seconda.TipoDocumento = QStringLiteral("TD05");
    seconda.Imponibile = 0;
    seconda.Imposta = 0;
    seconda.Aliquota = 400;
    righe.push_back(seconda);

    // Same name, another VAT number: another supplier, never merged with the first.
    RigaFattura omonimo = Riga(QStringLiteral("55555555555"), caffe, QStringLiteral("10/A"), QDate(2018, 6, 1));
    omonimo.DataRegistrazione = QDate(2018, 6, 2);
    omonimo.Imponibile = 1;
    omonimo.Imposta = 0;
    omonimo.Aliquota = 1000;
    righe.push_back(omonimo);
    return righe;
}

QStringList Scrivi(const DatiDichiarante& d, TipoComunicazione tipo, const std::vector<RigaFattura>& righe,
                   RichiesteProva& richieste)
{
    ScrittoreDatiFattura scrittore(d, tipo, richieste);
    for (const RigaFattura& r : righe) {
        const RisultatoRiga esito = scrittore.Scrivi(r);
        EXPECT_EQ(esito.esito, EsitoRiga::Scritta) << (esito.errore ? esito.errore->etichetta.toStdString() : "");
    }
    scrittore.Chiudi();
    QStringList percorsi;
    for (const FileScritto& f : scrittore.FileScritti())
        percorsi << f.percorso;
    return percorsi;
}

TEST(FileCampione, FattureEmesseComeDaTracciato)
{
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    const QStringList percorsi = Scrivi(DichiaranteSocieta(), TipoComunicazione::DTE, RigheEmesse(), richieste);

    ASSERT_EQ(percorsi.size(), 1);
    EXPECT_EQ(QFileInfo(percorsi[0]).fileName(), QStringLiteral("IT01234567890_DF_00007.xml"));
    EXPECT_EQ(richieste.nomiProposti, QStringList{QStringLiteral("IT01234567890_DF_00007.xml")});
    EXPECT_EQ(richieste.aumenti, 1);
    EXPECT_GOLDEN(LeggiFile(percorsi[0]), "attesi/dte.xml");
    EXPECT_EQ(FileXml(cartella.path()), percorsi) << "no temporary file is left behind";
    EXPECT_TRUE(ValidoPerSchema(percorsi));
}

TEST(FileCampione, LaLinguaDellaMacchinaNonCambiaNulla)
{
    // Numbers and dates never go through the machine's locale.
    const QLocale prima;
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    const std::string cLocale = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "it_IT.UTF-8");
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    const QStringList percorsi = Scrivi(DichiaranteSocieta(), TipoComunicazione::DTE, RigheEmesse(), richieste);
    std::setlocale(LC_ALL, cLocale.c_str());
    QLocale::setDefault(prima);
    ASSERT_EQ(percorsi.size(), 1);
    EXPECT_GOLDEN(LeggiFile(percorsi[0]), "attesi/dte.xml");
}

TEST(FileCampione, FattureRicevuteInUtf8ConValoriProtetti)
{
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 41);
    const QStringList percorsi = Scrivi(DichiarantePersona(), TipoComunicazione::DTR, RigheRicevute(), richieste);

    ASSERT_EQ(percorsi.size(), 1);
    EXPECT_EQ(QFileInfo(percorsi[0]).fileName(), QStringLiteral("ITRSSMRA80A01H501U_DF_00041.xml"));
    EXPECT_GOLDEN(LeggiFile(percorsi[0]), "attesi/dtr.xml");
    EXPECT_TRUE(ValidoPerSchema(percorsi));
}

// The golden files pin an annulment as the layout gives it, with and without a signer
// (its role, and an identifier that must be escaped).
TEST(FileCampione, Annullamento)
{
    for (const bool dichiarante : {false, true}) {
        QTemporaryDir cartella;
        DatiDichiarante d = DichiarantePersona();
        d.OPROG = dichiarante ? 12 : 7;
        if (dichiarante) {
            d.ODICPIVA = QStringLiteral("RSSMRA80A01H501U");
            d.ODICCARICA = QStringLiteral("2");
        }
        RichiesteProva richieste(cartella.path(), d.OPROG);
        const QString percorso = CreaAnnullamento(d, dichiarante ? "A&B" : "123456", richieste);
        EXPECT_EQ(QFileInfo(percorso).fileName(), QStringLiteral("ITRSSMRA80A01H501U_DF_%1.xml").arg(d.OPROG, 5, 10, QChar('0')));
        EXPECT_EQ(richieste.aumenti, 1);
        EXPECT_EQ(richieste.progressivo, d.OPROG + 1);
        EXPECT_GOLDEN(LeggiFile(percorso), dichiarante ? "attesi/ann_dichiarante.xml" : "attesi/ann.xml");
        EXPECT_TRUE(ValidoPerSchema(percorso));
    }
}

TEST(FileCampione, AnnullamentoRinunciatoOppureNonValido)
{
    QTemporaryDir cartella;
    RichiesteProva richieste(cartella.path(), 7);
    richieste.percorsiDialogo = {QString()};
    EXPECT_TRUE(CreaAnnullamento(DichiarantePersona(), QStringLiteral("123456"), richieste).isEmpty());
    EXPECT_EQ(richieste.aumenti, 0);

    // An identifier the Agency never gives, and a signer without a role: refused before asking.
    EXPECT_THROW(CreaAnnullamento(DichiarantePersona(), QStringLiteral("1234567890123456789"), richieste),
                 ErroreDatiFattura);
    EXPECT_THROW(CreaAnnullamento(DichiarantePersona(), QString(), richieste), ErroreDatiFattura);
    DatiDichiarante senzaCarica = DichiarantePersona();
    senzaCarica.ODICPIVA = QStringLiteral("RSSMRA80A01H501U");
    EXPECT_THROW(CreaAnnullamento(senzaCarica, QStringLiteral("123456"), richieste), ErroreDatiFattura);

    EXPECT_EQ(richieste.nomiProposti.size(), 1);
    EXPECT_EQ(richieste.aumenti, 0);
    EXPECT_TRUE(FileXml(cartella.path()).isEmpty());
}

class ProgressivoNonAggiornato : public RichiesteProva {
public:
    using RichiesteProva::RichiesteProva;
    int AggiornaProgressivo() override { throw ErroreDatiFattura(QStringLiteral("database non raggiungibile")); }
};

TEST(FileCampione, AnnullamentoScrittoMaProgressivoNonAggiornato)
{
    QTemporaryDir cartella;
    DatiDichiarante d = DichiarantePersona();
    d.OPROG = 7;
    ProgressivoNonAggiornato richieste(cartella.path(), 7);
    const QString atteso = QDir(cartella.path()).filePath(QStringLiteral("ITRSSMRA80A01H501U_DF_00007.xml"));
    try {
        CreaAnnullamento(d, QStringLiteral("123456"), richieste);
        FAIL() << "expected an error";
    } catch (const ErroreDatiFattura& e) {
        // The user is told that the file exists, where, and why the number did not move.
        EXPECT_TRUE(e.Messaggio().contains(QDir::toNativeSeparators(atteso))) << e.what();
        EXPECT_TRUE(e.Messaggio().contains(QStringLiteral("database non raggiungibile"))) << e.what();
    }
    EXPECT_GOLDEN(LeggiFile(atteso), "attesi/ann.xml");
}

} // namespace
