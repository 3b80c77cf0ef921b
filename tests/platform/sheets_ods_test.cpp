// The OpenDocument spreadsheet reader against LibreOffice Calc itself: the same workbooks
// saved by it as .ods and as .xlsx give the same texts from this reader and from the .xlsx
// reader, cell by cell (and the texts a table says); against hand-built content for the
// forms the format allows and no program writes; and against hostile files, which must end
// with rows or with a message.

#include "sheets_fixture.h"

#include "platform/sheets/OdsCellText.h"
#include "platform/sheets/OdsSheetReader.h"
#include "platform/sheets/OdsWorkbook.h"
#include "platform/sheets/SheetError.h"
#include "platform/sheets/Workbook.h"
#include "platform/sheets/ZipArchive.h"
#include "support/casi.h"
#include "support/golden.h"
#include "support/produttori_cartelle.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <QDateTime>

#include <map>
#include <tuple>
#include <random>

using namespace quercino::sheets;
using namespace sheets_fixture;

namespace {


CelleLette Attese(const QString& tabella, int campo)
{
    CelleLette attese;
    for (const quercino::test::Caso& c : quercino::test::Casi(__FILE__, tabella))
        if (!c[campo].isEmpty())
            attese[{c[0].toInt(), c[1].toInt()}][c[2].toInt()] = c[campo];
    return attese;
}

QStringList NomiFogli(const Workbook& cartella)
{
    QStringList nomi;
    for (int f = 1; f <= cartella.NumeroFogli(); ++f)
        nomi << cartella.NomeFoglio(f);
    return nomi;
}

// The workbook of casi/ods_libreoffice.tsv, written by libxlsxwriter as Excel stores cells.
void ScriviSorgente(const QString& percorso)
{
    const NumeriC numeri;
    lxw_workbook* wb = workbook_new(percorso.toUtf8().constData());
    lxw_worksheet* fogli[] = {workbook_add_worksheet(wb, "Emesse"), workbook_add_worksheet(wb, "Ricevute")};
    std::map<QString, lxw_format*> formati = {{"-", nullptr}, {"grassetto", workbook_add_format(wb)}};
    format_set_bold(formati["grassetto"]);
    for (const auto& [nome, codice] :
         {std::pair{"data", "dd/mm/yyyy"}, {"dataora", "dd/mm/yyyy hh:mm"}, {"ora", "hh:mm:ss"}, {"ore", "[h]:mm"},
          {"importo", "#,##0.00"}, {"percento", "0%"}, {"percento2", "0.00%"}, {"euro", "[$\u20ac-410] #,##0.00"},
          {"euro2", "#,##0.00 [$\u20ac-410];[RED]-#,##0.00 [$\u20ac-410]"}, {"partitaiva", "00000000000"}}) {
        formati[nome] = workbook_add_format(wb);
        format_set_num_format(formati[nome], codice);
    }
    formati["acapo"] = workbook_add_format(wb);
    format_set_text_wrap(formati["acapo"]);
    for (const quercino::test::Caso& c : quercino::test::Casi(__FILE__, "casi/ods_libreoffice.tsv")) {
        lxw_worksheet* ws = fogli[c[0].toInt() - 1];
        const auto riga = static_cast<lxw_row_t>(c[1].toInt() - 1);
        const auto colonna = static_cast<lxw_col_t>(c[2].toInt() - 1);
        const QByteArray valore = c[4].toUtf8();
        if (c[3] == "testo") {
            worksheet_write_string(ws, riga, colonna, valore.constData(), formati.at(c[5]));
        } else if (c[3] == "numero") {
            worksheet_write_number(ws, riga, colonna, valore.toDouble(), formati.at(c[5]));
        } else if (c[3] == "data" || c[3] == "ora") {
            const QDateTime d = c[3] == "ora" ? QDateTime(QDate(1900, 1, 1), QTime::fromString(c[4], Qt::ISODate))
                                              : QDateTime::fromString(c[4].size() > 10 ? c[4] : c[4] + "T00:00:00", Qt::ISODate);
            lxw_datetime data = {c[3] == "ora" ? 0 : d.date().year(), c[3] == "ora" ? 0 : d.date().month(),
                                 c[3] == "ora" ? 0 : d.date().day(), d.time().hour(), d.time().minute(),
                                 static_cast<double>(d.time().second())};
            worksheet_write_datetime(ws, riga, colonna, &data, formati.at(c[5]));
        } else if (c[3] == "booleano") {
            worksheet_write_boolean(ws, riga, colonna, c[4].toInt(), nullptr);
        } else if (c[3] == "formula") {
            // The cached result stands in the format's column.
            worksheet_write_formula_num(ws, riga, colonna, valore.constData(), nullptr, c[5].toDouble());
        } else if (c[3] == "formula-testo") {
            worksheet_write_formula_str(ws, riga, colonna, valore.constData(), nullptr, c[5].toUtf8().constData());
        } else if (c[3] == "ricco") {
            const QList<QByteArray> parti = valore.split('|');
            lxw_rich_string_tuple prima = {formati["grassetto"], const_cast<char*>(parti[0].constData())};
            lxw_rich_string_tuple seconda = {nullptr, const_cast<char*>(parti[1].constData())};
            lxw_rich_string_tuple* ricco[] = {&prima, &seconda, nullptr};
            worksheet_write_rich_string(ws, riga, colonna, ricco, nullptr);
        } else {
            ADD_FAILURE() << "tipo sconosciuto " << c;
        }
    }
    workbook_close(wb);
}

// The language the programs this test runs speak while it lives (their locale).
class LinguaDeiProgrammi {
public:
    explicit LinguaDeiProgrammi(const char* lingua) : prima_(qgetenv("LC_ALL")), impostata_(qEnvironmentVariableIsSet("LC_ALL"))
    {
        qputenv("LC_ALL", lingua);
    }
    ~LinguaDeiProgrammi()
    {
        if (impostata_)
            qputenv("LC_ALL", prima_);
        else
            qunsetenv("LC_ALL");
    }
    LinguaDeiProgrammi(const LinguaDeiProgrammi&) = delete;
    LinguaDeiProgrammi& operator=(const LinguaDeiProgrammi&) = delete;

private:
    QByteArray prima_;
    bool impostata_;
};

std::string Membro(const QString& file, const std::string& nome)
{
    const ZipArchive archivio(file.toStdString());
    const auto voce = archivio.Trova(nome);
    return voce ? archivio.Leggi(*voce, 1 << 26) : std::string();
}

struct Esito {
    bool letta = false;
    QString messaggio;
    std::size_t righe = 0;
    std::int32_t ultima = 0;
    SheetRow prima;
};

// Opens the file and reads every sheet to its end (or `foglio` only).
Esito Leggi(const QString& percorso, int foglio = 0)
{
    Esito e;
    try {
        const auto cartella = ApriCartella(percorso);
        for (int f = foglio ? foglio : 1; f <= (foglio ? foglio : cartella->NumeroFogli()); ++f) {
            auto lettore = cartella->ApriFoglio(f, 34);
            SheetRow riga;
            while (lettore->Prossima(riga)) {
                if (e.righe++ == 0)
                    e.prima = riga;
                e.ultima = riga.Numero;
            }
        }
        e.letta = true;
    } catch (const SheetError& errore) {
        e.messaggio = errore.Messaggio;
    }
    return e;
}

std::string Tabella(const std::string& righe, const std::string& nome = "A")
{
    return "<table:table table:name=\"" + nome + "\">" + righe + "</table:table>";
}

std::string Cella(const std::string& testo, const std::string& attributi = "")
{
    return "<table:table-cell office:value-type=\"string\"" + attributi + "><text:p>" + testo + "</text:p></table:table-cell>";
}

// A zip whose member `nome` says, in its zip64 fields, that it holds `dimensione` bytes.
std::string ZipConDimensione(const std::vector<std::pair<std::string, std::string>>& membri, const std::string& nome,
                             std::uint64_t dimensione)
{
    std::string file;
    std::string directory;
    for (const auto& [n, dati] : membri) {
        const auto crc = static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(dati.data()), static_cast<uInt>(dati.size())));
        const auto offset = static_cast<std::uint32_t>(file.size());
        const bool grande = n == nome;
        const auto lunghezza = static_cast<std::uint32_t>(dati.size());
        Campi(file, {{4, 0x04034b50}, {2, 45}, {2, 0}, {2, 0}, {4, 0}, {4, crc}, {4, lunghezza}, {4, lunghezza},
                     {2, static_cast<std::uint32_t>(n.size())}, {2, 0}});
        file += n + dati;
        Campi(directory, {{4, 0x02014b50}, {2, 45}, {2, 45}, {2, 0}, {2, 0}, {4, 0}, {4, crc}, {4, lunghezza},
                          {4, grande ? 0xFFFFFFFFu : lunghezza}, {2, static_cast<std::uint32_t>(n.size())},
                          {2, grande ? 12u : 0u}, {2, 0}, {2, 0}, {2, 0}, {4, 0}, {4, offset}});
        directory += n;
        if (grande) {
            Campi(directory, {{2, 1}, {2, 8}});
            Campi(directory, {{4, static_cast<std::uint32_t>(dimensione)}, {4, static_cast<std::uint32_t>(dimensione >> 32)}});
        }
    }
    const auto inizio = static_cast<std::uint32_t>(file.size());
    const auto voci = static_cast<std::uint32_t>(membri.size());
    file += directory;
    Campi(file, {{4, 0x06054b50}, {2, 0}, {2, 0}, {2, voci}, {2, voci}, {4, static_cast<std::uint32_t>(directory.size())},
                 {4, inizio}, {2, 0}});
    return file;
}

} // namespace

TEST(OdsCellText, CasiDellaTabella)
{
    const auto testo = [](std::optional<bool> b) { return b ? QString(*b ? "VERO" : "FALSO") : QString(); };
    quercino::test::ControllaFunzioni(__FILE__, "casi/ods.tsv", {
        {"Durata", [](const QStringList& a) { return QStringList{TestoDurata(a[0].toStdString())}; }},
        {"Booleano", [&](const QStringList& a) { return QStringList{testo(ValoreBooleano(a[0].toStdString()))}; }},
        {"FormulaBooleana", [&](const QStringList& a) { return QStringList{testo(FormulaBooleana(a[0].toStdString()))}; }},
        {"TestoBooleano", [&](const QStringList& a) { return QStringList{testo(TestoBooleano(a[0].toStdString()))}; }},
        {"ErroreMostrato", [](const QStringList& a) { return QStringList{ErroreMostrato(a[0].toStdString()).value_or(QString())}; }},
    });
}

// Two workbooks saved by LibreOffice Calc as .ods and as .xlsx: one written as Excel stores
// cells (opened in Calc, as a user opens an Excel workbook to save it again), one typed in
// Calc (a flat .fods). Both readers give the same sheets and the same text in every cell,
// the one the tables say.
TEST(OdsReader, LibreOfficeSavesTheSameCellsInOdsAndXlsx)
{
    QTemporaryDir dir;
    const QString excel = dir.filePath(QStringLiteral("excel.xlsx"));
    ScriviSorgente(excel);
    const QString calc = dir.filePath(QStringLiteral("nativa.fods"));
    ASSERT_TRUE(QFile::copy(quercino::test::Accanto(__FILE__, QStringLiteral("casi/ods_nativa.fods")), calc));
    const QString salvati = dir.filePath(QStringLiteral("calc"));
    produttori::DaCalc({excel, calc}, QStringLiteral("ods"), salvati);
    produttori::DaCalc({excel, calc}, QStringLiteral("xlsx"), salvati);

    struct Caso {
        const char* nome;
        const char* tabella;
        int campo;
        QStringList fogli;
        const char* ripetute;   // cells repeated in the .ods
    };
    for (const Caso& c : {Caso{"excel", "casi/ods_libreoffice.tsv", 6, {"Emesse", "Ricevute"},
                               "table:number-columns-repeated=\"3\" office:value-type=\"string\""},
                          Caso{"nativa", "casi/ods_nativa.tsv", 3, {"Dati", "Seconda", "Nascosta"},
                               "table:number-columns-repeated=\"2\" office:value-type=\"float\""}}) {
        SCOPED_TRACE(c.nome);
        const QString ods = QDir(salvati).filePath(QString::fromLatin1(c.nome) + ".ods");
        const QString xlsx = QDir(salvati).filePath(QString::fromLatin1(c.nome) + ".xlsx");
        // Really written by LibreOffice, with repeated cells that are not empty.
        EXPECT_NE(Membro(ods, "meta.xml").find("LibreOffice"), std::string::npos);
        EXPECT_NE(Membro(ods, "content.xml").find(c.ripetute), std::string::npos);
        const auto daOds = ApriCartella(ods);
        ASSERT_NE(dynamic_cast<const OdsWorkbook*>(daOds.get()), nullptr);
        const auto daXlsx = ApriCartella(xlsx);
        EXPECT_EQ(NomiFogli(*daOds), c.fogli);
        EXPECT_EQ(NomiFogli(*daXlsx), c.fogli);
        const CelleLette celle = NonVuote(*daOds, true);
        EXPECT_EQ(celle, NonVuote(*daXlsx, true));
        EXPECT_EQ(celle, Attese(QString::fromLatin1(c.tabella), c.campo));
    }
}

// Forms of cells other writers use (casi/ods_forme.tsv): errors a writer keeps as 0, booleans
// of every form, styles that show numbers as true/false, line ends, extensions' elements.
TEST(OdsReader, CellFormsOfOtherWriters)
{
    const std::string automatici = "<number:boolean-style style:name=\"N99\"><number:boolean/></number:boolean-style>"
                                   "<number:number-style style:name=\"N1\"><number:number/></number:number-style>"
                                   "<style:style style:name=\"vero\" style:family=\"table-cell\" style:data-style-name=\"N99\"/>"
                                   "<style:style style:name=\"numero\" style:family=\"table-cell\" style:data-style-name=\"N1\"/>"
                                   "<style:style style:name=\"ereditato\" style:family=\"table-cell\" style:parent-style-name=\"Logico\"/>";
    const std::string comuni = "<number:boolean-style style:name=\"N5\"><number:boolean/></number:boolean-style>"
                               "<style:style style:name=\"Logico\" style:family=\"table-cell\" style:data-style-name=\"N5\"/>";
    QTemporaryDir dir;
    for (const quercino::test::Caso& c : quercino::test::Casi(__FILE__, "casi/ods_forme.tsv")) {
        SCOPED_TRACE(c);
        const std::string colonne = c[1] == "-" ? std::string() : c[1].toStdString();
        const std::string attributi = c[2] == "-" ? std::string() : c[2].toStdString();
        const std::string tabella = "<table:table table:name=\"A\">" + colonne + "<table:table-row" + attributi + ">" + c[3].toStdString()
                                    + "</table:table-row></table:table>";
        const QString percorso = dir.filePath(QStringLiteral("forma.ods"));
        ScriviFile(percorso, FoglioDiCalcolo(ContenutoOds(tabella, automatici), true, StiliOds(comuni)));
        const Esito e = Leggi(percorso);
        ASSERT_TRUE(e.letta) << e.messaggio.toStdString();
        std::vector<QString> attese(34);
        attese[0] = c[4];
        EXPECT_EQ(e.prima.Celle, attese);
    }
}

// Booleans LibreOffice keeps as the number 1 or 0 shown as TRUE or FALSE (a comparison in a
// workbook it opened), and those of the boolean type: the same cells from its .ods and its .xlsx.
TEST(OdsReader, LibreOfficeBooleansAsInItsXlsx)
{
    QTemporaryDir dir;
    const QString sorgente = dir.filePath(QStringLiteral("booleani.xlsx"));
    ScriviFile(sorgente, Cartella({{"Dati", "worksheets/sheet1.xml",
                                    "<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\"><v>2</v></c>"
                                    "<c r=\"C1\" t=\"b\"><f>A1&lt;B1</f><v>1</v></c><c r=\"D1\" t=\"b\"><f>A1&gt;B1</f><v>0</v></c>"
                                    "<c r=\"E1\" t=\"b\"><v>1</v></c><c r=\"F1\" t=\"b\"><v>0</v></c></row>"}},
                                  "", ""));
    const CelleLette attese = {{{1, 1}, {{1, "1"}, {2, "2"}, {3, "VERO"}, {4, "FALSO"}, {5, "VERO"}, {6, "FALSO"}}}};
    // LibreOffice shows them in the words of its language, English or Italian.
    for (const char* lingua : {"C.UTF-8", "it_IT.UTF-8"}) {
        SCOPED_TRACE(lingua);
        const LinguaDeiProgrammi scelta(lingua);
        const QString cartella = dir.filePath(QString::fromLatin1(lingua));
        const QString ods = produttori::DaCalc(sorgente, QStringLiteral("ods"), cartella);
        const QString xlsx = produttori::DaCalc(sorgente, QStringLiteral("xlsx"), cartella);
        // Really kept as numbers.
        EXPECT_NE(Membro(ods, "content.xml").find("table:formula=\"of:=[.A1]&lt;[.B1]\" office:value-type=\"float\" office:value=\"1\""),
                  std::string::npos);
        EXPECT_EQ(NonVuote(*ApriCartella(xlsx)), attese);
        EXPECT_EQ(NonVuote(*ApriCartella(ods)), attese);
    }
}

// Other writers of the format: the workbook of casi/ods_libreoffice.tsv (written by
// libxlsxwriter as .xlsx) saved again as .ods by SheetJS and by Gnumeric gives the cells of
// the .xlsx, but for the few the writer itself changes, which read as its file holds them:
// SheetJS writes a number shown as a time as a date cell with its date style (the time's
// format lost: LibreOffice shows the date too), Gnumeric doubles the blanks where two runs
// of a rich text meet.
TEST(OdsReader, OtherWritersKeepTheCellsOfTheXlsx)
{
    QTemporaryDir dir;
    const QString excel = dir.filePath(QStringLiteral("excel.xlsx"));
    ScriviSorgente(excel);
    const CelleLette sorgente = NonVuote(*ApriCartella(excel), true);
    ASSERT_GE(NumeroCelle(sorgente), 50u);
    struct Caso {
        QString ods;
        std::map<std::tuple<int, int, int>, QString> cambiate;
    };
    const Caso casi[] = {
        {produttori::DaSheetJs(excel, QStringLiteral("ods"), dir.filePath(QStringLiteral("sheetjs.ods"))),
         {{{1, 4, 11}, "15/01/2017"}, {{1, 4, 12}, "30/12/1899"}, {{1, 4, 13}, "31/12/1899"}, {{1, 4, 14}, "29/12/1899"}}},
        {produttori::DaGnumeric(excel, QStringLiteral("Gnumeric_OpenCalc:odf"), dir.filePath(QStringLiteral("gnumeric.ods"))),
         {{{1, 4, 6}, "Rossi     Mario "}}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.ods.toStdString());
        CelleLette attese = sorgente;
        for (const auto& [dove, testo] : c.cambiate) {
            const auto& [foglio, riga, colonna] = dove;
            std::map<int, QString>& celle = attese[{foglio, riga}];
            EXPECT_EQ(celle.count(colonna), 1u);
            celle[colonna] = testo;
        }
        const auto cartella = ApriCartella(c.ods);
        ASSERT_NE(dynamic_cast<const OdsWorkbook*>(cartella.get()), nullptr);
        EXPECT_EQ(NomiFogli(*cartella), QStringList({"Emesse", "Ricevute"}));
        EXPECT_EQ(NonVuote(*cartella, true), attese);
    }
}

// Dates before 1 March 1900 are true dates in an .ods file; saved as .xlsx they become
// LibreOffice's own day numbers, which the 1900 system of .xlsx reads a day off (or, before
// 1900, cannot hold): here the .ods tells the date the user sees.
TEST(OdsReader, DatesBeforeMarch1900AreTheDatesTheSheetShows)
{
    QTemporaryDir dir;
    const std::string righe = "<table:table-row>"
                              "<table:table-cell office:value-type=\"date\" office:date-value=\"1899-12-30\"/>"
                              "<table:table-cell office:value-type=\"date\" office:date-value=\"1900-02-28\"/>"
                              "<table:table-cell office:value-type=\"date\" office:date-value=\"1900-03-01\"/>"
                              "<table:table-cell office:value-type=\"date\" office:date-value=\"1800-03-01T12:00:00\"/>"
                              "</table:table-row>";
    const QString percorso = dir.filePath(QStringLiteral("date.ods"));
    ScriviFile(percorso, FoglioDiCalcolo(ContenutoOds(Tabella(righe))));
    const auto cartella = ApriCartella(percorso);
    const auto letta = TutteLeRighe(*cartella, 1);
    ASSERT_EQ(letta.size(), 1u);
    EXPECT_EQ(QStringList(letta[0].Celle.begin(), letta[0].Celle.begin() + 4),
              QStringList({"30/12/1899", "28/02/1900", "01/03/1900", "01/03/1800"}));
}

// The forms other writers may use (casi/ods_a_mano, its cells in casi/ods_a_mano.tsv), its
// members deflated and stored.
TEST(OdsReader, HandBuiltContentForms)
{
    QTemporaryDir dir;
    for (const bool comprimi : {true, false}) {
        SCOPED_TRACE(comprimi);
        const QString percorso = dir.filePath(QStringLiteral("a_mano%1.ods").arg(comprimi));
        ScriviFile(percorso, ZipCartella(quercino::test::Accanto(__FILE__, QStringLiteral("casi/ods_a_mano")), comprimi));
        const auto cartella = ApriCartella(percorso);
        EXPECT_EQ(NomiFogli(*cartella), QStringList({"Prima & unica", "Seconda", "Nascosta"}));
        EXPECT_EQ(NonVuote(*cartella, true), Attese(QStringLiteral("casi/ods_a_mano.tsv"), 3));
    }
    // A sheet with no rows at all, one of an empty element, and nothing more.
    const QString vuoti = dir.filePath(QStringLiteral("vuoti.ods"));
    ScriviFile(vuoti, FoglioDiCalcolo(ContenutoOds("<table:table table:name=\"x\"/>" + Tabella(""))));
    const Esito e = Leggi(vuoti);
    EXPECT_TRUE(e.letta) << e.messaggio.toStdString();
    EXPECT_EQ(e.righe, 0u);
}

// A sheet read after another goes on from where that one stopped: whatever the order, a sheet
// left half read, or two read at once, every sheet gives its own rows.
TEST(OdsReader, SheetsReadInAnyOrderGiveTheirOwnRows)
{
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("a_mano.ods"));
    ScriviFile(percorso, ZipCartella(quercino::test::Accanto(__FILE__, QStringLiteral("casi/ods_a_mano"))));
    const auto cartella = ApriCartella(percorso);
    ASSERT_EQ(cartella->NumeroFogli(), 3);
    const auto numeri = [](const std::vector<SheetRow>& righe) {
        QStringList n;
        for (const SheetRow& r : righe)
            n << QString::number(r.Numero) + ":" + r.Cella(1);
        return n.join(' ');
    };
    const QString attese[] = {"1:Titolo 3: 4:senza tipo 5: 6: 7: 108:dopo 110:esterna", "1:2", "1:nascosta"};
    for (const std::vector<int>& ordine : std::vector<std::vector<int>>{{1, 2, 3}, {3, 2, 1}, {2, 2, 3, 1, 1}, {1, 3}}) {
        for (const int foglio : ordine)
            EXPECT_EQ(numeri(TutteLeRighe(*cartella, foglio)), attese[foglio - 1]) << foglio;
    }
    // The first sheet left after one row; two readers at once.
    {
        auto lasciato = cartella->ApriFoglio(1, 34);
        SheetRow riga;
        ASSERT_TRUE(lasciato->Prossima(riga));
    }
    EXPECT_EQ(numeri(TutteLeRighe(*cartella, 2)), attese[1]);
    auto primo = cartella->ApriFoglio(1, 34);
    auto terzo = cartella->ApriFoglio(3, 34);
    SheetRow a, b;
    ASSERT_TRUE(primo->Prossima(a));
    ASSERT_TRUE(terzo->Prossima(b));
    EXPECT_EQ(a.Cella(1), QStringLiteral("Titolo"));
    EXPECT_EQ(b.Cella(1), QStringLiteral("nascosta"));
    EXPECT_FALSE(terzo->Prossima(b));
    ASSERT_TRUE(primo->Prossima(a));
    EXPECT_EQ(a.Cella(4), QStringLiteral("NOME"));
}

// Repetitions of any size cost nothing while empty; a cell that is not empty fills the
// columns read; a row that is not empty comes back for each repetition, up to the last row
// a sheet has.
TEST(OdsReader, RepetitionsAreBoundedByTheSheet)
{
    QTemporaryDir dir;
    const auto prova = [&](const std::string& righe) {
        const QString percorso = dir.filePath(QStringLiteral("ripetute.ods"));
        ScriviFile(percorso, FoglioDiCalcolo(ContenutoOds(Tabella(righe))));
        return Leggi(percorso);
    };
    for (const char* volte : {"2147483648", "9223372036854775808", "99999999999999999999999999"}) {
        SCOPED_TRACE(volte);
        const Esito cella = prova("<table:table-row>" + Cella("x", std::string(" table:number-columns-repeated=\"") + volte + "\"")
                                  + Cella("dopo") + "</table:table-row>");
        ASSERT_TRUE(cella.letta) << cella.messaggio.toStdString();
        EXPECT_EQ(cella.righe, 1u);
        EXPECT_EQ(cella.prima.Celle, std::vector<QString>(34, QStringLiteral("x")));

        const Esito righe = prova(std::string("<table:table-row table:number-rows-repeated=\"") + volte + "\">" + Cella("r")
                                  + "</table:table-row>");
        EXPECT_EQ(righe.righe, static_cast<std::size_t>(OdsSheetReader::MassimoRighe));
        EXPECT_EQ(righe.ultima, OdsSheetReader::MassimoRighe);
        EXPECT_TRUE(righe.messaggio.contains(QStringLiteral("oltre l'ultima"))) << righe.messaggio.toStdString();

        const Esito vuote = prova(std::string("<table:table-row table:number-rows-repeated=\"") + volte
                                  + "\"><table:table-cell table:number-columns-repeated=\"" + volte
                                  + "\"/></table:table-row><table:table-row>" + Cella("dopo") + "</table:table-row>");
        EXPECT_EQ(vuote.righe, 0u);
        EXPECT_TRUE(vuote.messaggio.contains(QStringLiteral("oltre l'ultima"))) << vuote.messaggio.toStdString();
    }
    // The last row of a sheet, after the empty rows a spreadsheet program writes before it.
    const Esito ultima = prova("<table:table-row table:number-rows-repeated=\"1048575\"><table:table-cell/></table:table-row>"
                               "<table:table-row>" + Cella("ultima") + "</table:table-row>");
    ASSERT_TRUE(ultima.letta) << ultima.messaggio.toStdString();
    EXPECT_EQ(ultima.righe, 1u);
    EXPECT_EQ(ultima.ultima, 1048576);
    // Zero or a text are no repetition count: the row or cell is there once.
    const Esito strane = prova("<table:table-row table:number-rows-repeated=\"0\">" + Cella("a", " table:number-columns-repeated=\"-3\"")
                               + Cella("b", " table:number-columns-repeated=\"x\"") + "</table:table-row>");
    ASSERT_TRUE(strane.letta);
    EXPECT_EQ(strane.righe, 1u);
    EXPECT_EQ(strane.prima.Cella(1) + strane.prima.Cella(2) + strane.prima.Cella(3), QStringLiteral("ab"));
}

// Deep nesting, long texts and spaces without end are read in bounded memory: texts are cut
// at the 32,767 characters of a cell.
TEST(OdsReader, LongAndDeepTextsStopAtTheLimitOfACell)
{
    QTemporaryDir dir;
    std::string profonda = "<table:table-row><table:table-cell office:value-type=\"string\"><text:p>";
    for (int i = 0; i < 100'000; ++i)
        profonda += "<text:span>";
    profonda += "profondo";
    for (int i = 0; i < 100'000; ++i)
        profonda += "</text:span>";
    profonda += "</text:p></table:table-cell>" + Cella(std::string(3 << 20, 'A')) + Cella("<text:s text:c=\"2147483648\"/>")
        + Cella("", " office:string-value=\"" + std::string(900'000, 'S') + "\"")
        + Cella(std::string(32767, 'Z') + "<text:s text:c=\"5\"/>")
        + "<table:table-cell table:number-columns-repeated=\"40\"/>" + Cella(std::string(3 << 20, 'B')) + "</table:table-row>";
    const QString percorso = dir.filePath(QStringLiteral("testi.ods"));
    ScriviFile(percorso, FoglioDiCalcolo(ContenutoOds(Tabella(profonda))));
    const Esito e = Leggi(percorso);
    ASSERT_TRUE(e.letta) << e.messaggio.toStdString();
    EXPECT_EQ(e.prima.Cella(1), QStringLiteral("profondo"));
    EXPECT_EQ(e.prima.Cella(2), QString(32767, QLatin1Char('A')));
    EXPECT_EQ(e.prima.Cella(3), QString(32767, QLatin1Char(' ')));
    EXPECT_EQ(e.prima.Cella(4), QString(32767, QLatin1Char('S')));
    EXPECT_EQ(e.prima.Cella(5), QString(32767, QLatin1Char('Z')));
}

TEST(OdsReader, DamagedAndHostileFilesGiveTheMessages)
{
    QTemporaryDir dir;
    const auto prova = [&](const char* nome, const std::string& dati, const char* parola) {
        SCOPED_TRACE(nome);
        const QString percorso = dir.filePath(QString::fromLatin1(nome));
        ScriviFile(percorso, dati);
        const Esito e = Leggi(percorso);
        EXPECT_FALSE(e.letta);
        // Every message names the file ("%1" in the words looked for), and no other kind.
        EXPECT_TRUE(e.messaggio.contains(QString::fromUtf8(parola).replace(QStringLiteral("%1"), percorso))) << e.messaggio.toStdString();
        EXPECT_TRUE(e.messaggio.contains(percorso)) << e.messaggio.toStdString();
        EXPECT_FALSE(e.messaggio.contains(QStringLiteral("Excel"))) << e.messaggio.toStdString();
    };
    const std::string righe = "<table:table-row>" + Cella("NOME") + "</table:table-row>";
    const std::string contenuto = ContenutoOds(Tabella(righe) + Tabella(righe, "B"));

    prova("troncato.ods", FoglioDiCalcolo(contenuto.substr(0, contenuto.size() - 60)), "La parte content.xml del file %1 contiene XML non valido");
    prova("rotto.ods", FoglioDiCalcolo(contenuto.substr(0, contenuto.find("</table:table>")) + "<table:table-cell"),
          "La parte content.xml del file %1 contiene XML non valido");
    prova("stili_rotti.ods", FoglioDiCalcolo(contenuto, true, "<office:document-styles"), "La parte styles.xml del file %1 contiene XML non valido");
    std::string annidati;
    for (int i = 0; i < (1 << 20) + 1; ++i)
        annidati += "<a>";
    prova("profondo.ods", FoglioDiCalcolo(ContenutoOds(annidati)), "annidati");
    // The zip is whole, the deflated content.xml has a byte changed past the first sheet: its
    // CRC tells, as the file is opened, before any row is read.
    std::string alterato = FoglioDiCalcolo(contenuto + std::string(5000, ' '));
    const std::size_t dati = alterato.find("content.xml") + 11 + 200;
    alterato[dati] = static_cast<char>(alterato[dati] ^ 0x55);
    prova("alterato.ods", alterato, "La parte content.xml del file %1 è danneggiata");
    EXPECT_THROW(ApriCartella(dir.filePath(QStringLiteral("alterato.ods"))), SheetError);
    const std::string intero = FoglioDiCalcolo(contenuto);
    prova("tagliato.ods", intero.substr(0, intero.size() - 30),
          "Il file %1 non è un archivio leggibile: è danneggiato, troncato o non è una cartella di lavoro (.xlsx, .xlsm, .xlsb o .ods).");
    prova("senza_contenuto.ods", Zip({{"mimetype", MimetypeOds}, {"META-INF/manifest.xml", ManifestoOds()}}),
          "non è un foglio di calcolo OpenDocument (.ods) leggibile");
    prova("testo.odt", Zip({{"mimetype", "application/vnd.oasis.opendocument.text"}, {"content.xml", contenuto}}),
          "non è un foglio di calcolo OpenDocument (.ods) leggibile");
    prova("senza_fogli.ods",
          FoglioDiCalcolo("<office:document-content xmlns:office=\"o\"><office:body><office:text/></office:body></office:document-content>"),
          "non è un foglio di calcolo OpenDocument (.ods) leggibile");
    prova("cifrato.ods",
          Zip({{"mimetype", MimetypeOds},
               {"META-INF/manifest.xml", ManifestoOds("<manifest:encryption-data manifest:checksum-type=\"SHA1/1K\" manifest:checksum=\"x\">"
                                                      "<manifest:algorithm manifest:algorithm-name=\"Blowfish CFB\"/>"
                                                      "</manifest:encryption-data>")},
               {"content.xml", std::string("\x8f\x12\xa0 cifrati", 10)}}),
          "protetto da password");
    // Zip bombs: a content.xml said to be larger than any spreadsheet, and one that inflates
    // past the size it declares.
    prova("enorme.ods", ZipConDimensione({{"mimetype", MimetypeOds}, {"content.xml", contenuto}}, "content.xml", std::uint64_t{5} << 30),
          "troppo grande");
    std::string bugiardo = FoglioDiCalcolo(ContenutoOds(Tabella("<table:table-row>" + Cella(std::string(10 << 20, ' ')) + "</table:table-row>")));
    int intestazioni = 0;
    for (std::size_t dove = bugiardo.find("content.xml"); dove != std::string::npos; dove = bugiardo.find("content.xml", dove + 1)) {
        // The uncompressed size lies 8 bytes before the name in the local header and 22 in
        // the central one: both say 1000 bytes.
        const bool locale = dove >= 30 && bugiardo.compare(dove - 30, 4, "PK\x03\x04") == 0;
        const bool centrale = dove >= 46 && bugiardo.compare(dove - 46, 4, "PK\x01\x02") == 0;
        if (locale || centrale) {
            bugiardo.replace(dove - (centrale ? 22 : 8), 4, std::string("\xe8\x03\x00\x00", 4));
            ++intestazioni;
        }
    }
    EXPECT_EQ(intestazioni, 2);
    prova("bugiardo.ods", bugiardo, "danneggiata");
    std::string tante;
    for (std::size_t i = 0; i <= OdsWorkbook::MassimoFogli; ++i)
        tante += "<table:table/>";
    prova("tanti_fogli.ods", FoglioDiCalcolo(ContenutoOds(tante)), "più fogli");

    // A sheet asked for that the file has not.
    const QString buono = dir.filePath(QStringLiteral("buono.ods"));
    ScriviFile(buono, intero);
    const auto cartella = ApriCartella(buono);
    ASSERT_EQ(cartella->NumeroFogli(), 2);
    for (const int foglio : {0, 3}) {
        try {
            cartella->ApriFoglio(foglio, 34);
            ADD_FAILURE() << foglio;
        } catch (const SheetError& e) {
            EXPECT_TRUE(e.Messaggio.contains(QStringLiteral("non ha il foglio numero %1").arg(foglio)));
        }
    }
}

// A file that inflates to far more than its size: read through in a bounded buffer, its text
// cut at a cell's limit.
TEST(OdsReader, ALargeContentIsStreamed)
{
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("grande.ods"));
    ScriviFile(percorso, FoglioDiCalcolo(ContenutoOds(Tabella("<table:table-row>" + Cella(std::string(64 << 20, 'A'))
                                                             + "</table:table-row>"))));
    EXPECT_LT(QFileInfo(percorso).size(), 1 << 20);
    const Esito e = Leggi(percorso);
    ASSERT_TRUE(e.letta) << e.messaggio.toStdString();
    EXPECT_EQ(e.prima.Cella(1), QString(32767, QLatin1Char('A')));
}

// The hand-built content with a few bytes changed, cut or repeated, packed into a valid
// file each time: reading ends with rows or with a message, never with a crash (the
// sanitizer build runs this too).
TEST(OdsReader, DamagedContentNeverCrashesOrHangs)
{
    QFile file(quercino::test::Accanto(__FILE__, QStringLiteral("casi/ods_a_mano/content.xml")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string buono = file.readAll().toStdString();
    QTemporaryDir dir;
    std::mt19937 rnd(11);
    int lette = 0;
    int rifiutate = 0;
    for (int prova = 0; prova < 300; ++prova) {
        const std::string copia = Guasta(buono, rnd);
        const QString percorso = dir.filePath(QStringLiteral("rotto.ods"));
        ScriviFile(percorso, FoglioDiCalcolo(copia));
        const Esito e = Leggi(percorso);
        if (e.letta) {
            ++lette;
        } else {
            EXPECT_FALSE(e.messaggio.isEmpty());
            ++rifiutate;
        }
    }
    EXPECT_EQ(lette + rifiutate, 300);
    EXPECT_GT(rifiutate, 0);
    EXPECT_GT(lette, 0);
}
