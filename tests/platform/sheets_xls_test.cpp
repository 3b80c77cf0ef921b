// The .xls reader against the .xlsx reader on the same sheets saved by LibreOffice in both
// formats (and by Gnumeric as Excel 5.0/95 and 97-2003), against workbooks built record by
// record for the forms no program at hand writes, and against damaged and hostile files,
// which must end in a message within bounded memory.

#include "sheets_fixture.h"
#include "xls_fixture.h"

#include "platform/sheets/CompoundFile.h"
#include "platform/sheets/SheetError.h"
#include "platform/sheets/Workbook.h"
#include "platform/sheets/XlsSheetReader.h"
#include "platform/sheets/XlsWorkbook.h"
#include "platform/sheets/XlsxWorkbook.h"
#include "support/casi.h"
#include "support/golden.h"
#include "support/produttori_cartelle.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <tuple>
#include <map>
#include <random>

using namespace quercino::sheets;
using namespace sheets_fixture;
namespace xf = xls_fixture;
using produttori::DaCalc;
using produttori::DaGnumeric;
using produttori::DaSheetJs;

namespace {

// Every cell that is not empty, of every sheet: (sheet, row) -> column -> text, with the
// names of the sheets under row 0.
CelleLette NonVuoteConNomi(const Workbook& cartella, int colonne = 34)
{
    CelleLette lette;
    for (int foglio = 1; foglio <= cartella.NumeroFogli(); ++foglio) {
        lette[{foglio, 0}][0] = cartella.NomeFoglio(foglio);
        auto lettore = cartella.ApriFoglio(foglio, colonne);
        SheetRow riga;
        while (lettore->Prossima(riga)) {
            EXPECT_EQ(riga.Celle.size(), static_cast<std::size_t>(colonne));
            for (int c = 1; c <= colonne; ++c)
                if (!riga.Cella(c).isEmpty())
                    lette[{foglio, riga.Numero}][c] = riga.Cella(c);
        }
    }
    return lette;
}

CelleLette Leggi(const QString& percorso, int colonne = 34) { return NonVuoteConNomi(*ApriCartella(percorso), colonne); }

std::string Corto(const QString& t) { return t.size() > 60 ? t.left(60).toStdString() + "... (" + std::to_string(t.size()) + ")" : t.toStdString(); }

// Cell by cell, each difference on a line of its own (texts of thousands of characters cut).
void Uguali(const CelleLette& letto, const CelleLette& atteso)
{
    std::map<std::tuple<int, int, int>, std::pair<QString, QString>> tutte;
    for (const auto& [chiave, colonne] : letto)
        for (const auto& [c, t] : colonne)
            tutte[{chiave.first, chiave.second, c}].first = t;
    for (const auto& [chiave, colonne] : atteso)
        for (const auto& [c, t] : colonne)
            tutte[{chiave.first, chiave.second, c}].second = t;
    for (const auto& [dove, testi] : tutte)
        EXPECT_EQ(Corto(testi.first), Corto(testi.second)) << "foglio " << std::get<0>(dove) << " riga " << std::get<1>(dove)
                                                          << " colonna " << std::get<2>(dove);
    EXPECT_TRUE(letto == atteso);
}

QString Xml(QString t)
{
    return t.replace(QLatin1Char('&'), QStringLiteral("&amp;")).replace(QLatin1Char('<'), QStringLiteral("&lt;"))
        .replace(QLatin1Char('>'), QStringLiteral("&gt;")).replace(QLatin1Char('"'), QStringLiteral("&quot;"));
}

QString Scrivi(const QTemporaryDir& dir, const QString& nome, const std::string& byte)
{
    const QString percorso = dir.filePath(nome);
    ScriviFile(percorso, byte);
    return percorso;
}

// The XML of the cells of a LibreOffice flat document by sheet and row, then column.
using CelleFods = std::map<std::pair<int, int>, std::map<int, QString>>;

// One cell of a table's kind ("testo", "numero", "data", "ora", "booleano", "formula"), its
// value and its style ("-" for none).
QString CellaFods(const QString& tipo, const QString& valore, const QString& stile)
{
    const QString s = stile == QStringLiteral("-") ? QString() : QStringLiteral(" table:style-name=\"c%1\"").arg(stile);
    if (tipo == QStringLiteral("testo")) {
        QString p;
        for (const QString& linea : valore.split(QLatin1Char('\n')))
            p += QStringLiteral("<text:p>") + Xml(linea).replace(QStringLiteral(" "), QStringLiteral("<text:s/>")) + QStringLiteral("</text:p>");
        return QStringLiteral("<table:table-cell%1 office:value-type=\"string\">%2</table:table-cell>").arg(s, p);
    }
    if (tipo == QStringLiteral("formula"))
        return QStringLiteral("<table:table-cell%1 table:formula=\"%2\"/>").arg(s, Xml(valore));
    const std::map<QString, QString> attributi = {{"numero", "office:value-type=\"float\" office:value"},
                                                  {"data", "office:value-type=\"date\" office:date-value"},
                                                  {"ora", "office:value-type=\"time\" office:time-value"},
                                                  {"booleano", "office:value-type=\"boolean\" office:boolean-value"}};
    return QStringLiteral("<table:table-cell%1 %2=\"%3\"/>").arg(s, attributi.at(tipo), valore);
}

// The cells of a table of casi/ (sheet, row, column, kind, value, style, text read).
CelleFods CelleDellaTabella(const QString& tabella)
{
    CelleFods celle;
    for (const quercino::test::Caso& c : quercino::test::Casi(__FILE__, tabella))
        celle[{c[0].toInt(), c[1].toInt()}][c[2].toInt()] = CellaFods(c[3], c[4], c[5]);
    return celle;
}

// What the table says each cell gives.
CelleLette AtteseDellaTabella(const QString& tabella)
{
    CelleLette attese;
    for (const quercino::test::Caso& c : quercino::test::Casi(__FILE__, tabella))
        if (!c[6].isEmpty())
            attese[{c[0].toInt(), c[1].toInt()}][c[2].toInt()] = c[6];
    return attese;
}

// A LibreOffice flat document of the sheets `nomi` with those cells, in `cartella`.
QString ScriviFods(const QString& cartella, const QString& nome, const CelleFods& celle, const QStringList& nomi)
{
    QString corpo;
    for (int foglio = 1; foglio <= nomi.size(); ++foglio) {
        corpo += QStringLiteral("<table:table table:name=\"%1\">").arg(Xml(nomi[foglio - 1]));
        int ultima = 0;
        for (const auto& [chiave, colonne] : celle) {
            if (chiave.first != foglio)
                continue;
            if (chiave.second > ultima + 1)
                corpo += QStringLiteral("<table:table-row table:number-rows-repeated=\"%1\"><table:table-cell/></table:table-row>")
                             .arg(chiave.second - ultima - 1);
            corpo += QStringLiteral("<table:table-row>");
            int colonna = 0;
            for (const auto& [c, xml] : colonne) {
                if (c > colonna + 1)
                    corpo += QStringLiteral("<table:table-cell table:number-columns-repeated=\"%1\"/>").arg(c - colonna - 1);
                corpo += xml;
                colonna = c;
            }
            corpo += QStringLiteral("</table:table-row>");
            ultima = chiave.second;
        }
        corpo += QStringLiteral("</table:table>");
    }
    const QString stili = QStringLiteral(R"(
  <number:date-style style:name="Ndata"><number:day number:style="long"/><number:text>/</number:text><number:month number:style="long"/><number:text>/</number:text><number:year number:style="long"/></number:date-style>
  <number:date-style style:name="Ndatalunga"><number:day/><number:text> </number:text><number:month number:textual="true" number:style="long"/><number:text> </number:text><number:year number:style="long"/></number:date-style>
  <number:date-style style:name="Ndataora"><number:day number:style="long"/><number:text>/</number:text><number:month number:style="long"/><number:text>/</number:text><number:year number:style="long"/><number:text> </number:text><number:hours number:style="long"/><number:text>:</number:text><number:minutes number:style="long"/></number:date-style>
  <number:date-style style:name="Niso"><number:year number:style="long"/><number:text>-</number:text><number:month number:style="long"/><number:text>-</number:text><number:day number:style="long"/></number:date-style>
  <number:time-style style:name="Nora"><number:hours number:style="long"/><number:text>:</number:text><number:minutes number:style="long"/></number:time-style>
  <number:number-style style:name="Nimporto"><number:number number:decimal-places="2" number:min-integer-digits="1" number:grouping="true"/></number:number-style>
  <number:number-style style:name="Nzeri"><number:number number:decimal-places="0" number:min-integer-digits="11"/></number:number-style>
  <number:percentage-style style:name="Npercento"><number:number number:decimal-places="0" number:min-integer-digits="1"/><number:text>%</number:text></number:percentage-style>
)");
    QString celleStili;
    for (const char* stile : {"data", "datalunga", "dataora", "iso", "ora", "importo", "zeri", "percento"})
        celleStili += QStringLiteral("<style:style style:name=\"c%1\" style:family=\"table-cell\" style:data-style-name=\"N%1\"/>\n").arg(QLatin1String(stile));
    const QString documento = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2" office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:styles>%1%2</office:styles>
 <office:body><office:spreadsheet>%3</office:spreadsheet></office:body>
</office:document>
)").arg(stili, celleStili, corpo);
    const QString percorso = QDir(cartella).filePath(nome);
    ScriviFile(percorso, documento.toStdString());
    return percorso;
}

// A LibreOffice flat document of two sheets with the cells of casi/xls_calc.tsv, then, on the
// second sheet, generated ones: many distinct shared strings (the table goes on in CONTINUE
// records, texts cut between them), a text longer than a record, and numbers of every size.
QString SorgenteCalc(const QString& cartella)
{
    CelleFods celle = CelleDellaTabella(QStringLiteral("casi/xls_calc.tsv"));
    std::mt19937_64 caso(2017);
    for (int i = 0; i < 3000; ++i) {
        // Latin-1 texts and texts of two-byte characters in turn, so that a cut falls on both.
        const QString t = i % 3 == 0 ? QStringLiteral("Fornitore n. %1 – Città").arg(i) : QStringLiteral("CLIENTE %1 àè").arg(i);
        celle[{2, 10 + i / 4}][1 + i % 4] = CellaFods(QStringLiteral("testo"), t, QStringLiteral("-"));
    }
    QString lungo;
    for (int i = 0; i < 9000; ++i)
        lungo += QChar(i % 7 == 0 ? u'€' : static_cast<char16_t>(u'a' + i % 26));
    celle[{2, 2}][1] = CellaFods(QStringLiteral("testo"), lungo, QStringLiteral("-"));
    for (int i = 0; i < 400; ++i) {
        const double mantissa = std::uniform_real_distribution<double>(1, 10)(caso);
        const int esponente = std::uniform_int_distribution<int>(-12, 18)(caso);
        const double v = (i % 2 ? -1 : 1) * mantissa * std::pow(10.0, esponente);
        celle[{2, 1000 + i / 8}][1 + i % 8] = CellaFods(QStringLiteral("numero"), QString::number(v, 'g', 17), QStringLiteral("-"));
    }
    return ScriviFods(cartella, QStringLiteral("fatture.fods"), celle, {QStringLiteral("Emesse"), QStringLiteral("Ricevute àè")});
}

std::string Messaggio(const QString& percorso, int colonne = 34)
{
    try {
        Leggi(percorso, colonne);
    } catch (const SheetError& e) {
        return e.Messaggio.toStdString();
    }
    return "nessun errore";
}

} // namespace

// The same two sheets saved by LibreOffice as .xls and as .xlsx give the same text in every
// cell, and the texts the table expects; so do the .xls files Gnumeric writes from it, in the
// Excel 5.0/95 format (its "Book" stream and 8-bit texts) and in its own 97-2003 form.
TEST(XlsReader, SameTextsAsTheXlsxOfTheSameSheets)
{
    QTemporaryDir dir;
    const QString sorgente = SorgenteCalc(dir.path());
    const QString xls = DaCalc(sorgente, QStringLiteral("xls"), dir.path());
    const QString xlsx = DaCalc(sorgente, QStringLiteral("xlsx"), dir.path());
    const auto cartellaXls = ApriCartella(xls);
    ASSERT_NE(dynamic_cast<const XlsWorkbook*>(cartellaXls.get()), nullptr);
    EXPECT_EQ(dynamic_cast<const XlsWorkbook&>(*cartellaXls).Versione(), 8);
    ASSERT_NE(dynamic_cast<const XlsxWorkbook*>(ApriCartella(xlsx).get()), nullptr);

    const CelleLette daXlsx = Leggi(xlsx);
    const CelleLette daXls = Leggi(xls);
    Uguali(daXls, daXlsx);
    // Not just alike: what the table says, and the generated cells all there.
    for (const auto& [chiave, colonne] : AtteseDellaTabella(QStringLiteral("casi/xls_calc.tsv")))
        for (const auto& [c, testo] : colonne)
            EXPECT_EQ(Corto(daXls.at(chiave).at(c)), Corto(testo)) << chiave.first << " " << chiave.second << " " << c;
    EXPECT_EQ(daXls.at({1, 0}).at(0), QStringLiteral("Emesse"));
    EXPECT_EQ(daXls.at({2, 0}).at(0), QStringLiteral("Ricevute àè"));
    EXPECT_EQ(daXls.at({2, 2}).at(1).size(), 9000);
    EXPECT_EQ(daXls.at({2, 759}).at(4), QStringLiteral("CLIENTE 2999 àè"));
    EXPECT_EQ(daXls.at({2, 1049}).size(), 8u);

    for (const auto& [esportatore, versione] : {std::pair{"Gnumeric_Excel:excel_biff7", 5}, {"Gnumeric_Excel:excel_biff8", 8}}) {
        SCOPED_TRACE(esportatore);
        const QString gnumeric = DaGnumeric(xls, QLatin1String(esportatore), dir.filePath(QStringLiteral("gnumeric%1.xls").arg(versione)));
        EXPECT_EQ(dynamic_cast<const XlsWorkbook&>(*ApriCartella(gnumeric)).Versione(), versione);
        Uguali(Leggi(gnumeric), daXlsx);
    }
}

namespace {

// One small workbook (casi/xls_produttori.tsv) written by LibreOffice as .xlsx and, as .xls,
// by each program at hand in each of its forms; made once for the tests that use it.
struct Prodotti {
    QString xlsx;
    std::vector<std::pair<std::string, QString>> xls;   // (who wrote it, file)
};

const Prodotti& FileProdotti()
{
    static QTemporaryDir dir;
    static const Prodotti prodotti = [] {
        Prodotti p;
        const QString fods = ScriviFods(dir.path(), QStringLiteral("produttori.fods"), CelleDellaTabella(QStringLiteral("casi/xls_produttori.tsv")),
                                        {QStringLiteral("Emesse"), QStringLiteral("Ricevute")});
        p.xlsx = DaCalc(fods, QStringLiteral("xlsx"), dir.path());
        p.xls = {
            {"LibreOffice", DaCalc(fods, QStringLiteral("xls"), dir.path())},
            {"Gnumeric Excel 97", DaGnumeric(p.xlsx, QStringLiteral("Gnumeric_Excel:excel_biff8"), dir.filePath(QStringLiteral("gnumeric8.xls")))},
            {"Gnumeric Excel 95", DaGnumeric(p.xlsx, QStringLiteral("Gnumeric_Excel:excel_biff7"), dir.filePath(QStringLiteral("gnumeric5.xls")))},
            {"SheetJS biff8", DaSheetJs(p.xlsx, QStringLiteral("biff8"), dir.filePath(QStringLiteral("sheetjs8.xls")))},
            {"SheetJS biff5", DaSheetJs(p.xlsx, QStringLiteral("biff5"), dir.filePath(QStringLiteral("sheetjs5.xls")))},
        };
        return p;
    }();
    return prodotti;
}

} // namespace

// The same workbook written as .xls by every program at hand, in Excel 97-2003 and 5.0/95
// forms, gives the cells of its .xlsx: dates, numbers, texts, booleans, formula results.
TEST(XlsReader, OutsideProducersGiveTheCellsOfTheXlsx)
{
    const Prodotti& p = FileProdotti();
    const CelleLette daXlsx = Leggi(p.xlsx);
    CelleLette attese = AtteseDellaTabella(QStringLiteral("casi/xls_produttori.tsv"));
    attese[{1, 0}][0] = QStringLiteral("Emesse");
    attese[{2, 0}][0] = QStringLiteral("Ricevute");
    Uguali(daXlsx, attese);
    for (const auto& [chi, xls] : p.xls) {
        SCOPED_TRACE(chi);
        const auto cartella = ApriCartella(xls);
        EXPECT_EQ(dynamic_cast<const XlsWorkbook&>(*cartella).Versione(), chi.back() == '5' ? 5 : 8);
        Uguali(NonVuoteConNomi(*cartella), daXlsx);
    }
}

namespace {

// Where the header of each record of a workbook stream lies in the file: the offsets of the
// low bytes of its type and of its length.
struct Intestazione {
    std::uint64_t tipo = 0;
    std::uint64_t lunghezza = 0;
    std::uint16_t valoreTipo = 0;
    std::size_t inizio = 0;   // in the stream
};

std::vector<Intestazione> Intestazioni(const QString& percorso)
{
    const CompoundFile file(percorso.toStdString());
    auto flusso = file.Trova(u"Workbook");
    if (!flusso)
        flusso = file.Trova(u"Book");
    EXPECT_TRUE(flusso.has_value());
    if (!flusso)
        return {};
    const auto nelFile = [&](std::uint64_t k) { return flusso->Posizioni[k / flusso->Pezzo] + k % flusso->Pezzo; };
    CompoundStreamReader lettore(file, *flusso);
    std::vector<Intestazione> intestazioni;
    unsigned char h[4];
    while (lettore.Leggi(reinterpret_cast<char*>(h), 4) == 4) {
        const std::uint64_t inizio = lettore.Posizione() - 4;
        intestazioni.push_back({nelFile(inizio), nelFile(inizio + 2), static_cast<std::uint16_t>(h[0] | (h[1] << 8)), inizio});
        lettore.Vai(lettore.Posizione() + (h[2] | (h[3] << 8)));
    }
    return intestazioni;
}

// How a damaged copy was read: refused whole, or sheet by sheet (a sheet refused when opened
// is missing from the cells); an error while rows are read is a fault of its own.
struct Lettura {
    bool rifiutata = false;
    int fogli = 0;
    std::vector<int> fogliRifiutati;
    CelleLette celle;
    QString erroreTardivo;
};

Lettura LeggiDanneggiata(const QString& percorso)
{
    Lettura l;
    std::unique_ptr<Workbook> cartella;
    try {
        cartella = ApriCartella(percorso);
    } catch (const SheetError& e) {
        EXPECT_FALSE(e.Messaggio.isEmpty());
        l.rifiutata = true;
        return l;
    }
    l.fogli = cartella->NumeroFogli();
    for (int foglio = 1; foglio <= l.fogli; ++foglio) {
        l.celle[{foglio, 0}][0] = cartella->NomeFoglio(foglio);
        std::unique_ptr<SheetReader> lettore;
        try {
            lettore = cartella->ApriFoglio(foglio, 34);
        } catch (const SheetError& e) {
            EXPECT_TRUE(e.Messaggio.contains(QStringLiteral("Il foglio numero %1 della cartella di lavoro").arg(foglio))) << e.what();
            l.fogliRifiutati.push_back(foglio);
            continue;
        }
        try {
            SheetRow riga;
            while (lettore->Prossima(riga))
                for (int c = 1; c <= 34; ++c)
                    if (!riga.Cella(c).isEmpty())
                        l.celle[{foglio, riga.Numero}][c] = riga.Cella(c);
        } catch (const SheetError& e) {
            l.erroreTardivo = e.Messaggio;
        }
    }
    return l;
}

} // namespace

// Every record of the small workbook's .xls files, of every program at hand, damaged in turn
// in its type (two bits of its low byte) or its length (its low byte one more or one less):
// each copy is refused, whole or the sheet the record belongs to, before any row of it is
// returned, or read into exactly the cells of the undamaged file. A few changes turn a record
// into another valid one of the same length (in Excel 5.0/95, a FALSE cell into an empty
// text): such a copy is a valid workbook of other cells, and is read as LibreOffice reads it.
// A changed digit inside a value is beyond what any check of the format can see.
TEST(XlsReader, DamagedRecordsAreRefusedBeforeAnyRowOrChangeNothing)
{
    QTemporaryDir dir;
    const QString copia = dir.filePath(QStringLiteral("danneggiata.xls"));
    int rifiutate = 0;
    int fogliRifiutati = 0;
    int intatte = 0;
    std::vector<std::string> errori;
    QStringList altre;                       // valid workbooks of other cells
    std::vector<std::pair<std::string, CelleLette>> lettureAltre;
    for (const auto& [chi, xls] : FileProdotti().xls) {
        const QByteArray letti = quercino::test::LeggiFile(xls);
        const std::string buona(letti.constData(), static_cast<std::size_t>(letti.size()));
        const Lettura intatta = LeggiDanneggiata(xls);
        ASSERT_FALSE(intatta.rifiutata) << chi;
        ASSERT_TRUE(intatta.fogliRifiutati.empty()) << chi;
        for (const Intestazione& h : Intestazioni(xls)) {
            const std::pair<const char*, std::function<void(std::string&)>> danni[] = {
                {"tipo ^ 0x01", [&](std::string& b) { b[h.tipo] ^= 0x01; }},
                {"tipo ^ 0x80", [&](std::string& b) { b[h.tipo] ^= static_cast<char>(0x80); }},
                {"lunghezza + 1", [&](std::string& b) { ++b[h.lunghezza]; }},
                {"lunghezza - 1", [&](std::string& b) { --b[h.lunghezza]; }},
            };
            for (const auto& [danno, applica] : danni) {
                std::string byte = buona;
                applica(byte);
                ScriviFile(copia, byte);
                const Lettura l = LeggiDanneggiata(copia);
                if (l.rifiutata) {
                    ++rifiutate;
                    continue;
                }
                char dove[80];
                std::snprintf(dove, sizeof dove, ", record %04X a %zu, %s: ", h.valoreTipo, h.inizio, danno);
                // The sheets refused are left out of the undamaged cells.
                CelleLette attese = intatta.celle;
                for (const int f : l.fogliRifiutati)
                    for (auto it = attese.begin(); it != attese.end();)
                        it = it->first.first == f && it->first.second > 0 ? attese.erase(it) : std::next(it);
                if (!l.erroreTardivo.isEmpty()) {
                    errori.push_back(chi + dove + "errore dopo le prime righe: " + l.erroreTardivo.toStdString());
                } else if (l.fogli != intatta.fogli) {
                    errori.push_back(chi + dove + std::to_string(l.fogli) + " fogli");
                } else if (l.celle == attese) {
                    ++(l.fogliRifiutati.empty() ? intatte : fogliRifiutati);
                } else if (!l.fogliRifiutati.empty()) {
                    errori.push_back(chi + dove + "celle diverse");
                } else {
                    altre << Scrivi(dir, QStringLiteral("altra%1.xls").arg(altre.size()), byte);
                    lettureAltre.push_back({chi + dove, l.celle});
                }
            }
        }
    }
    if (!altre.isEmpty()) {
        QDir(dir.path()).mkdir(QStringLiteral("calc"));
        const QStringList daCalc = DaCalc(altre, QStringLiteral("xlsx"), dir.filePath(QStringLiteral("calc")));
        for (qsizetype i = 0; i < daCalc.size(); ++i)
            if (!QFileInfo::exists(daCalc[i]) || Leggi(daCalc[i]) != lettureAltre[static_cast<std::size_t>(i)].second)
                errori.push_back(lettureAltre[static_cast<std::size_t>(i)].first + "celle diverse da quelle del file intatto e da LibreOffice");
    }
    for (std::size_t i = 0; i < errori.size() && i < 40; ++i)
        ADD_FAILURE() << errori[i];
    EXPECT_TRUE(errori.empty()) << errori.size() << " copie";
    EXPECT_GT(rifiutate, 0);
    EXPECT_GT(fogliRifiutati, 0);
    EXPECT_GT(intatte, 0);
    std::printf("copie rifiutate intere %d, con un foglio rifiutato %d, lette uguali %d, valide d'altre celle %lld\n", rifiutate,
                fogliRifiutati, intatte, static_cast<long long>(altre.size()));
}

namespace {

struct Attesa {
    int foglio;
    int riga;
    int colonna;
    QString testo;
};

CelleLette Tabella(const std::vector<Attesa>& celle, const std::vector<QString>& nomi)
{
    CelleLette t;
    for (std::size_t i = 0; i < nomi.size(); ++i)
        t[{static_cast<int>(i) + 1, 0}][0] = nomi[i];
    for (const Attesa& a : celle)
        t[{a.foglio, a.riga}][a.colonna] = a.testo;
    return t;
}


CelleLette AtteseForme()
{
    QString lunghissimo(32767, QLatin1Char('L'));
    lunghissimo[32766] = QLatin1Char('Z');
    return Tabella(
        {
            {1, 1, 1, "NOME"}, {1, 1, 2, "Città €"}, {1, 1, 3, "NOME"},
            {1, 2, 1, "42,5"}, {1, 2, 2, "12345,67"}, {1, 2, 3, "0,5"}, {1, 2, 4, "1,23"}, {1, 2, 5, "-5"}, {1, 2, 6, "0,3"},
            {1, 2, 7, "0"},
            {1, 3, 1, "15/01/2017"}, {1, 3, 2, "15/01/2017"}, {1, 3, 3, "100"}, {1, 3, 4, "42750"}, {1, 3, 5, "0,75"},
            {1, 3, 6, "31/12/2017"},
            {1, 4, 1, "VERO"}, {1, 4, 2, "FALSO"}, {1, 4, 3, "#NULL!"}, {1, 4, 4, "#DIV/0!"}, {1, 4, 5, "#VALUE!"},
            {1, 4, 6, "#REF!"}, {1, 4, 7, "#NAME?"}, {1, 4, 8, "#NUM!"}, {1, 4, 9, "#N/A"}, {1, 4, 10, "#GETTING_DATA"},
            {1, 4, 11, "#N/A"},
            {1, 5, 1, "201"}, {1, 5, 2, "FT/1"}, {1, 5, 3, "VERO"}, {1, 5, 4, "FALSO"}, {1, 5, 5, "#REF!"},
            {1, 5, 7, QString(5000, QLatin1Char('x')) + QString(5000, QChar(u'€'))}, {1, 5, 8, "15/01/2017"},
            {1, 6, 1, "condiviso"}, {1, 6, 2, "ricco con fonetica"}, {1, 6, 3, "Perché ∑"}, {1, 6, 4, lunghissimo},
            {1, 10, 1, "1"},
            {2, 1, 1, "terzo"},
        },
        {"Primo", "Terzo"});
}

// The rows a sheet gives, by number.
std::vector<std::int32_t> Righe(const Workbook& cartella, int foglio, int colonne = 34)
{
    std::vector<std::int32_t> righe;
    auto lettore = cartella.ApriFoglio(foglio, colonne);
    SheetRow riga;
    while (lettore->Prossima(riga))
        righe.push_back(riga.Numero);
    return righe;
}

} // namespace

// Records no program at hand writes in these forms: texts in LABEL records of both widths,
// numbers as RK (integers, hundredths, doubles' high bits) and MULRK in date and other
// formats, BOOLERR booleans and every error, formula results of every kind (a text in a
// STRING record going on in CONTINUE records, past a shared formula), shared strings cut
// between records (flags byte repeated, rich and phonetic data passed over, a text past the
// limit of a cell), a chart sheet left out, a chart inside a sheet left out, the last row
// and column of the format.
TEST(XlsReader, HandBuiltRecordForms)
{
    QTemporaryDir dir;
    for (const std::size_t taglio : {std::size_t{8224}, std::size_t{37}}) {
        SCOPED_TRACE(taglio);
        const QString percorso = Scrivi(dir, QStringLiteral("forme%1.xls").arg(taglio), xf::CartellaForme(taglio));
        const auto cartella = ApriCartella(percorso);
        Uguali(NonVuoteConNomi(*cartella), AtteseForme());
        EXPECT_EQ(Righe(*cartella, 1), (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 10}));
        EXPECT_EQ(Righe(*cartella, 2, 256), (std::vector<std::int32_t>{1, 65536}));
        EXPECT_EQ(NonVuoteConNomi(*cartella, 256).at({2, 65536}).at(256), QStringLiteral("7"));
        EXPECT_FALSE(dynamic_cast<const XlsWorkbook&>(*cartella).Sistema1904());
    }

    // The 1904 date system.
    const std::string celle = xf::Numero(0, 0, 0, 16) + xf::Numero(0, 1, 42750.5, 16) + xf::Numero(0, 2, 42750.5);
    const auto cartella = ApriCartella(Scrivi(dir, QStringLiteral("1904.xls"), xf::Cartella(xf::DateMode1904() + xf::Stili({14}), {{u"A", celle}})));
    EXPECT_TRUE(dynamic_cast<const XlsWorkbook&>(*cartella).Sistema1904());
    Uguali(NonVuoteConNomi(*cartella), Tabella({{1, 1, 1, "01/01/1904"}, {1, 1, 2, "16/01/2021"}, {1, 1, 3, "42750,5"}}, {"A"}));
}

namespace {

// A sheet for the workbooks below: its type in the globals, the kind its BOF says, whether its
// WSBOOL makes it a dialog sheet, and one number in A1.
xf::Foglio FoglioDi(std::u16string nome, std::string nomeByte, std::uint8_t tipo, std::uint16_t bof, bool dialogo, double valore)
{
    xf::Foglio f(std::move(nome), xf::Numero(0, 0, valore), tipo, std::move(nomeByte));
    f.TipoBof = bof;
    f.Prima = xf::WsBool(dialogo);
    return f;
}

} // namespace

// What the import takes by position are the worksheets alone, each known by its own BOF
// record: a dialog sheet (a worksheet's BOF, a WSBOOL that says dialog), a macro sheet and a
// chart sheet before them are not counted, in both versions. Formula records under the
// numbers of earlier versions (0x0206, 0x0406), which some programs write, give their results.
TEST(XlsReader, OnlyWorksheetsCountAndEveryFormulaNumberIsRead)
{
    QTemporaryDir dir;
    for (const bool biff8 : {true, false}) {
        SCOPED_TRACE(biff8 ? "Excel 97" : "Excel 5.0");
        const std::vector<xf::Foglio> fogli = {
            FoglioDi(u"Dialogo", "Dialogo", 0, 0x0010, true, 1),
            FoglioDi(u"Macro", "Macro", 1, 0x0040, false, 2),
            FoglioDi(u"Grafico", "Grafico", 2, 0x0020, false, 3),
            FoglioDi(u"Emesse", "Emesse", 0, 0x0010, false, 4),
            FoglioDi(u"Dialogo2", "Dialogo2", 0, 0x0010, true, 5),
            FoglioDi(u"Ricevute", "Ricevute", 0, 0x0010, false, 6),
        };
        const QString percorso = Scrivi(dir, QStringLiteral("tipi%1.xls").arg(biff8 ? 8 : 5), xf::Cartella(xf::Stili({}, biff8), fogli, biff8));
        Uguali(Leggi(percorso), Tabella({{1, 1, 1, "4"}, {2, 1, 1, "6"}}, {"Emesse", "Ricevute"}));
    }

    const auto formula = [](std::uint16_t tipo, std::uint16_t r, std::uint16_t c, const std::string& risultato, bool corta = false) {
        // The shorter form of earlier versions has no four bytes before the tokens' length.
        return xf::Record(tipo, xf::Cella(r, c, 15) + risultato + xf::U16(0) + (corta ? std::string() : xf::U32(0)) + xf::U16(3)
                                    + std::string("\x1E\x01\x00", 3));
    };
    const std::string celle = xf::Numero(0, 0, 1) + formula(0x0406, 0, 1, xf::RisultatoNumero(42.5))
        + formula(0x0206, 0, 2, xf::RisultatoTipo(0)) + xf::Stringa(u"FT/3") + formula(0x0406, 1, 0, xf::RisultatoTipo(1, 1))
        + formula(0x0206, 1, 1, xf::RisultatoTipo(2, 0x07), true) + formula(0x0006, 1, 2, xf::RisultatoNumero(16), false)
        // The mark of a sheet not calculated may stand between a formula and its text.
        + formula(0x0006, 2, 0, xf::RisultatoTipo(0)) + xf::Record(0x005E, xf::U16(0)) + xf::Stringa(u"dopo");
    Uguali(Leggi(Scrivi(dir, QStringLiteral("formule.xls"), xf::Cartella(xf::Stili({14}), {{u"A", celle}}))),
           Tabella({{1, 1, 1, "1"}, {1, 1, 2, "42,5"}, {1, 1, 3, "FT/3"}, {1, 2, 1, "VERO"}, {1, 2, 2, "#DIV/0!"}, {1, 2, 3, "16"},
                    {1, 3, 1, "dopo"}},
                   {"A"}));
}

// Files read by LibreOffice that gave no sheets or no workbook before, read into the cells
// LibreOffice reads: Excel 5.0/95 and 97 workbooks whose globals give their worksheets
// another kind (each sheet's own BOF says worksheet); compound files whose mini stream, not
// used by the workbook, has no sectors or is empty beside its allocation table.
TEST(XlsReader, FilesLibreOfficeReadsAreReadAlike)
{
    QTemporaryDir dir;
    QStringList file;
    for (const bool biff8 : {true, false})
        for (const std::uint8_t tipo : {1, 2, 6}) {
            const std::vector<xf::Foglio> fogli = {FoglioDi(u"S1", "S1", tipo, 0x0010, false, 11),
                                                   FoglioDi(u"S2", "S2", 0, 0x0010, false, 21)};
            file << Scrivi(dir, QStringLiteral("tipo%1_%2.xls").arg(tipo).arg(biff8 ? 8 : 5), xf::Cartella(xf::Stili({}, biff8), fogli, biff8));
        }
    const std::vector<std::pair<std::u16string, std::string>> flussi = {{u"\x05SummaryInformation", std::string(100, 's')},
                                                                          {u"Workbook", xf::FlussoPiccolo(600)}};
    // The root entry's first sector (none) and size (none).
    for (const auto& [campo, valore] : {std::pair{0x74, xf::FineCatena}, {0x78, 0u}}) {
        xf::Composto c = xf::FileComposto(flussi);
        c.Byte.replace(c.Posizione(c.SettoreDirectory) + campo, 4, xf::U32(valore));
        file << Scrivi(dir, QStringLiteral("mini%1.xls").arg(campo), c.Byte);
    }
    QDir(dir.path()).mkdir(QStringLiteral("calc"));
    const QStringList daCalc = DaCalc(file, QStringLiteral("xlsx"), dir.filePath(QStringLiteral("calc")));
    ASSERT_EQ(daCalc.size(), file.size());
    for (qsizetype i = 0; i < file.size(); ++i) {
        SCOPED_TRACE(file[i].toStdString());
        const CelleLette attese = Leggi(daCalc[i]);
        EXPECT_GE(attese.size(), 2u);
        Uguali(Leggi(file[i]), attese);
    }
}

// Excel 5.0/95 workbooks keep their texts in the code page the workbook names (Windows-1252
// when it names none): they come out as Unicode, in cells, formula results, sheet names and
// format codes alike. LibreOffice, which reads these files too, gives the same texts.
TEST(XlsReader, CodePagesOfExcel5BecomeUnicode)
{
    struct Caso {
        int codePage;       // -1: no CODEPAGE record
        std::string byte;   // the text in that code page
        QString testo;
    };
    const std::vector<Caso> casi = {
        {-1, "\x80\xE0\xE8", "€àè"},
        {1252, "Citt\xE0 \x80", "Città €"},
        {850, "\x85\x8A\x8D", "àèì"},
        {437, "\x85\x8A\x9C", "àè£"},
        {1251, "\xCF\xF0\xE8\xE2\xE5\xF2", "Привет"},
        {1253, "\xC1\xE8\xDE\xED\xE1", "Αθήνα"},
        {932, "\x82\xA0\x82\xA2", "あい"},
        {10000, "\x88\x8F", "àè"},
        {1200, "ABC", "ABC"},
        {1200, std::string("C\0i\0t\0t\0\xE0\0", 10), "Città"},
        // Code pages whose accents are characters of their own, which the conversion holds a
        // letter back for: the last letter, a text of one letter.
        {1258, "H\xE0 N\xF4\xF2i", "H\u00E0 N\u1ED9i"},
        {1258, "Citta", "Citta"},
        {1258, "a", "a"},
        {1255, "\xF9\xEC\xE5\xED", "\u05E9\u05DC\u05D5\u05DD"},
        {1255, "\xF9", "\u05E9"},
        // A byte the code page does not define, after a letter held back.
        {1258, "a\x81" "b", "a\uFFFDb"},
    };
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("calc"));
    int n = 0;
    QStringList daConvertire;
    std::vector<CelleLette> tutteAttese;
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.testo.toStdString());
        const std::string etichetta = xf::U16(static_cast<std::uint32_t>(c.byte.size())) + c.byte;
        const std::string celle = xf::Record(0x0204, xf::Cella(0, 0, 15) + etichetta) + xf::Record(0x00D6, xf::Cella(0, 1, 15) + etichetta + std::string(1, '\0'))
            + xf::Numero(1, 0, 42750, 16) + xf::BoolErr(1, 1, 1, false) + xf::Formula(1, 2, xf::RisultatoTipo(0))
            + xf::Record(0x0207, etichetta);
        const std::string globali = (c.codePage >= 0 ? xf::CodePage(static_cast<std::uint16_t>(c.codePage)) : std::string())
            + xf::Record(0x041E, xf::U16(164) + "\x0A" + "dd/mm/yyyy") + xf::Stili({164}, false);
        const QString percorso = Scrivi(dir, QStringLiteral("cp%1.xls").arg(++n), xf::Cartella(globali, {{u"", celle, 0, c.byte}}, false));
        const auto cartella = ApriCartella(percorso);
        EXPECT_EQ(dynamic_cast<const XlsWorkbook&>(*cartella).Versione(), 5);
        const CelleLette attese = Tabella({{1, 1, 1, c.testo}, {1, 1, 2, c.testo}, {1, 2, 1, "15/01/2017"}, {1, 2, 2, "VERO"}, {1, 2, 3, c.testo}},
                                          {c.testo});
        Uguali(NonVuoteConNomi(*cartella), attese);
        // 1200 is no code page of Excel 5.0: LibreOffice reads such files otherwise; it shows
        // an undefined byte as a character of the private area.
        if (c.codePage != 1200 && !c.testo.contains(QChar(0xFFFD))) {
            daConvertire << percorso;
            tutteAttese.push_back(attese);
        }
    }
    const QStringList convertite = DaCalc(daConvertire, QStringLiteral("xlsx"), dir.filePath(QStringLiteral("calc")));
    for (qsizetype i = 0; i < convertite.size(); ++i) {
        SCOPED_TRACE(convertite[i].toStdString());
        CelleLette daCalc = Leggi(convertite[i]);
        daCalc[{1, 2}][3] = tutteAttese[static_cast<std::size_t>(i)].at({1, 2}).at(3);   // LibreOffice computes formulas again
        // LibreOffice keeps a letter and its accent apart where the conversion joins them.
        for (auto& [riga, colonne] : daCalc)
            for (auto& [colonna, testo] : colonne)
                testo = testo.normalized(QString::NormalizationForm_C);
        Uguali(daCalc, tutteAttese[static_cast<std::size_t>(i)]);
    }
}

namespace {

// The peak memory in KiB of a child process that reads the file (the child's own figure, so
// that this process's memory does not count), and the message its reading ended with.
std::pair<long, std::string> PiccoInFiglio(const QString& percorso)
{
    int tubo[2];
    if (pipe(tubo) != 0)
        return {-1, "pipe"};
    const pid_t figlio = fork();
    if (figlio == 0) {
        close(tubo[0]);
        std::string esito = percorso.isEmpty() ? "nessun errore" : Messaggio(percorso);
        (void)!write(tubo[1], esito.data(), esito.size());
        _exit(0);
    }
    close(tubo[1]);
    std::string esito;
    char b[512];
    for (ssize_t n; (n = read(tubo[0], b, sizeof b)) > 0;)
        esito.append(b, static_cast<std::size_t>(n));
    close(tubo[0]);
    int stato = 0;
    rusage uso{};
    wait4(figlio, &stato, 0, &uso);
    if (!WIFEXITED(stato) || WEXITSTATUS(stato) != 0)
        return {-1, "il processo figlio è terminato male"};
    return {uso.ru_maxrss, esito};
}

} // namespace

// The forms of the container: version 4 with 4096-byte sectors, a workbook small enough for
// the mini stream, a stream name in other case, a workbook large enough that the allocation
// table's sectors are listed in a chain of DIFAT sectors too.
TEST(XlsReader, CompoundFileForms)
{
    QTemporaryDir dir;
    const CelleLette attese = Tabella({{1, 1, 1, "NOME"}, {1, 1, 2, "12,5"}, {1, 2, 1, "condiviso"}}, {"Foglio"});
    const std::string piccolo = xf::FlussoPiccolo();
    ASSERT_LT(piccolo.size(), 4096u);
    Uguali(Leggi(Scrivi(dir, QStringLiteral("mini.xls"), xf::FileComposto({{u"Workbook", piccolo}}).Byte)), attese);
    Uguali(Leggi(Scrivi(dir, QStringLiteral("v4.xls"), xf::FileComposto({{u"Workbook", piccolo}}, 4).Byte)), attese);
    EXPECT_TRUE(Leggi(Scrivi(dir, QStringLiteral("v4grande.xls"), xf::FileComposto({{u"Workbook", xf::FlussoPiccolo(300)}}, 4).Byte)).at({1, 1})
                == attese.at({1, 1}));
    Uguali(Leggi(Scrivi(dir, QStringLiteral("maiuscolo.xls"),
                        xf::FileComposto({{u"\x05SummaryInformation", std::string(200, 'x')}, {u"WORKBOOK", piccolo}}).Byte)),
           attese);

    // 109 sectors of the table cover 13,952 sectors (about 7 MB): past that, DIFAT sectors.
    const xf::Composto grande = xf::FileComposto({{u"Workbook", xf::FlussoPiccolo(400000)}});
    ASSERT_GT(grande.SettoriFat.size(), 109u);
    const auto cartella = ApriCartella(Scrivi(dir, QStringLiteral("difat.xls"), grande.Byte));
    const std::vector<std::int32_t> righe = Righe(*cartella, 1);
    EXPECT_EQ(righe.size(), 2u + 400000u / 8);
    EXPECT_EQ(righe.back(), 3 + 399999 / 8);
}

// Files that must be refused with the message for the user, never read as something else:
// encrypted workbooks (97-2003 with a FILEPASS record, 2007 and later in their encrypted
// package) keep the password message; workbooks older than Excel 5.0 and compound files
// that hold no workbook are named for what they are.
TEST(XlsReader, EncryptedOlderAndForeignFiles)
{
    QTemporaryDir dir;
    const QString password = QStringLiteral("è protetto da password: toglierne la protezione e ripetere.");
    const std::string filePass = xf::Record(0x002F, xf::U16(1) + std::string(52, '\x11'));
    const QString anteriore = QStringLiteral("versione di Excel anteriore alla 5.0");
    const QByteArray sheetJs = quercino::test::LeggiFile(DaSheetJs(FileProdotti().xlsx, QStringLiteral("biff2"), dir.filePath(QStringLiteral("biff2.xls"))));
    const std::string excel2(sheetJs.constData(), static_cast<std::size_t>(sheetJs.size()));
    xf::Composto mini = xf::FileComposto({{u"Workbook", xf::FlussoPiccolo()}});
    mini.Byte.replace(mini.Posizione(mini.SettoreDirectory) + 0x74, 4, xf::U32(xf::FineCatena));
    const std::string miniRotto = mini.Byte;
    struct Caso {
        const char* nome;
        std::string byte;
        QString messaggio;
    };
    const std::vector<Caso> casi = {
        {"filepass.xls", xf::Cartella(filePass + xf::Stili(), {{u"A", xf::Numero(0, 0, 1)}}), password},
        {"filepass5.xls", xf::Cartella(filePass + xf::Stili({}, false), {{u"", xf::Numero(0, 0, 1), 0, "A"}}, false), password},
        {"cifrata.xlsx", xf::FileComposto({{u"EncryptionInfo", std::string(300, '\x04')}, {u"EncryptedPackage", std::string(5000, '\x7F')},
                                           {u"\x06" u"DataSpaces", std::string(10, '\0')}}).Byte, password},
        {"excel4.xls", xf::FileComposto({{u"Book", xf::Record(0x0409, xf::U16(0) + xf::U16(0x0010) + xf::U16(0)) + xf::Eof()}}).Byte,
         QStringLiteral("versione di Excel anteriore alla 5.0")},
        // Excel 2.1 to 4.0 files as they are, outside a compound file: a worksheet, a chart,
        // a workbook of Excel 4.0.
        {"excel2.xls", xf::Record(0x0009, xf::U16(2) + xf::U16(0x0010)) + xf::Numero(0, 0, 1) + xf::Eof(), anteriore},
        {"excel3.xls", xf::Record(0x0209, xf::U16(0) + xf::U16(0x0020) + xf::U16(0)) + xf::Eof(), anteriore},
        {"excel4foglio.xls", xf::Record(0x0409, xf::U16(0) + xf::U16(0x0010) + xf::U16(0)) + xf::Numero(0, 0, 1) + xf::Eof(), anteriore},
        {"excel4cartella.xls", xf::Record(0x0409, xf::U16(0) + xf::U16(0x0100) + xf::U16(0)) + xf::Eof(), anteriore},
        {"sheetjs2.xls", excel2, anteriore},
        // A workbook in the mini stream, whose root entry gives it no sectors.
        {"mini_rotto.xls", miniRotto, QStringLiteral("non è un archivio leggibile: è danneggiato o non è una cartella di lavoro Excel.")},
        {"documento.doc", xf::FileComposto({{u"WordDocument", std::string(5000, 'w')}}).Byte,
         QStringLiteral("non è un archivio leggibile: è danneggiato o non è una cartella di lavoro Excel.")},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const QString percorso = Scrivi(dir, QString::fromLatin1(c.nome), c.byte);
        const QString messaggio = QString::fromStdString(Messaggio(percorso));
        EXPECT_TRUE(messaggio.startsWith(QStringLiteral("Il file %1 ").arg(percorso))) << messaggio.toStdString();
        EXPECT_TRUE(messaggio.contains(c.messaggio)) << messaggio.toStdString();
    }
}

// Hostile files: counts and sizes that claim far more than the file holds, records and
// sheets past the end of their stream, sector chains in a loop or out of the file, cut
// files. Each ends in the message for a damaged workbook, read in a child process whose
// peak memory stays within 16 MiB of an idle child's (a reader that believed a sheet's
// DIMENSIONS record of 65,536 x 256 cells and kept a cell table for it would take 256 MiB).
TEST(XlsReader, HostileFilesGiveAMessageWithinBoundedMemory)
{
    QTemporaryDir dir;
    const auto [base, vuoto] = PiccoInFiglio(QString());
    ASSERT_GT(base, 0) << vuoto;
    const QString archivio = QStringLiteral("non è un archivio leggibile: è danneggiato");
    const QString foglio = QStringLiteral("Il foglio numero 1 della cartella di lavoro");

    struct Caso {
        const char* nome;
        std::string byte;
        QString messaggio;   // empty: read without error
    };
    std::vector<Caso> casi;
    const auto composto = [](const std::string& flusso) { return xf::FileComposto({{u"Workbook", flusso}}); };

    // A sheet claiming every row and column (and more) of the format, with three cells.
    casi.push_back({"dimensioni.xls", composto(xf::FlussoPiccolo()).Byte, {}});
    casi.push_back({"dimensioni_oltre.xls",
                    composto(xf::Flusso(xf::Stili(), {{u"A", xf::Dimensioni(0xFFFFFFFF, 0xFFFF) + xf::Numero(0, 0, 1), 0, {}, 0xFFFFFFFF, 0xFFFF}})).Byte,
                    {}});
    // A stream padded after its last sheet, as some programs write it.
    casi.push_back({"riempito.xls", composto(xf::FlussoPiccolo() + std::string(700, '\0')).Byte, {}});
    // A table of shared strings claiming 2^31 entries and holding one; a cell asking for the
    // sixth of a table that holds one.
    casi.push_back({"testi_2_31.xls",
                    composto(xf::Flusso(xf::Stili() + xf::Sst({u"uno"}, 8224, false, 0x80000000LL),
                                        {{u"A", xf::EtichettaSst(0, 0, 0)}})).Byte,
                    archivio});
    casi.push_back({"testo_mancante.xls",
                    composto(xf::Flusso(xf::Stili() + xf::Sst({u"uno"}), {{u"A", xf::EtichettaSst(0, 0, 0) + xf::EtichettaSst(1, 0, 5)}})).Byte,
                    foglio});
    // A shared string claiming 65,535 characters in a record that ends after three.
    casi.push_back({"testo_troncato.xls",
                    composto(xf::Flusso(xf::Stili() + xf::Record(0x00FC, xf::U32(1) + xf::U32(1) + xf::U16(65535) + "\0abc"),
                                        {{u"A", xf::Numero(0, 0, 1)}})).Byte,
                    archivio});
    // A cell record whose length runs past the end of the stream.
    {
        std::string flusso = xf::FlussoPiccolo();
        flusso.resize(flusso.size() - 4);   // without the sheet's EOF
        flusso += xf::U16(0x0203) + xf::U16(2000) + "abc";
        casi.push_back({"record_oltre.xls", composto(flusso).Byte, foglio});
    }
    // A record before the first cell turned into a WSBOOL of the wrong length, with the bit
    // of a dialog sheet: the sheet is not left out without a word.
    {
        xf::Foglio f(u"A", xf::Numero(0, 0, 1));
        f.Prima = xf::Record(0x0081, xf::U16(0x0010) + std::string(6, '\0'));
        casi.push_back({"wsbool_8_byte.xls", composto(xf::Flusso(xf::Stili(), {f})).Byte, foglio});
    }
    // Cells whose rows go backwards, as they do when a record is read from a wrong place.
    casi.push_back({"righe_all_indietro.xls", composto(xf::Flusso(xf::Stili(), {{u"A", xf::Numero(3, 0, 1) + xf::Numero(1, 0, 2)}})).Byte, foglio});
    // A sheet said to begin past the end of the stream.
    {
        std::string flusso = xf::FlussoPiccolo();
        const std::size_t boundSheet = flusso.find(std::string("\x85\x00", 2));
        flusso.replace(boundSheet + 4, 4, xf::U32(0x7FFFFFFF));
        casi.push_back({"foglio_oltre.xls", composto(flusso).Byte, foglio});
    }
    // Sector chains: a loop back, a sector pointing to itself, a sector out of the file, the
    // directory's chain in a loop, the DIFAT's chain in a loop.
    const std::string medio = xf::FlussoPiccolo(2000);
    {
        xf::Composto c = composto(medio);
        const std::uint32_t primo = c.PrimoSettore.at(u"Workbook");
        c.Fat(primo + 5, primo + 1);
        casi.push_back({"catena_ad_anello.xls", c.Byte, archivio});
        c = composto(medio);
        c.Fat(primo, primo);
        casi.push_back({"catena_su_se_stessa.xls", c.Byte, archivio});
        c = composto(medio);
        c.Fat(primo + 3, 0x00FFFFF0);
        casi.push_back({"settore_oltre.xls", c.Byte, archivio});
        c = composto(medio);
        c.Fat(c.SettoreDirectory, c.SettoreDirectory);
        casi.push_back({"directory_ad_anello.xls", c.Byte, archivio});
        c = composto(medio);
        // The header says more table sectors than it lists, and names a DIFAT sector whose
        // next is itself.
        const std::uint32_t settore = c.SettoriFat[0];
        c.Byte.replace(0x2C, 4, xf::U32(200));
        c.Byte.replace(0x44, 4, xf::U32(settore));
        c.Byte.replace(0x48, 4, xf::U32(1000));
        c.Byte.replace(c.Posizione(settore) + 508, 4, xf::U32(settore));
        casi.push_back({"difat_ad_anello.xls", c.Byte, archivio});
    }
    // A stream of version 4 (sizes of 64 bits) said to hold 2^64 - 1 bytes: counted in
    // sectors, that size would wrap round to none.
    {
        xf::Composto c = xf::FileComposto({{u"Workbook", xf::FlussoPiccolo(300)}}, 4);
        c.Byte.replace(c.Posizione(c.SettoreDirectory) + 128 + 0x78, 8, xf::U32(0xFFFFFFFF) + xf::U32(0xFFFFFFFF));
        casi.push_back({"dimensione_2_64.xls", c.Byte, archivio});
    }
    // Cut short: within the header, in the middle, before the last sectors.
    const std::string intero = composto(medio).Byte;
    for (const std::size_t taglio : {std::size_t{300}, std::size_t{600}, intero.size() / 2, intero.size() - 700})
        casi.push_back({"troncato.xls", intero.substr(0, taglio), archivio});

    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const QString percorso = Scrivi(dir, QString::fromLatin1(c.nome), c.byte);
        const auto [picco, messaggio] = PiccoInFiglio(percorso);
        if (c.messaggio.isEmpty())
            EXPECT_EQ(messaggio, "nessun errore");
        else
            EXPECT_TRUE(QString::fromStdString(messaggio).contains(c.messaggio)) << messaggio;
        EXPECT_GT(picco, 0);
        EXPECT_LT(picco - base, 16 * 1024) << "KiB";
    }
    // The claimed sizes changed nothing of what was read.
    Uguali(Leggi(Scrivi(dir, QStringLiteral("dimensioni.xls"), casi[0].byte)),
           Tabella({{1, 1, 1, "NOME"}, {1, 1, 2, "12,5"}, {1, 2, 1, "condiviso"}}, {"Foglio"}));
}

// Copies of valid workbooks with a few bytes changed, cut or repeated: reading ends with rows
// or with a message, never with a crash or a hang (the sanitizer build runs this too).
TEST(XlsReader, DamagedCopiesNeverCrashOrHang)
{
    QTemporaryDir dir;
    std::mt19937 caso(11);
    int lette = 0;
    int rifiutate = 0;
    for (const std::string& buona : {xf::CartellaForme(37), xf::FileComposto({{u"Workbook", xf::FlussoPiccolo(700)}}).Byte,
                                     xf::FileComposto({{u"Workbook", xf::FlussoPiccolo()}}).Byte}) {
        for (int prova = 0; prova < 150; ++prova) {
            const std::string copia = Guasta(buona, caso);
            try {
                Leggi(Scrivi(dir, QStringLiteral("rotta.xls"), copia), 40);
                ++lette;
            } catch (const SheetError& e) {
                EXPECT_FALSE(e.Messaggio.isEmpty());
                ++rifiutate;
            }
        }
    }
    EXPECT_EQ(lette + rifiutate, 450);
    EXPECT_GT(rifiutate, 0);
    EXPECT_GT(lette, 0);
}
