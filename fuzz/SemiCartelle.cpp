#include "fuzz/SemiCartelle.h"

#include "declarants/import/import_fixture.h"

#include <fstream>
#include <iterator>

namespace quercino::fuzz {

namespace {

const import_fixture::Righe Righe = {
    import_fixture::Riga({{1, "01234567890"}, {3, "ALFA & BETA SRL"}, {6, "VIA ROMA"}, {7, "1"}, {8, "00100"},
                          {9, "ROMA"}, {10, "RM"}, {11, "IT"}, {13, "TD01"}, {14, "15/01/2017"}, {15, "A/1"},
                          {16, "100,50"}, {17, "22"}, {18, "22,11"}}),
    import_fixture::Riga({{2, "RSSMRA80A01H501U"}, {4, "MARIO"}, {5, "ROSSI"}, {11, "IT"}, {13, "TD04"},
                          {14, "31/12/2017"}, {15, "N.2"}, {16, "10"}, {19, "N2"}}),
    import_fixture::Riga({{1, "DE123456789"}, {3, "GMBH \"MÜLLER\""}, {11, "DE"}, {13, "TD01"}, {14, "01/02/2017"},
                          {15, "7"}, {16, "-5,25"}, {17, "0"}}),
};

std::string Leggi(const std::filesystem::path& percorso)
{
    std::ifstream in(percorso, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

const char* const Testi =
    "<?xml version=\"1.0\"?><sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<si><t>FATTURE EMESSE</t></si><si><r><t>Ross</t></r><r><t xml:space=\"preserve\">i Mario</t></r></si>"
    "<si><t>A_x000D_B &amp; C</t><rPh sb=\"0\" eb=\"1\"><t>FONETICA</t></rPh></si></sst>";

const char* const Stili =
    "<?xml version=\"1.0\"?><styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy\"/></numFmts>"
    "<cellXfs count=\"3\"><xf numFmtId=\"0\"/><xf numFmtId=\"164\" applyNumberFormat=\"1\"/><xf numFmtId=\"14\"/></cellXfs>"
    "</styleSheet>";

const char* const Celle =
    "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"C1\" t=\"s\"><v>1</v></c><c r=\"D1\" t=\"s\"><v>2</v></c></row>"
    "<row r=\"4\"><c r=\"A4\"><v>12345678901</v></c><c r=\"B4\" t=\"inlineStr\"><is><t>IN LINEA</t>"
    "<rPh><t>X</t></rPh></is></c><c r=\"N4\" s=\"1\"><v>42750</v></c><c r=\"O4\" s=\"2\"><v>60</v></c>"
    "<c r=\"P4\"><f>O4*2</f><v>1.5E-2</v></c><c r=\"Q4\" t=\"b\"><v>1</v></c><c r=\"R4\" t=\"d\"><v>2017-12-31T10:00:00</v></c>"
    "<c r=\"S4\" t=\"str\"><v>&lt;&#x41;&#66;&gt;</v></c><c r=\"T4\" t=\"e\"><v>#N/A</v></c></row>"
    "<row><c t=\"inlineStr\"><is><t><![CDATA[<CDATA>]]></t></is></c><c><v>-0.30000000000000004</v></c></row>";

} // namespace

std::vector<std::pair<std::string, std::string>> CartelleDiProva(const std::filesystem::path& lavoro)
{
    std::vector<std::pair<std::string, std::string>> cartelle;
    const auto libreria = lavoro / "libreria.xlsx";
    import_fixture::ScriviCartella(QString::fromStdString(libreria.string()), Righe, {Righe[1]});
    cartelle.emplace_back("libreria.xlsx", Leggi(libreria));
    cartelle.emplace_back("celle.xlsx", sheets_fixture::Cartella({{"Emesse", "worksheets/sheet1.xml", Celle}}, Testi, Stili));
    cartelle.emplace_back("1904.xlsx", sheets_fixture::Cartella({{"B", "worksheets/b.xml", Celle}, {"A", "a.xml", ""}}, Testi,
                                                                Stili, "<x:workbookPr date1904=\"1\"/>"));
    return cartelle;
}

} // namespace quercino::fuzz
