// The workbook reader against workbooks written by an independent library (libxlsxwriter),
// against the system's unzip for the members, and against hand-built workbooks for the
// forms other programs write.

#include "sheets_fixture.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/XlsxCellText.h"
#include "platform/sheets/XlsxSharedStrings.h"
#include "platform/sheets/XlsxStyles.h"
#include "platform/sheets/Workbook.h"
#include "platform/sheets/XlsxWorkbook.h"
#include "platform/sheets/ZipArchive.h"
#include "platform/sheets/ZipEntryStream.h"
#include "support/casi.h"
#include "support/golden.h"
#include "support/produttori_cartelle.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <functional>
#include <map>
#include <random>

using namespace quercino::sheets;
using namespace sheets_fixture;

namespace {


// The same from a table of "sheet, row, column, ..." rows, the text in field `campo`.
CelleLette Attese(const QString& tabella, int campo, const std::function<bool(const quercino::test::Caso&)>& tieni = nullptr)
{
    CelleLette attese;
    for (const quercino::test::Caso& c : quercino::test::Casi(__FILE__, tabella))
        if (!c[campo].isEmpty() && (!tieni || tieni(c)))
            attese[{c[0].toInt(), c[1].toInt()}][c[2].toInt()] = c[campo];
    return attese;
}

// A workbook written by libxlsxwriter with the values the import meets in practice
// (casi/libreria.tsv); rich texts are left out of a constant-memory workbook.
void ScriviConLibreria(const QString& percorso, bool memoriaCostante, bool zip64)
{
    // The library prints numbers with the C library's locale: a comma locale would make it
    // write "1,5" into the XML, which no spreadsheet program does.
    const NumeriC numeri;
    lxw_workbook_options opzioni = {};
    opzioni.constant_memory = memoriaCostante ? LXW_TRUE : LXW_FALSE;
    opzioni.use_zip64 = zip64 ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* wb = workbook_new_opt(percorso.toUtf8().constData(), &opzioni);
    // The tabs are named so that their order is not their alphabetical order.
    lxw_worksheet* fogli[] = {workbook_add_worksheet(wb, "Zeta emesse"), workbook_add_worksheet(wb, "Alfa ricevute")};
    std::map<QString, lxw_format*> formati = {{"-", nullptr}, {"grassetto", workbook_add_format(wb)}};
    format_set_bold(formati["grassetto"]);
    for (const auto& [nome, codice] : {std::pair{"data", "dd/mm/yyyy"}, {"datalunga", "d mmmm yyyy"}, {"importo", "#,##0.00"}}) {
        formati[nome] = workbook_add_format(wb);
        format_set_num_format(formati[nome], codice);
    }
    for (const quercino::test::Caso& c : quercino::test::Casi(__FILE__, "casi/libreria.tsv")) {
        lxw_worksheet* ws = fogli[c[0].toInt() - 1];
        const auto riga = static_cast<lxw_row_t>(c[1].toInt() - 1);
        const auto colonna = static_cast<lxw_col_t>(c[2].toInt() - 1);
        const QByteArray valore = c[4].toUtf8();
        const QDateTime d = QDateTime::fromString(c[4].size() > 10 ? c[4] : c[4] + "T00:00:00", Qt::ISODate);
        lxw_datetime data = {d.date().year(), d.date().month(), d.date().day(), d.time().hour(), d.time().minute(), 0};
        if (c[3] == "testo")
            worksheet_write_string(ws, riga, colonna, valore.constData(), formati.at(c[5]));
        else if (c[3] == "numero")
            worksheet_write_number(ws, riga, colonna, valore.toDouble(), formati.at(c[5]));
        else if (c[3] == "data")
            worksheet_write_datetime(ws, riga, colonna, &data, formati.at(c[5]));
        else if (c[3] == "formula")
            worksheet_write_formula_num(ws, riga, colonna, valore.constData(), nullptr, c[6].toDouble());
        else if (c[3] == "ricco" && !memoriaCostante) {
            const QList<QByteArray> parti = valore.split('|');
            lxw_rich_string_tuple prima = {formati["grassetto"], const_cast<char*>(parti[0].constData())};
            lxw_rich_string_tuple seconda = {nullptr, const_cast<char*>(parti[1].constData())};
            lxw_rich_string_tuple* ricco[] = {&prima, &seconda, nullptr};
            worksheet_write_rich_string(ws, riga, colonna, ricco, nullptr);
        }
    }
    workbook_close(wb);
}

// Every row of both sheets as the table says, cell by cell.
void ControllaLibreria(const QString& percorso, bool memoriaCostante)
{
    const auto aperta = ApriCartella(percorso);
    const Workbook& cartella = *aperta;
    ASSERT_EQ(cartella.NumeroFogli(), 2);
    EXPECT_EQ(cartella.NomeFoglio(1), QStringLiteral("Zeta emesse"));
    EXPECT_EQ(cartella.NomeFoglio(2), QStringLiteral("Alfa ricevute"));
    EXPECT_FALSE(dynamic_cast<const XlsxWorkbook&>(cartella).Sistema1904());
    const auto scritta = [memoriaCostante](const quercino::test::Caso& c) { return c[3] != "ricco" || !memoriaCostante; };
    EXPECT_EQ(NonVuote(cartella), Attese("casi/libreria.tsv", 6, scritta));
}

} // namespace

TEST(XlsxReader, ReadsWhatAnIndependentWriterWrote)
{
    QTemporaryDir dir;
    struct Caso { bool memoriaCostante; bool zip64; };
    for (const Caso c : {Caso{false, false}, Caso{true, false}, Caso{false, true}}) {
        SCOPED_TRACE(testing::Message() << "memoria costante " << c.memoriaCostante << ", zip64 " << c.zip64);
        const QString percorso = dir.filePath(QStringLiteral("libreria%1%2.xlsx").arg(c.memoriaCostante).arg(c.zip64));
        ScriviConLibreria(percorso, c.memoriaCostante, c.zip64);
        ControllaLibreria(percorso, c.memoriaCostante);
    }
}

TEST(XlsxReader, MembersMatchTheSystemUnzip)
{
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("membri.xlsx"));
    ScriviConLibreria(percorso, false, false);
    ASSERT_FALSE(Esegui(QStringLiteral("unzip"), {QStringLiteral("-v")}).isEmpty()) << "unzip non disponibile";
    ZipArchive archivio(percorso.toStdString());
    ASSERT_GE(archivio.Voci().size(), 8u);
    for (const auto& voce : archivio.Voci()) {
        SCOPED_TRACE(voce.Nome);
        // unzip reads member names as patterns: a "[" must be given as "[[]".
        const QString modello = QString::fromStdString(voce.Nome).replace(QStringLiteral("["), QStringLiteral("[[]"));
        const QByteArray atteso = Esegui(QStringLiteral("unzip"), {QStringLiteral("-p"), percorso, modello});
        const std::string letto = archivio.Leggi(voce, 1 << 24);
        EXPECT_EQ(letto, atteso.toStdString());
    }
}

// The forms other programs write, in the workbook casi/a_mano (its cells in casi/a_mano.tsv):
// sheet order from the workbook part, not the part names; 1904 dates; inline strings with
// rich and phonetic runs; cells and rows without references; escapes; formulas, booleans,
// errors, ISO dates. A chart sheet is no worksheet (casi/grafico, members stored).
TEST(XlsxReader, HandBuiltWorkbookForms)
{
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("a_mano.xlsx"));
    ScriviFile(percorso, ZipCartella(quercino::test::Accanto(__FILE__, QStringLiteral("casi/a_mano"))));
    const auto cartella = ApriCartella(percorso);
    EXPECT_TRUE(dynamic_cast<const XlsxWorkbook&>(*cartella).Sistema1904());
    EXPECT_EQ(cartella->NumeroFogli(), 2);
    EXPECT_EQ(NonVuote(*cartella), Attese("casi/a_mano.tsv", 3));

    const QString grafico = dir.filePath(QStringLiteral("grafico.xlsm"));
    ScriviFile(grafico, ZipCartella(quercino::test::Accanto(__FILE__, QStringLiteral("casi/grafico")), false));
    const auto conGrafico = ApriCartella(grafico);
    ASSERT_EQ(conGrafico->NumeroFogli(), 1);
    EXPECT_EQ(conGrafico->NomeFoglio(1), QStringLiteral("Dati"));
    EXPECT_EQ(TutteLeRighe(*conGrafico, 1).at(0).Cella(1), QStringLiteral("5"));
}

// Forms of cells other writers use (casi/xlsx_forme.tsv): line ends in the texts, shared-
// string cells with no index, elements of extensions beside the format's own, prefixes and
// namespaces of the writer's choice.
TEST(XlsxReader, CellFormsOfOtherWriters)
{
    QTemporaryDir dir;
    for (const quercino::test::Caso& c : quercino::test::Casi(__FILE__, "casi/xlsx_forme.tsv")) {
        SCOPED_TRACE(c);
        const QString percorso = dir.filePath(QStringLiteral("forma.xlsx"));
        const std::string testi = c[1] == "-" ? std::string() : TestiCondivisi(c[1].toStdString());
        ScriviFile(percorso, Cartella({{"A", "worksheets/sheet1.xml", "<row r=\"1\">" + c[2].toStdString() + "</row>"}}, testi, ""));
        try {
            const auto righe = TutteLeRighe(*ApriCartella(percorso), 1);
            ASSERT_EQ(righe.size(), 1u);
            std::vector<QString> attese(34);
            attese[0] = c[3];
            EXPECT_EQ(righe[0].Celle, attese);
        } catch (const SheetError& e) {
            ADD_FAILURE() << e.Messaggio.toStdString();
        }
    }
}

// A workbook in the 1904 date system saved by LibreOffice, and the same with the extension
// element Excel 2013 and later write beside the workbook's properties
// (<x15:workbookPr chartTrackingRefBase="1"/>, which has no date system): the same dates.
TEST(XlsxReader, DatesOfThe1904SystemBesideAnExtension)
{
    QTemporaryDir dir;
    const QString sorgente = dir.filePath(QStringLiteral("date1904.fods"));
    ScriviFile(sorgente, R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:automatic-styles><number:date-style style:name="N1"><number:day/><number:text>/</number:text><number:month/><number:text>/</number:text><number:year/></number:date-style>
<style:style style:name="ce1" style:family="table-cell" style:data-style-name="N1"/></office:automatic-styles>
<office:body><office:spreadsheet><table:calculation-settings><table:null-date table:date-value="1904-01-01"/></table:calculation-settings>
<table:table table:name="Date"><table:table-row>
<table:table-cell table:style-name="ce1" office:value-type="date" office:date-value="2017-01-15"/>
<table:table-cell table:style-name="ce1" office:value-type="date" office:date-value="1904-01-02"/>
<table:table-cell office:value-type="float" office:value="5"/></table:table-row></table:table></office:spreadsheet></office:body></office:document>
)");
    const QString daCalc = produttori::DaCalc(sorgente, QStringLiteral("xlsx"), dir.path());
    const QString conEstensione = dir.filePath(QStringLiteral("estensione.xlsx"));
    CambiaMembro(daCalc, "xl/workbook.xml", [](std::string xml) {
        const std::string estensione = "<ext uri=\"{140A7094-0E35-4892-8432-C4D2E57EDEB5}\" "
                                       "xmlns:x15=\"http://schemas.microsoft.com/office/spreadsheetml/2010/11/main\">"
                                       "<x15:workbookPr chartTrackingRefBase=\"1\"/></ext>";
        const auto fine = xml.find("</extLst>");
        if (fine != std::string::npos)
            xml.insert(fine, estensione);
        else
            xml.insert(xml.find("</workbook>"), "<extLst>" + estensione + "</extLst>");
        return xml;
    }, conEstensione);
    const CelleLette attese = {{{1, 1}, {{1, "15/01/2017"}, {2, "02/01/1904"}, {3, "5"}}}};
    for (const QString& percorso : {daCalc, conEstensione}) {
        SCOPED_TRACE(percorso.toStdString());
        const auto cartella = ApriCartella(percorso);
        EXPECT_TRUE(dynamic_cast<const XlsxWorkbook&>(*cartella).Sistema1904());
        EXPECT_EQ(NonVuote(*cartella), attese);
    }
}

// A cell holds at most 32,767 characters: longer texts of every kind are cut there (one of
// a megabyte and more only read, never held whole), and a text of exactly that length stays.
TEST(XlsxReader, CellTextsStopAtTheLimitOfACell)
{
    const std::string lungo(40000, 'A');
    const std::string foglio = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>" + lungo + "</t><t>B</t></is></c>"
                               "<c r=\"B1\" t=\"s\"><v>0</v></c><c r=\"C1\" t=\"str\"><v>" + std::string(3 << 20, 'A')
                               + "</v></c><c r=\"D1\"><v>" + lungo + "</v></c><c r=\"E1\" t=\"inlineStr\"><is><t>"
                               + std::string(32767, 'Z') + "</t></is></c></row>";
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("lunghe.xlsx"));
    ScriviFile(percorso, Cartella({{"A", "worksheets/sheet1.xml", foglio}}, TestiCondivisi("<si><t>" + lungo + "</t></si>"), ""));
    const auto righe = TutteLeRighe(*ApriCartella(percorso), 1);
    ASSERT_EQ(righe.size(), 1u);
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(righe[0].Cella(c), QString(32767, QLatin1Char('A'))) << c;
    EXPECT_EQ(righe[0].Cella(5), QString(32767, QLatin1Char('Z')));
}

TEST(XlsxReader, OtherKindsAndDamagedFilesGiveAMessage)
{
    QTemporaryDir dir;
    const auto prova = [&](const char* nome, const std::string& dati, const char* parola) {
        SCOPED_TRACE(nome);
        const QString percorso = dir.filePath(QString::fromLatin1(nome));
        ScriviFile(percorso, dati);
        try {
            const auto cartella = ApriCartella(percorso);
            for (int f = 1; f <= cartella->NumeroFogli(); ++f)
                TutteLeRighe(*cartella, f);
            ADD_FAILURE() << "nessun errore";
        } catch (const SheetError& e) {
            // Every message names the file ("%1" in the words looked for).
            EXPECT_TRUE(e.Messaggio.contains(QString::fromUtf8(parola).replace(QStringLiteral("%1"), percorso))) << e.Messaggio.toStdString();
            EXPECT_TRUE(e.Messaggio.contains(percorso)) << e.Messaggio.toStdString();
        }
    };
    prova("vecchio.xls", std::string("\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1", 8) + std::string(512, '\0'), "danneggiato");
    prova("calc.ods", Zip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}}, false), ".ods");
    // A binary workbook goes to its own reader, which finds this one's workbook part damaged.
    prova("binaria.xlsb", Zip({{"_rels/.rels", Rels({{"rId1", "officeDocument", "xl/workbook.bin"}})}, {"xl/workbook.bin", "x"}}),
          "La parte xl/workbook.bin del file %1 è danneggiata");
    prova("testo.xlsx", "FATTURE EMESSE;;;\r\n", "non è una cartella");
    prova("vuoto.xlsx", "", "non è una cartella");
    prova("zip_vuoto.xlsx", Zip({}), "non è una cartella");

    const std::string buona = Cartella({{"A", "worksheets/sheet1.xml", "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>"}},
                                       TestiCondivisi("<si><t>" + std::string(5000, 'x') + "</t></si>"), "");
    prova("troncata.xlsx", buona.substr(0, buona.size() / 2),
          "Il file %1 non è un archivio leggibile: è danneggiato, troncato o non è una cartella di lavoro (.xlsx, .xlsm, .xlsb o .ods).");
    std::string alterata = buona;
    const auto pos = alterata.find("xl/sharedStrings.xml") + 30;   // inside the deflated data
    alterata[pos] = static_cast<char>(alterata[pos] ^ 0x55);
    prova("alterata.xlsx", alterata, "La parte xl/sharedStrings.xml del file %1 è danneggiata");
    // A member's compressed size said half of what it is (in both headers: the field lies 12
    // bytes before the name in the local header, 26 in the central one): its data run out
    // before the end of the compressed stream.
    std::string corta = buona;
    const std::size_t nome = corta.find("xl/sharedStrings.xml");
    for (const std::size_t campo : {nome - 12, corta.find("xl/sharedStrings.xml", nome + 1) - 26})
        corta[campo] = static_cast<char>(static_cast<unsigned char>(corta[campo]) / 2);   // a small member: one byte
    prova("corta.xlsx", corta, "danneggiata");

    // The first index past the table.
    prova("indice.xlsx", Cartella({{"A", "worksheets/sheet1.xml", "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>1</v></c></row>"}},
                                  TestiCondivisi("<si><t>a</t></si>"), ""), "La parte xl/worksheets/sheet1.xml del file %1 fa riferimento");
    prova("xml_rotto.xlsx", Cartella({{"A", "worksheets/sheet1.xml", "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row><row"}}, "", ""),
          "La parte xl/worksheets/sheet1.xml del file %1 contiene XML non valido");
    // A prefix no declaration binds.
    prova("prefisso.xlsx", Cartella({{"A", "worksheets/sheet1.xml", "<row r=\"1\"><x:c r=\"A1\"><x:v>1</x:v></x:c></row>"}}, "", ""),
          "La parte xl/worksheets/sheet1.xml del file %1 contiene XML non valido (prefisso non dichiarato)");
    prova("entita.xlsx", Cartella({{"A", "worksheets/sheet1.xml", "<row r=\"1\"><c r=\"A1\" t=\"str\"><v>&bomba;</v></c></row>"}}, "", ""), "XML non valido");
    prova("doctype.xlsx", Cartella({{"A", "worksheets/sheet1.xml", "<!DOCTYPE x [<!ENTITY a \"b\">]>"}}, "", ""), "XML non valido");

    // Empty strings cost memory too (four bytes each): a table of many of them is refused as
    // one of long texts (with a small limit here; the reader's own is hundreds of megabytes).
    std::string molti;
    for (int i = 0; i < 30'000; ++i)
        molti += "<si/>";
    molti = TestiCondivisi(molti);
    ScriviFile(dir.filePath(QStringLiteral("testi.zip")), Zip({{"sst.xml", molti}}));
    const ZipArchive archivio(dir.filePath(QStringLiteral("testi.zip")).toStdString());
    EXPECT_EQ(XlsxSharedStrings(archivio, *archivio.Trova("sst.xml"), 150'000).Numero(), 30'000u);
    try {
        XlsxSharedStrings(archivio, *archivio.Trova("sst.xml"), 100'000);
        ADD_FAILURE() << "nessun errore";
    } catch (const SheetError& e) {
        EXPECT_TRUE(e.Messaggio.contains(QStringLiteral("troppo grande"))) << e.Messaggio.toStdString();
    }
}

TEST(XlsxCellText, CasiDellaTabella)
{
    quercino::test::ControllaFunzioni(__FILE__, "casi/xlsx.tsv", {
        {"Numero", [](const QStringList& a) { return QStringList{TestoNumero(a[0].toStdString())}; }},
        {"Data", [](const QStringList& a) { return QStringList{TestoData(a[0].toStdString(), a[1] == "1")}; }},
        {"Formato data",
         [](const QStringList& a) { return QStringList{QString::number(FormatoData(a[0].toInt(), a[1].toStdString()))}; }},
    });
}

TEST(XlsxReader, DamagedCopiesNeverCrashOrHang)
{
    // A valid workbook with stored (uncompressed) members, so that changed bytes reach the
    // XML parser, and the same deflated; each copy has a few bytes changed, cut or repeated.
    // Reading must end with rows or with a message, never with a crash (the sanitizer build
    // runs this too).
    const std::string testi = TestiCondivisi("<si><t>NOME</t></si><si><r><t>a&amp;b</t></r></si>");
    const std::string stili = StiliFoglio("<numFmts><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy\"/></numFmts>"
                                          "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/></cellXfs>");
    std::string righe;
    for (int r = 1; r <= 40; ++r)
        righe += "<row r=\"" + std::to_string(r) + "\"><c r=\"A" + std::to_string(r) + "\" t=\"s\"><v>" + std::to_string(r % 2)
            + "</v></c><c r=\"N" + std::to_string(r) + "\" s=\"1\"><v>43100</v></c><c r=\"O" + std::to_string(r)
            + "\" t=\"inlineStr\"><is><t>F&lt;" + std::to_string(r) + "</t></is></c></row>";
    QTemporaryDir dir;
    std::mt19937 rnd(7);
    int lette = 0;
    int rifiutate = 0;
    for (const bool comprimi : {false, true}) {
        const std::string buona = Cartella({{"A", "worksheets/sheet1.xml", righe}}, testi, stili, "", comprimi);
        for (int prova = 0; prova < 150; ++prova) {
            const std::string copia = Guasta(buona, rnd);
            const QString percorso = dir.filePath(QStringLiteral("rotta.xlsx"));
            ScriviFile(percorso, copia);
            LettaORifiutata(percorso) ? ++lette : ++rifiutate;
        }
    }
    EXPECT_EQ(lette + rifiutate, 300);
    EXPECT_GT(rifiutate, 0);
}
