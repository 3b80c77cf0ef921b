#pragma once
// What the import's end-to-end tests share: workbooks written by an independent library,
// CSV files, the log read back, and the test's environment (declarant in memory, services
// doubled, a folder of its own).

#include "platform/sheets_fixture.h"
#include "support/servizi_simulati.h"
#include "support/apertura_registrata.h"
#include "support/datifattura_xml.h"
#include "support/dichiarante_in_memoria.h"
#include "support/golden.h"

#include "app/core/Globals.h"
#include "declarants/import/SorgenteDichiarante.h"
#include "platform/text/Windows1252.h"

#include <QDate>
#include <QDir>
#include <QRegularExpression>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace import_fixture {

using Righe = std::vector<std::vector<std::string>>;

using quercino::test::DichiaranteInMemoria;
using quercino::test::LeggiFile;
using quercino::test::ValidoPerSchema;
using quercino::test::XPath;

// A row of 34 texts from (column, value) pairs.
inline std::vector<std::string> Riga(std::initializer_list<std::pair<int, std::string>> valori)
{
    std::vector<std::string> r(34);
    for (const auto& [colonna, valore] : valori)
        r[static_cast<std::size_t>(colonna) - 1] = valore;
    return r;
}

// A workbook as a user makes it: title rows, the headings of row 3 ("NOME" in D3), then the
// rows; texts that look like numbers (comma decimals included) or dates are written as typed
// cells, as a spreadsheet program would store them.
inline void ScriviCartella(const QString& percorso, const Righe& emesse, const Righe& ricevute, const char* d3 = "NOME",
                           bool secondoFoglio = true)
{
    const sheets_fixture::NumeriC numeri;
    lxw_workbook* wb = workbook_new(percorso.toUtf8().constData());
    lxw_format* data = workbook_add_format(wb);
    format_set_num_format(data, "dd/mm/yyyy");
    auto foglio = [&](const char* nome, const Righe& righe, const char* titolo) {
        lxw_worksheet* ws = workbook_add_worksheet(wb, nome);
        worksheet_write_string(ws, 0, 0, titolo, nullptr);
        worksheet_write_string(ws, 2, 3, d3, nullptr);
        lxw_row_t r = 3;
        for (const auto& riga : righe) {
            for (lxw_col_t c = 0; c < riga.size(); ++c) {
                const std::string& v = riga[c];
                if (v.empty())
                    continue;
                int g = 0, m = 0, a = 0;
                char resto = 0;
                const bool numero = v.find_first_not_of("0123456789") == std::string::npos && v.size() < 15 && v[0] != '0';
                if (std::sscanf(v.c_str(), "%2d/%2d/%4d%c", &g, &m, &a, &resto) == 3 && v.size() == 10) {
                    lxw_datetime dt = {a, m, g, 0, 0, 0};
                    worksheet_write_datetime(ws, r, c, &dt, data);
                } else if (numero) {
                    worksheet_write_number(ws, r, c, std::stod(v), nullptr);
                } else if (const std::size_t virgola = v.find(','); virgola != std::string::npos && virgola > 0
                           && v.find_first_not_of("0123456789,") == std::string::npos && v.find(',', virgola + 1) == std::string::npos
                           && virgola + 1 < v.size() && (v[0] != '0' || virgola == 1)) {
                    // "100,5": a decimal typed by an Italian user is stored as a number.
                    std::string punto = v;
                    punto[virgola] = '.';
                    worksheet_write_number(ws, r, c, std::stod(punto), nullptr);
                } else {
                    worksheet_write_string(ws, r, c, v.c_str(), nullptr);
                }
            }
            ++r;
        }
    };
    foglio("Emesse", emesse, "FATTURE EMESSE");
    if (secondoFoglio)
        foglio("Ricevute", ricevute, "FATTURE RICEVUTE");
    workbook_close(wb);
}

// A workbook in the forms LibreOffice Calc writes (its element and attribute habits,
// "date1904" spelled "false", dates as serials with an upper-case custom format, numbers
// with an explicit type), built by hand so that the check runs where Calc is not installed
// (cartella_libreoffice_test uses Calc itself when it is).
inline std::string CellaCalc(const std::string& rif, const std::string& v, std::vector<std::string>& testi)
{
    int g = 0, m = 0, a = 0;
    char resto = 0;
    if (v.size() == 10 && std::sscanf(v.c_str(), "%2d/%2d/%4d%c", &g, &m, &a, &resto) == 3) {
        const qint64 seriale = QDate(a, m, g).toJulianDay() - QDate(1899, 12, 30).toJulianDay();
        return "<c r=\"" + rif + "\" s=\"1\" t=\"n\"><v>" + std::to_string(seriale) + "</v></c>";
    }
    if (v.find_first_not_of("0123456789") == std::string::npos && v.size() < 15 && v[0] != '0')
        return "<c r=\"" + rif + "\" s=\"0\" t=\"n\"><v>" + v + "</v></c>";
    testi.push_back(v);
    return "<c r=\"" + rif + "\" s=\"0\" t=\"s\"><v>" + std::to_string(testi.size() - 1) + "</v></c>";
}

inline std::string Escape(const std::string& v)
{
    std::string r;
    for (char c : v) {
        if (c == '&') r += "&amp;";
        else if (c == '<') r += "&lt;";
        else if (c == '>') r += "&gt;";
        else if (c == '"') r += "&quot;";
        else r += c;
    }
    return r;
}

inline void ScriviCartellaCalc(const QString& percorso, const Righe& emesse)
{
    std::vector<std::string> testi = {"NOME"};
    std::string dati = "<row r=\"3\" customFormat=\"false\" ht=\"12.8\" hidden=\"false\" customHeight=\"false\" "
                       "outlineLevel=\"0\" collapsed=\"false\"><c r=\"D3\" s=\"0\" t=\"s\"><v>0</v></c></row>";
    int r = 4;
    for (const auto& riga : emesse) {
        dati += "<row r=\"" + std::to_string(r) + "\" customFormat=\"false\" ht=\"12.8\" hidden=\"false\" customHeight=\"false\" "
                "outlineLevel=\"0\" collapsed=\"false\">";
        for (std::size_t c = 0; c < riga.size(); ++c) {
            if (riga[c].empty())
                continue;
            std::string rif;
            std::size_t n = c + 1;
            while (n > 0) {
                rif.insert(rif.begin(), static_cast<char>('A' + (n - 1) % 26));
                n = (n - 1) / 26;
            }
            dati += CellaCalc(rif + std::to_string(r), riga[c], testi);
        }
        dati += "</row>";
        ++r;
    }
    std::string sst = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\""
        + std::to_string(testi.size()) + "\" uniqueCount=\"" + std::to_string(testi.size()) + "\">";
    for (const auto& t : testi)
        sst += "<si><t xml:space=\"preserve\">" + Escape(t) + "</t></si>";
    sst += "</sst>";
    const std::string rels = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" Target=\"styles.xml\"/>"
        "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
        "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet2.xml\"/>"
        "<Relationship Id=\"rId4\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>"
        "</Relationships>";
    const std::string foglio = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheetPr filterMode=\"false\"><pageSetUpPr fitToPage=\"false\"/></sheetPr>"
        "<dimension ref=\"A1:AH" + std::to_string(r) + "\"/><sheetViews><sheetView showFormulas=\"false\" tabSelected=\"true\" workbookViewId=\"0\">"
        "<selection pane=\"topLeft\" activeCell=\"A1\" sqref=\"A1\"/></sheetView></sheetViews><sheetFormatPr defaultRowHeight=\"12.8\"/>"
        "<cols><col collapsed=\"false\" customWidth=\"false\" hidden=\"false\" outlineLevel=\"0\" max=\"1025\" min=\"1\" style=\"0\" width=\"11.52\"/></cols>"
        "<sheetData>" + dati + "</sheetData><printOptions headings=\"false\"/><pageMargins left=\"0.7875\" right=\"0.7875\"/></worksheet>";
    const std::string vuoto = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData/></worksheet>";
    const std::string stili = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<numFmts count=\"2\"><numFmt numFmtId=\"164\" formatCode=\"General\"/><numFmt numFmtId=\"165\" formatCode=\"DD/MM/YYYY\"/></numFmts>"
        "<cellStyleXfs count=\"1\"><xf numFmtId=\"164\" fontId=\"0\"/></cellStyleXfs>"
        "<cellXfs count=\"2\"><xf numFmtId=\"164\" fontId=\"0\" xfId=\"0\"/><xf numFmtId=\"165\" fontId=\"0\" applyNumberFormat=\"true\" xfId=\"0\"/></cellXfs>"
        "</styleSheet>";
    const std::string wb = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><fileVersion appName=\"Calc\"/>"
        "<workbookPr backupFile=\"false\" showObjects=\"all\" date1904=\"false\"/><workbookProtection/>"
        "<sheets><sheet name=\"Emesse\" sheetId=\"1\" state=\"visible\" r:id=\"rId2\"/><sheet name=\"Ricevute\" sheetId=\"2\" state=\"visible\" r:id=\"rId3\"/></sheets>"
        "<calcPr iterateCount=\"100\" refMode=\"A1\" iterate=\"false\" iterateDelta=\"0.001\"/></workbook>";
    const std::string radice = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
    const std::vector<std::pair<std::string, std::string>> membri = {
        {"_rels/.rels", radice}, {"xl/workbook.xml", wb}, {"xl/_rels/workbook.xml.rels", rels}, {"xl/styles.xml", stili},
        {"xl/sharedStrings.xml", sst}, {"xl/worksheets/sheet1.xml", foglio}, {"xl/worksheets/sheet2.xml", vuoto}};
    const std::string zip = sheets_fixture::Zip(membri);
    QFile f(percorso);
    f.open(QIODevice::WriteOnly);
    f.write(zip.data(), static_cast<qint64>(zip.size()));
}

// A CSV file: the kind in the first field, two lines skipped, then the rows.
inline void ScriviCsv(const QString& percorso, const std::string& intestazione, const Righe& righe, char separatore = ';',
                      const std::string& fineRiga = "\r\n")
{
    std::string testo = intestazione + std::string(33, separatore) + fineRiga + "riga 2" + fineRiga + "riga 3" + fineRiga;
    for (const auto& riga : righe) {
        for (std::size_t c = 0; c < riga.size(); ++c) {
            if (c)
                testo += separatore;
            const std::string& v = riga[c];
            if (v.find(separatore) != std::string::npos || v.find('"') != std::string::npos) {
                testo += '"';
                for (char ch : v)
                    testo += ch == '"' ? std::string("\"\"") : std::string(1, ch);
                testo += '"';
            } else {
                testo += v;
            }
        }
        testo += fineRiga;
    }
    QFile f(percorso);
    f.open(QIODevice::WriteOnly);
    f.write(testo.data(), static_cast<qint64>(testo.size()));
}

// The log's lines (Windows-1252, CR LF).
inline QStringList RigheLog(const QString& file)
{
    const QByteArray b = LeggiFile(file);
    QString testo = quercino::decodeWindows1252(std::span(reinterpret_cast<const std::uint8_t*>(b.constData()), static_cast<std::size_t>(b.size())));
    EXPECT_FALSE(testo.contains(QRegularExpression(QStringLiteral("[^\\r]\\n")))) << "righe senza CR LF";
    if (testo.endsWith(QStringLiteral("\r\n")))
        testo.chop(2);
    return testo.split(QStringLiteral("\r\n"));
}

inline int Conta(const QByteArray& testo, const char* cercato)
{
    return static_cast<int>(testo.count(cercato));
}

// The test's environment: services doubled, globals cleared, a folder of its own.
class Ambiente {
public:
    Ambiente()
    {
        quercino::UltimaCartella.clear();
        quercino::FileSalva.clear();
        quercino::NomeOperatore = QStringLiteral("ROSSI SPA");
        quercino::RispostaTask = 0;
    }
    QString File(const QString& nome) const { return dir.filePath(nome); }

    QTemporaryDir dir;
    quercino::test::MessaggiSimulati messaggi;
    quercino::test::DialoghiSimulati dialoghi;
    quercino::test::AperturaRegistrata aperture;
    DichiaranteInMemoria dichiarante;
};

} // namespace import_fixture
