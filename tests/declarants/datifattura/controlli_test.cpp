// The writer's own checks of rows and of the declarant, held against the Agency's schema:
// for each rule a value just inside is accepted and makes a valid file, and a value just
// outside is refused by the check and, written anyway, refused by xmllint too.

#include "supporto.h"

#include "declarants/datifattura/Blocchi.h"
#include "declarants/datifattura/ControlloDichiarante.h"
#include "declarants/datifattura/ControlloRiga.h"

#include <QTemporaryDir>

#include <functional>

using namespace quercino::datifattura;
using namespace quercino::datifattura::prova;

namespace {

// A one-row file written straight from the block writers, without any check.
QString FileSenzaControlli(const QTemporaryDir& cartella, const DatiDichiarante& d, const RigaFattura& r,
                           TipoComunicazione tipo, const QString& nome)
{
    std::string testo;
    ScriviIntestazione(testo, d, d.OPROG);
    ScriviBloccoDichiarante(testo, d, tipo);
    ScriviTestaBlocco(testo, r, tipo, 1, r.NomeSoggetto());
    ScriviTestaFattura(testo, r, tipo, r.NomeSoggetto(), r.NomeSoggetto());
    ScriviRiepilogo(testo, r);
    ScriviFineFattura(testo, tipo);
    ScriviFineBlocco(testo, tipo);
    ScriviChiusura(testo, tipo);
    const QString percorso = QDir(cartella.path()).filePath(nome);
    QFile f(percorso);
    f.open(QIODevice::WriteOnly);
    f.write(testo.data(), static_cast<qint64>(testo.size()));
    return percorso;
}

struct CasoRiga {
    const char* descrizione;
    std::function<void(RigaFattura&)> dentro;  // a value the schema takes
    std::function<void(RigaFattura&)> fuori;   // the nearest value it refuses
    const char* etichetta;
};

RigaFattura Base()
{
    RigaFattura r = Riga(QStringLiteral("11111111111"), QStringLiteral("BETA"), QStringLiteral("1"));
    r.Sede = {QStringLiteral("VIA PO"), QStringLiteral("1"), QStringLiteral("10100"), QStringLiteral("TORINO"),
              QStringLiteral("TO"), QStringLiteral("IT")};
    return r;
}

const QString Lettere60 = QString(60, QLatin1Char('A'));
const QString Lettere80 = QString(80, QLatin1Char('A'));

const std::vector<CasoRiga>& CasiRiga()
{
    static const std::vector<CasoRiga> casi = {
        {"partita iva di 28", [](RigaFattura& r) { r.PartitaIva = QString(28, QLatin1Char('1')); },
         [](RigaFattura& r) { r.PartitaIva = QString(29, QLatin1Char('1')); }, "Partita Iva"},
        {"codice fiscale", [](RigaFattura& r) { r.CodiceFiscale = QStringLiteral("RSSMRA80A01H501U"); },
         [](RigaFattura& r) { r.CodiceFiscale = QStringLiteral("RSSMRA80A01H501UX"); }, "Codice Fiscale"},
        {"codice fiscale minuscolo", [](RigaFattura& r) { r.CodiceFiscale = QStringLiteral("12345678901"); },
         [](RigaFattura& r) { r.CodiceFiscale = QStringLiteral("rssmra80a01h501u"); }, "Codice Fiscale"},
        {"denominazione latina", [](RigaFattura& r) { r.Denominazione = Lettere80.left(79) + QChar(0xFF); },
         [](RigaFattura& r) { r.Denominazione = QStringLiteral("\u20ac SRL"); }, "Denominazione"},
        {"denominazione di 80", [](RigaFattura& r) { r.Denominazione = Lettere80; },
         [](RigaFattura& r) { r.Denominazione = Lettere80 + QLatin1Char('A'); }, "Denominazione"},
        {"nome di 60", [](RigaFattura& r) { r.Nome = Lettere60; r.Cognome = QStringLiteral("X"); },
         [](RigaFattura& r) { r.Nome = Lettere60 + QLatin1Char('A'); r.Cognome = QStringLiteral("X"); }, "Nome "},
        {"indirizzo di 60", [](RigaFattura& r) { r.Sede.Via = Lettere60; },
         [](RigaFattura& r) { r.Sede.Via = Lettere60 + QLatin1Char('A'); }, "INDIRIZZO"},
        {"numero civico di 8", [](RigaFattura& r) { r.Sede.NumeroCivico = QStringLiteral("12345678"); },
         [](RigaFattura& r) { r.Sede.NumeroCivico = QStringLiteral("123456789"); }, "NUMERO CIVICO"},
        {"cap estero di 5", [](RigaFattura& r) { r.Sede.CAP = QStringLiteral("AB123"); r.Sede.Nazione = QStringLiteral("FR"); },
         [](RigaFattura& r) { r.Sede.CAP = QStringLiteral("AB1234"); r.Sede.Nazione = QStringLiteral("FR"); }, "CAP"},
        {"provincia", [](RigaFattura& r) { r.Sede.Provincia = QStringLiteral("MI"); },
         [](RigaFattura& r) { r.Sede.Provincia = QStringLiteral("MIL"); }, "PROVINCIA"},
        {"nazione", [](RigaFattura& r) { r.Sede.Nazione = QStringLiteral("FR"); },
         [](RigaFattura& r) { r.Sede.Nazione = QStringLiteral("I1"); }, "NAZIONE"},
        {"tipo documento", [](RigaFattura& r) { r.TipoDocumento = QStringLiteral("TD12"); },
         [](RigaFattura& r) { r.TipoDocumento = QStringLiteral("TD02"); }, "TIPO DOCUMENTO"},
        {"data dal 1970", [](RigaFattura& r) { r.Data = QDate(1970, 1, 1); },
         [](RigaFattura& r) { r.Data = QDate(1969, 12, 31); }, "DATA DOCUMENTO"},
        {"numero di 20", [](RigaFattura& r) { r.Numero = QString(20, QLatin1Char('9')); },
         [](RigaFattura& r) { r.Numero = QString(21, QLatin1Char('9')); }, "NUMERO DOCUMENTO"},
        {"numero senza accenti", [](RigaFattura& r) { r.Numero = QStringLiteral("N.1/A-B"); },
         [](RigaFattura& r) { r.Numero = QStringLiteral("N\u00b01"); }, "NUMERO DOCUMENTO"},
        {"imponibile di 11 cifre", [](RigaFattura& r) { r.Imponibile = -9'999'999'999'999; },
         [](RigaFattura& r) { r.Imponibile = -10'000'000'000'000; }, "IMPONIBILE"},
        {"imposta di 11 cifre", [](RigaFattura& r) { r.Imposta = 9'999'999'999'999; },
         [](RigaFattura& r) { r.Imposta = 10'000'000'000'000; }, "IMPOSTA"},
        {"aliquota fino a 100", [](RigaFattura& r) { r.Aliquota = 10000; },
         [](RigaFattura& r) { r.Aliquota = 10001; }, "ALIQUOTA"},
        {"aliquota non negativa", [](RigaFattura& r) { r.Aliquota = 0; },
         [](RigaFattura& r) { r.Aliquota = -1; }, "ALIQUOTA"},
        {"detraibile", [](RigaFattura& r) { r.Detraibile = 10000; },
         [](RigaFattura& r) { r.Detraibile = 10001; }, "DETRAIBILE"},
        {"natura", [](RigaFattura& r) { r.Natura = QStringLiteral("N7"); },
         [](RigaFattura& r) { r.Natura = QStringLiteral("N8"); }, "NATURA"},
        {"esigibilita", [](RigaFattura& r) { r.EsigibilitaIVA = QStringLiteral("S"); },
         [](RigaFattura& r) { r.EsigibilitaIVA = QStringLiteral("X"); }, "ESIGIBILITA IVA DOCUMENTO"},
        {"stabile organizzazione", [](RigaFattura& r) { r.StabileOrganizzazione = {QStringLiteral("VIA A"), QString(), QStringLiteral("1"), QStringLiteral("ROMA"), QString(), QStringLiteral("IT")}; },
         [](RigaFattura& r) { r.StabileOrganizzazione = {QStringLiteral("VIA A"), QString(), QStringLiteral("1"), QStringLiteral("ROMA"), QStringLiteral("R"), QStringLiteral("IT")}; },
         "Stabile Organizzione - PROVINCIA"},
        {"rappresentante", [](RigaFattura& r) { r.Rappresentante = {QString(28, QLatin1Char('1')), QStringLiteral("X"), QString(), QString()}; },
         [](RigaFattura& r) { r.Rappresentante = {QString(29, QLatin1Char('1')), QStringLiteral("X"), QString(), QString()}; },
         "Rappresentante Fiscale - PARTITA IVA"},
    };
    return casi;
}

TEST(ControlloRiga, OgniRegolaCoincideConLoSchema)
{
    QTemporaryDir cartella;
    int n = 0;
    for (const CasoRiga& caso : CasiRiga()) {
        SCOPED_TRACE(caso.descrizione);
        RigaFattura dentro = Base();
        caso.dentro(dentro);
        EXPECT_EQ(ControllaRiga(dentro, TipoComunicazione::DTE), std::nullopt);
        EXPECT_TRUE(ValidoPerSchema(FileSenzaControlli(cartella, DichiaranteSocieta(), dentro, TipoComunicazione::DTE,
                                                  QStringLiteral("dentro%1.xml").arg(++n))));

        RigaFattura fuori = Base();
        caso.fuori(fuori);
        const auto errore = ControllaRiga(fuori, TipoComunicazione::DTE);
        ASSERT_TRUE(errore);
        EXPECT_EQ(errore->etichetta, QLatin1String(caso.etichetta));
        EXPECT_FALSE(ValidoPerSchema(FileSenzaControlli(cartella, DichiaranteSocieta(), fuori, TipoComunicazione::DTE,
                                                  QStringLiteral("fuori%1.xml").arg(n))));
    }
}

TEST(ControlloRiga, UnNuovoSoggettoConPartitaIvaVuoleLaNazione)
{
    RigaFattura r = Base();
    r.Sede.Nazione.clear();
    EXPECT_EQ(ControllaRiga(r, TipoComunicazione::DTE), std::nullopt) << "a continuation of the block needs none";
    EXPECT_EQ(ControllaNuovoSoggetto(r, TipoComunicazione::DTE), (ErroreRiga{QStringLiteral("NAZIONE"), QStringLiteral("* VUOTO *")}));
    QTemporaryDir cartella;
    EXPECT_FALSE(ValidoPerSchema(FileSenzaControlli(cartella, DichiaranteSocieta(), r, TipoComunicazione::DTE,
                                                    QStringLiteral("senza_nazione.xml"))));
}

TEST(ControlloRiga, ValoriMancanti)
{
    RigaFattura r = Base();
    r.Numero.clear();
    EXPECT_EQ(ControllaRiga(r, TipoComunicazione::DTE), (ErroreRiga{QStringLiteral("NUMERO DOCUMENTO"), QStringLiteral("* VUOTO *")}));
    r = Base();
    r.Data = QDate();
    EXPECT_EQ(ControllaRiga(r, TipoComunicazione::DTE), (ErroreRiga{QStringLiteral("DATA DOCUMENTO"), QStringLiteral("* VUOTO *")}));
    r = Base();
    r.DataRegistrazione = QDate();
    EXPECT_EQ(ControllaRiga(r, TipoComunicazione::DTE), std::nullopt) << "issued invoices have no registration date";
    EXPECT_EQ(ControllaRiga(r, TipoComunicazione::DTR),
              (ErroreRiga{QStringLiteral("DATA REGISTRAZIONE DOCUMENTO"), QStringLiteral("* VUOTO *")}));
    r = Base();
    r.Nome = QStringLiteral("LUCA");
    EXPECT_EQ(ControllaRiga(r, TipoComunicazione::DTE), (ErroreRiga{QStringLiteral("Cognome "), QStringLiteral("* VUOTO *")}));
    r = Base();
    r.TipoDocumento = QStringLiteral("TD99");
    EXPECT_EQ(ControllaRiga(r, TipoComunicazione::DTE),
              (ErroreRiga{QStringLiteral("TIPO DOCUMENTO"), QStringLiteral("TD99 Valore non corretto (TD01, TD04, TD05, TD07, TD08, TD10, TD11, TD12)")}));
    r = Base();
    r.Imponibile = -10'000'000'000'000;
    EXPECT_EQ(ControllaRiga(r, TipoComunicazione::DTE),
              (ErroreRiga{QStringLiteral("IMPONIBILE"), QStringLiteral("-100000000000,00 Valore non corretto (massimo 11 cifre prima della virgola)")}));
}

TEST(ControlloDichiarante, DatiCheLoSchemaRifiuta)
{
    EXPECT_TRUE(ControllaDichiarante(DichiaranteSocieta()).isEmpty());
    EXPECT_TRUE(ControllaDichiarante(DichiarantePersona()).isEmpty());

    struct Caso {
        const char* descrizione;
        std::function<void(DatiDichiarante&)> cambia;
    };
    const Caso casi[] = {
        {"carica mancante", [](DatiDichiarante& d) { d.ODICCARICA.clear(); }},
        {"carica 16", [](DatiDichiarante& d) { d.ODICCARICA = QStringLiteral("16"); }},
        {"carica non numerica", [](DatiDichiarante& d) { d.ODICCARICA = QStringLiteral("A"); }},
        {"codice fiscale del dichiarante", [](DatiDichiarante& d) { d.ODICPIVA = QStringLiteral("123"); }},
        {"codice fiscale", [](DatiDichiarante& d) { d.OCF = QStringLiteral("RSS-MRA"); }},
        {"partita iva vuota", [](DatiDichiarante& d) { d.OPIVA.clear(); }},
        {"partita iva di 12", [](DatiDichiarante& d) { d.OPIVA = QStringLiteral("012345678901"); }},
        {"provincia", [](DatiDichiarante& d) { d.OSPRO = QStringLiteral("ROMA"); }},
        {"cap di 6", [](DatiDichiarante& d) { d.OSCAP = QStringLiteral("001000"); }},
        {"nazione", [](DatiDichiarante& d) { d.OSPAESE = QStringLiteral("ITA"); }},
        {"stabile organizzazione", [](DatiDichiarante& d) { d.OSOPAESE = QStringLiteral("I"); }},
        {"denominazione", [](DatiDichiarante& d) { d.ORAG = Lettere80 + QLatin1Char('A'); }},
        {"rappresentante", [](DatiDichiarante& d) { d.ORFPIVA = QStringLiteral("012345678901"); }},
    };
    QTemporaryDir cartella;
    int n = 0;
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.descrizione);
        DatiDichiarante d = DichiaranteSocieta();
        caso.cambia(d);
        EXPECT_EQ(ControllaDichiarante(d).size(), 1);
        if (d.OPROG > 0) {
            const QString percorso = FileSenzaControlli(cartella, d, Base(), TipoComunicazione::DTE,
                                                        QStringLiteral("d%1.xml").arg(++n));
            EXPECT_FALSE(ValidoPerSchema(percorso));
        }
    }
}

} // namespace
