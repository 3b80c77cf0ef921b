// The import of whole input files, end to end: files written and checked by xmllint against
// the Agency's schema and read back by Qt's XML reader, the log, the progressive, the
// messages and the summary.

#include "import_fixture.h"

#include "app/core/Aperture.h"
#include "declarants/import/Importazione.h"
#include "declarants/import/SelezioneImportazione.h"

#include <QXmlStreamReader>

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

// Elements counted in a file, by an XML reader that knows nothing of the writer.
std::map<QString, int> Elementi(const QString& file)
{
    std::map<QString, int> conta;
    QXmlStreamReader xml(LeggiFile(file));
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement)
            ++conta[xml.name().toString()];
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return conta;
}

QString Trattini() { return QString(100, QLatin1Char('-')); }

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

} // namespace

TEST(Importazione, AWorkbookEndToEnd)
{
    Ambiente a;
    const QString cartella = a.File(QStringLiteral("fatture.xlsx"));
    ScriviCartella(cartella, {Alfa("FT1"), AlfaSeguito("FT1"), Rossi(), Alfa("FT2", "TD99")}, {Beta()});
    a.dialoghi.salvataggi = {a.File(QStringLiteral("IT01234567890_DF_00001.xml")), a.File(QStringLiteral("IT01234567890_DF_00002.xml"))};
    quercino::UltimaCartella = a.dir.path();
    LogImportazione log(a.dir.path());
    Importazione importazione(a.dichiarante, log);
    const EsitoImportazione esito = importazione.Importa(cartella, TipoFile::Excel, QStringLiteral(";"));

    ASSERT_TRUE(esito.Riepilogo);
    ASSERT_EQ(esito.FileScritti.size(), 2);
    EXPECT_EQ(a.dichiarante.aumenti, 2);
    EXPECT_EQ(a.dichiarante.dati.OPROG, 3);
    for (const QString& f : esito.FileScritti)
        EXPECT_TRUE(ValidoPerSchema(f)) << f.toStdString();
    // The oracle itself refuses what is not a DatiFattura file.
    EXPECT_FALSE(ValidoPerSchema(cartella));
    // The proposed names carry the progressive of each file.
    ASSERT_EQ(a.dialoghi.richieste.size(), 2u);
    EXPECT_EQ(a.dialoghi.richieste[0].nomeFile, QStringLiteral("IT01234567890_DF_00001.xml"));
    EXPECT_EQ(a.dialoghi.richieste[1].nomeFile, QStringLiteral("IT01234567890_DF_00002.xml"));

    auto dte = Elementi(esito.FileScritti[0]);
    EXPECT_EQ(dte[QStringLiteral("CessionarioCommittenteDTE")], 2);
    EXPECT_EQ(dte[QStringLiteral("DatiFatturaBodyDTE")], 2);
    EXPECT_EQ(dte[QStringLiteral("DatiRiepilogo")], 3);
    EXPECT_EQ(dte[QStringLiteral("DataRegistrazione")], 0);
    const QByteArray testoDte = LeggiFile(esito.FileScritti[0]);
    EXPECT_TRUE(testoDte.contains("<CAP>00100</CAP>"));
    EXPECT_TRUE(testoDte.contains("<Data>2017-01-15</Data>"));
    EXPECT_TRUE(testoDte.contains("<ImponibileImporto>100.50</ImponibileImporto>"));
    EXPECT_TRUE(testoDte.contains("<Imposta>22.11</Imposta>"));
    EXPECT_TRUE(testoDte.contains("<Nome>MARIO</Nome>"));
    EXPECT_FALSE(testoDte.contains("FT2"));
    auto dtr = Elementi(esito.FileScritti[1]);
    EXPECT_EQ(dtr[QStringLiteral("CedentePrestatoreDTR")], 1);
    EXPECT_TRUE(LeggiFile(esito.FileScritti[1]).contains("<DataRegistrazione>2017-02-12</DataRegistrazione>"));

    ASSERT_EQ(a.messaggi.mostrati.size(), 1u);
    EXPECT_EQ(a.messaggi.mostrati[0].titolo, QStringLiteral("Dati non validi"));
    EXPECT_EQ(a.messaggi.mostrati[0].testo,
              QStringLiteral("Riga 7 Colonna: TIPO DOCUMENTO\r\n \r\n  Valore: TD99 Valore non corretto\r\n \r\nRiga NON elaborata \r\n"
                             " \r\nPremere OK per Proseguire oppure \r\nANNULLA (Cancel) per terminare l'importazione"));

    const QStringList attese = {
        Trattini(), QStringLiteral(" LOG ERRORI IMPORTAZIONE FILE ") + cartella, Trattini(), QStringLiteral(" "),
        QStringLiteral("Riga 7 Colonna: TIPO DOCUMENTO  Valore: TD99 Valore non corretto  - Riga NON ELABORATA"),
        QStringLiteral(" "), QStringLiteral("<<<>>>"), QStringLiteral("RIEPILOGO CREAZIONE FILE XML DATI FATTURE: "),
        QStringLiteral("Soggetto: 01234567890 ROSSI SPA"), QStringLiteral(" "), QStringLiteral("Totale Clienti: 2"),
        QStringLiteral("Totale Fornitori: 1"),
        QStringLiteral("Foglio 1 FATTURE EMESSE     Righe= 000004 >> File: IT01234567890_DF_00001.xml"),
        QStringLiteral("Foglio 1 FATTURE RICEVUTE  Righe= 000001 >> File: IT01234567890_DF_00002.xml"),
        QStringLiteral("Totale file XML generati (max 1.000 clienti/fornitori ognuno, Max 5 MB di dimensione) : 2"),
        Trattini(), QStringLiteral(" << FINE LOG IMPORTAZIONE >>"), Trattini(),
    };
    EXPECT_EQ(RigheLog(log.Percorso()), attese);

    ASSERT_EQ(a.messaggi.task.size(), 1u);
    EXPECT_EQ(a.messaggi.task[0].titolo, QStringLiteral("File XML creato"));
    EXPECT_EQ(a.messaggi.task[0].pulsanti,
              (QStringList{QStringLiteral("OK Chiudi"), QStringLiteral("Controlla LOG"), QStringLiteral("Vai al Portale dell'Agenzia")}));
    EXPECT_TRUE(a.messaggi.task[0].testo.startsWith(
        QStringLiteral("RIEPILOGO CREAZIONE FILE XML DATI FATTURE: \r\n \r\nSoggetto: 01234567890 ROSSI SPA\r\n \r\n"
                       "Foglio 1 FATTURE EMESSE     Righe= 000004 >> File: IT01234567890_DF_00001.xml\r\n")));
    EXPECT_TRUE(a.messaggi.task[0].testo.endsWith(QStringLiteral("3) TRASMETTERE ogni file")));
    EXPECT_EQ(quercino::TestoMessaggio, a.messaggi.task[0].testo);
}

TEST(Importazione, TheSameRowsFromWorkbooksOfTwoProgramsAndCsvFilesGiveTheSameFile)
{
    const Righe righe = {Alfa("FT1"), AlfaSeguito("FT1"), Alfa("FT2"), Rossi(),
                         Riga({{1, "01234567891"}, {3, "Gamma \"sas\"; di Bianchi"}, {11, "IT"}, {13, "TD01"}, {14, "20180105"},
                               {15, "Z/1"}, {16, "12.345,67"}, {17, "0"}, {18, "0"}, {19, "N2"}, {21, "SI"}, {20, "40"}})};
    QByteArray prodotti[4];
    for (int tipo = 0; tipo < 4; ++tipo) {
        SCOPED_TRACE(tipo);
        Ambiente a;
        QString input;
        if (tipo == 0) {
            input = a.File(QStringLiteral("righe.xlsx"));
            ScriviCartella(input, righe, {});
        } else if (tipo == 3) {
            input = a.File(QStringLiteral("righe_calc.xlsx"));
            ScriviCartellaCalc(input, righe);
        } else {
            input = a.File(QStringLiteral("righe.csv"));
            ScriviCsv(input, "FATTURE EMESSE", righe, tipo == 1 ? ';' : ',', tipo == 1 ? "\r\n" : "\n");
        }
        const QString uscita = a.File(QStringLiteral("uscita.xml"));
        a.dialoghi.salvataggi = {uscita};
        LogImportazione log(a.dir.path());
        Importazione importazione(a.dichiarante, log);
        const auto esito = importazione.Importa(input, tipo == 0 || tipo == 3 ? TipoFile::Excel : TipoFile::Csv,
                                                tipo == 2 ? QStringLiteral(",") : QStringLiteral(";"));
        ASSERT_EQ(esito.FileScritti, QStringList{uscita});
        EXPECT_TRUE(ValidoPerSchema(uscita));
        EXPECT_TRUE(a.messaggi.mostrati.empty()) << a.messaggi.mostrati[0].testo.toStdString();
        prodotti[tipo] = LeggiFile(uscita);
    }
    EXPECT_EQ(prodotti[0], prodotti[1]);
    EXPECT_EQ(prodotti[0], prodotti[2]);
    EXPECT_EQ(prodotti[0], prodotti[3]);
    EXPECT_TRUE(prodotti[0].contains("<ImponibileImporto>12345.67</ImponibileImporto>"));
    EXPECT_TRUE(prodotti[0].contains("<Data>2018-01-05</Data>"));
    EXPECT_TRUE(prodotti[0].contains("<Natura>N2</Natura>"));
}

TEST(Importazione, LayoutChecksRefuseTheFileAndWriteNothing)
{
    Ambiente a;
    const QString senzaNome = a.File(QStringLiteral("senza_nome.xlsx"));
    ScriviCartella(senzaNome, {Alfa("FT1")}, {}, "NOMI");
    const QString minuscolo = a.File(QStringLiteral("minuscolo.csv"));
    ScriviCsv(minuscolo, "Fatture Emesse", {Alfa("FT1")});
    const QString vecchio = a.File(QStringLiteral("vecchio.xls"));
    {
        QFile f(vecchio);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(600, '\0'));
    }
    LogImportazione log(a.dir.path());
    Importazione importazione(a.dichiarante, log);
    EXPECT_FALSE(importazione.Importa(senzaNome, TipoFile::Excel, QStringLiteral(";")).Riepilogo);
    EXPECT_FALSE(importazione.Importa(minuscolo, TipoFile::Csv, QStringLiteral(";")).Riepilogo);
    EXPECT_FALSE(importazione.Importa(vecchio, TipoFile::Excel, QStringLiteral(";")).Riepilogo);
    EXPECT_FALSE(importazione.Importa(a.File(QStringLiteral("manca.csv")), TipoFile::Csv, QStringLiteral(";")).Riepilogo);
    ASSERT_EQ(a.messaggi.mostrati.size(), 4u);
    EXPECT_EQ(a.messaggi.mostrati[0].testo, QStringLiteral("Errore nel formato del foglio"));
    EXPECT_EQ(a.messaggi.mostrati[0].titolo, QStringLiteral("Errore Foglio Xls"));
    EXPECT_EQ(a.messaggi.mostrati[0].icona, quercino::Icona::Critica);
    EXPECT_EQ(a.messaggi.mostrati[1].testo, QStringLiteral("Il file ") + minuscolo + QStringLiteral(" non ha il tracciato previsto. "));
    EXPECT_EQ(a.messaggi.mostrati[1].titolo, QStringLiteral("Lettura CSV"));
    EXPECT_TRUE(a.messaggi.mostrati[2].testo.contains(QStringLiteral(".xls")));
    EXPECT_TRUE(a.messaggi.mostrati[3].testo.contains(QStringLiteral("Impossibile aprire")));
    EXPECT_TRUE(a.dialoghi.richieste.empty());
    EXPECT_EQ(a.dichiarante.aumenti, 0);
    EXPECT_TRUE(a.messaggi.task.empty());
    EXPECT_FALSE(QFile::exists(log.Percorso()));
}

TEST(Importazione, SheetsWithoutDataAndEmptyFirstRows)
{
    Ambiente a;
    // First sheet without data (N4 and O4 empty): only the received-invoice file.
    const QString soloRicevute = a.File(QStringLiteral("solo_ricevute.xlsx"));
    ScriviCartella(soloRicevute, {Riga({{1, "12345678901"}})}, {Beta()});
    // N4 empty but O4 set: the sheet is read and the missing date reported.
    const QString senzaData = a.File(QStringLiteral("senza_data.xlsx"));
    auto primaSenzaData = Alfa("FT1");
    primaSenzaData[13].clear();
    ScriviCartella(senzaData, {primaSenzaData, Alfa("FT2")}, {});
    // A CSV file whose line 4 has no document number writes nothing.
    const QString vuoto = a.File(QStringLiteral("vuoto.csv"));
    ScriviCsv(vuoto, "FATTURE RICEVUTE", {Riga({{1, "12345678901"}}), Beta()});

    a.dialoghi.salvataggi = {a.File(QStringLiteral("r.xml")), a.File(QStringLiteral("e.xml"))};
    LogImportazione log(a.dir.path());
    Importazione importazione(a.dichiarante, log);
    const auto e1 = importazione.Importa(soloRicevute, TipoFile::Excel, QStringLiteral(";"));
    EXPECT_EQ(e1.FileScritti, QStringList{a.File(QStringLiteral("r.xml"))});
    EXPECT_EQ(e1.Dati.Emesse.Righe, 0);
    EXPECT_EQ(e1.Dati.Ricevute.Righe, 1);
    EXPECT_TRUE(a.messaggi.mostrati.empty());

    const auto e2 = importazione.Importa(senzaData, TipoFile::Excel, QStringLiteral(";"));
    EXPECT_EQ(e2.FileScritti, QStringList{a.File(QStringLiteral("e.xml"))});
    EXPECT_EQ(e2.Dati.Emesse.Righe, 2);
    ASSERT_EQ(a.messaggi.mostrati.size(), 1u);
    EXPECT_TRUE(a.messaggi.mostrati[0].testo.startsWith(QStringLiteral("Riga 4 Colonna: DATA DOCUMENTO\r\n \r\n  Valore: * VUOTO *")));
    EXPECT_TRUE(ValidoPerSchema(a.File(QStringLiteral("e.xml"))));

    const auto e3 = importazione.Importa(vuoto, TipoFile::Csv, QStringLiteral(";"));
    EXPECT_TRUE(e3.Riepilogo);
    EXPECT_TRUE(e3.FileScritti.isEmpty());
    EXPECT_EQ(e3.Dati.Ricevute.Righe, 0);
    EXPECT_EQ(a.dichiarante.aumenti, 2);
    EXPECT_TRUE(a.messaggi.task[2].testo.contains(QStringLiteral("Soggetto: 01234567890 ROSSI SPA\r\n \r\n\r\n\r\n \r\n\r\n")));
}

TEST(Importazione, ACancelledSaveDialogEndsTheFileWithoutSummary)
{
    Ambiente a;
    const QString cartella = a.File(QStringLiteral("annulla.xlsx"));
    ScriviCartella(cartella, {Alfa("FT1")}, {Beta()});
    LogImportazione log(a.dir.path());
    Importazione importazione(a.dichiarante, log);
    const auto esito = importazione.Importa(cartella, TipoFile::Excel, QStringLiteral(";"));
    EXPECT_FALSE(esito.Riepilogo);
    EXPECT_TRUE(esito.FileScritti.isEmpty());
    EXPECT_EQ(a.dialoghi.richieste.size(), 1u);      // the second sheet is not read
    EXPECT_EQ(a.dichiarante.aumenti, 0);
    EXPECT_TRUE(a.messaggi.task.empty());
    EXPECT_EQ(QDir(a.dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("annulla.xlsx")});
}

TEST(Importazione, ACancelKeepsTheReportsAndNamesThePartialFile)
{
    Ambiente a;
    const QString cartella = a.File(QStringLiteral("stop.xlsx"));
    ScriviCartella(cartella, {Alfa("FT1"), Alfa("FT2", "TD99"), Alfa("FT3", "TD98"), Alfa("FT4")}, {Beta()});
    a.dialoghi.salvataggi = {a.File(QStringLiteral("e.xml")), a.File(QStringLiteral("r.xml"))};
    a.messaggi.risposte = {quercino::RispostaOk, quercino::RispostaAnnulla};
    LogImportazione log(a.dir.path());
    Importazione importazione(a.dichiarante, log);
    const auto esito = importazione.Importa(cartella, TipoFile::Excel, QStringLiteral(";"));

    ASSERT_TRUE(esito.Riepilogo);
    // The second sheet is still read after a Cancel in the first.
    ASSERT_EQ(esito.FileScritti, (QStringList{a.File(QStringLiteral("e.xml")), a.File(QStringLiteral("r.xml"))}));
    EXPECT_TRUE(ValidoPerSchema(a.File(QStringLiteral("e.xml"))));
    const QByteArray e = LeggiFile(a.File(QStringLiteral("e.xml")));
    EXPECT_TRUE(e.contains("FT1"));
    EXPECT_FALSE(e.contains("FT4"));
    EXPECT_EQ(esito.Dati.Emesse.InterrottaAllaRiga, 6);
    EXPECT_EQ(esito.Dati.Emesse.Righe, 2);
    EXPECT_EQ(quercino::Risposta, QStringLiteral("2"));
    // The log was opened for the user at the Cancel.
    ASSERT_EQ(a.aperture.aperti.size(), 1);
    EXPECT_EQ(a.aperture.aperti[0].toLocalFile(), log.Percorso());

    const QStringList righe = RigheLog(log.Percorso());
    EXPECT_EQ(righe.count(QStringLiteral(" << FINE LOG IMPORTAZIONE >>")), 2);
    EXPECT_TRUE(righe.contains(QStringLiteral("Riga 5 Colonna: TIPO DOCUMENTO  Valore: TD99 Valore non corretto  - Riga NON ELABORATA")));
    EXPECT_TRUE(righe.contains(QStringLiteral("Riga 6 Colonna: TIPO DOCUMENTO  Valore: TD98 Valore non corretto  - Riga NON ELABORATA")));
    EXPECT_TRUE(righe.contains(QStringLiteral("IMPORTAZIONE FATTURE EMESSE INTERROTTA ALLA RIGA 6 - FILE INCOMPLETO: e.xml")));
    EXPECT_TRUE(a.messaggi.task[0].testo.contains(QStringLiteral("IMPORTAZIONE FATTURE EMESSE INTERROTTA ALLA RIGA 6 - FILE INCOMPLETO: e.xml")));
    EXPECT_TRUE(righe.contains(QStringLiteral("Totale file XML generati (max 1.000 clienti/fornitori ognuno, Max 5 MB di dimensione) : 2")));
}

TEST(Importazione, AMultiFileSelectionEndToEnd)
{
    Ambiente a;
    const QString f1 = a.File(QStringLiteral("uno.csv"));
    const QString f2 = a.File(QStringLiteral("due.csv"));
    const QString f3 = a.File(QStringLiteral("tre.csv"));
    ScriviCsv(f1, "FATTURE EMESSE", {Alfa("A1"), Alfa("A2", "XX")});
    ScriviCsv(f2, "\"FATTURE RICEVUTE\"", {Beta(), Beta()}, ';', "\n");
    ScriviCsv(f3, "FATTURE EMESSE", {Rossi(), Riga({{3, "senza codici"}, {15, ""}})}, ';', "\r");
    {
        QFile vecchio(a.File(NomeLog));
        vecchio.open(QIODevice::WriteOnly);
        vecchio.write("VECCHIO LOG\r\n");
    }
    a.dialoghi.aperture = {{f1, f2, f3}};
    a.dialoghi.salvataggi = {a.File(QStringLiteral("x1.xml")), a.File(QStringLiteral("x2.xml")), a.File(QStringLiteral("x3.xml"))};
    const auto esiti = SelIMPORTA(TipoFile::Csv, QStringLiteral(";"), a.dichiarante);

    ASSERT_EQ(esiti.size(), 3u);
    EXPECT_EQ(a.dichiarante.dati.OPROG, 4);
    ASSERT_EQ(a.dialoghi.richieste.size(), 4u);
    EXPECT_EQ(a.dialoghi.richieste[0].titolo, QStringLiteral("Indica l'archivio CSV da importare"));
    EXPECT_EQ(a.dialoghi.richieste[1].nomeFile, QStringLiteral("IT01234567890_DF_00001.xml"));
    EXPECT_EQ(a.dialoghi.richieste[2].nomeFile, QStringLiteral("IT01234567890_DF_00002.xml"));
    EXPECT_EQ(a.dialoghi.richieste[3].nomeFile, QStringLiteral("IT01234567890_DF_00003.xml"));
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(ValidoPerSchema(a.File(QStringLiteral("x%1.xml").arg(i)))) << i;
    EXPECT_EQ(esiti[0].Dati.Clienti, 1);
    EXPECT_EQ(esiti[1].Dati.Fornitori, 1);
    EXPECT_EQ(esiti[1].Dati.Ricevute.Righe, 2);
    EXPECT_EQ(esiti[2].Dati.Emesse.Righe, 1);
    // One log for the selection: the old one replaced, each file's part appended.
    const QStringList righe = RigheLog(a.File(NomeLog));
    EXPECT_FALSE(righe.contains(QStringLiteral("VECCHIO LOG")));
    EXPECT_EQ(righe.count(QStringLiteral(" LOG ERRORI IMPORTAZIONE FILE ") + f1), 1);
    EXPECT_EQ(righe.count(QStringLiteral(" LOG ERRORI IMPORTAZIONE FILE ") + f2), 1);
    EXPECT_EQ(righe.count(QStringLiteral(" LOG ERRORI IMPORTAZIONE FILE ") + f3), 1);
    EXPECT_EQ(righe.count(QStringLiteral("<<<>>>")), 3);
    EXPECT_TRUE(righe.contains(QStringLiteral("Riga 5 Colonna: TIPO DOCUMENTO  Valore: XX Valore non corretto  - Riga NON ELABORATA")));
    EXPECT_TRUE(righe.contains(QStringLiteral("Foglio 1 FATTURE RICEVUTE  Righe= 000002 >> File: x2.xml")));
    EXPECT_TRUE(righe.contains(QStringLiteral("Foglio 1 FATTURE EMESSE     Righe= 000001 >> File: x3.xml")));
    EXPECT_EQ(a.messaggi.task.size(), 3u);
    EXPECT_EQ(quercino::UltimaCartella, a.dir.path());
}

TEST(Importazione, TheSummaryOpensTheLogOrThePortal)
{
    Ambiente a;
    const QString f = a.File(QStringLiteral("uno.csv"));
    ScriviCsv(f, "FATTURE EMESSE", {Alfa("A1")});
    a.dialoghi.salvataggi = {a.File(QStringLiteral("x1.xml")), a.File(QStringLiteral("x2.xml"))};
    a.messaggi.risposteTask = {1002, 1003};
    LogImportazione log(a.dir.path());
    Importazione importazione(a.dichiarante, log);
    importazione.Importa(f, TipoFile::Csv, QStringLiteral(";"));
    importazione.Importa(f, TipoFile::Csv, QStringLiteral(";"));
    ASSERT_EQ(a.aperture.aperti.size(), 2);
    EXPECT_EQ(a.aperture.aperti[0].toLocalFile(), log.Percorso());
    EXPECT_EQ(a.aperture.aperti[1].toString(), quercino::IndirizzoPortale);
}

TEST(Importazione, AnEmptySeparatorIsRefused)
{
    Ambiente a;
    EXPECT_TRUE(SelIMPORTA(TipoFile::Csv, QString(), a.dichiarante).empty());
    EXPECT_TRUE(a.dialoghi.richieste.empty());
    ASSERT_EQ(a.messaggi.mostrati.size(), 1u);
    // A cancelled open dialog imports nothing.
    EXPECT_TRUE(SelIMPORTA(TipoFile::Excel, QString(), a.dichiarante).empty());
    EXPECT_EQ(a.dialoghi.richieste.at(0).titolo, QStringLiteral("Indica l'archivio XLS da importare"));
}

TEST(Importazione, RowsPastTheLastAreReportedNotSilentlyDropped)
{
    Ambiente a;
    const QString cartella = a.File(QStringLiteral("lunga.xlsx"));
    // With the limit at row 6, rows 4 to 6 are read and row 7 holds a document number.
    ScriviCartella(cartella, {Alfa("FT1"), Alfa("FT2"), Alfa("FT3"), Alfa("FT4")}, {});
    const QString corta = a.File(QStringLiteral("corta.xlsx"));
    ScriviCartella(corta, {Alfa("FT1"), Alfa("FT2"), Alfa("FT3"), Riga({{1, "1"}})}, {});
    a.dialoghi.salvataggi = {a.File(QStringLiteral("l.xml")), a.File(QStringLiteral("c.xml"))};
    LogImportazione log(a.dir.path());
    Importazione importazione(a.dichiarante, log);
    importazione.ImpostaUltimaRiga(6);
    const auto esito = importazione.Importa(cartella, TipoFile::Excel, QStringLiteral(";"));
    EXPECT_EQ(esito.Dati.Emesse.Righe, 3);
    EXPECT_FALSE(LeggiFile(a.File(QStringLiteral("l.xml"))).contains("FT4"));
    const QString avviso = QStringLiteral("Riga 7: il foglio ha altri dati oltre la riga 6, che NON sono stati importati");
    ASSERT_EQ(a.messaggi.mostrati.size(), 1u);
    EXPECT_EQ(a.messaggi.mostrati[0].testo, avviso);
    EXPECT_EQ(a.messaggi.mostrati[0].titolo, QStringLiteral("Attenzione"));
    EXPECT_TRUE(RigheLog(log.Percorso()).contains(avviso));
    // A row past the limit without a document number is the normal end: no warning.
    importazione.Importa(corta, TipoFile::Excel, QStringLiteral(";"));
    EXPECT_EQ(a.messaggi.mostrati.size(), 1u);
}

TEST(Importazione, ALogThatCannotBeWrittenIsToldOnce)
{
    Ambiente a;
    const QString f = a.File(QStringLiteral("errate.csv"));
    ScriviCsv(f, "FATTURE EMESSE", {Alfa("A1", "XX"), Alfa("A2", "YY"), Alfa("A3")});
    a.dialoghi.salvataggi = {a.File(QStringLiteral("x.xml"))};
    LogImportazione log(a.File(QStringLiteral("cartella/che/non/esiste")));
    Importazione importazione(a.dichiarante, log);
    const auto esito = importazione.Importa(f, TipoFile::Csv, QStringLiteral(";"));
    EXPECT_EQ(esito.FileScritti.size(), 1);
    ASSERT_EQ(a.messaggi.mostrati.size(), 3u);
    EXPECT_TRUE(a.messaggi.mostrati[0].testo.startsWith(QStringLiteral("Impossibile scrivere il file ")));
    EXPECT_EQ(a.messaggi.mostrati[1].titolo, QStringLiteral("Dati non validi"));
    EXPECT_EQ(a.messaggi.mostrati[2].titolo, QStringLiteral("Dati non validi"));
    EXPECT_EQ(a.messaggi.task.size(), 1u);
}

TEST(Importazione, ContinuationRowsFollowTheCounterpartOfTheRowAboveEvenWhenItWasRefused)
{
    Ambiente a;
    const QString f = a.File(QStringLiteral("seguiti.csv"));
    auto gamma = [](const std::string& numero, const std::string& tipo) {
        // "123" is padded to "00000000123" when read: the refused row must be compared padded too.
        return Riga({{1, "123"}, {3, "Gamma"}, {11, "IT"}, {13, tipo}, {14, "15/01/2017"}, {15, numero}, {16, "10"},
                     {17, "1"}, {18, "10"}});
    };
    ScriviCsv(f, "FATTURE EMESSE",
              {gamma("G1", "TD01"),                 // row 4: opens Gamma
               gamma("G2", "TD99"),                 // row 5: refused, but Gamma's
               AlfaSeguito("G1"),                   // row 6: still Gamma's
               Riga({{1, "123"}, {11, "IT"}, {13, "TD01"}, {14, "15/01/2017"}, {15, "G3"}}),   // row 7: no name, Gamma's
               AlfaSeguito("G1"),                   // row 8: still Gamma's
               Riga({{1, "98765432109"}, {3, "Beta"}, {11, "IT"}, {13, "TD01"}, {15, "B1"}}),   // row 9: refused, no date
               AlfaSeguito("G1")});                 // row 10: Beta's, so refused with it
    a.dialoghi.salvataggi = {a.File(QStringLiteral("s.xml"))};
    LogImportazione log(a.dir.path());
    Importazione importazione(a.dichiarante, log);
    const auto esito = importazione.Importa(f, TipoFile::Csv, QStringLiteral(";"));

    ASSERT_EQ(esito.FileScritti, QStringList{a.File(QStringLiteral("s.xml"))});
    EXPECT_TRUE(ValidoPerSchema(esito.FileScritti[0]));
    auto elementi = Elementi(esito.FileScritti[0]);
    EXPECT_EQ(elementi[QStringLiteral("CessionarioCommittenteDTE")], 1);
    EXPECT_EQ(elementi[QStringLiteral("DatiFatturaBodyDTE")], 1);
    EXPECT_EQ(elementi[QStringLiteral("DatiRiepilogo")], 3);
    const QStringList righe = RigheLog(log.Percorso());
    EXPECT_TRUE(righe.contains(QStringLiteral("Riga 5 Colonna: TIPO DOCUMENTO  Valore: TD99 Valore non corretto  - Riga NON ELABORATA")));
    EXPECT_TRUE(righe.contains(QStringLiteral("Riga 7 Colonna: Denominazione/Nome Cognome  Valore: * VUOTO *  - Riga NON ELABORATA")));
    EXPECT_TRUE(righe.contains(QStringLiteral("Riga 9 Colonna: DATA DOCUMENTO  Valore: * VUOTO *  - Riga NON ELABORATA")));
    EXPECT_TRUE(righe.contains(QStringLiteral("Riga 10 Colonna: Partita Iva / Codice Fiscale  Valore: * VUOTO *  - Riga NON ELABORATA")));
    EXPECT_EQ(righe.filter(QStringLiteral("Riga NON ELABORATA")).size(), 4);
}

TEST(Importazione, ASaveDialogCancelledAtASplitKeepsTheFilesWrittenInTheSummary)
{
    Ambiente a;
    // 1000 counterparts: the 1000th opens a second file, whose name is taken already.
    const Righe righe = MilleControparti();
    const QString f = a.File(QStringLiteral("mille.csv"));
    ScriviCsv(f, "FATTURE EMESSE", righe);
    const QString secondo = a.File(QStringLiteral("IT01234567890_DF_00002.xml"));
    {
        QFile occupato(secondo);
        ASSERT_TRUE(occupato.open(QIODevice::WriteOnly));
        occupato.write("gia qui");
    }
    const QString primo = a.File(QStringLiteral("IT01234567890_DF_00001.xml"));
    a.dialoghi.salvataggi = {primo, QString()};    // then: cancel
    a.messaggi.risposte = {quercino::RispostaNo};  // do not replace the file already there
    LogImportazione log(a.dir.path());
    Importazione importazione(a.dichiarante, log);
    const auto esito = importazione.Importa(f, TipoFile::Csv, QStringLiteral(";"));

    ASSERT_EQ(esito.FileScritti, QStringList{primo});
    EXPECT_TRUE(ValidoPerSchema(primo));
    EXPECT_EQ(Elementi(primo)[QStringLiteral("CessionarioCommittenteDTE")], 999);
    EXPECT_EQ(LeggiFile(secondo), QByteArray("gia qui"));
    EXPECT_EQ(a.dichiarante.aumenti, 1);
    ASSERT_TRUE(esito.Riepilogo);
    EXPECT_EQ(esito.Dati.Emesse.File, QStringList{QStringLiteral("IT01234567890_DF_00001.xml")});
    EXPECT_EQ(esito.Dati.Emesse.InterrottaAllaRiga, 1003);
    EXPECT_EQ(esito.Dati.Clienti, 999);
    ASSERT_EQ(a.messaggi.task.size(), 1u);
    const QString interrotta =
        QStringLiteral("IMPORTAZIONE FATTURE EMESSE INTERROTTA ALLA RIGA 1003 - FILE INCOMPLETO: IT01234567890_DF_00001.xml");
    EXPECT_TRUE(a.messaggi.task[0].testo.contains(interrotta));
    const QStringList log_ = RigheLog(log.Percorso());
    EXPECT_TRUE(log_.contains(QStringLiteral("Totale Clienti: 999")));
    EXPECT_TRUE(log_.contains(interrotta));
}

TEST(Importazione, AFileThatCannotBeCompletedStopsTheSheetAndTheSummarySaysSo)
{
    // The progressive cannot be raised after the first file: the second is never begun.
    Ambiente a;
    a.dichiarante.erroreProgressivo = QStringLiteral("Database non disponibile");
    const Righe righe = MilleControparti();
    const QString cartella = a.File(QStringLiteral("mille.xlsx"));
    ScriviCartella(cartella, righe, {Beta()});
    const QString primo = a.File(QStringLiteral("IT01234567890_DF_00001.xml"));
    a.dialoghi.salvataggi = {primo};
    LogImportazione log(a.dir.path());
    Importazione importazione(a.dichiarante, log);
    const auto esito = importazione.Importa(cartella, TipoFile::Excel, QStringLiteral(";"));

    ASSERT_EQ(esito.FileScritti, QStringList{primo});
    EXPECT_TRUE(ValidoPerSchema(primo));
    EXPECT_EQ(a.dialoghi.richieste.size(), 1u);   // the second sheet is not begun
    ASSERT_FALSE(a.messaggi.mostrati.empty());
    EXPECT_EQ(a.messaggi.mostrati[0].testo, QStringLiteral("Database non disponibile"));
    ASSERT_TRUE(esito.Riepilogo);
    EXPECT_EQ(esito.Dati.Emesse.InterrottaAllaRiga, 1003);
    const QStringList log_ = RigheLog(log.Percorso());
    EXPECT_TRUE(log_.contains(QStringLiteral("Riga 1003 ERRORE: Database non disponibile")));
    EXPECT_TRUE(log_.contains(
        QStringLiteral("IMPORTAZIONE FATTURE EMESSE INTERROTTA ALLA RIGA 1003 - FILE INCOMPLETO: IT01234567890_DF_00001.xml")));
}
