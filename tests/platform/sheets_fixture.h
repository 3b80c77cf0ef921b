#pragma once
// Helpers of the sheet-reader tests: zip files built by hand (to make workbooks no
// spreadsheet program writes), temporary folders and running external tools.

#include "platform/sheets/SheetError.h"
#include "platform/sheets/Workbook.h"
#include "platform/sheets/ZipArchive.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zlib.h>

#include <clocale>
#include <cstdint>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace sheets_fixture {

// Every row of a worksheet, read through.
inline std::vector<quercino::sheets::SheetRow> TutteLeRighe(const quercino::sheets::Workbook& cartella, int foglio,
                                                            int colonne = 34)
{
    std::vector<quercino::sheets::SheetRow> righe;
    auto lettore = cartella.ApriFoglio(foglio, colonne);
    quercino::sheets::SheetRow riga;
    while (lettore->Prossima(riga))
        righe.push_back(riga);
    return righe;
}

// Every cell that is not empty, of every sheet: (sheet, row) -> column -> text; every row
// read has its 34 cells (a cell written beyond them, up to column 41, would show), and, when
// asked, rows come in ascending order.
using CelleLette = std::map<std::pair<int, int>, std::map<int, QString>>;
inline CelleLette NonVuote(const quercino::sheets::Workbook& cartella, bool inOrdine = false)
{
    CelleLette lette;
    for (int foglio = 1; foglio <= cartella.NumeroFogli(); ++foglio) {
        int ultima = 0;
        for (const quercino::sheets::SheetRow& riga : TutteLeRighe(cartella, foglio)) {
            EXPECT_EQ(riga.Celle.size(), 34u);
            if (inOrdine) {
                EXPECT_GT(riga.Numero, ultima);
            }
            ultima = riga.Numero;
            for (int c = 1; c <= 41; ++c)
                if (!riga.Cella(c).isEmpty())
                    lette[{foglio, riga.Numero}][c] = riga.Cella(c);
        }
    }
    return lette;
}

inline std::size_t NumeroCelle(const CelleLette& celle)
{
    std::size_t n = 0;
    for (const auto& [riga, colonne] : celle)
        n += colonne.size();
    return n;
}

// Whether a (damaged) workbook is read whole, every sheet; false when it is refused, which
// must come with a message.
inline bool LettaORifiutata(const QString& percorso)
{
    try {
        const auto cartella = quercino::sheets::ApriCartella(percorso);
        for (int f = 1; f <= cartella->NumeroFogli(); ++f)
            TutteLeRighe(*cartella, f);
        return true;
    } catch (const quercino::sheets::SheetError& e) {
        EXPECT_FALSE(e.Messaggio.isEmpty());
        return false;
    }
}

// A copy of a file with one to four random damages: a byte changed, a few bytes cut out or a
// run of them repeated.
inline std::string Guasta(std::string copia, std::mt19937& caso)
{
    const int modifiche = 1 + static_cast<int>(caso() % 4);
    for (int m = 0; m < modifiche; ++m) {
        const std::size_t pos = caso() % copia.size();
        switch (caso() % 3) {
        case 0: copia[pos] = static_cast<char>(caso() % 256); break;
        case 1: copia.erase(pos, 1 + caso() % 8); break;
        default: copia.insert(pos, copia.substr(pos, 1 + caso() % 16)); break;
        }
    }
    return copia;
}

// Numbers printed by the C library in the "C" locale while it lives (libxlsxwriter formats
// numbers with printf).
class NumeriC {
public:
    NumeriC() : prima_(std::setlocale(LC_NUMERIC, nullptr)) { std::setlocale(LC_NUMERIC, "C"); }
    ~NumeriC() { std::setlocale(LC_NUMERIC, prima_.c_str()); }
    NumeriC(const NumeriC&) = delete;
    NumeriC& operator=(const NumeriC&) = delete;

private:
    std::string prima_;
};

// Little-endian fields of 2 or 4 bytes.
inline void Campi(std::string& s, std::initializer_list<std::pair<int, std::uint32_t>> campi)
{
    for (const auto& [byte, valore] : campi)
        for (int i = 0; i < byte; ++i)
            s += static_cast<char>((valore >> (8 * i)) & 0xFF);
}

inline std::string DeflateGrezzo(const std::string& dati)
{
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string uscita(deflateBound(&z, static_cast<uLong>(dati.size())) + 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(dati.data()));
    z.avail_in = static_cast<uInt>(dati.size());
    z.next_out = reinterpret_cast<Bytef*>(uscita.data());
    z.avail_out = static_cast<uInt>(uscita.size());
    deflate(&z, Z_FINISH);
    uscita.resize(z.total_out);
    deflateEnd(&z);
    return uscita;
}

// A zip file with the given members (name, content), deflated or stored.
inline std::string Zip(const std::vector<std::pair<std::string, std::string>>& membri, bool comprimi = true)
{
    std::string file;
    std::string directory;
    const std::uint32_t metodo = comprimi ? 8 : 0;
    for (const auto& [nome, dati] : membri) {
        const std::string compressi = comprimi ? DeflateGrezzo(dati) : dati;
        const auto crc = static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(dati.data()), static_cast<uInt>(dati.size())));
        const auto offset = static_cast<std::uint32_t>(file.size());
        const auto compresso = static_cast<std::uint32_t>(compressi.size());
        const auto intero = static_cast<std::uint32_t>(dati.size());
        const auto lunghezzaNome = static_cast<std::uint32_t>(nome.size());
        Campi(file, {{4, 0x04034b50}, {2, 20}, {2, 0}, {2, metodo}, {4, 0}, {4, crc}, {4, compresso}, {4, intero},
                     {2, lunghezzaNome}, {2, 0}});
        file += nome + compressi;
        Campi(directory, {{4, 0x02014b50}, {2, 20}, {2, 20}, {2, 0}, {2, metodo}, {4, 0}, {4, crc}, {4, compresso},
                          {4, intero}, {2, lunghezzaNome}, {2, 0}, {2, 0}, {2, 0}, {2, 0}, {4, 0}, {4, offset}});
        directory += nome;
    }
    const auto inizio = static_cast<std::uint32_t>(file.size());
    const auto voci = static_cast<std::uint32_t>(membri.size());
    file += directory;
    Campi(file, {{4, 0x06054b50}, {2, 0}, {2, 0}, {2, voci}, {2, voci},
                 {4, static_cast<std::uint32_t>(directory.size())}, {4, inizio}, {2, 0}});
    return file;
}

// A zip file of every file below `cartella`, named by their paths from it.
inline std::string ZipCartella(const QString& cartella, bool comprimi = true)
{
    std::vector<std::pair<std::string, std::string>> membri;
    QDirIterator voci(cartella, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (voci.hasNext()) {
        QFile file(voci.next());
        file.open(QIODevice::ReadOnly);
        membri.emplace_back(QDir(cartella).relativeFilePath(file.fileName()).toStdString(), file.readAll().toStdString());
    }
    return Zip(membri, comprimi);
}

inline void ScriviFile(const QString& percorso, const std::string& dati)
{
    std::ofstream f(percorso.toStdString(), std::ios::binary);
    f.write(dati.data(), static_cast<std::streamsize>(dati.size()));
}

inline std::string Rels(const std::vector<std::tuple<std::string, std::string, std::string>>& relazioni)
{
    std::string s = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                    "\n<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (const auto& [id, tipo, destinazione] : relazioni)
        s += "<Relationship Id=\"" + id + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + tipo
            + "\" Target=\"" + destinazione + "\"/>";
    return s + "</Relationships>";
}

// The namespace of the workbook's own XML parts, and a shared-strings and a styles part of
// the given content in it.
inline const std::string SpazioFoglio = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline std::string TestiCondivisi(const std::string& voci)
{
    return "<sst xmlns=\"" + SpazioFoglio + "\">" + voci + "</sst>";
}
inline std::string StiliFoglio(const std::string& contenuto)
{
    return "<styleSheet xmlns=\"" + SpazioFoglio + "\">" + contenuto + "</styleSheet>";
}

// A workbook made of the given worksheet XML bodies (the <sheetData> content), with the
// given shared strings and styles parts (empty for none) and workbook properties.
struct ParteFoglio {
    std::string NomeTab;
    std::string NomeParte;     // e.g. "worksheets/sheet2.xml"
    std::string Dati;          // the content of <sheetData>
};

inline std::string Cartella(const std::vector<ParteFoglio>& fogli, const std::string& testi,
                            const std::string& stili, const std::string& proprieta = "", bool comprimi = true)
{
    std::vector<std::pair<std::string, std::string>> membri;
    membri.emplace_back("[Content_Types].xml",
                        "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                        "<Default Extension=\"xml\" ContentType=\"application/xml\"/><Override PartName=\"/xl/workbook.xml\" "
                        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/></Types>");
    membri.emplace_back("_rels/.rels", Rels({{"rId1", "officeDocument", "xl/workbook.xml"}}));
    std::string wb = "<?xml version=\"1.0\"?><x:workbook xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                     "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        + proprieta + "<x:sheets>";
    std::vector<std::tuple<std::string, std::string, std::string>> relazioni;
    int n = 0;
    for (const auto& f : fogli) {
        ++n;
        const std::string id = "rIdS" + std::to_string(n);
        wb += "<x:sheet name=\"" + f.NomeTab + "\" sheetId=\"" + std::to_string(n) + "\" r:id=\"" + id + "\"/>";
        relazioni.emplace_back(id, "worksheet", f.NomeParte);
        membri.emplace_back("xl/" + f.NomeParte,
                            "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                            "<sheetData>" + f.Dati + "</sheetData></worksheet>");
    }
    wb += "</x:sheets></x:workbook>";
    membri.emplace_back("xl/workbook.xml", wb);
    if (!testi.empty()) {
        relazioni.emplace_back("rIdT", "sharedStrings", "/xl/sharedStrings.xml");
        membri.emplace_back("xl/sharedStrings.xml", testi);
    }
    if (!stili.empty()) {
        relazioni.emplace_back("rIdY", "styles", "styles.xml");
        membri.emplace_back("xl/styles.xml", stili);
    }
    membri.emplace_back("xl/_rels/workbook.xml.rels", Rels(relazioni));
    return Zip(membri, comprimi);
}

// An OpenDocument spreadsheet's content.xml around `tabelle` (the content of
// <office:spreadsheet>), with the namespaces a spreadsheet program declares and, when given,
// its automatic styles.
inline std::string ContenutoOds(const std::string& tabelle, const std::string& stiliAutomatici = "")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
           "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
           "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
           "xmlns:number=\"urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0\" "
           "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
           "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
           "xmlns:calcext=\"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0\" office:version=\"1.2\">"
        + (stiliAutomatici.empty() ? std::string() : "<office:automatic-styles>" + stiliAutomatici + "</office:automatic-styles>")
        + "<office:body><office:spreadsheet>" + tabelle + "</office:spreadsheet></office:body></office:document-content>";
}

// An OpenDocument styles.xml of the given common styles.
inline std::string StiliOds(const std::string& stiliComuni)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-styles "
           "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
           "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
           "xmlns:number=\"urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0\" office:version=\"1.2\">"
           "<office:styles>" + stiliComuni + "</office:styles></office:document-styles>";
}

inline const std::string MimetypeOds = "application/vnd.oasis.opendocument.spreadsheet";

inline std::string ManifestoOds(const std::string& vociContenuto = "")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><manifest:manifest "
           "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" manifest:version=\"1.2\">"
           "<manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"" + MimetypeOds + "\"/>"
           "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\">" + vociContenuto
        + "</manifest:file-entry></manifest:manifest>";
}

// An .ods file of the given content.xml, with its mimetype and manifest, and styles.xml
// when given.
inline std::string FoglioDiCalcolo(const std::string& contenuto, bool comprimi = true, const std::string& stili = "")
{
    std::vector<std::pair<std::string, std::string>> membri = {
        {"mimetype", MimetypeOds}, {"META-INF/manifest.xml", ManifestoOds()}, {"content.xml", contenuto}};
    if (!stili.empty())
        membri.emplace_back("styles.xml", stili);
    return Zip(membri, comprimi);
}

// The zip file `percorso` with its member `nome` changed by `cambia` (the others as they
// are, in their order), written to `uscita`.
inline void CambiaMembro(const QString& percorso, const std::string& nome, const std::function<std::string(std::string)>& cambia,
                         const QString& uscita)
{
    const quercino::sheets::ZipArchive archivio(percorso.toStdString());
    std::vector<std::pair<std::string, std::string>> membri;
    bool trovato = false;
    for (const auto& voce : archivio.Voci()) {
        membri.emplace_back(voce.Nome, archivio.Leggi(voce, std::uint64_t{1} << 30));
        if (voce.Nome == nome) {
            membri.back().second = cambia(membri.back().second);
            trovato = true;
        }
    }
    EXPECT_TRUE(trovato) << nome;
    ScriviFile(uscita, Zip(membri));
}

// Runs a program and returns its standard output; empty when it is missing or fails.
inline QByteArray Esegui(const QString& programma, const QStringList& argomenti)
{
    QProcess p;
    p.start(programma, argomenti);
    p.waitForFinished(120000);
    return p.readAllStandardOutput();
}

} // namespace sheets_fixture
