// Recorded objects placed by their flags, tiling patterns and layers, read back from the
// page content streams and the catalog by qpdf.

#include "pdf/ErrorRaised.h"
#include "pdf/PdfCheck.h"
#include "pdf/RenderedBox.h"
#include "pdf/TavloTestPeer.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tavlo;
using namespace tavlo::test;

namespace {

class RecordedTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ReadersAvailable())
            FAIL() << "qpdf, poppler or mupdf missing";
    }
    // The decoded content of each page, in page order.
    std::vector<std::string> PageContents(const std::string& path)
    {
        std::vector<std::string> pages;
        const std::string json = RunTool("qpdf --json --json-key=pages " + Quote(path)).output;
        for (std::size_t at = 0; (at = json.find("\"contents\": [", at)) != std::string::npos;) {
            at = json.find('"', at + 13) + 1;
            const std::string ref = json.substr(at, json.find('"', at) - at);
            pages.push_back(StreamOf(path, std::stoi(ref)));
        }
        return pages;
    }
    ScratchDir dir;
};

// A 20-point cell whose top-left quarter is black.
void RecordQuarterCell(Tavlo& pdf, TavloTestPeer& peer)
{
    pdf.BeginTiling("quarti", 0, 0, 20, 20, 20, 20, 0);
    pdf.SetColorFill("black");
    peer.PutContent("0 0 10 10 re f");
    pdf.EndTiling();
}

// That cell tiled over a 40-point square whose corner is at page pixel (left, top): four
// whole upright cells.
void ExpectQuarterCells(const GreyImage& page, int left, int top, const std::string& where)
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

} // namespace

TEST_F(RecordedTest, ObjectsPlayedOnThePagesTheirFlagsSelect)
{
    struct Case {
        std::int32_t flags;
        std::vector<int> pages;
        bool over;
    };
    const Case cases[] = {{7, {1, 2, 3, 4, 5}, false}, {7 + 8, {2, 3, 4, 5}, false}, {1 + 8, {}, false},
                          {4, {1, 3, 5}, false},        {4 + 8, {3, 5}, false},        {2 + 16, {2, 4}, true},
                          {1, {1}, false}};
    int n = 0;
    for (const Case& c : cases) {
        Tavlo pdf;
        TavloTestPeer peer(pdf);
        const std::string path = dir.File("flags" + std::to_string(n++) + ".pdf");
        pdf.BeginDoc(path);
        pdf.BeginObject("Logo", c.flags);
        peer.PutContent("0 0 10 10 re f");
        pdf.EndObject();
        for (int page = 1; page <= 5; ++page) {
            pdf.BeginPage();
            peer.PutContent("% contenuto");
        }
        pdf.EndDoc();
        ExpectReadersAccept(path);
        const std::vector<std::string> pages = PageContents(path);
        ASSERT_EQ(pages.size(), 5u);
        for (int page = 1; page <= 5; ++page) {
            const std::string& content = pages[static_cast<std::size_t>(page) - 1];
            const bool expected = std::find(c.pages.begin(), c.pages.end(), page) != c.pages.end();
            const std::size_t played = content.find("q /Logo Do Q");
            EXPECT_EQ(played != std::string::npos, expected) << "flags " << c.flags << " page " << page;
            if (expected) {
                EXPECT_EQ(played > content.find("% contenuto"), c.over) << "flags " << c.flags << " page " << page;
            }
        }
    }
}

TEST_F(RecordedTest, ObjectFormAndStrayEndCalls)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("form.pdf");
    pdf.BeginDoc(path);
    pdf.EndObject();   // nothing recorded: ignored
    pdf.EndTiling();   // likewise
    pdf.BeginObject("Primo", 7);
    pdf.BeginObject("Secondo", 7);  // ignored: its content goes into the first
    peer.PutContent("0 0 5 5 re f");
    pdf.EndObject();
    pdf.EndObject();
    pdf.BeginObject("Con spazio", 0);
    pdf.BeginLayer("Logo", 1, 1);  // the marker goes into the object, wherever it is played
    pdf.EndLayer();
    pdf.EndObject();
    pdf.BeginPage();
    pdf.PlayObject("Con spazio");
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("/Name /Primo\r/BBox [-1192 -1684 1192 1684]\r/Matrix [1 0 0 1 0 0]"), std::string::npos);
    EXPECT_EQ(text.find("/Secondo"), std::string::npos);
    EXPECT_NE(text.find("/Con#20spazio "), std::string::npos);
    EXPECT_NE(text.find("stream\n\r/OC /_LAY_1 BDC\rEMC\nendstream"), std::string::npos);
    const std::string resources = ObjectOf(path, "2");
    EXPECT_NE(resources.find("/Primo"), std::string::npos) << resources;
    EXPECT_EQ(resources.find("/Primo", resources.find("/Primo") + 1), std::string::npos) << resources;
    EXPECT_EQ(text.find("/Pattern <<"), std::string::npos);
    EXPECT_NE(PageContents(path)[0].find("q /Con#20spazio Do Q"), std::string::npos);
}

TEST_F(RecordedTest, RecordingsLeftOpenAreClosedByEndDoc)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("open.pdf");
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.BeginObject("Aperto", 7 + 16);
    peer.PutContent("0 0 10 10 re f");
    pdf.BeginTiling("cella", 0, 0, 4, 4, 4, 4, 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("/Name /Aperto"), std::string::npos);
    EXPECT_NE(text.find("/CELLA "), std::string::npos);
    EXPECT_NE(PageContents(path)[0].find("q /Aperto Do Q"), std::string::npos);
}

TEST_F(RecordedTest, NamesDefinedTwiceKeepTheLatest)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("twice.pdf");
    pdf.BeginDoc(path);
    pdf.BeginObject("Logo", 0);
    peer.PutContent("% primo");
    pdf.EndObject();
    pdf.BeginObject("Logo", 0);
    peer.PutContent("% secondo");
    pdf.EndObject();
    pdf.AddGradient("Motivo", 0, "red", "blue", 0, 0, 10, 0);
    pdf.BeginTiling("motivo", 0, 0, 4, 4, 4, 4, 0);
    pdf.EndTiling();
    pdf.BeginPage();
    pdf.BeginObject("Sopra", 7 + 16);  // still recording when the page ends
    pdf.EndPage();
    pdf.EndObject();
    pdf.PlayObject("Logo");
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string resources = ObjectOf(path, "2");
    const std::size_t logo = resources.find("/Logo ");
    ASSERT_NE(logo, std::string::npos) << resources;
    EXPECT_EQ(resources.find("/Logo ", logo + 1), std::string::npos) << resources;
    EXPECT_EQ(StreamOf(path, std::stoi(resources.substr(logo + 6))), "\r% secondo");
    const std::size_t pattern = resources.find("/MOTIVO ");
    EXPECT_EQ(resources.find("/MOTIVO ", pattern + 1), std::string::npos) << resources;
    EXPECT_NE(ObjectOf(path, resources.substr(pattern + 8, resources.find(' ', pattern + 8) - pattern - 8))
                  .find("/PatternType 1"),
              std::string::npos);
    const std::string sopra = ReadFile(path);
    EXPECT_EQ(sopra.find("/Sopra Do"), std::string::npos);
}

// A pattern, transition or margin given a number no reader takes raises the overflow error at once
// and leaves no recording open: the pattern recorded next and the page are whole.
TEST_F(RecordedTest, UnusableNumbersRaiseBeforeAnythingIsOpen)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("numbers.pdf");
    pdf.BeginDoc(path);
    auto overflow = [](auto call) { return ErrorRaised(call) == ErrorCode::Overflow; };
    EXPECT_TRUE(overflow([&] { pdf.BeginTiling("rotto", 0, 0, INFINITY, 4, 4, 4, 1); }));
    EXPECT_FALSE(peer.State().InTiling);
    EXPECT_FALSE(peer.State().ColorLocked);
    pdf.EndTiling();  // nothing open: nothing written
    pdf.BeginTiling("buono", 0, 0, 4, 4, 4, 4, 0);
    peer.PutContent("0 0 2 2 re f");
    pdf.EndTiling();
    EXPECT_TRUE(overflow([&] { pdf.SetPageTransition(13, std::nanf(""), 1); }));
    EXPECT_TRUE(overflow([&] { pdf.SetMargins(10, 10, -INFINITY, 10, true); }));
    EXPECT_FLOAT_EQ(peer.State().MarginTop, 0);
    pdf.BeginPage();
    EXPECT_TRUE(overflow([&] { pdf.SetPageTransition(13, 1e39, 1); }));
    pdf.SetColorFill("buono");
    peer.PutContent("0 0 40 40 re f");
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string text = ReadFile(path);
    EXPECT_EQ(text.find("/ROTTO"), std::string::npos);
    EXPECT_EQ(text.find("/Trans"), std::string::npos);
    EXPECT_NE(ObjectOf(path, "2").find("/BUONO"), std::string::npos);
}

// Objects may be played before they are recorded (the resources are written at the end);
// one played and never recorded is an empty object, so readers find every name they are given.
TEST_F(RecordedTest, ObjectsPlayedButNeverRecordedAreEmpty)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("played.pdf");
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.PlayObject("Mai registrato");
    pdf.PlayObject("Dopo");
    pdf.BeginObject("Dopo", 0);
    pdf.SetColorFill("black");
    peer.PutContent("0 0 50 50 re f");
    pdf.EndObject();
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string resources = ObjectOf(path, "2");
    const std::size_t never = resources.find("/Mai#20registrato ");
    ASSERT_NE(never, std::string::npos) << resources;
    EXPECT_EQ(resources.find("/Dopo ", resources.find("/Dopo ") + 1), std::string::npos) << resources;
    const int empty = std::stoi(resources.substr(never + 18));
    EXPECT_EQ(StreamOf(path, empty), "");
    // The recorded one is drawn where it was played before it existed.
    const GreyImage page = PopplerPage(path, 1, false);
    EXPECT_EQ(DarkPixelsIn(page, 0, 0, 50, 50), 2500);
}

// Each content stream keeps its layer sections balanced whatever the caller does: an
// EndLayer with none open in that stream writes nothing, sections left open are closed at the
// end of the page, object or cell, and poppler reports no mismatched operator.
TEST_F(RecordedTest, LayerSectionsBalancedInEveryStream)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("sections.pdf");
    pdf.BeginDoc(path);
    pdf.BeginObject("Timbro", 7);
    pdf.BeginLayer("Timbri", 1, 1);       // left open in the object
    peer.PutContent("0 0 5 5 re f");
    pdf.EndObject();
    pdf.BeginTiling("trama", 0, 0, 4, 4, 4, 4, 0);
    pdf.EndLayer();                       // none open in the cell
    pdf.BeginLayer("Timbri", 1, 1);
    pdf.EndTiling();
    pdf.BeginPage();
    pdf.BeginLayer("Note", 1, 1);
    pdf.EndLayer();
    pdf.EndLayer();                       // one too many
    pdf.BeginLayer("Note", 1, 1);
    pdf.BeginLayer("Timbri", 1, 1);       // two left open on the page
    pdf.BeginPage();
    pdf.EndLayer();                       // none open on the new page
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::vector<std::string> pages = PageContents(path);
    ASSERT_EQ(pages.size(), 2u);
    auto count = [](const std::string& text, const std::string& what) {
        int n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count(pages[0], "BDC"), 3) << pages[0];
    EXPECT_EQ(count(pages[0], "EMC"), 3) << pages[0];
    EXPECT_EQ(count(pages[1], "EMC"), 0) << pages[1];
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("\r/OC /_LAY_1 BDC\r0 0 5 5 re f\rEMC\nendstream"), std::string::npos);
    EXPECT_NE(text.find("cm\r/OC /_LAY_1 BDC\rEMC\nendstream"), std::string::npos);
}

TEST_F(RecordedTest, TilingPatternsColouredAndUncoloured)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("tiling.pdf");
    pdf.BeginDoc(path);
    pdf.BeginTiling("  righe ", 0, 0, 10, 10, 10, 10, 0);
    pdf.SetColorFill("red");
    peer.PutContent("0 0 5 10 re f");
    pdf.EndTiling();
    pdf.BeginTiling("punti", 0, 0, 8, 8, 8, 8, 1);
    pdf.SetColorFill("green");  // the cell of an uncoloured pattern has no colour of its own
    peer.PutContent("2 2 4 4 re f");
    EXPECT_TRUE(peer.State().ColorLocked);
    pdf.EndTiling();
    EXPECT_FALSE(peer.State().ColorLocked);
    pdf.BeginTiling("due", 0, 0, 8, 8, 8, 8, 2);
    EXPECT_FALSE(peer.State().ColorLocked);
    pdf.EndTiling();
    pdf.BeginPage();
    pdf.SetColorFill("Righe");
    peer.PutContent("0 0 100 100 re f");
    pdf.SetColorFill("punti;blue");
    peer.PutContent("100 0 100 100 re f");
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("/PaintType 1\r/TilingType 1\r/BBox [0 0 10 10]\r/Resources 3 0 R\r/XStep 10 /YStep 10"),
              std::string::npos);
    EXPECT_NE(text.find("/PaintType 2"), std::string::npos);
    EXPECT_NE(text.find("/RIGHE "), std::string::npos);
    EXPECT_NE(text.find("/xxCSxx [ /Pattern /DeviceRGB ]"), std::string::npos);
    const std::string page = PageContents(path)[0];
    EXPECT_NE(page.find("/Pattern cs /RIGHE scn"), std::string::npos) << page;
    EXPECT_NE(page.find("/xxCSxx cs 0 0 1 /PUNTI scn"), std::string::npos) << page;
    // The coloured cell holds its colour, the uncoloured one none.
    EXPECT_NE(text.find("1 0 0 -1 0 10 cm\r1 0 0 rg\r0 0 5 10 re f"), std::string::npos);
    EXPECT_NE(text.find("1 0 0 -1 0 8 cm\r2 2 4 4 re f"), std::string::npos);
}

TEST_F(RecordedTest, LayersInTheCatalog)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("layers.pdf");
    pdf.SetDocProperty("Livelli & note", "", "", "", "", "");
    pdf.BeginDoc(path);
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
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string text = ReadFile(path);
    EXPECT_EQ(text.substr(0, 8), "%PDF-1.5");
    const std::string page = PageContents(path)[0];
    EXPECT_EQ(page.find("EMC"), page.find("/OC /_LAY_1 BDC") + 16) << page;
    EXPECT_NE(page.find("/OC /_LAY_1 BDC\rEMC\r/OC /_LAY_1 BDC\rEMC\r/OC /_LAY_2 BDC"), std::string::npos) << page;
    EXPECT_EQ(page.find("/_LAY_4"), std::string::npos) << page;

    const std::string json = RunTool("qpdf --json --json-key=qpdf " + Quote(path)).output;
    const std::size_t oc = json.find("\"/OCProperties\"");
    ASSERT_NE(oc, std::string::npos) << json;
    const std::string props = json.substr(oc, 1200);
    // Groups 1..3 in order: Note, SCREEN, PRINTER; then the lower-case screen layer.
    EXPECT_NE(props.find("\"/Order\": [\n"), std::string::npos) << props;
    EXPECT_NE(props.find("\"u:Livelli & note\""), std::string::npos) << props;
    EXPECT_NE(props.find("\"/Event\": \"/Print\""), std::string::npos) << props;
    EXPECT_NE(props.find("\"/Event\": \"/View\""), std::string::npos) << props;
    const std::string groups = RunTool("qpdf --show-object=2 " + Quote(path)).output;
    EXPECT_NE(groups.find("/Properties << /_LAY_1"), std::string::npos) << groups;
    EXPECT_NE(text.find("<</Type /OCG /Name (SCREEN)\n/Usage <</Print <</PrintState /OFF>>"), std::string::npos);
    EXPECT_EQ(text.find("(screen)"), std::string::npos);

    // First named in lower case, SCREEN is an ordinary layer.
    Tavlo other;
    const std::string plain = dir.File("plain-layer.pdf");
    other.BeginDoc(plain);
    other.BeginPage();
    other.BeginLayer("Screen", 0, 1);
    other.EndLayer();
    other.EndDoc();
    ExpectReadersAccept(plain);
    const std::string plainText = ReadFile(plain);
    EXPECT_EQ(plainText.find("/Usage"), std::string::npos);
    EXPECT_NE(plainText.find("/AS [ ]\n/ON [] \n/OFF ["), std::string::npos);
}

// A cell whose top-left quarter is black, tiled over squares drawn at the origin inside
// margins that are no multiple of the step, on the page and in a recorded object placed on
// it: poppler and mupdf show whole upright cells starting at each square's corner.
TEST_F(RecordedTest, TilingCellsStartAtTheCornerInsideTheMargins)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("tiles.pdf");
    pdf.BeginDoc(path);
    pdf.SetMargins(53, 20, 105, 30, false);
    RecordQuarterCell(pdf, peer);
    pdf.BeginObject("Quadro", 7);
    pdf.SetColorFill("quarti");
    peer.PutContent("100 0 40 40 re f");
    pdf.EndObject();
    pdf.BeginPage();
    pdf.SetColorFill("quarti");
    peer.PutContent("0 0 40 40 re f");
    pdf.EndDoc();
    ExpectReadersAccept(path);
    for (const bool mupdf : {false, true}) {
        const GreyImage page = mupdf ? MupdfPage(path, 1) : PopplerPage(path, 1, false);
        ASSERT_GT(page.width, 0) << mupdf;
        // Page pixels of user point (x, y): 53 + x, 105 + y.
        for (const int squareX : {0, 100})
            ExpectQuarterCells(page, 53 + squareX, 105,
                               "mupdf " + std::to_string(mupdf) + " square " + std::to_string(squareX));
        // Nothing outside the squares.
        EXPECT_EQ(DarkPixelsIn(page, 0, 0, page.width, 104), 0) << mupdf;
        EXPECT_EQ(DarkPixelsIn(page, 0, 146, page.width, page.height), 0) << mupdf;
        EXPECT_EQ(DarkPixelsIn(page, 94, 0, 152, page.height), 0) << mupdf;
    }
}

// A page of another size and other margins gets the pattern made again for its own origin,
// once however often it is used there: its cells start at the corner of the square as well.
TEST_F(RecordedTest, TilingCellsOnPagesOfOtherSizesAndMargins)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("tiles-sizes.pdf");
    pdf.BeginDoc(path);
    RecordQuarterCell(pdf, peer);
    pdf.BeginPage();
    pdf.SetColorFill("quarti");
    peer.PutContent("0 0 40 40 re f");
    for (int page = 2; page <= 3; ++page) {
        pdf.BeginPage();
        pdf.SetPaperSize(page == 2 ? 1 : 8);  // A4 landscape, letter
        pdf.SetMargins(33, 10, 47, 10, false);
        pdf.SetColorFill("quarti");
        peer.PutContent("0 0 40 40 re f");
        pdf.SetColorFill("quarti");
        peer.PutContent("100 0 40 40 re f");
    }
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string patterns = ObjectOf(path, "2");
    EXPECT_NE(patterns.find("/QUARTI_p2 "), std::string::npos) << patterns;
    EXPECT_EQ(patterns.find("/QUARTI_p3 "), std::string::npos) << patterns;
    for (int number = 1; number <= 3; ++number)
        for (const bool mupdf : {false, true}) {
            const GreyImage page = mupdf ? MupdfPage(path, number) : PopplerPage(path, number, false);
            ASSERT_GT(page.width, 0) << mupdf;
            const int originX = number == 1 ? 0 : 33, originY = number == 1 ? 0 : 47;
            for (const int squareX : {0, 100})
                if (number > 1 || squareX == 0)
                    ExpectQuarterCells(page, originX + squareX, originY,
                                       "page " + std::to_string(number) + " mupdf " + std::to_string(mupdf) +
                                           " square " + std::to_string(squareX));
        }
}
