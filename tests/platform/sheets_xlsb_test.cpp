// The .xlsb reader against workbooks written by the tests' own writer of the binary format
// (support/scrittore_xlsb.h), its cells in the long and in the short form: cell by cell
// against a table of expected texts, against LibreOffice's reading of the same files (an
// independent reader of the format, so that writer and reader cannot share one
// misunderstanding), against the .xlsx reader's text for the same values written by
// libxlsxwriter; against SheetJS's own .xlsb files of a workbook, which must give the cells
// of its .xlsx; and on hostile files.

#include "sheets_fixture.h"

#include "platform/sheets/SheetError.h"
#include "platform/sheets/Workbook.h"
#include "platform/sheets/XlsbCellText.h"
#include "platform/sheets/XlsbSharedStrings.h"
#include "platform/sheets/XlsbWorkbook.h"
#include "platform/sheets/XlsxWorkbook.h"
#include "platform/sheets/ZipArchive.h"
#include "support/casi.h"
#include "support/produttori_cartelle.h"
#include "support/scrittore_xlsb.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <charconv>
#include <functional>
#include <map>
#include <random>

using namespace quercino::sheets;
using namespace sheets_fixture;
using quercino::test::Caso;
using quercino::test::ScrittoreXlsb;

namespace {

using Membri = std::vector<std::pair<std::string, std::string>>;

// The members of a workbook made by `scrivi` with the writer.
Membri MembriXlsb(const std::function<void(ScrittoreXlsb&)>& scrivi, bool sistema1904 = false)
{
    Membri membri;
    ScrittoreXlsb w([&](const std::string& nome) { membri.emplace_back(nome, std::string()); },
                    [&](std::string_view byte) { membri.back().second += byte; }, sistema1904);
    scrivi(w);
    w.Chiudi();
    return membri;
}

std::string& Membro(Membri& membri, const std::string& nome)
{
    for (auto& [n, dati] : membri)
        if (n == nome)
            return dati;
    ADD_FAILURE() << "nessun membro " << nome;
    static std::string nessuno;
    return nessuno;
}


std::vector<Caso> CasiDelSistema(const QString& sistema)
{
    std::vector<Caso> casi;
    for (const Caso& c : quercino::test::Casi(__FILE__, "casi/xlsb.tsv"))
        if (c[0] == sistema)
            casi.push_back(c);
    return casi;
}

CelleLette Attese(const std::vector<Caso>& casi)
{
    CelleLette attese;
    for (const Caso& c : casi)
        if (!c[7].isEmpty())
            attese[{c[1].toInt(), c[2].toInt()}][c[3].toInt()] = c[7];
    return attese;
}

// The table's cells written with the writer, rows in order within each sheet; with `brevi`
// every cell that follows the previous one of its row in the short form.
Membri ScriviTabella(const std::vector<Caso>& casi, bool sistema1904, bool brevi = false)
{
    return MembriXlsb(
        [&](ScrittoreXlsb& w) {
            w.FormeBrevi(brevi);
            std::map<QString, int> stili = {{"-", 0},
                                            {"data", w.Stile("dd/mm/yyyy")},
                                            {"14", w.StileIncorporato(14)},
                                            {"datalunga", w.Stile("d mmmm yyyy")},
                                            {"importo", w.StileIncorporato(4)},
                                            {"ora", w.StileIncorporato(20)},
                                            {"testo", w.StileIncorporato(49)}};
            std::map<std::pair<int, int>, std::vector<const Caso*>> righe;
            for (const Caso& c : casi)
                righe[{c[1].toInt(), c[2].toInt()}].push_back(&c);
            int foglio = 0;
            for (const auto& [dove, celle] : righe) {
                while (foglio < dove.first)
                    w.Foglio(foglio++ == 0 ? "Zeta emesse" : "Alfa ricevute");
                w.Riga(dove.second);
                for (const Caso* c : celle) {
                    const int col = (*c)[3].toInt();
                    const QString tipo = (*c)[4];
                    const QString v = (*c)[5];
                    const std::string u = v.toStdString();
                    const int stile = stili.at((*c)[6]);
                    if (tipo == "numero") w.Numero(col, v.toDouble(), stile);
                    else if (tipo == "rk-intero") w.Rk(col, quercino::test::RkIntero(v.toInt()), stile);
                    else if (tipo == "rk-centesimi") w.Rk(col, quercino::test::RkIntero(v.toInt(), true), stile);
                    else if (tipo == "rk-reale") w.Rk(col, quercino::test::RkReale(v.toDouble()), stile);
                    else if (tipo == "testo") w.Testo(col, u, stile);
                    else if (tipo == "ricco") w.TestoRicco(col, u, true);
                    else if (tipo == "fonetico") w.TestoRicco(col, v.section('|', 0, 0).toStdString(), false, v.section('|', 1).toStdString());
                    else if (tipo == "in-cella") w.TestoInCella(col, u);
                    else if (tipo == "booleano") w.Booleano(col, v == "1");
                    else if (tipo == "errore") w.Errore(col, static_cast<std::uint8_t>(v.toInt(nullptr, 16)));
                    else if (tipo == "formula-numero") w.FormulaNumero(col, v.toDouble(), stile);
                    else if (tipo == "formula-testo") w.FormulaTesto(col, u);
                    else if (tipo == "formula-booleano") w.FormulaBooleano(col, v == "1");
                    else if (tipo == "formula-errore") w.FormulaErrore(col, static_cast<std::uint8_t>(v.toInt(nullptr, 16)));
                    else if (tipo == "vuota") w.Vuota(col, stile);
                    else ADD_FAILURE() << "tipo sconosciuto " << *c;
                }
            }
        },
        sistema1904);
}

// The same values as an .xlsx file written by libxlsxwriter, for the kinds it writes.
void ScriviConLibreria(const QString& percorso, const std::vector<Caso>& casi)
{
    const NumeriC numeri;
    lxw_workbook* wb = workbook_new(percorso.toUtf8().constData());
    lxw_worksheet* fogli[] = {workbook_add_worksheet(wb, "Zeta emesse"), workbook_add_worksheet(wb, "Alfa ricevute")};
    std::map<QString, lxw_format*> formati = {{"-", nullptr}};
    for (const auto& [nome, codice] : {std::pair{"data", "dd/mm/yyyy"}, {"14", "m/d/yyyy"}, {"datalunga", "d mmmm yyyy"},
                                       {"importo", "#,##0.00"}, {"ora", "h:mm"}, {"testo", "@"}}) {
        formati[nome] = workbook_add_format(wb);
        format_set_num_format(formati[nome], codice);
    }
    for (const Caso& c : casi) {
        lxw_worksheet* ws = fogli[c[1].toInt() - 1];
        const auto r = static_cast<lxw_row_t>(c[2].toInt() - 1);
        const auto col = static_cast<lxw_col_t>(c[3].toInt() - 1);
        const QString tipo = c[4];
        const QString v = c[5];
        lxw_format* f = formati.at(c[6]);
        if (tipo == "numero" || tipo == "rk-intero" || tipo == "rk-reale")
            worksheet_write_number(ws, r, col, v.toDouble(), f);
        else if (tipo == "rk-centesimi")
            worksheet_write_number(ws, r, col, v.toDouble() / 100, f);
        else if (tipo == "testo" || tipo == "ricco" || tipo == "in-cella")
            worksheet_write_string(ws, r, col, v.toUtf8().constData(), f);
        else if (tipo == "fonetico")
            worksheet_write_string(ws, r, col, v.section('|', 0, 0).toUtf8().constData(), f);
        else if (tipo == "booleano")
            worksheet_write_boolean(ws, r, col, v == "1", f);
        else if (tipo == "formula-numero")
            worksheet_write_formula_num(ws, r, col, ("=" + v).toUtf8().constData(), f, v.toDouble());
        else if (tipo == "vuota")
            worksheet_write_blank(ws, r, col, f);
    }
    workbook_close(wb);
}

QString FileXlsb(const QTemporaryDir& dir, const QString& nome, const Membri& membri, bool comprimi = true)
{
    const QString percorso = dir.filePath(nome);
    ScriviFile(percorso, Zip(membri, comprimi));
    return percorso;
}

// How many cells of the file's sheets are in the short form (record types 12 to 18): the
// records counted by their headers, read here on their own.
int RecordBrevi(const QString& percorso)
{
    const ZipArchive archivio(percorso.toStdString());
    int brevi = 0;
    for (const ZipEntry& voce : archivio.Voci()) {
        if (!voce.Nome.starts_with("xl/worksheets/"))
            continue;
        const std::string dati = archivio.Leggi(voce, 1 << 28);
        std::size_t i = 0;
        const auto numero = [&](int massimoByte) {
            std::uint32_t v = 0;
            for (int k = 0; k < massimoByte && i < dati.size(); ++k) {
                const auto b = static_cast<std::uint8_t>(dati[i++]);
                v |= static_cast<std::uint32_t>(b & 0x7F) << (7 * k);
                if (!(b & 0x80))
                    break;
            }
            return v;
        };
        while (i < dati.size()) {
            const std::uint32_t tipo = numero(2);
            const std::uint32_t dimensione = numero(4);
            brevi += tipo >= 12 && tipo <= 18;
            i += dimensione;
        }
    }
    return brevi;
}

QString Messaggio(const QString& percorso)
{
    try {
        const auto cartella = ApriCartella(percorso);
        for (int f = 1; f <= cartella->NumeroFogli(); ++f)
            TutteLeRighe(*cartella, f);
    } catch (const SheetError& e) {
        return e.Messaggio;
    }
    return QStringLiteral("(nessun errore)");
}

} // namespace

TEST(XlsbReader, ReadsEveryKindOfCellItsWriterWrote)
{
    QTemporaryDir dir;
    for (const bool sistema1904 : {false, true}) {
        for (const bool brevi : {false, true}) {
            SCOPED_TRACE(testing::Message() << (sistema1904 ? "1904" : "1900") << (brevi ? ", forme brevi" : ""));
            const auto casi = CasiDelSistema(sistema1904 ? "1904" : "1900");
            const QString file = FileXlsb(dir, QStringLiteral("tabella.xlsb"), ScriviTabella(casi, sistema1904, brevi));
            EXPECT_EQ(RecordBrevi(file) > 0, brevi);
            const auto cartella = ApriCartella(file);
            const auto* binaria = dynamic_cast<const XlsbWorkbook*>(cartella.get());
            ASSERT_NE(binaria, nullptr);
            EXPECT_EQ(binaria->Sistema1904(), sistema1904);
            ASSERT_EQ(cartella->NumeroFogli(), 2);
            EXPECT_EQ(cartella->NomeFoglio(1), QStringLiteral("Zeta emesse"));
            EXPECT_EQ(cartella->NomeFoglio(2), QStringLiteral("Alfa ricevute"));
            EXPECT_EQ(NonVuote(*cartella), Attese(casi));
        }
    }
}

// LibreOffice reads the writer's files (as .xlsx files again, which the .xlsx reader reads):
// the same sheets in the same order, the same date system and every cell the same text, the
// cells in the long form or in the short one.
TEST(XlsbReader, LibreOfficeReadsTheSameCells)
{
    QTemporaryDir dir;
    QStringList nomi;
    QStringList file;
    for (const bool brevi : {false, true}) {
        for (const bool sistema1904 : {false, true}) {
            nomi << QStringLiteral("s%1%2").arg(sistema1904 ? 1904 : 1900).arg(brevi ? "b" : "");
            file << FileXlsb(dir, nomi.back() + ".xlsb", ScriviTabella(CasiDelSistema(sistema1904 ? "1904" : "1900"), sistema1904, brevi));
        }
    }
    const QStringList convertiti = produttori::DaCalc(file, QStringLiteral("xlsx"), dir.filePath(QStringLiteral("lo")));
    ASSERT_EQ(convertiti.size(), nomi.size());
    for (qsizetype i = 0; i < nomi.size(); ++i) {
        SCOPED_TRACE(nomi[i].toStdString());
        const auto nostra = ApriCartella(file[i]);
        ASSERT_TRUE(QFile::exists(convertiti[i]));
        const auto sua = ApriCartella(convertiti[i]);
        ASSERT_NE(dynamic_cast<const XlsxWorkbook*>(sua.get()), nullptr);
        EXPECT_EQ(dynamic_cast<const XlsxWorkbook&>(*sua).Sistema1904(), dynamic_cast<const XlsbWorkbook&>(*nostra).Sistema1904());
        ASSERT_EQ(sua->NumeroFogli(), nostra->NumeroFogli());
        for (int f = 1; f <= nostra->NumeroFogli(); ++f)
            EXPECT_EQ(sua->NomeFoglio(f), nostra->NomeFoglio(f));
        EXPECT_EQ(NonVuote(*sua), NonVuote(*nostra));
    }
}

// SheetJS writes every cell that follows another in its row in the short form: its .xlsb of
// a workbook (numbers, dates, texts, booleans, formulas, written by libxlsxwriter as .xlsx)
// gives every cell of the .xlsx, whole; LibreOffice reads SheetJS's file alike.
TEST(XlsbReader, SheetJsFilesGiveTheCellsOfTheirXlsx)
{
    QTemporaryDir dir;
    const QString xlsx = dir.filePath(QStringLiteral("libreria.xlsx"));
    ScriviConLibreria(xlsx, CasiDelSistema("1900"));
    const QString xlsb = produttori::DaSheetJs(xlsx, QStringLiteral("xlsb"), dir.filePath(QStringLiteral("sheetjs.xlsb")));
    const CelleLette attese = NonVuote(*ApriCartella(xlsx));
    ASSERT_GE(NumeroCelle(attese), 50u);
    const auto daSheetJs = ApriCartella(xlsb);
    ASSERT_NE(dynamic_cast<const XlsbWorkbook*>(daSheetJs.get()), nullptr);
    EXPECT_EQ(NonVuote(*daSheetJs), attese);
    // Really in the short form: records of types 12 to 18 in its sheets.
    EXPECT_GT(RecordBrevi(xlsb), 10);
    const QString daCalc = produttori::DaCalc(xlsb, QStringLiteral("xlsx"), dir.filePath(QStringLiteral("lo")));
    EXPECT_EQ(NonVuote(*ApriCartella(daCalc)), attese);
}

// The same values in an .xlsx file written by libxlsxwriter give the same texts: the .xlsb
// numbers pass through the decimal text the XML form stores.
TEST(XlsbReader, SameTextsAsTheXlsxReaderForTheSameValues)
{
    QTemporaryDir dir;
    const auto casi = CasiDelSistema("1900");
    ScriviConLibreria(dir.filePath(QStringLiteral("libreria.xlsx")), casi);
    const auto xlsx = NonVuote(*ApriCartella(dir.filePath(QStringLiteral("libreria.xlsx"))));
    const auto xlsb = NonVuote(*ApriCartella(FileXlsb(dir, QStringLiteral("tabella.xlsb"), ScriviTabella(casi, false))));
    int confrontate = 0;
    for (const Caso& c : casi) {
        const QString tipo = c[4];
        if (tipo.startsWith("errore") || tipo == "formula-testo" || tipo == "formula-booleano" || tipo == "formula-errore")
            continue;   // libxlsxwriter writes no such cells: LibreOffice's reading covers them
        const std::pair<int, int> dove{c[1].toInt(), c[2].toInt()};
        const int col = c[3].toInt();
        const auto leggi = [&](const CelleLette& l) {
            const auto r = l.find(dove);
            return r == l.end() || !r->second.count(col) ? QString() : r->second.at(col);
        };
        EXPECT_EQ(leggi(xlsb), leggi(xlsx)) << c;
        ++confrontate;
    }
    EXPECT_GT(confrontate, 40);
}

// A number's text comes from its shortest round-trip decimal form, whose digits are those of
// Python's repr (the same shortest form) for amounts, serials and arbitrary doubles.
TEST(XlsbCellText, ShortestDecimalsAreThoseOfPython)
{
    std::mt19937_64 rnd(11);
    std::vector<double> valori = {0.1, 0.30000000000000004, 1e20, 1e-7, 123456789012345678.0, 5e-324, 1.7976931348623157e308};
    for (int i = 0; i < 400; ++i) {
        valori.push_back(static_cast<double>(static_cast<std::int64_t>(rnd() % 100000000000)) / 100);
        std::uint64_t bit = rnd() & 0x7FEFFFFFFFFFFFFFull;
        double v = 0;
        std::memcpy(&v, &bit, sizeof v);
        valori.push_back(v);
    }
    QStringList argomenti = {QStringLiteral("-c"), QStringLiteral("import sys\nfor a in sys.argv[1:]: print(repr(float.fromhex(a)))")};
    for (double v : valori)
        argomenti << QString::fromStdString([&] {
            char b[64];
            return std::string(b, std::to_chars(b, b + sizeof b, v, std::chars_format::hex).ptr);
        }());
    const QStringList python = QString::fromLatin1(Esegui(QStringLiteral("/usr/bin/python3"), argomenti)).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(python.size(), static_cast<qsizetype>(valori.size()));
    // Digits and the power of ten of the first, whatever the notation.
    const auto cifre = [](const QString& testo) {
        QString mantissa = testo.section(QRegularExpression("[eE]"), 0, 0);
        const int esponente = testo.section(QRegularExpression("[eE]"), 1).toInt();
        const qsizetype punto = mantissa.indexOf('.');
        int potenza = static_cast<int>(punto < 0 ? mantissa.size() : punto) + esponente;
        mantissa.remove('.');
        while (mantissa.startsWith('0') && mantissa.size() > 1) {
            mantissa.remove(0, 1);
            --potenza;
        }
        while (mantissa.endsWith('0') && mantissa.size() > 1)
            mantissa.chop(1);
        return mantissa + " e" + QString::number(potenza);
    };
    for (std::size_t i = 0; i < valori.size(); ++i)
        EXPECT_EQ(cifre(QString::fromStdString(DecimaleBreve(valori[i]))), cifre(python[static_cast<qsizetype>(i)])) << python[static_cast<qsizetype>(i)].toStdString();
}

// A cell holds at most 32,767 characters: longer texts of every kind are cut there, and a
// text of exactly that length stays.
TEST(XlsbReader, CellTextsStopAtTheLimitOfACell)
{
    const std::string lungo(40000, 'A');
    QTemporaryDir dir;
    const auto cartella = ApriCartella(FileXlsb(dir, QStringLiteral("lunghe.xlsb"), MembriXlsb([&](ScrittoreXlsb& w) {
        w.Foglio("A");
        w.Riga(1);
        w.Testo(1, lungo);
        w.TestoInCella(2, lungo);
        w.FormulaTesto(3, lungo);
        w.TestoRicco(4, lungo, true, "fonetico");
        w.TestoInCella(5, std::string(32767, 'Z'));
    })));
    const auto righe = TutteLeRighe(*cartella, 1);
    ASSERT_EQ(righe.size(), 1u);
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(righe[0].Cella(c), QString(32767, QLatin1Char('A'))) << c;
    EXPECT_EQ(righe[0].Cella(5), QString(32767, QLatin1Char('Z')));
}

// Hostile and damaged files end with the message the .xlsx reader gives for a damaged
// workbook, in bounded memory and time (the sanitizer build runs these too).
TEST(XlsbReader, HostileFilesGiveAMessage)
{
    using quercino::test::RecordXlsb;
    using quercino::test::StringaXlsb;
    using quercino::test::U32Xlsb;
    QTemporaryDir dir;
    const auto foglio = [](const std::function<void(ScrittoreXlsb&)>& righe) {
        return MembriXlsb([&](ScrittoreXlsb& w) {
            w.Foglio("A");
            righe(w);
        });
    };
    const auto cella = [](std::uint32_t tipo, std::uint32_t colonna, const std::string& valore) {
        return std::pair{tipo, U32Xlsb(colonna) + U32Xlsb(0) + valore};
    };
    // The sheet part's records after its beginning, replaced by `dati`.
    const auto parteFoglio = [&](const std::string& dati) {
        Membri m = foglio([](ScrittoreXlsb&) {});
        Membro(m, "xl/worksheets/sheet1.bin") = RecordXlsb(129, {}) + RecordXlsb(145, {}) + dati;
        return m;
    };
    struct Caso {
        const char* nome;
        Membri membri;
        const char* parola;
    };
    std::vector<Caso> casi;
    casi.push_back({"record oltre la parte", parteFoglio(RecordXlsb(0, U32Xlsb(0) + std::string(13, '\0')) + "\x07\xE8\x07" + std::string(10, 'x')), "danneggiata"});
    casi.push_back({"dimensione di cinque byte", parteFoglio(std::string("\x00\xFF\xFF\xFF\xFF\x01", 6)), "danneggiata"});
    casi.push_back({"tipo di tre byte", parteFoglio(std::string("\x81\x81\x01\x00", 4)), "danneggiata"});
    casi.push_back({"testo oltre il record", foglio([&](ScrittoreXlsb& w) {
                        w.Riga(1);
                        const auto [tipo, dati] = cella(6, 0, U32Xlsb(0x7FFFFFFF) + "AB");
                        w.Record(tipo, dati);
                    }), "danneggiata"});
    casi.push_back({"campo oltre il record", foglio([&](ScrittoreXlsb& w) {
                        w.Riga(1);
                        w.Record(5, U32Xlsb(0) + U32Xlsb(0) + "1234");   // a real of 4 bytes
                    }), "danneggiata"});
    casi.push_back({"righe fuori ordine", foglio([](ScrittoreXlsb& w) {
                        w.Riga(5);
                        w.Riga(3);
                    }), "danneggiata"});
    casi.push_back({"riga ripetuta", foglio([](ScrittoreXlsb& w) {
                        w.Riga(5);
                        w.Numero(1, 1);
                        w.Riga(5);
                    }), "danneggiata"});
    casi.push_back({"riga oltre il foglio", foglio([](ScrittoreXlsb& w) { w.Riga(1048577); }), "danneggiata"});
    casi.push_back({"colonna 16385", foglio([](ScrittoreXlsb& w) {
                        w.Riga(1);
                        w.Numero(16385, 1);
                    }), "danneggiata"});
    casi.push_back({"colonna negativa", foglio([](ScrittoreXlsb& w) {
                        w.Riga(1);
                        w.Numero(0, 1);
                    }), "danneggiata"});
    casi.push_back({"cella senza riga", foglio([](ScrittoreXlsb& w) { w.Numero(1, 1); }), "danneggiata"});
    casi.push_back({"indice oltre la tabella", foglio([&](ScrittoreXlsb& w) {
                        w.Riga(1);
                        w.Testo(1, "uno");
                        const auto [tipo, dati] = cella(7, 1, U32Xlsb(1));
                        w.Record(tipo, dati);
                    }), "non contiene"});
    {
        // Cut at a record's boundary: the sheet's data never end.
        Membri m = foglio([](ScrittoreXlsb& w) {
            w.Riga(1);
            w.Numero(1, 1);
        });
        std::string& dati = Membro(m, "xl/worksheets/sheet1.bin");
        dati.resize(dati.size() - 6);   // the two ends, of a two-byte type each
        casi.push_back({"parte troncata", m, "xl/worksheets/sheet1.bin del file %1 è troncata"});
        Membri n = m;
        Membro(n, "xl/worksheets/sheet1.bin").resize(dati.size() - 5);
        casi.push_back({"parte troncata in un record", n, "danneggiata"});
        Membri vuota = m;
        Membro(vuota, "xl/worksheets/sheet1.bin").clear();
        casi.push_back({"foglio vuoto", vuota, "è troncata"});
    }
    {
        Membri m = foglio([](ScrittoreXlsb& w) { w.Riga(1); });
        Membro(m, "xl/worksheets/sheet1.bin") = RecordXlsb(145, {}) + RecordXlsb(146, {});
        casi.push_back({"foglio senza inizio", m, "danneggiata"});
        Membri libro = foglio([](ScrittoreXlsb& w) { w.Riga(1); });
        Membro(libro, "xl/workbook.bin").erase(0, 2);
        casi.push_back({"cartella senza inizio", libro, "danneggiata"});
        Membri nome = foglio([](ScrittoreXlsb& w) { w.Riga(1); });
        Membro(nome, "xl/workbook.bin") = RecordXlsb(131, {}) + RecordXlsb(156, U32Xlsb(0) + U32Xlsb(1) + StringaXlsb("rId1") + U32Xlsb(1000));
        casi.push_back({"nome oltre il record", nome, "danneggiata"});
        Membri testi = foglio([](ScrittoreXlsb& w) { w.Riga(1); });
        Membro(testi, "xl/sharedStrings.bin") = RecordXlsb(159, U32Xlsb(0) + U32Xlsb(0)) + RecordXlsb(19, std::string(1, '\0') + U32Xlsb(3) + "ab");
        casi.push_back({"testo condiviso oltre il record", testi, "danneggiata"});
        Membri stili = foglio([](ScrittoreXlsb& w) { w.Riga(1); });
        Membro(stili, "xl/styles.bin") = RecordXlsb(278, {}) + RecordXlsb(617, U32Xlsb(1)) + RecordXlsb(47, "\xFF");
        casi.push_back({"formato oltre il record", stili, "danneggiata"});
    }
    // A zip bomb: a sheet of 16 MB of zero bytes (record type 0, a row with no index) that
    // deflates to a few tens of kilobytes, and a member that inflates past its declared size.
    casi.push_back({"bomba", parteFoglio(std::string(16u << 20, '\0')), "danneggiata"});

    // Every message names the file, and the part where it names one.
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const QString percorso = FileXlsb(dir, QStringLiteral("ostile.xlsb"), c.membri);
        const QString messaggio = Messaggio(percorso);
        EXPECT_TRUE(messaggio.contains(QString::fromUtf8(c.parola).replace(QStringLiteral("%1"), percorso))) << messaggio.toStdString();
        EXPECT_TRUE(messaggio.contains(percorso)) << messaggio.toStdString();
        EXPECT_FALSE(messaggio.contains(QStringLiteral("Excel"))) << messaggio.toStdString();
    }
    // A file cut short, whose zip directory is lost: the kinds of workbook read, not "Excel".
    const std::string intera = Zip(foglio([](ScrittoreXlsb& w) {
        w.Riga(1);
        w.Numero(1, 1);
    }));
    const QString tagliata = dir.filePath(QStringLiteral("tagliata.xlsb"));
    ScriviFile(tagliata, intera.substr(0, intera.size() - 30));
    EXPECT_EQ(Messaggio(tagliata), QStringLiteral("Il file %1 non è un archivio leggibile: è danneggiato, troncato o non è una cartella "
                                                  "di lavoro (.xlsx, .xlsm, .xlsb o .ods).").arg(tagliata));

    // The member's declared size says 1 KB less than what inflates.
    Membri gonfia = foglio([](ScrittoreXlsb& w) {
        w.Riga(1);
        for (int c = 1; c <= 200; ++c)
            w.Numero(c, c);
    });
    std::string zip = Zip(gonfia);
    const std::size_t nome = zip.find("xl/worksheets/sheet1.bin");
    for (const std::size_t campo : {nome - 8, zip.find("xl/worksheets/sheet1.bin", nome + 1) - 22})
        zip[campo + 1] = static_cast<char>(static_cast<unsigned char>(zip[campo + 1]) - 4);
    ScriviFile(dir.filePath(QStringLiteral("gonfia.xlsb")), zip);
    EXPECT_TRUE(Messaggio(dir.filePath(QStringLiteral("gonfia.xlsb"))).contains(QStringLiteral("danneggiata")));
}

// Between the cells of a row: what the format places beside a cell (its metadata, the shared
// formula it belongs to) and the blocks of future records and of alternate content, whatever
// they hold, are passed over; any other record there is damage, as is a block closed before
// it opens, or crossed with another, or never closed; and so is a cell in the short form
// first in its row, which has no column to follow.
TEST(XlsbReader, RecordsPassedOverOnlyWhereTheFormatPlacesThem)
{
    using quercino::test::F64Xlsb;
    using quercino::test::RecordXlsb;
    using quercino::test::U32Xlsb;
    const std::string ignoto = RecordXlsb(500, "xyz");
    const std::string futuri = RecordXlsb(35, U32Xlsb(0x00010000));
    const std::string fineFuturi = RecordXlsb(36, {});
    const std::string alternativo = RecordXlsb(37, std::string(2, '\0') + U32Xlsb(0));
    const std::string fineAlternativo = RecordXlsb(38, {});
    const std::string cellaB = RecordXlsb(5, U32Xlsb(1) + U32Xlsb(0) + F64Xlsb(99));
    struct Caso {
        const char* nome;
        std::string record;
        bool letta;
    };
    const std::vector<Caso> casi = {
        {"metadati della cella", RecordXlsb(49, U32Xlsb(1)) + RecordXlsb(50, U32Xlsb(1)), true},
        {"formula condivisa", RecordXlsb(427, std::string(16, '\0')), true},
        {"record futuro ignoto", futuri + ignoto + fineFuturi, true},
        {"cella tra i record futuri", futuri + cellaB + fineFuturi, true},
        {"blocchi annidati", futuri + alternativo + ignoto + fineAlternativo + fineFuturi, true},
        {"contenuto alternativo", alternativo + RecordXlsb(1024, std::string(4, '\0')) + fineAlternativo, true},
        {"record ignoto", ignoto, false},
        {"record della cartella", RecordXlsb(156, U32Xlsb(0) + U32Xlsb(1)), false},
        {"fine senza inizio", fineFuturi, false},
        {"blocchi incrociati", futuri + alternativo + fineFuturi + fineAlternativo, false},
        {"blocco mai chiuso", futuri, false},
        {"cella breve in testa alla riga", RecordXlsb(0, U32Xlsb(1) + std::string(15, '\0')) + RecordXlsb(16, U32Xlsb(0) + F64Xlsb(5)), false},
    };
    QTemporaryDir dir;
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        // A1, then the case's records, then C1, before the ends of the data and of the sheet.
        Membri membri = MembriXlsb([&](ScrittoreXlsb& w) {
            w.Foglio("A");
            w.Riga(1);
            w.Numero(1, 1);
        });
        std::string& foglio = Membro(membri, "xl/worksheets/sheet1.bin");
        const std::string fine = RecordXlsb(146, {}) + RecordXlsb(130, {});
        ASSERT_TRUE(foglio.ends_with(fine));
        foglio.resize(foglio.size() - fine.size());
        foglio += c.record + RecordXlsb(5, U32Xlsb(2) + U32Xlsb(0) + F64Xlsb(3)) + fine;
        const QString file = FileXlsb(dir, QStringLiteral("record.xlsb"), membri);
        if (c.letta) {
            const auto righe = TutteLeRighe(*ApriCartella(file), 1);
            ASSERT_EQ(righe.size(), 1u);
            std::vector<QString> attese(34);
            attese[0] = QStringLiteral("1");
            attese[2] = QStringLiteral("3");
            EXPECT_EQ(righe[0].Celle, attese);
        } else {
            const QString messaggio = Messaggio(file);
            EXPECT_TRUE(messaggio.contains(QStringLiteral("xl/worksheets/sheet1.bin del file %1 è").arg(file))) << messaggio.toStdString();
        }
    }
}

// The counts a shared-strings part announces are not trusted (a table claiming 2^31 entries
// reads as the entries it has), and a table of many empty texts is refused as one of long
// texts would be (with a small limit here; the reader's own is hundreds of megabytes).
TEST(XlsbReader, SharedStringsTakeBoundedMemory)
{
    using quercino::test::RecordXlsb;
    using quercino::test::U32Xlsb;
    QTemporaryDir dir;
    Membri m = MembriXlsb([](ScrittoreXlsb& w) {
        w.Foglio("A");
        w.Riga(1);
        w.Testo(1, "unico");
    });
    std::string& testi = Membro(m, "xl/sharedStrings.bin");
    testi = RecordXlsb(159, U32Xlsb(0x7FFFFFFF) + U32Xlsb(0x80000000)) + testi.substr(testi.find('\x13'));
    EXPECT_EQ(TutteLeRighe(*ApriCartella(FileXlsb(dir, QStringLiteral("conta.xlsb"), m)), 1).at(0).Cella(1), QStringLiteral("unico"));

    std::string molti = RecordXlsb(159, U32Xlsb(30000) + U32Xlsb(30000));
    for (int i = 0; i < 30000; ++i)
        molti += RecordXlsb(19, std::string(1, '\0') + U32Xlsb(0));
    ScriviFile(dir.filePath(QStringLiteral("testi.zip")), Zip({{"sst.bin", molti}}));
    const ZipArchive archivio(dir.filePath(QStringLiteral("testi.zip")).toStdString());
    EXPECT_EQ(XlsbSharedStrings(archivio, *archivio.Trova("sst.bin"), 150'000).Numero(), 30'000u);
    try {
        XlsbSharedStrings(archivio, *archivio.Trova("sst.bin"), 100'000);
        ADD_FAILURE() << "nessun errore";
    } catch (const SheetError& e) {
        EXPECT_TRUE(e.Messaggio.contains(QStringLiteral("troppo grande"))) << e.Messaggio.toStdString();
    }
}

TEST(XlsbReader, DamagedCopiesNeverCrashOrHang)
{
    // A valid workbook with stored members, so that changed bytes reach the records; each
    // copy has a few bytes changed, cut or repeated. Reading ends with rows or a message.
    const Membri membri = MembriXlsb([](ScrittoreXlsb& w) {
        const int data = w.Stile("dd/mm/yyyy");
        w.Foglio("A");
        for (int r = 1; r <= 40; ++r) {
            w.Riga(r);
            w.Testo(1, r % 2 ? "NOME" : "a&b");
            w.Numero(14, 43100, data);
            w.TestoInCella(15, "F<" + std::to_string(r));
            w.Rk(16, quercino::test::RkIntero(r, true));
            w.FormulaTesto(17, "x");
        }
        w.Foglio("B");
        w.Riga(4);
        w.TestoRicco(15, "ricco", true, "fon");
    });
    QTemporaryDir dir;
    std::mt19937 rnd(7);
    int lette = 0;
    int rifiutate = 0;
    for (const bool comprimi : {false, true}) {
        const std::string buona = Zip(membri, comprimi);
        for (int prova = 0; prova < 150; ++prova) {
            const std::string copia = Guasta(buona, rnd);
            const QString percorso = dir.filePath(QStringLiteral("rotta.xlsb"));
            ScriviFile(percorso, copia);
            LettaORifiutata(percorso) ? ++lette : ++rifiutate;
        }
    }
    EXPECT_EQ(lette + rifiutate, 300);
    EXPECT_GT(rifiutate, 0);
}
