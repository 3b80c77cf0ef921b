// The registry's procedures on the three database back-ends: the list and the row it
// keeps selected, a new record, saving (checks first, then the row), a changed code,
// deleting with its question, the current declarant, and the progressive.

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
        return db().scalar("SELECT OPROG FROM COPE WHERE OCOD = ?", {codice}, ColumnType::Text)
            ->toString();
    }

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

TEST_P(RegistroSoggettiTest, TabellaVuotaDaUnNuovoSoggetto)
{
    registro.Lista();
    EXPECT_TRUE(registro.Righe().empty());
    EXPECT_EQ(registro.campi.OCOD, "01");
    EXPECT_EQ(registro.campi.OSPAESE, "IT");
    EXPECT_EQ(registro.campi.OSPAESED, "ITALIA");
    EXPECT_EQ(registro.campi.OPROG, "00001");
    EXPECT_EQ(CodiceOperatore, "");  // nothing chosen until the record is saved
}

TEST_P(RegistroSoggettiTest, ListaCaricaLaRigaSelezionataOLaPrima)
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

    registro.RigaSel = 5;
    registro.Lista();
    EXPECT_EQ(registro.RigaSel, 1);
    EXPECT_EQ(registro.campi.OCOD, "02");
}

TEST_P(RegistroSoggettiTest, SelezioneCaricaDoppioClickSceglieSoltanto)
{
    Inserisci("01", "ALFA SRL");
    Inserisci("02", "BRAVO SRL");
    registro.Lista();
    registro.SelezioneCambiata(2);
    EXPECT_EQ(registro.RigaSel, 2);
    EXPECT_EQ(registro.campi.ORAG, "BRAVO SRL");

    registro.DoppioClick(1);
    EXPECT_EQ(CodiceOperatore, "01");
    EXPECT_EQ(registro.campi.ORAG, "BRAVO SRL");  // not reloaded
}

TEST_P(RegistroSoggettiTest, NuovoCodiceSegueIlPiuAltoNumerico)
{
    Inserisci("01", "ALFA SRL");
    Inserisci("07", "BRAVO SRL");
    Inserisci("ABC", "CHARLIE SRL");
    registro.Aggiungi();
    EXPECT_EQ(registro.campi.OCOD, "08");
    Inserisci("99", "DELTA SRL");
    registro.Aggiungi();
    EXPECT_EQ(registro.campi.OCOD, "100");
}

TEST_P(RegistroSoggettiTest, AggiungiNonToccaIlSoggettoCorrente)
{
    Inserisci("01", "ALFA SRL");
    registro.Lista();
    registro.Aggiungi();
    EXPECT_EQ(registro.campi.OCOD, "02");
    EXPECT_EQ(registro.campi.ORAG, "");
    EXPECT_EQ(CodiceOperatore, "01");
}

TEST_P(RegistroSoggettiTest, ControlloFallitoNonScriveELasciaICampi)
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
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM COPE", {}, ColumnType::Integer)->toInt(), 0);
}

TEST_P(RegistroSoggettiTest, ConfermaScriveEDiventaCorrente)
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
    EXPECT_TRUE(registro.DatiValidi);
    EXPECT_EQ(CodiceOperatore, "01");
    EXPECT_EQ(NomeOperatore, "ROSSI MARIO");
    const auto righe = db().select(schema::COPE(), " WHERE OCOD = ?", {"01"});
    ASSERT_EQ(righe.size(), 1u);
    EXPECT_EQ(righe[0].text(cope::ODES), "ROSSI MARIO");
    EXPECT_EQ(righe[0].text(cope::OSPAESE), "IT");
    EXPECT_EQ(righe[0].text(cope::OSPAESED), "ITALIA");
    EXPECT_EQ(righe[0].text(cope::OPROG), "00001");
    ASSERT_EQ(registro.Righe().size(), 1u);
    EXPECT_EQ(registro.Righe()[0].ODES, "ROSSI MARIO");
}

TEST_P(RegistroSoggettiTest, ProgressivoNonNumericoNonScrive)
{
    registro.Lista();
    Completa(registro.campi);
    for (const char* progressivo : {"", "AB", "-3", "1,5"}) {
        registro.campi.OPROG = progressivo;
        const auto errore = registro.Aggiorna();
        ASSERT_TRUE(errore.has_value()) << progressivo;
        EXPECT_EQ(errore->campo, "OPROG");
        EXPECT_FALSE(registro.DatiValidi);
    }
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM COPE", {}, ColumnType::Integer)->toInt(), 0);
    registro.campi.OPROG = "7";
    EXPECT_FALSE(registro.Aggiorna().has_value());
    EXPECT_EQ(ProgressivoNelDb("01"), "00007");
}

TEST_P(RegistroSoggettiTest, CodiceCambiatoLasciaLaVecchiaRiga)
{
    Inserisci("01", "ALFA SRL");
    registro.Lista();
    Completa(registro.campi);
    registro.campi.OCOD = "02";
    EXPECT_FALSE(registro.Conferma().has_value());
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM COPE", {}, ColumnType::Integer)->toInt(), 2);
    // The list keeps the row position, not the code: row 1 is ALFA SRL again.
    EXPECT_EQ(registro.RigaSel, 1);
    EXPECT_EQ(CodiceOperatore, "01");
    EXPECT_EQ(registro.campi.ORAG, "ALFA SRL");
}

TEST_P(RegistroSoggettiTest, EliminaChiedeConIlNomeEPoiCancella)
{
    Inserisci("01", "ALFA SRL");
    Inserisci("02", "BRAVO SRL");
    registro.Lista();

    messaggi.risposte = {RispostaNo};
    EXPECT_FALSE(registro.Elimina());
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Richiesta conferma");
    EXPECT_EQ(messaggi.mostrati[0].testo, "Confermi l'Eliminazione del soggetto: \r\nALFA SRL?");
    EXPECT_EQ(messaggi.mostrati[0].pulsanti, Pulsanti::SiNo);
    EXPECT_EQ(Risposta, "7");
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM COPE", {}, ColumnType::Integer)->toInt(), 2);

    messaggi.risposte = {RispostaSi};
    EXPECT_TRUE(registro.Elimina());
    EXPECT_EQ(Risposta, "6");
    EXPECT_FALSE(db().scalar("SELECT OCOD FROM COPE WHERE OCOD = ?", {"01"}, ColumnType::Text));
    EXPECT_EQ(CodiceOperatore, "02");  // the list chose the remaining row
    EXPECT_EQ(NomeOperatore, "BRAVO SRL");

    messaggi.risposte = {RispostaSi};
    EXPECT_TRUE(registro.Elimina());
    EXPECT_EQ(CodiceOperatore, "");  // empty table: a new record, nobody chosen
    EXPECT_EQ(registro.campi.OCOD, "01");
}

TEST_P(RegistroSoggettiTest, ApiceNelCodiceENelNome)
{
    registro.Lista();
    Completa(registro.campi);
    registro.campi.OCOD = "D'A";
    registro.campi.ORAG = "L'OLIO SRL";
    EXPECT_FALSE(registro.Conferma().has_value());
    EXPECT_EQ(CodiceOperatore, "D'A");
    EXPECT_EQ(NomeOperatore, "L'OLIO SRL");
    EXPECT_TRUE(registro.AggiornaProgressivo().isEmpty());
    EXPECT_EQ(ProgressivoNelDb("D'A"), "00002");
    messaggi.risposte = {RispostaSi};
    EXPECT_TRUE(registro.Elimina());
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM COPE", {}, ColumnType::Integer)->toInt(), 0);
}

TEST_P(RegistroSoggettiTest, ComuniIlleggibiliSegnalatiIlSoggettoDiventaCorrente)
{
    Inserisci("01", "ALFA SRL");
    db().exec("DROP TABLE T_COMUNI");
    ComuniAperto = false;
    registro.Lista();
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Application Error");
    EXPECT_TRUE(messaggi.mostrati[0].testo.contains("\r\nin Quercino.F1OP.ImpostaOperatore at line "));
    EXPECT_FALSE(ComuniAperto);
    EXPECT_EQ(registro.campi.OCOD, "01");
    EXPECT_EQ(CodiceOperatore, "01");
    EXPECT_EQ(NomeOperatore, "ALFA SRL");
}

TEST_P(RegistroSoggettiTest, ImpostaOperatoreDaNomeEPaese)
{
    registro.campi.OCOD = "05";
    registro.campi.ORAG = "  ALFA SRL ";
    registro.campi.OSPAESE = "  ";
    registro.ImpostaOperatore();
    EXPECT_EQ(CodiceOperatore, "05");
    EXPECT_EQ(NomeOperatore, "ALFA SRL");
    EXPECT_EQ(registro.campi.OSPAESE, "IT");
    EXPECT_EQ(registro.campi.OSPAESED, "ITALIA");
    EXPECT_TRUE(ComuniAperto);

    registro.campi.OPF = true;
    registro.campi.ORAG = "";
    registro.campi.OCOG = "VERDI";
    registro.campi.ONOME = "ANNA";
    registro.ImpostaOperatore();
    EXPECT_EQ(NomeOperatore, "VERDI ANNA");
}

TEST_P(RegistroSoggettiTest, ProgressivoSiAlzaNelDbENeiCampi)
{
    Inserisci("01", "ALFA SRL", "00041");
    registro.Lista();
    EXPECT_TRUE(registro.AggiornaProgressivo().isEmpty());
    EXPECT_EQ(registro.campi.OPROG, "00042");
    EXPECT_EQ(ProgressivoNelDb("01"), "00042");

    registro.campi.OPROG = "32767";
    EXPECT_TRUE(registro.AggiornaProgressivo().isEmpty());
    EXPECT_EQ(ProgressivoNelDb("01"), "32768");
    EXPECT_TRUE(registro.AggiornaProgressivo().isEmpty());
    EXPECT_EQ(registro.campi.OPROG, "32769");

    registro.campi.OPROG = "99999";
    EXPECT_TRUE(registro.AggiornaProgressivo().isEmpty());
    EXPECT_EQ(registro.campi.OPROG, "100000");
    EXPECT_EQ(ProgressivoNelDb("01"), "100000");

    // No file can carry 100000: nothing is raised any more.
    EXPECT_FALSE(registro.AggiornaProgressivo().isEmpty());
    EXPECT_EQ(registro.campi.OPROG, "100000");
    EXPECT_EQ(ProgressivoNelDb("01"), "100000");
}

TEST_P(RegistroSoggettiTest, DoppioClickSuProgressivoRegistra00002)
{
    Inserisci("01", "ALFA SRL", "00300");
    registro.Lista();
    EXPECT_TRUE(registro.RiavviaProgressivo().isEmpty());
    EXPECT_EQ(registro.campi.OPROG, "00002");
    EXPECT_EQ(ProgressivoNelDb("01"), "00002");
}

TEST_P(RegistroSoggettiTest, ProgressivoDiUnSoggettoNonRegistratoSoloNeiCampi)
{
    Inserisci("01", "ALFA SRL", "00005");
    registro.Lista();
    registro.Aggiungi();
    CodiceOperatore = registro.campi.OCOD;  // chosen but never saved
    EXPECT_TRUE(registro.AggiornaProgressivo().isEmpty());
    EXPECT_EQ(registro.campi.OPROG, "00002");
    EXPECT_EQ(ProgressivoNelDb("01"), "00005");
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM COPE", {}, ColumnType::Integer)->toInt(), 1);
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

    // Once the new record is saved its own row is raised.
    registro.campi.ORAG = "BETA SRL";
    registro.campi.OCF = "07912340564";
    registro.campi.OPIVA = "07912340564";
    registro.campi.OSINDI = "VIA PO";
    registro.campi.OSNUMC = "3";
    registro.campi.OSCOM = "TORINO";
    registro.campi.OSPRO = "TO";
    registro.campi.OSCAP = "10121";
    ASSERT_FALSE(registro.Aggiorna().has_value());
    EXPECT_TRUE(registro.AggiornaProgressivo().isEmpty());
    EXPECT_EQ(ProgressivoNelDb(registro.campi.OCOD), "00003");
    EXPECT_EQ(ProgressivoNelDb("01"), "00041");
}

QUERCINO_DB_BACKENDS(RegistroSoggettiTest);

} // namespace
} // namespace quercino
