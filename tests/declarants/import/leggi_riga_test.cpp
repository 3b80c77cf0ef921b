// The checks of one invoice row: which reports a row gives, in which order, and what a
// good row becomes. Expected values are written by hand from the rules of the layout.

#include "declarants/import/LeggiRiga.h"

#include "app/core/PulisciTesto.h"
#include "platform/text/ControlCharacters.h"
#include "platform/text/Trim.h"
#include "platform/text/UpperCase.h"

#include <gtest/gtest.h>

#include <deque>

using namespace quercino::importazione;
using quercino::datifattura::RigaFattura;
using quercino::datifattura::TipoComunicazione;

namespace {

struct Report {
    QString etichetta;
    QString valore;
    bool operator==(const Report&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Report& r)
{
    return os << r.etichetta.toStdString() << " | " << r.valore.toStdString();
}

class Registro final : public SegnalazioniRiga {
public:
    bool SegnalaErrore(const QString& etichetta, const QString& valore) override
    {
        reports.push_back({etichetta, valore});
        return Risposta();
    }
    bool RigaSenzaValori() override
    {
        reports.push_back({QStringLiteral("<senza valori>"), QString()});
        return Risposta();
    }
    bool Risposta()
    {
        if (risposte.empty())
            return true;
        const bool r = risposte.front();
        risposte.pop_front();
        return r;
    }
    std::vector<Report> reports;
    std::deque<bool> risposte;   // true OK, false Cancel
};

// A good issued-invoice row; tests change single columns.
std::vector<QString> RigaBuona()
{
    std::vector<QString> c(34);
    c[0] = QStringLiteral("01234567890");
    c[2] = QStringLiteral("Rossi SRL");
    c[5] = QStringLiteral("Via Roma");
    c[7] = QStringLiteral("123");
    c[10] = QStringLiteral("IT");
    c[12] = QStringLiteral("TD01");
    c[13] = QStringLiteral("31/12/2017");
    c[14] = QStringLiteral("FT/1");
    c[15] = QStringLiteral("1.234,56");
    c[16] = QStringLiteral("271,60");
    c[17] = QStringLiteral("22");
    return c;
}

struct Esito {
    EsitoLettura lettura;
    std::vector<Report> reports;
    RigaFattura riga;
    std::vector<QString> colonne;
};

Esito Leggi(std::vector<QString> c, TipoComunicazione tipo = TipoComunicazione::DTE, std::deque<bool> risposte = {},
            const RigaFattura* precedente = nullptr)
{
    Registro registro;
    registro.risposte = std::move(risposte);
    Esito e;
    e.lettura = LeggiRiga(c, tipo, registro, precedente, e.riga);
    e.reports = registro.reports;
    e.colonne = c;
    return e;
}

const QString Vuoto = QStringLiteral("* VUOTO *");

} // namespace

TEST(LeggiRiga, AGoodRowBecomesExactValues)
{
    const Esito e = Leggi(RigaBuona());
    EXPECT_TRUE(e.lettura.RigaValida);
    EXPECT_FALSE(e.lettura.Interrompi);
    EXPECT_TRUE(e.reports.empty());
    EXPECT_EQ(e.riga.PartitaIva, QStringLiteral("01234567890"));
    EXPECT_EQ(e.riga.Denominazione, QStringLiteral("ROSSI SRL"));
    EXPECT_EQ(e.riga.Sede.CAP, QStringLiteral("123"));     // the writer pads Italian postcodes
    EXPECT_EQ(e.riga.Data, QDate(2017, 12, 31));
    EXPECT_EQ(e.riga.Numero, QStringLiteral("FT/1"));
    EXPECT_EQ(e.riga.Imponibile, 123456);
    EXPECT_EQ(e.riga.Imposta, 27160);
    EXPECT_EQ(e.riga.Aliquota, 2200);
    EXPECT_FALSE(e.riga.Detraibile.has_value());
}

TEST(LeggiRiga, CleaningTouchesTheIdentityColumnsOnly)
{
    auto c = RigaBuona();
    c[2] = QStringLiteral("  Società & Figli <sas> ");
    c[14] = QStringLiteral("ft \"a\" & <b>");
    c[18] = QStringLiteral(" n2 ");
    const Esito e = Leggi(c);
    ASSERT_TRUE(e.lettura.RigaValida);
    EXPECT_EQ(e.riga.Denominazione, QStringLiteral("SOCIETA E FIGLI  SAS"));
    EXPECT_EQ(e.riga.Numero, QStringLiteral("FT \"A\" & <B>"));
    EXPECT_EQ(e.riga.Natura, QStringLiteral("N2"));
}

TEST(LeggiRiga, ItalianIdentifiersArePaddedOnlyWhenAllDigits)
{
    auto c = RigaBuona();
    c[0] = QStringLiteral("123");
    c[1] = QStringLiteral("4567");
    EXPECT_EQ(Leggi(c).riga.PartitaIva, QStringLiteral("00000000123"));
    EXPECT_EQ(Leggi(c).riga.CodiceFiscale, QStringLiteral("00000004567"));
    c[0] = QStringLiteral("ABC123");
    c[1] = QStringLiteral("RSSMRA80A01H501U");
    EXPECT_EQ(Leggi(c).riga.PartitaIva, QStringLiteral("ABC123"));
    EXPECT_EQ(Leggi(c).riga.CodiceFiscale, QStringLiteral("RSSMRA80A01H501U"));
    c[1] = QStringLiteral("01234567890");
    EXPECT_EQ(Leggi(c).riga.CodiceFiscale, QStringLiteral("01234567890"));
    // A foreign counterpart keeps its codes and its postcode as written.
    c = RigaBuona();
    c[0] = QStringLiteral("1010");
    c[7] = QStringLiteral("1010");
    c[10] = QStringLiteral("AT");
    const Esito estero = Leggi(c);
    EXPECT_EQ(estero.riga.PartitaIva, QStringLiteral("1010"));
    EXPECT_EQ(estero.riga.Sede.CAP, QStringLiteral("1010"));
}

TEST(LeggiRiga, ARowWithoutValuesAsksThenReports)
{
    std::vector<QString> c(34);
    c[2] = QStringLiteral("ROSSI");
    const Esito ok = Leggi(c);
    EXPECT_FALSE(ok.lettura.RigaValida);
    EXPECT_EQ(ok.reports, (std::vector<Report>{{QStringLiteral("<senza valori>"), {}},
                                                {QStringLiteral("Partita Iva / Codice Fiscale"), Vuoto}}));
    const Esito annulla = Leggi(c, TipoComunicazione::DTE, {false});
    EXPECT_TRUE(annulla.lettura.Interrompi);
    EXPECT_EQ(annulla.reports.size(), 1u);
}

TEST(LeggiRiga, MissingValuesEndTheChecksInOrder)
{
    struct Caso {
        std::vector<std::pair<int, const char*>> modifiche;   // column (from 1), value
        TipoComunicazione tipo;
        Report atteso;
    };
    const std::vector<Caso> casi = {
        {{{3, ""}}, TipoComunicazione::DTE, {QStringLiteral("Denominazione/Nome Cognome"), Vuoto}},
        {{{4, "MARIO"}}, TipoComunicazione::DTE, {QStringLiteral("Cognome "), Vuoto}},
        {{{5, "ROSSI"}}, TipoComunicazione::DTE, {QStringLiteral("Nome "), Vuoto}},
        {{{24, "VIA MILANO"}}, TipoComunicazione::DTE, {QStringLiteral("Stabile Organizzione - CAP"), Vuoto}},
        {{{24, "VIA MILANO"}, {26, "20100"}}, TipoComunicazione::DTE, {QStringLiteral("Stabile Organizzione - COMUNE"), Vuoto}},
        {{{24, "VIA MILANO"}, {26, "20100"}, {27, "MILANO"}}, TipoComunicazione::DTE,
         {QStringLiteral("Stabile Organizzione - NAZIONE"), Vuoto}},
        {{{13, ""}}, TipoComunicazione::DTE, {QStringLiteral("TIPO DOCUMENTO"), Vuoto}},
        {{{14, ""}}, TipoComunicazione::DTE, {QStringLiteral("DATA DOCUMENTO"), Vuoto}},
        {{{1, ""}, {2, "RSSMRA80A01H501U"}, {15, ""}}, TipoComunicazione::DTE, {QStringLiteral("NUMERO DOCUMENTO"), Vuoto}},
        {{}, TipoComunicazione::DTR, {QStringLiteral("DATA REGISTRAZIONE DOCUMENTO"), Vuoto}},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.atteso.etichetta.toStdString());
        auto c = RigaBuona();
        for (const auto& [colonna, valore] : caso.modifiche)
            c[static_cast<std::size_t>(colonna) - 1] = QString::fromLatin1(valore);
        const Esito e = Leggi(c, caso.tipo);
        EXPECT_FALSE(e.lettura.RigaValida);
        EXPECT_EQ(e.reports, std::vector<Report>{caso.atteso});
    }
}

TEST(LeggiRiga, WrongValuesAreAllReported)
{
    auto c = RigaBuona();
    c[12] = QStringLiteral("TD99");
    c[13] = QStringLiteral("31/02/2017");
    c[15] = QStringLiteral("12,3A");
    c[19] = QStringLiteral("abc");
    c[20] = QStringLiteral("NO");
    c[21] = QStringLiteral("X");
    const Esito e = Leggi(c);
    EXPECT_FALSE(e.lettura.RigaValida);
    EXPECT_EQ(e.reports, (std::vector<Report>{
                             {QStringLiteral("TIPO DOCUMENTO"), QStringLiteral("TD99 Valore non corretto")},
                             {QStringLiteral("DATA DOCUMENTO"), QStringLiteral("31/02/2017 Valore non corretto (data valida dal 01/01/1970)")},
                             {QStringLiteral("IMPONIBILE"), QStringLiteral("12,3A Valore non corretto")},
                             {QStringLiteral("DETRAIBILE"), QStringLiteral("ABC Valore non corretto")},
                             {QStringLiteral("DEDUCIBILE "), QStringLiteral("NO Valore non corretto")},
                             {QStringLiteral("ESIGIBILITA IVA DOCUMENTO"), QStringLiteral("X Valore non corretto")},
                         }));
    // A wrong type and then a missing date: two reports, also after a Cancel at the first.
    c = RigaBuona();
    c[12] = QStringLiteral("TD99");
    c[13] = QString();
    EXPECT_EQ(Leggi(c).reports.size(), 2u);
    const Esito annulla = Leggi(c, TipoComunicazione::DTE, {false});
    EXPECT_TRUE(annulla.lettura.Interrompi);
    EXPECT_EQ(annulla.reports.size(), 2u);
}

TEST(LeggiRiga, EmptyAmountsAndRatesAreZero)
{
    auto c = RigaBuona();
    c[15] = QString();
    c[16] = QString();
    c[17] = QString();
    const Esito e = Leggi(c);
    ASSERT_TRUE(e.lettura.RigaValida);
    EXPECT_EQ(e.riga.Imponibile, 0);
    EXPECT_EQ(e.riga.Imposta, 0);
    EXPECT_EQ(e.riga.Aliquota, 0);
    EXPECT_EQ(e.colonne[15], QStringLiteral("0,00"));
}

TEST(LeggiRiga, ContinuationRowsSkipTheIdentityChecks)
{
    auto riga1 = RigaBuona();
    riga1[22] = QStringLiteral("15/01/2018");
    const Esito base = Leggi(riga1, TipoComunicazione::DTR);
    ASSERT_TRUE(base.lettura.RigaValida);
    EXPECT_EQ(base.riga.DataRegistrazione, QDate(2018, 1, 15));

    std::vector<QString> c(34);
    c[14] = QStringLiteral("FT/1");
    c[15] = QStringLiteral("100");
    c[17] = QStringLiteral("10");
    const Esito e = Leggi(c, TipoComunicazione::DTR, {}, &base.riga);
    ASSERT_TRUE(e.lettura.RigaValida);
    EXPECT_TRUE(e.reports.empty());
    EXPECT_TRUE(e.riga.PartitaIva.isEmpty());
    EXPECT_EQ(e.riga.TipoDocumento, QStringLiteral("TD01"));
    EXPECT_EQ(e.riga.Data, QDate(2017, 12, 31));
    EXPECT_EQ(e.riga.DataRegistrazione, QDate(2018, 1, 15));
    EXPECT_EQ(e.riga.Imponibile, 10000);
    EXPECT_EQ(e.riga.Aliquota, 1000);
    // Another invoice number: nothing is inherited.
    c[14] = QStringLiteral("FT/2");
    const Esito altra = Leggi(c, TipoComunicazione::DTR, {}, &base.riga);
    EXPECT_TRUE(altra.riga.TipoDocumento.isEmpty());
    EXPECT_TRUE(altra.riga.Data.isNull());
}

TEST(LeggiRiga, TextsLeftAsTheyAreAreThoseTheFullCleaningKeeps)
{
    // The shortcut for texts already clean must agree with upper-casing, trimming and the
    // shared text cleaner on every character of the code page and on typical cells.
    std::vector<QString> campioni = {QStringLiteral("ROSSI SRL"), QStringLiteral("VIA ROMA, 10"), QStringLiteral("A.B_C^D\\E"),
                                     QStringLiteral("FT/2017-01"), QStringLiteral("1.234,56"), QStringLiteral("N2")};
    for (int c = 0; c < 256; ++c)
        campioni.push_back(QStringLiteral("A") + QChar(c) + QStringLiteral("B"));
    for (const QString& campione : campioni) {
        for (int colonna = 0; colonna < 34; ++colonna) {
            std::vector<QString> riga(34);
            riga[static_cast<std::size_t>(colonna)] = campione;
            PulisciColonne(riga);
            QString atteso = quercino::trimBlanks(quercino::upperOneToOne(quercino::withoutControlCharacters(campione)));
            if (colonna < 11)
                atteso = quercino::trimBlanks(quercino::PulisciTesto(std::as_const(atteso)));
            EXPECT_EQ(riga[static_cast<std::size_t>(colonna)], atteso) << campione.toStdString() << " colonna " << colonna + 1;
        }
    }
}
