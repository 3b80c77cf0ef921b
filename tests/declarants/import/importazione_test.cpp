// The import of whole input files, end to end: files written and checked by xmllint against
// the Agency's schema and XPath, the progressive, and everything the user is shown (message
// boxes, summaries, log) pinned in golden files under attesi/, one per case.

#include "import_fixture.h"

#include "app/core/Aperture.h"
#include "declarants/import/Importazione.h"
#include "declarants/import/SelezioneImportazione.h"

using namespace import_fixture;
using namespace quercino::importazione;

namespace {

const std::vector<std::string> Alfa(const std::string& numero, const std::string& tipo = "TD01")
{
    return Riga({{1, "12345678901"}, {3, "Alfa srl"}, {6, "Via Roma"}, {7, "1"}, {8, "100"}, {9, "Roma"}, {10, "RM"},
                 {11, "IT"}, {13, tipo}, {14, "15/01/2017"}, {15, numero}, {16, "1000"}, {17, "220"}, {18, "22"}});
}
const std::vector<std::string> AlfaSeguito(const std::string& numero)
{
    return Riga({{15, numero}, {16, "500"}, {17, "50"}, {18, "10"}});
}
const std::vector<std::string> Rossi()
{
    return Riga({{2, "RSSMRA80A01H501U"}, {4, "Mario"}, {5, "Rossi"}, {11, "IT"}, {13, "TD04"}, {14, "20/01/2017"},
                 {15, "7"}, {16, "100,5"}, {17, "22,11"}, {18, "22"}, {19, ""}, {22, "I"}});
}
const std::vector<std::string> Beta()
{
    return Riga({{1, "98765432109"}, {3, "Beta spa"}, {11, "IT"}, {13, "TD01"}, {14, "10/02/2017"}, {15, "F-9"},
                 {16, "200"}, {17, "44"}, {18, "22"}, {23, "12/02/2017"}});
}

// One issued row for each of 1000 counterparts: one more than a file may hold.
Righe MilleControparti()
{
    Righe righe;
    for (int i = 0; i < 1000; ++i) {
        std::vector<std::string> r = Alfa("N" + std::to_string(i));
        r[0] = std::to_string(10000000000LL + i);
        righe.push_back(std::move(r));
    }
    return righe;
}

// One import of `ingresso` in a fresh environment, the save dialogs answered with `uscite`
// (names in the test's folder), the message boxes with `risposte`.
struct Prova {
    explicit Prova(QStringList uscite = {}, std::deque<int> risposte = {})
    {
        for (const QString& u : uscite)
            a.dialoghi.salvataggi.push_back(u.isEmpty() ? u : a.File(u));
        a.messaggi.risposte = std::move(risposte);
    }
    EsitoImportazione Importa(const QString& ingresso, TipoFile tipo, const QString& separatore = ";")
    {
        return importazione.Importa(ingresso, tipo, separatore);
    }
    QString XPath(const QString& file, const QString& espressione) const { return import_fixture::XPath(a.File(file), espressione); }

    Ambiente a;
    LogImportazione log{a.dir.path()};
    Importazione importazione{a.dichiarante, log};
};

} // namespace

// The golden file pins the refusal of the row with type TD99 (message and log line), the
// summary with both sheets' rows and files, and the log around them.
TEST(Importazione, UnaCartellaDallInizioAllaFine)
{
    Prova p({"IT01234567890_DF_00001.xml", "IT01234567890_DF_00002.xml"});
    const QString cartella = p.a.File("fatture.xlsx");
    ScriviCartella(cartella, {Alfa("FT1"), AlfaSeguito("FT1"), Rossi(), Alfa("FT2", "TD99")}, {Beta()});
    quercino::UltimaCartella = p.a.dir.path();
    const EsitoImportazione esito = p.Importa(cartella, TipoFile::Excel);
    ASSERT_TRUE(esito.Riepilogo);
    EXPECT_TRUE(ValidoPerSchema(esito.FileScritti));
    EXPECT_FALSE(ValidoPerSchema(cartella));   // the oracle refuses what is not a DatiFattura file
    EXPECT_EQ(p.a.dichiarante.dati.OPROG, 3);
    EXPECT_EQ(p.a.dialoghi.richieste.at(1).nomeFile, "IT01234567890_DF_00002.xml");
    const QString dte = "IT01234567890_DF_00001.xml", dtr = "IT01234567890_DF_00002.xml";
    EXPECT_EQ(p.XPath(dte, "count(//CessionarioCommittenteDTE)"), "2");
    EXPECT_EQ(p.XPath(dte, "count(//DatiRiepilogo)"), "3");
    EXPECT_EQ(p.XPath(dte, "count(//DataRegistrazione)"), "0");
    EXPECT_EQ(p.XPath(dte, "string(//CessionarioCommittenteDTE[2]//Nome)"), "MARIO");
    EXPECT_EQ(p.XPath(dte, "string(//CessionarioCommittenteDTE[2]//ImponibileImporto)"), "100.50");
    EXPECT_EQ(p.XPath(dte, "string(//CessionarioCommittenteDTE[1]//CAP)"), "00100");
    EXPECT_EQ(p.XPath(dte, "count(//Numero[.='FT2'])"), "0");
    EXPECT_EQ(p.XPath(dtr, "string(//DataRegistrazione)"), "2017-02-12");
    EXPECT_EQ(quercino::TestoMessaggio, p.a.messaggi.task.at(0).testo);
    EXPECT_GOLDEN(p.a.Trascrizione(p.log.Percorso()), "attesi/cartella.txt");
}

TEST(Importazione, LeStesseRigheDaCartellaECsvDannoLoStessoFile)
{
    const Righe righe = {Alfa("FT1"), AlfaSeguito("FT1"), Alfa("FT2"), Rossi(),
                         Riga({{1, "01234567891"}, {3, "Gamma \"sas\"; di Bianchi"}, {11, "IT"}, {13, "TD01"}, {14, "20180105"},
                               {15, "Z/1"}, {16, "12.345,67"}, {17, "0"}, {18, "0"}, {19, "N2"}, {21, "SI"}, {20, "40"}})};
    QByteArray prodotti[3];
    for (int tipo = 0; tipo < 3; ++tipo) {
        SCOPED_TRACE(tipo);
        Prova p({"uscita.xml"});
        const QString ingresso = p.a.File(tipo == 0 ? "righe.xlsx" : "righe.csv");
        if (tipo == 0)
            ScriviCartella(ingresso, righe, {});
        else
            ScriviCsv(ingresso, "FATTURE EMESSE", righe, tipo == 1 ? ';' : ',', tipo == 1 ? "\r\n" : "\n");
        ASSERT_EQ(p.Importa(ingresso, tipo == 0 ? TipoFile::Excel : TipoFile::Csv, tipo == 2 ? "," : ";").FileScritti.size(), 1);
        EXPECT_TRUE(ValidoPerSchema(p.a.File("uscita.xml")));
        EXPECT_TRUE(p.a.messaggi.mostrati.empty());
        EXPECT_EQ(p.XPath("uscita.xml", "string(//CessionarioCommittenteDTE[3]//ImponibileImporto)"), "12345.67");
        EXPECT_EQ(p.XPath("uscita.xml", "string(//CessionarioCommittenteDTE[3]//Data)"), "2018-01-05");
        prodotti[tipo] = LeggiFile(p.a.File("uscita.xml"));
    }
    EXPECT_EQ(prodotti[0], prodotti[1]);
    EXPECT_EQ(prodotti[0], prodotti[2]);
}

// Refused before anything is asked or written: no "NOME" in D3, a kind in lower case, an
// .xls file, a missing file. The golden file pins the four messages.
TEST(Importazione, TracciatiSbagliatiNonScrivonoNulla)
{
    Prova p;
    ScriviCartella(p.a.File("senza_nome.xlsx"), {Alfa("FT1")}, {}, "NOMI");
    ScriviCsv(p.a.File("minuscolo.csv"), "Fatture Emesse", {Alfa("FT1")});
    ScriviFile(p.a.File("vecchio.xls"), QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(600, '\0'));
    EXPECT_FALSE(p.Importa(p.a.File("senza_nome.xlsx"), TipoFile::Excel).Riepilogo);
    EXPECT_FALSE(p.Importa(p.a.File("minuscolo.csv"), TipoFile::Csv).Riepilogo);
    EXPECT_FALSE(p.Importa(p.a.File("vecchio.xls"), TipoFile::Excel).Riepilogo);
    EXPECT_FALSE(p.Importa(p.a.File("manca.csv"), TipoFile::Csv).Riepilogo);
    EXPECT_EQ(p.a.messaggi.mostrati.at(0).icona, quercino::Icona::Critica);
    EXPECT_TRUE(p.a.dialoghi.richieste.empty());
    EXPECT_EQ(p.a.dichiarante.aumenti, 0);
    EXPECT_FALSE(QFile::exists(p.log.Percorso()));
    EXPECT_GOLDEN(p.a.Trascrizione(), "attesi/tracciati_sbagliati.txt");
}

// A first sheet without data writes only the received invoices; an empty N4 with O4 set is
// read and its date reported; a CSV whose line 4 has no number writes nothing. The golden
// file pins the report and the three summaries.
TEST(Importazione, FogliSenzaDatiEPrimeRigheVuote)
{
    Prova p({"r.xml", "e.xml"});
    ScriviCartella(p.a.File("solo_ricevute.xlsx"), {Riga({{1, "12345678901"}})}, {Beta()});
    auto primaSenzaData = Alfa("FT1");
    primaSenzaData[13].clear();
    ScriviCartella(p.a.File("senza_data.xlsx"), {primaSenzaData, Alfa("FT2")}, {});
    ScriviCsv(p.a.File("vuoto.csv"), "FATTURE RICEVUTE", {Riga({{1, "12345678901"}}), Beta()});
    EXPECT_EQ(p.Importa(p.a.File("solo_ricevute.xlsx"), TipoFile::Excel).FileScritti, QStringList{p.a.File("r.xml")});
    EXPECT_EQ(p.Importa(p.a.File("senza_data.xlsx"), TipoFile::Excel).FileScritti, QStringList{p.a.File("e.xml")});
    EXPECT_TRUE(ValidoPerSchema(QStringList{p.a.File("r.xml"), p.a.File("e.xml")}));
    const auto vuoto = p.Importa(p.a.File("vuoto.csv"), TipoFile::Csv);
    EXPECT_TRUE(vuoto.Riepilogo);
    EXPECT_TRUE(vuoto.FileScritti.isEmpty());
    EXPECT_EQ(p.a.dichiarante.aumenti, 2);
    EXPECT_GOLDEN(p.a.Trascrizione(), "attesi/fogli_senza_dati.txt");
}

TEST(Importazione, SalvataggioAnnullatoNienteRiepilogo)
{
    Prova p;
    ScriviCartella(p.a.File("annulla.xlsx"), {Alfa("FT1")}, {Beta()});
    const auto esito = p.Importa(p.a.File("annulla.xlsx"), TipoFile::Excel);
    EXPECT_FALSE(esito.Riepilogo);
    EXPECT_EQ(p.a.dialoghi.richieste.size(), 1u);      // the second sheet is not read
    EXPECT_EQ(p.a.dichiarante.aumenti, 0);
    EXPECT_TRUE(p.a.messaggi.task.empty());
    EXPECT_EQ(QDir(p.a.dir.path()).entryList(QDir::Files), QStringList{"annulla.xlsx"});
}

// A Cancel in the first sheet keeps the reports, names the partial file and opens the log;
// the second sheet is still read. The golden file pins the messages, the summary with the
// interrupted sheet and both logs.
TEST(Importazione, UnAnnullaTieneLeSegnalazioniENominaIlFileParziale)
{
    Prova p({"e.xml", "r.xml"}, {quercino::RispostaOk, quercino::RispostaAnnulla});
    ScriviCartella(p.a.File("stop.xlsx"), {Alfa("FT1"), Alfa("FT2", "TD99"), Alfa("FT3", "TD98"), Alfa("FT4")}, {Beta()});
    const auto esito = p.Importa(p.a.File("stop.xlsx"), TipoFile::Excel);
    ASSERT_EQ(esito.FileScritti, (QStringList{p.a.File("e.xml"), p.a.File("r.xml")}));
    EXPECT_TRUE(ValidoPerSchema(esito.FileScritti));
    EXPECT_EQ(p.XPath("e.xml", "count(//DatiFatturaBodyDTE)"), "1");
    EXPECT_EQ(esito.Dati.Emesse.InterrottaAllaRiga, 6);
    EXPECT_EQ(quercino::Risposta, "2");
    ASSERT_EQ(p.a.aperture.aperti.size(), 1);
    EXPECT_EQ(p.a.aperture.aperti[0].toLocalFile(), p.log.Percorso());
    EXPECT_GOLDEN(p.a.Trascrizione(p.log.Percorso()), "attesi/annulla.txt");
}

// Three CSV files chosen at once: one progressive each, one log for the selection (the old
// one replaced), one summary each. The golden file pins the log and the summaries.
TEST(Importazione, SceltaDiPiuFile)
{
    Prova p({"x1.xml", "x2.xml", "x3.xml"});
    const QStringList ingressi{p.a.File("uno.csv"), p.a.File("due.csv"), p.a.File("tre.csv")};
    ScriviCsv(ingressi[0], "FATTURE EMESSE", {Alfa("A1"), Alfa("A2", "XX")});
    ScriviCsv(ingressi[1], "\"FATTURE RICEVUTE\"", {Beta(), Beta()}, ';', "\n");
    ScriviCsv(ingressi[2], "FATTURE EMESSE", {Rossi(), Riga({{3, "senza codici"}, {15, ""}})}, ';', "\r");
    ScriviFile(p.a.File(NomeLog), "VECCHIO LOG\r\n");
    p.a.dialoghi.aperture = {ingressi};
    const auto esiti = SelIMPORTA(TipoFile::Csv, ";", p.a.dichiarante);
    ASSERT_EQ(esiti.size(), 3u);
    EXPECT_EQ(p.a.dichiarante.dati.OPROG, 4);
    EXPECT_EQ(p.a.dialoghi.richieste.at(0).titolo, "Indica l'archivio CSV da importare");
    EXPECT_EQ(p.a.dialoghi.richieste.at(3).nomeFile, "IT01234567890_DF_00003.xml");
    EXPECT_TRUE(ValidoPerSchema(QStringList{p.a.File("x1.xml"), p.a.File("x2.xml"), p.a.File("x3.xml")}));
    EXPECT_EQ(quercino::UltimaCartella, p.a.dir.path());
    EXPECT_GOLDEN(p.a.Trascrizione(p.a.File(NomeLog)), "attesi/piu_file.txt");

    // An empty separator is refused before the open dialog; a cancelled one imports nothing.
    Prova q;
    EXPECT_TRUE(SelIMPORTA(TipoFile::Csv, QString(), q.a.dichiarante).empty());
    EXPECT_TRUE(q.a.dialoghi.richieste.empty());
    EXPECT_EQ(q.a.messaggi.mostrati.size(), 1u);
    EXPECT_TRUE(SelIMPORTA(TipoFile::Excel, ";", q.a.dichiarante).empty());
    EXPECT_EQ(q.a.dialoghi.richieste.at(0).titolo, "Indica l'archivio XLS da importare");
}

// The log goes to the folder of the files written: what was reported before the first one was
// chosen moves there with it, and nothing is left beside the input.
TEST(Importazione, IlLogNellaCartellaDeiFileScritti)
{
    Prova p({"uscita/x.xml"});
    ASSERT_TRUE(QDir(p.a.dir.path()).mkpath("uscita") && QDir(p.a.dir.path()).mkpath("ingresso"));
    const QString ingresso = p.a.File("ingresso/uno.csv");
    ScriviCsv(ingresso, "FATTURE EMESSE", {Alfa("A1", "XX"), Alfa("A2")});
    p.a.dialoghi.aperture = {{ingresso}};
    ASSERT_EQ(SelIMPORTA(TipoFile::Csv, ";", p.a.dichiarante).size(), 1u);
    EXPECT_FALSE(QFile::exists(p.a.File("ingresso/" + NomeLog)));
    const QStringList righe = RigheLog(p.a.File("uscita/" + NomeLog));
    EXPECT_TRUE(righe.contains("Riga 4 Colonna: TIPO DOCUMENTO  Valore: XX Valore non corretto  - Riga NON ELABORATA"));
    EXPECT_TRUE(righe.contains("Foglio 1 FATTURE EMESSE     Righe= 000002 >> File: x.xml"));
}

TEST(Importazione, IlRiepilogoApreIlLogOIlPortale)
{
    Prova p({"x1.xml", "x2.xml"});
    ScriviCsv(p.a.File("uno.csv"), "FATTURE EMESSE", {Alfa("A1")});
    p.a.messaggi.risposteTask = {1002, 1003};
    p.Importa(p.a.File("uno.csv"), TipoFile::Csv);
    p.Importa(p.a.File("uno.csv"), TipoFile::Csv);
    ASSERT_EQ(p.a.aperture.aperti.size(), 2);
    EXPECT_EQ(p.a.aperture.aperti[0].toLocalFile(), p.log.Percorso());
    EXPECT_EQ(p.a.aperture.aperti[1].toString(), quercino::IndirizzoPortale);
}

// Rows past the last one read are reported when they hold a document number, not when
// the sheet simply ends; a log that cannot be written is told once and the import goes on.
TEST(Importazione, RigheOltreLUltimaELogNonScrivibile)
{
    Prova p({"l.xml", "c.xml"});
    ScriviCartella(p.a.File("lunga.xlsx"), {Alfa("FT1"), Alfa("FT2"), Alfa("FT3"), Alfa("FT4")}, {});
    ScriviCartella(p.a.File("corta.xlsx"), {Alfa("FT1"), Alfa("FT2"), Alfa("FT3"), Riga({{1, "1"}})}, {});
    p.importazione.ImpostaUltimaRiga(6);
    EXPECT_EQ(p.Importa(p.a.File("lunga.xlsx"), TipoFile::Excel).Dati.Emesse.Righe, 3);
    p.Importa(p.a.File("corta.xlsx"), TipoFile::Excel);
    EXPECT_EQ(p.XPath("l.xml", "count(//Numero[.='FT4'])"), "0");
    const QString avviso = "Riga 7: il foglio ha altri dati oltre la riga 6, che NON sono stati importati";
    ASSERT_EQ(p.a.messaggi.mostrati.size(), 1u);
    EXPECT_EQ(p.a.messaggi.mostrati[0].testo, avviso);
    EXPECT_TRUE(RigheLog(p.log.Percorso()).contains(avviso));

    Ambiente a;
    a.dialoghi.salvataggi = {a.File("x.xml")};
    ScriviCsv(a.File("errate.csv"), "FATTURE EMESSE", {Alfa("A1", "XX"), Alfa("A2", "YY"), Alfa("A3")});
    LogImportazione log(a.File("cartella/che/non/esiste"));
    Importazione importazione(a.dichiarante, log);
    EXPECT_EQ(importazione.Importa(a.File("errate.csv"), TipoFile::Csv, ";").FileScritti.size(), 1);
    ASSERT_EQ(a.messaggi.mostrati.size(), 3u);
    EXPECT_TRUE(a.messaggi.mostrati[0].testo.startsWith("Impossibile scrivere il file "));
    EXPECT_EQ(a.messaggi.mostrati[2].titolo, "Dati non validi");
}

// Continuation rows follow the counterpart of the row above, even when that row was
// refused. The golden file pins the four refusals.
TEST(Importazione, LeContinuazioniSeguonoLaControparteSopra)
{
    Prova p({"s.xml"});
    auto gamma = [](const std::string& numero, const std::string& tipo) {
        // "123" is padded to "00000000123" when read: the refused row must be compared padded too.
        return Riga({{1, "123"}, {3, "Gamma"}, {11, "IT"}, {13, tipo}, {14, "15/01/2017"}, {15, numero}, {16, "10"},
                     {17, "1"}, {18, "10"}});
    };
    ScriviCsv(p.a.File("seguiti.csv"), "FATTURE EMESSE",
              {gamma("G1", "TD01"),                 // row 4: opens Gamma
               gamma("G2", "TD99"),                 // row 5: refused, but Gamma's
               AlfaSeguito("G1"),                   // row 6: still Gamma's
               Riga({{1, "123"}, {11, "IT"}, {13, "TD01"}, {14, "15/01/2017"}, {15, "G3"}}),   // row 7: no name, Gamma's
               AlfaSeguito("G1"),                   // row 8: still Gamma's
               Riga({{1, "98765432109"}, {3, "Beta"}, {11, "IT"}, {13, "TD01"}, {15, "B1"}}),   // row 9: refused, no date
               AlfaSeguito("G1")});                 // row 10: Beta's, so refused with it
    ASSERT_EQ(p.Importa(p.a.File("seguiti.csv"), TipoFile::Csv).FileScritti.size(), 1);
    EXPECT_TRUE(ValidoPerSchema(p.a.File("s.xml")));
    EXPECT_EQ(p.XPath("s.xml", "count(//CessionarioCommittenteDTE)"), "1");
    EXPECT_EQ(p.XPath("s.xml", "count(//DatiFatturaBodyDTE)"), "1");
    EXPECT_EQ(p.XPath("s.xml", "count(//DatiRiepilogo)"), "3");
    EXPECT_GOLDEN(p.a.Trascrizione(p.log.Percorso()), "attesi/continuazioni.txt");
}

// 1000 counterparts: the 1000th opens a second file, whose name is taken already and kept;
// the save dialog is then cancelled. Or the progressive cannot be raised after the first
// file. Either way the first file is complete and valid, and the summary says where the
// sheet stopped (the golden files pin it).
TEST(Importazione, UnFileCheNonPuoEssereCompletatoFermaIlFoglio)
{
    const Righe righe = MilleControparti();
    {
        Prova p({"IT01234567890_DF_00001.xml", ""}, {quercino::RispostaNo});
        ScriviFile(p.a.File("IT01234567890_DF_00002.xml"), "gia qui");
        ScriviCsv(p.a.File("mille.csv"), "FATTURE EMESSE", righe);
        const auto esito = p.Importa(p.a.File("mille.csv"), TipoFile::Csv);
        ASSERT_EQ(esito.FileScritti.size(), 1);
        EXPECT_TRUE(ValidoPerSchema(esito.FileScritti));
        EXPECT_EQ(p.XPath("IT01234567890_DF_00001.xml", "count(//CessionarioCommittenteDTE)"), "999");
        EXPECT_EQ(LeggiFile(p.a.File("IT01234567890_DF_00002.xml")), QByteArray("gia qui"));
        EXPECT_EQ(p.a.dichiarante.aumenti, 1);
        EXPECT_GOLDEN(p.a.Trascrizione(p.log.Percorso()), "attesi/mille_annullato.txt");
    }
    Prova p({"IT01234567890_DF_00001.xml"});
    p.a.dichiarante.erroreProgressivo = "Database non disponibile";
    ScriviCartella(p.a.File("mille.xlsx"), righe, {Beta()});
    const auto esito = p.Importa(p.a.File("mille.xlsx"), TipoFile::Excel);
    ASSERT_EQ(esito.FileScritti.size(), 1);
    EXPECT_TRUE(ValidoPerSchema(esito.FileScritti));
    EXPECT_EQ(p.a.dialoghi.richieste.size(), 1u);   // the second sheet is not begun
    EXPECT_GOLDEN(p.a.Trascrizione(p.log.Percorso()), "attesi/mille_progressivo.txt");
}
