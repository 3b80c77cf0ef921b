// The registry's procedures, on the SQLite file (what they store runs on every back-end in
// archivio_soggetti_test): the list in name order and the row it keeps selected, a new
// record, saving (checks first, then the row), a changed code, deleting with its question,
// the current declarant, and the progressive.

#include "declarants/registry/RegistroSoggetti.h"

#include "app/core/Globals.h"
#include "support/db_backends.h"
#include "support/servizi_simulati.h"

#include <gtest/gtest.h>

namespace quercino {
namespace {

class RegistroSoggettiTest : public test::DbBackendTest {
protected:
    void SetUp() override
    {
        test::DbBackendTest::SetUp();
        CodiceOperatore.clear();
        NomeOperatore.clear();
    }

    void Inserisci(const QString& codice, const QString& ragione, const QString& progressivo = "00001")
    {
        QVariantList riga = test::rigaCope(codice, ragione);
        riga[cope::OCF] = "0123456789" + codice.right(1);
        riga[cope::OPROG] = progressivo;
        db().insert(schema::COPE(), riga);
    }

    QString ProgressivoNelDb(const QString& codice)
    {
        const auto valore = db().scalar("SELECT OPROG FROM COPE WHERE OCOD = ?", {codice}, ColumnType::Text);
        return valore ? valore->toString() : QStringLiteral("<manca>");
    }
    int Righe() { return db().scalar("SELECT COUNT(*) FROM COPE", {}, ColumnType::Integer)->toInt(); }

    static void Completa(DatiSoggetto& d)
    {
        d.OPIVA = "01234567890";
        d.OCF = "01234567890";
        d.ORAG = "GAMMA SNC";
        d.OSINDI = "VIA PO";
        d.OSNUMC = "1";
        d.OSCOM = "TORINO";
        d.OSPRO = "TO";
        d.OSCAP = "10121";
    }

    test::MessaggiSimulati messaggi;
    RegistroSoggetti registro;
};

TEST_P(RegistroSoggettiTest, ListaInOrdineDiNomeERigaSelezionata)
{
    Inserisci("01", "CHARLIE SRL");
    Inserisci("02", "ALFA SRL");
    Inserisci("03", "BRAVO SRL");
    registro.RigaSel = 2;
    registro.Lista();
    ASSERT_EQ(registro.Righe().size(), 3u);
    EXPECT_EQ(registro.campi.OCOD, "03");  // ALFA, BRAVO, CHARLIE
    EXPECT_EQ(CodiceOperatore, "03");
    EXPECT_EQ(NomeOperatore, "BRAVO SRL");
    registro.RigaSel = 5;   // past the end: the first
    registro.Lista();
    EXPECT_EQ(registro.RigaSel, 1);
    EXPECT_EQ(registro.campi.OCOD, "02");
}

TEST_P(RegistroSoggettiTest, ConfermaScriveEDiventaCorrenteCodiceCambiatoAggiunge)
{
    registro.Lista();
    Completa(registro.campi);
    registro.campi.OPF = true;
    registro.campi.ORAG = "";
    registro.campi.OCOG = "rossi";
    registro.campi.ONOME = "mario";
    registro.campi.OSPAESE = "";
    registro.campi.OPROG = "0";
    EXPECT_FALSE(registro.Conferma().has_value());
    EXPECT_EQ(CodiceOperatore, "01");
    EXPECT_EQ(NomeOperatore, "ROSSI MARIO");
    const auto righe = db().select(schema::COPE(), " WHERE OCOD = ?", {"01"});
    ASSERT_EQ(righe.size(), 1u);
    EXPECT_EQ(righe[0].text(cope::ODES), "ROSSI MARIO");
    EXPECT_EQ(righe[0].text(cope::OSPAESE), "IT");
    EXPECT_EQ(righe[0].text(cope::OSPAESED), "ITALIA");
    EXPECT_EQ(righe[0].text(cope::OPROG), "00001");

    // A changed code adds a row and leaves the old one; the list keeps the row position.
    registro.campi.OCOD = "02";
    registro.campi.OCOG = "VERDI";
    EXPECT_FALSE(registro.Conferma().has_value());
    EXPECT_EQ(Righe(), 2);
    EXPECT_EQ(registro.RigaSel, 1);
    EXPECT_EQ(CodiceOperatore, "01");
}

TEST_P(RegistroSoggettiTest, EliminaChiedeConIlNomeEPoiCancella)
{
    Inserisci("01", "ALFA SRL");
    Inserisci("D'A", "L'OLIO SRL");
    registro.Lista();
    messaggi.risposte = {RispostaNo};
    EXPECT_FALSE(registro.Elimina());
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Richiesta conferma");
    EXPECT_EQ(messaggi.mostrati[0].testo, "Confermi l'Eliminazione del soggetto: \r\nALFA SRL?");
    EXPECT_EQ(messaggi.mostrati[0].predefinito, RispostaNo) << "Enter must not delete";
    EXPECT_EQ(Risposta, "7");
    EXPECT_EQ(Righe(), 2);

    messaggi.risposte = {RispostaSi};
    EXPECT_TRUE(registro.Elimina());
    EXPECT_EQ(Risposta, "6");
    EXPECT_EQ(Righe(), 1);
    EXPECT_EQ(CodiceOperatore, "D'A");  // the list chose the remaining row, quote and all
    EXPECT_EQ(NomeOperatore, "L'OLIO SRL");
    EXPECT_TRUE(registro.AggiornaProgressivo().isEmpty());
    EXPECT_EQ(ProgressivoNelDb("D'A"), "00002");
    messaggi.risposte = {RispostaSi};
    EXPECT_TRUE(registro.Elimina());
    EXPECT_EQ(CodiceOperatore, "");  // empty table: a new record, nobody chosen
    EXPECT_EQ(registro.campi.OCOD, "01");
}

TEST_P(RegistroSoggettiTest, ProgressivoSiAlzaFinoA99999)
{
    Inserisci("01", "ALFA SRL", "00041");
    registro.Lista();
    const std::tuple<QString, bool, QString> passi[] = {
        {"00041", true, "00042"}, {"32767", true, "32768"}, {"99999", true, "100000"},
        // No file can carry 100000: nothing is raised any more.
        {"100000", false, "100000"}};
    for (const auto& [prima, alzato, dopo] : passi) {
        registro.campi.OPROG = prima;
        EXPECT_EQ(registro.AggiornaProgressivo().isEmpty(), alzato) << prima.toStdString();
        EXPECT_EQ(registro.campi.OPROG, dopo);
        EXPECT_EQ(ProgressivoNelDb("01"), dopo);
    }
    // A double click on "Progressivo:" starts again from 00002.
    EXPECT_TRUE(registro.RiavviaProgressivo().isEmpty());
    EXPECT_EQ(ProgressivoNelDb("01"), "00002");
}


TEST_P(RegistroSoggettiTest, NuovoSoggettoSenzaToccareIlCorrente)
{
    registro.Lista();
    EXPECT_EQ(QStringList({registro.campi.OCOD, registro.campi.OSPAESE, registro.campi.OSPAESED, registro.campi.OPROG}),
              (QStringList{"01", "IT", "ITALIA", "00001"}));
    EXPECT_EQ(CodiceOperatore, "");  // nothing chosen until the record is saved
    Inserisci("01", "ALFA SRL");
    Inserisci("07", "BRAVO SRL");
    Inserisci("ABC", "CHARLIE SRL");
    registro.Lista();
    registro.SelezioneCambiata(2);
    EXPECT_EQ(registro.campi.ORAG, "BRAVO SRL");
    registro.DoppioClick(1);
    EXPECT_EQ(CodiceOperatore, "01");
    EXPECT_EQ(registro.campi.ORAG, "BRAVO SRL");  // chosen, not reloaded
    registro.Aggiungi();
    EXPECT_EQ(registro.campi.OCOD, "08");
    EXPECT_EQ(registro.campi.ORAG, "");
    EXPECT_EQ(CodiceOperatore, "01");
}

TEST_P(RegistroSoggettiTest, ControlliFallitiNonScrivono)
{
    registro.Lista();
    Completa(registro.campi);
    registro.campi.ORAG = "gamma snc";
    registro.campi.OSCAP = "";
    const auto errore = registro.Conferma();
    ASSERT_TRUE(errore.has_value());
    EXPECT_EQ(errore->campo, "OSCAP");
    EXPECT_FALSE(registro.DatiValidi);
    EXPECT_EQ(registro.campi.ORAG, "GAMMA SNC");  // the user's text stays, upper case
    registro.campi.OSCAP = "10121";
    for (const char* progressivo : {"", "AB", "-3", "1,5"}) {
        registro.campi.OPROG = progressivo;
        const auto sbagliato = registro.Aggiorna();
        ASSERT_TRUE(sbagliato.has_value()) << progressivo;
        EXPECT_EQ(sbagliato->campo, "OPROG");
    }
    EXPECT_EQ(Righe(), 0);
    registro.campi.OPROG = "7";
    EXPECT_FALSE(registro.Aggiorna().has_value());
    EXPECT_EQ(ProgressivoNelDb("01"), "00007");
}

TEST_P(RegistroSoggettiTest, ComuniIlleggibiliSegnalatiENomeDelSoggetto)
{
    Inserisci("01", "ALFA SRL");
    db().exec("DROP TABLE T_COMUNI");
    ComuniAperto = false;
    registro.Lista();
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Application Error");
    EXPECT_TRUE(messaggi.mostrati[0].testo.contains("\r\nin Quercino.F1OP.ImpostaOperatore at line "));
    EXPECT_EQ(CodiceOperatore, "01");
    EXPECT_EQ(NomeOperatore, "ALFA SRL");
    // A natural person's name is surname and first name; a blank nation is Italy.
    registro.campi.OPF = true;
    registro.campi.ORAG = "";
    registro.campi.OCOG = "VERDI";
    registro.campi.ONOME = "ANNA";
    registro.campi.OSPAESE = "  ";
    registro.ImpostaOperatore();
    EXPECT_EQ(NomeOperatore, "VERDI ANNA");
    EXPECT_EQ(registro.campi.OSPAESED, "ITALIA");
}

// "Aggiungi" leaves the declarant shown before as the current one until the new record is
// saved: a file written meanwhile for the new record must not set that declarant's number.
TEST_P(RegistroSoggettiTest, ProgressivoDopoAggiungiNonToccaIlSoggettoCorrente)
{
    Inserisci("01", "ALFA SRL", "00041");
    registro.Lista();
    registro.Aggiungi();
    ASSERT_EQ(CodiceOperatore, "01");
    EXPECT_TRUE(registro.AggiornaProgressivo().isEmpty());
    EXPECT_EQ(registro.campi.OPROG, "00002");
    EXPECT_EQ(ProgressivoNelDb("01"), "00041");
    EXPECT_EQ(ProgressivoNelDb("02"), "<manca>");
    // Once the new record is saved its own row is raised.
    Completa(registro.campi);
    registro.campi.OCF = registro.campi.OPIVA = "07912340564";
    ASSERT_FALSE(registro.Aggiorna().has_value());
    EXPECT_TRUE(registro.AggiornaProgressivo().isEmpty());
    EXPECT_EQ(ProgressivoNelDb("02"), "00003");
    EXPECT_EQ(ProgressivoNelDb("01"), "00041");
}

QUERCINO_DB_SOLO_FILE(RegistroSoggettiTest);

} // namespace
} // namespace quercino
