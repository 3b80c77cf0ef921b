// Recorded objects placed by their flags, tiling patterns and layers, read back from the
// page content streams and the catalog by qpdf and drawn by poppler and mupdf.

#include "pdf/ErrorRaised.h"
#include "pdf/TavloTestPeer.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/rendering.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace tavlo;
using namespace tavlo::test;

namespace {

void Put(Tavlo& pdf, const std::string& line)
{
    TavloTestPeer(pdf).PutContent(line);
}

// The position of the first operation of a page whose line is `line`, -1 when none is.
int IndexOf(const std::vector<Operation>& ops, const std::string& line)
{
    const auto found = std::find_if(ops.begin(), ops.end(), [&](const Operation& o) { return o.Line() == line; });
    return found == ops.end() ? -1 : static_cast<int>(found - ops.begin());
}

// A 20-point cell whose top-left quarter is black, tiled over 40-point squares whose corner
// is at page pixel (left, top): four whole upright cells each.
void ExpectQuarterCells(const Image& page, int left, int top, const std::string& where)
{
    for (const int cellX : {0, 20})
        for (const int cellY : {0, 20}) {
            const int x = left + cellX, y = top + cellY;
            const std::string at = where + " cell " + std::to_string(cellX) + "," + std::to_string(cellY);
            EXPECT_EQ(DarkPixelsIn(page, x + 1, y + 1, x + 9, y + 9), 64) << at;
            EXPECT_EQ(DarkPixelsIn(page, x + 11, y + 1, x + 19, y + 19), 0) << at;
            EXPECT_EQ(DarkPixelsIn(page, x + 1, y + 11, x + 9, y + 19), 0) << at;
        }
}

void RecordQuarterCell(Tavlo& pdf)
{
    pdf.BeginTiling("quarti", 0, 0, 20, 20, 20, 20, 0);
    pdf.SetColorFill("black");
    Put(pdf, "0 0 10 10 re f");
    pdf.EndTiling();
}

} // namespace

TEST(Recorded, ObjectsPlayedOnThePagesTheirFlagsSelect)
{
    struct Case {
        std::int32_t flags;
        std::vector<int> pages;
        bool over;
    };
    const Case cases[] = {{7, {1, 2, 3, 4, 5}, false}, {7 + 8, {2, 3, 4, 5}, false}, {1 + 8, {}, false},
                          {4, {1, 3, 5}, false},        {4 + 8, {3, 5}, false},        {2 + 16, {2, 4}, true},
                          {1, {1}, false}};
    for (const Case& c : cases) {
        const QpdfDocument q(WriteDocument("flags.pdf", [&](Tavlo& pdf) {
                                 pdf.BeginObject("Logo", c.flags);
                                 Put(pdf, "0 0 10 10 re f");
                                 pdf.EndObject();
                                 for (int page = 1; page <= 5; ++page) {
                                     pdf.BeginPage();
                                     Put(pdf, "1 1 1 1 re");
                                 }
                             }).path);
        for (int page = 1; page <= 5; ++page) {
            const auto ops = Operations(q.PageContent(page));
            const bool expected = std::find(c.pages.begin(), c.pages.end(), page) != c.pages.end();
            const int played = IndexOf(ops, "/Logo Do");
            EXPECT_EQ(played >= 0, expected) << "flags " << c.flags << " page " << page;
            if (expected) {
                EXPECT_EQ(ops[played - 1].op, "q");
                EXPECT_EQ(played > IndexOf(ops, "1 1 1 1 re"), c.over) << "flags " << c.flags << " page " << page;
            }
        }
    }
}

TEST(Recorded, ObjectFormsStrayCallsAndRedefinitions)
{
    const WrittenPdf doc = WriteDocument("form.pdf", [](Tavlo& pdf) {
                             pdf.EndObject();  // nothing recorded: ignored
                             pdf.EndTiling();  // likewise
                             pdf.BeginObject("Primo", 7);
                             pdf.BeginObject("Secondo", 7);  // ignored: its content goes into the first
                             Put(pdf, "0 0 5 5 re f");
                             pdf.EndObject();
                             pdf.EndObject();
                             pdf.BeginObject("Con spazio", 0);
                             pdf.BeginLayer("Logo", 1, 1);  // the marker goes into the object
                             pdf.EndLayer();
                             pdf.EndObject();
                             // A name defined twice keeps the latest.
                             pdf.BeginObject("Logo", 0);
                             Put(pdf, "1 1 1 1 re");
                             pdf.EndObject();
                             pdf.BeginObject("Logo", 0);
                             Put(pdf, "2 2 2 2 re");
                             pdf.EndObject();
                             pdf.AddGradient("Motivo", 0, "red", "blue", 0, 0, 10, 0);
                             pdf.BeginTiling("motivo", 0, 0, 4, 4, 4, 4, 0);
                             pdf.EndTiling();
                             pdf.BeginPage();
                             pdf.PlayObject("Con spazio");
                             // Played before it is recorded, or never recorded: an empty object.
                             pdf.PlayObject("Mai registrato");
                             pdf.PlayObject("Dopo");
                             pdf.BeginObject("Dopo", 0);
                             pdf.SetColorFill("black");
                             Put(pdf, "0 0 50 50 re f");
                             pdf.EndObject();
                             pdf.BeginObject("Sopra", 7 + 16);  // still recording when the page ends
                             pdf.EndPage();
                             pdf.EndObject();
                             pdf.PlayObject("Logo");
                         });
    const QpdfDocument q(doc.path);
    EXPECT_EQ(q.Text("2 0 R/XObject/Primo/BBox"), "[-1192 -1684 1192 1684]");
    EXPECT_EQ(q.Text("2 0 R/XObject/Primo/Matrix"), "[1 0 0 1 0 0]");
    EXPECT_EQ(q.Text("2 0 R/XObject/Secondo"), "<none>");
    EXPECT_EQ(LinesOf(Operations(q.StreamData("2 0 R/XObject/Con spazio"))),
              (std::vector<std::string>{"/OC /_LAY_1 BDC", "EMC"}));
    EXPECT_EQ(q.StreamData("2 0 R/XObject/Logo"), "\r2 2 2 2 re");
    EXPECT_EQ(q.StreamData("2 0 R/XObject/Mai registrato"), "");
    EXPECT_EQ(q.Text("2 0 R/Pattern/MOTIVO/PatternType"), "1");
    const auto ops = Operations(q.PageContent(1));
    EXPECT_GE(IndexOf(ops, "/Con#20spazio Do"), 0);
    EXPECT_EQ(IndexOf(ops, "/Sopra Do"), -1);
    EXPECT_TRUE(SavesBalanced(ops));
    // The object recorded after it was played is drawn where it was played.
    EXPECT_EQ(DarkPixelsIn(RenderPage(doc.path, 1, Reader::Poppler), 0, 0, 50, 50),
              2500);
}

TEST(Recorded, RecordingsLeftOpenAreClosedByEndDoc)
{
    const QpdfDocument q(WriteDocument("open.pdf", [](Tavlo& pdf) {
                             pdf.BeginPage();
                             pdf.BeginObject("Aperto", 7 + 16);
                             Put(pdf, "0 0 10 10 re f");
                             pdf.BeginTiling("cella", 0, 0, 4, 4, 4, 4, 0);
                         }).path);
    EXPECT_EQ(q.Text("2 0 R/XObject/Aperto/Subtype"), "/Form");
    EXPECT_EQ(q.Text("2 0 R/Pattern/CELLA/PatternType"), "1");
    EXPECT_GE(IndexOf(Operations(q.PageContent(1)), "/Aperto Do"), 0);
}

// A pattern, transition or margin given a number no reader takes raises the overflow error at
// once and leaves no recording open: the pattern recorded next and the page are whole.
TEST(Recorded, UnusableNumbersRaiseBeforeAnythingIsOpen)
{
    auto overflow = [](auto call) { return ErrorRaised(call) == ErrorCode::Overflow; };
    const WrittenPdf doc = WriteDocument("numbers.pdf", [&](Tavlo& pdf) {
        EXPECT_TRUE(overflow([&] { pdf.BeginTiling("rotto", 0, 0, INFINITY, 4, 4, 4, 1); }));
        pdf.EndTiling();  // nothing open: nothing written
        pdf.BeginTiling("buono", 0, 0, 4, 4, 4, 4, 0);
        Put(pdf, "0 0 2 2 re f");
        pdf.EndTiling();
        EXPECT_TRUE(overflow([&] { pdf.SetPageTransition(13, std::nanf(""), 1); }));
        EXPECT_TRUE(overflow([&] { pdf.SetMargins(10, 10, -INFINITY, 10, true); }));
        pdf.BeginPage();
        EXPECT_TRUE(overflow([&] { pdf.SetPageTransition(13, 1e39, 1); }));
        pdf.SetColorFill("red");  // colours are not locked by the refused uncoloured pattern
        pdf.SetColorFill("buono");
        Put(pdf, "0 0 40 40 re f");
    });
    const QpdfDocument q(doc.path);
    EXPECT_EQ(q.Text("2 0 R/Pattern/ROTTO"), "<none>");
    EXPECT_EQ(q.Text("2 0 R/Pattern/BUONO/PaintType"), "1");
    EXPECT_EQ(q.Text("Root/Pages/Kids/0/Trans"), "<none>");
    EXPECT_EQ(LinesOf(Operations(q.PageContent(1)), {"rg"}).back(), "1 0 0 rg");
    // The refused margin left the top one at 0: the square starts at the top of the page.
    EXPECT_GT(DarkPixelsIn(RenderPage(doc.path, 1, Reader::Poppler), 0, 0, 40, 2), 0);
}

// Each content stream keeps its layer sections balanced whatever the caller does: an EndLayer
// with none open in that stream writes nothing, sections left open are closed at the end of
// the page, object or cell.
TEST(Recorded, LayerSectionsBalancedInEveryStream)
{
    const QpdfDocument q(WriteDocument("sections.pdf", [](Tavlo& pdf) {
                             pdf.BeginObject("Timbro", 7);
                             pdf.BeginLayer("Timbri", 1, 1);  // left open in the object
                             Put(pdf, "0 0 5 5 re f");
                             pdf.EndObject();
                             pdf.BeginTiling("trama", 0, 0, 4, 4, 4, 4, 0);
                             pdf.EndLayer();  // none open in the cell
                             pdf.BeginLayer("Timbri", 1, 1);
                             pdf.EndTiling();
                             pdf.BeginPage();
                             pdf.BeginLayer("Note", 1, 1);
                             pdf.EndLayer();
                             pdf.EndLayer();  // one too many
                             pdf.BeginLayer("Note", 1, 1);
                             pdf.BeginLayer("Timbri", 1, 1);  // two left open on the page
                             pdf.BeginPage();
                             pdf.EndLayer();  // none open on the new page
                         }).path);
    const auto first = Operations(q.PageContent(1)), second = Operations(q.PageContent(2));
    EXPECT_EQ(CountOf(first, "BDC"), 3);
    EXPECT_EQ(CountOf(first, "EMC"), 3);
    EXPECT_EQ(CountOf(second, "EMC"), 0);
    EXPECT_EQ(LinesOf(Operations(q.StreamData("2 0 R/XObject/Timbro")), {"BDC", "re", "EMC"}),
              (std::vector<std::string>{"/OC /_LAY_1 BDC", "0 0 5 5 re", "EMC"}));
    EXPECT_EQ(LinesOf(Operations(q.StreamData("2 0 R/Pattern/TRAMA")), {"BDC", "EMC"}),
              (std::vector<std::string>{"/OC /_LAY_1 BDC", "EMC"}));
}

TEST(Recorded, TilingPatternsColouredAndUncoloured)
{
    const QpdfDocument q(WriteDocument("tiling.pdf", [](Tavlo& pdf) {
                             pdf.BeginTiling("  righe ", 0, 0, 10, 10, 10, 10, 0);
                             pdf.SetColorFill("red");
                             Put(pdf, "0 0 5 10 re f");
                             pdf.EndTiling();
                             pdf.BeginTiling("punti", 0, 0, 8, 8, 8, 8, 1);
                             pdf.SetColorFill("green");  // an uncoloured cell has no colour of its own
                             Put(pdf, "2 2 4 4 re f");
                             pdf.EndTiling();
                             pdf.BeginTiling("due", 0, 0, 8, 8, 8, 8, 2);
                             pdf.EndTiling();
                             pdf.BeginPage();
                             pdf.SetColorFill("Righe");
                             Put(pdf, "0 0 100 100 re f");
                             pdf.SetColorFill("punti;blue");
                             Put(pdf, "100 0 100 100 re f");
                         }).path);
    EXPECT_EQ(q.Text("2 0 R/Pattern/RIGHE"),
              "<< /BBox [0 0 10 10] /Matrix [1 0 0 1 0 832] /PaintType 1 /PatternType 1 /Resources 3 0 R"
              " /TilingType 1 /Type /Pattern /XStep 10 /YStep 10 >>");
    EXPECT_EQ(q.Text("2 0 R/Pattern/PUNTI/PaintType"), "2");
    EXPECT_EQ(q.Text("2 0 R/ColorSpace/xxCSxx"), "[/Pattern /DeviceRGB]");
    EXPECT_EQ(LinesOf(Operations(q.PageContent(1)), {"cs", "scn"}),
              (std::vector<std::string>{"/Pattern cs", "/RIGHE scn", "/xxCSxx cs", "0 0 1 /PUNTI scn"}));
    EXPECT_EQ(LinesOf(Operations(q.StreamData("2 0 R/Pattern/RIGHE"))),
              (std::vector<std::string>{"1 0 0 -1 0 10 cm", "1 0 0 rg", "0 0 5 10 re", "f"}));
    EXPECT_EQ(LinesOf(Operations(q.StreamData("2 0 R/Pattern/PUNTI"))),
              (std::vector<std::string>{"1 0 0 -1 0 8 cm", "2 2 4 4 re", "f"}));
}

TEST(Recorded, LayersInTheCatalog)
{
    const WrittenPdf doc = WriteDocument(
        "layers.pdf",
        [](Tavlo& pdf) {
            pdf.EndLayer();  // no layer yet: nothing
            pdf.BeginPage();
            pdf.BeginLayer("Note", 1, 1);
            pdf.EndLayer();
            pdf.BeginLayer("NOTE", 0, 0);  // the same layer, flags ignored
            pdf.EndLayer();
            pdf.BeginLayer("SCREEN", 0, 1);
            pdf.EndLayer();
            pdf.BeginLayer("PRINTER", -1, 1);
            pdf.EndLayer();
            pdf.BeginLayer("screen", 0, 0);  // the SCREEN layer again
            pdf.EndLayer();
        },
        {[](Tavlo& pdf) { pdf.SetDocProperty("Livelli & note", "", "", "", "", ""); }});
    EXPECT_EQ(doc.bytes.substr(0, 8), "%PDF-1.5");
    const QpdfDocument q(doc.path);
    EXPECT_EQ(LinesOf(Operations(q.PageContent(1)), {"BDC", "EMC"}),
              (std::vector<std::string>{"/OC /_LAY_1 BDC", "EMC", "/OC /_LAY_1 BDC", "EMC", "/OC /_LAY_2 BDC", "EMC",
                                        "/OC /_LAY_3 BDC", "EMC", "/OC /_LAY_2 BDC", "EMC"}));
    EXPECT_EQ(q.Text("Root/OCProperties/OCGs/1/Name"), "SCREEN");
    EXPECT_EQ(q.Text("Root/OCProperties/OCGs/1/Usage"), "<< /Print << /PrintState /OFF >> /View << /ViewState /ON >> >>");
    EXPECT_EQ(q.Text("Root/OCProperties/OCGs/2/Usage"), "<< /Print << /PrintState /ON >> /View << /ViewState /OFF >> >>");
    EXPECT_EQ(q.Text("Root/OCProperties/OCGs/3"), "<none>");
    EXPECT_EQ(q.Text("Root/OCProperties/D/Order/0"), "Livelli & note");
    EXPECT_EQ(q.Text("Root/OCProperties/D/AS/0/Event"), "/Print");
    EXPECT_EQ(q.Text("Root/OCProperties/D/AS/1/Event"), "/View");
    EXPECT_EQ(q.Text("2 0 R/Properties/_LAY_1"), q.Text("Root/OCProperties/OCGs/0"));

    // First named in lower case, SCREEN is an ordinary layer.
    const QpdfDocument plain(WriteDocument("plain-layer.pdf", [](Tavlo& pdf) {
                                 pdf.BeginPage();
                                 pdf.BeginLayer("Screen", 0, 1);
                                 pdf.EndLayer();
                             }).path);
    EXPECT_EQ(plain.Text("Root/OCProperties/OCGs/0/Usage"), "<none>");
    EXPECT_EQ(plain.Text("Root/OCProperties/D/AS"), "[]");
    EXPECT_EQ(plain.Text("Root/OCProperties/D/OFF/0/Name"), "Screen");
}

// A cell tiled over squares drawn at the origin inside margins that are no multiple of the
// step, on the page and in a recorded object placed on it, and on pages of other sizes and
// margins (which get the pattern made again for their own origin, once however often it is
// used there): poppler and mupdf show whole upright cells starting at each square's corner.
TEST(Recorded, TilingCellsStartAtTheCornerOfWhatTheyFill)
{
    const WrittenPdf doc = WriteDocument("tiles.pdf", [](Tavlo& pdf) {
        pdf.SetMargins(53, 20, 105, 30, false);
        RecordQuarterCell(pdf);
        pdf.BeginObject("Quadro", 1);
        pdf.SetColorFill("quarti");
        Put(pdf, "100 0 40 40 re f");
        pdf.EndObject();
        pdf.BeginPage();
        pdf.SetColorFill("quarti");
        Put(pdf, "0 0 40 40 re f");
        for (int page = 2; page <= 3; ++page) {
            pdf.BeginPage();
            pdf.SetPaperSize(page == 2 ? 1 : 8);  // A4 landscape, letter
            pdf.SetMargins(33, 10, 47, 10, false);
            for (const char* square : {"0 0 40 40 re f", "100 0 40 40 re f"}) {
                pdf.SetColorFill("quarti");
                Put(pdf, square);
            }
        }
    });
    const QpdfDocument q(doc.path);
    EXPECT_EQ(q.Text("2 0 R/Pattern/QUARTI_p2/PatternType"), "1");
    EXPECT_EQ(q.Text("2 0 R/Pattern/QUARTI_p3"), "<none>");
    for (const Reader reader : {Reader::Poppler, Reader::Mupdf})
        for (int number = 1; number <= 3; ++number) {
            const Image page = RenderPage(doc.path, number, reader);
            ASSERT_GT(page.width, 0);
            const int originX = number == 1 ? 53 : 33, originY = number == 1 ? 105 : 47;
            const std::string where = "page " + std::to_string(number) + " reader " + std::to_string(int(reader));
            for (const int squareX : {0, 100})
                ExpectQuarterCells(page, originX + squareX, originY, where);
            if (number == 1) {
                // Nothing outside the squares.
                EXPECT_EQ(DarkPixelsIn(page, 0, 0, page.width, 104), 0) << where;
                EXPECT_EQ(DarkPixelsIn(page, 0, 146, page.width, page.height), 0) << where;
                EXPECT_EQ(DarkPixelsIn(page, 94, 0, 152, page.height), 0) << where;
            }
        }
}
