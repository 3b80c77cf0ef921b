// Tables and drawing spaces as poppler and mupdf paint them at one pixel a point, and the
// q and Q of every content stream, whatever a caller leaves open or ends twice.

#include "pdf/ErrorRaised.h"
#include "pdf/TavloTestPeer.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/rendering.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

constexpr int kFill = 5;

struct Probe {
    int x, y;  // points from the top-left corner of the page
    char ink;  // 'w' white, 'g' the cells' grey, 'k' black, 'r' red
};

// The page drawn, its q and Q balanced, and each probe as poppler and mupdf paint it.
void ExpectPainted(const std::string& what, const std::function<void(Tavlo&)>& draw, const std::vector<Probe>& probes)
{
    const std::string path = WriteDocument("page.pdf", [&](Tavlo& pdf) {
                                 pdf.SetFont("Arial", 10, 0, 0);
                                 pdf.BeginPage();
                                 draw(pdf);
                             }).path;
    EXPECT_TRUE(SavesBalanced(Operations(QpdfDocument(path).PageContent(1)))) << what;
    RenderOptions colour;
    colour.colour = true;
    for (const Reader reader : {Reader::Poppler, Reader::Mupdf}) {
        const Image image = RenderPage(path, 1, reader, colour);
        for (const Probe& p : probes) {
            const int grey = image.At(p.x, p.y, 1);
            const char ink = image.Red(p.x, p.y) ? 'r' : grey < 60 ? 'k' : grey < 200 ? 'g' : 'w';
            EXPECT_EQ(ink, p.ink) << what << " at " << p.x << "," << p.y << (reader == Reader::Mupdf ? " mupdf" : "");
        }
    }
}

} // namespace

// Row by row a cell moves the cursor right and a row down from the row's own corner; column by
// column the other way round; whatever the position does between rows or columns.
TEST(TablesRendering, CellsWhereTheCursorPutsThem)
{
    struct Case {
        bool byRows;
        int lineWidth;
        std::vector<int> outer, inner;  // rows' heights and cells' widths, or the reverse
    };
    const Case cases[] = {{true, 2, {30, 50, 20}, {60, 100}}, {false, 0, {50, 70, 30}, {20, 40, 25}},
                          {true, 0, {40, 15}, {30, 30, 30}}, {false, 4, {80}, {30, 30}}};
    for (const Case& c : cases) {
        // Each cell's origin mark, background, top and left borders; white past the last cell
        // of each row (column) and past the last row (column). Tables start at 60, 40 (40, 60).
        std::vector<Probe> probes;
        const char border = c.lineWidth > 0 ? 'k' : 'g';
        int outerAt = 40, innerAt = 60;
        for (const int outer : c.outer) {
            innerAt = 60;
            for (const int inner : c.inner) {
                const int x = c.byRows ? innerAt : outerAt, y = c.byRows ? outerAt : innerAt;
                const int w = c.byRows ? inner : outer, h = c.byRows ? outer : inner;
                probes.insert(probes.end(), {{x + 3, y + 3, 'r'}, {x + w / 2, y + h / 2, 'g'}, {x + w / 2, y, border},
                                             {x, y + h / 2, border}});
                innerAt += inner;
            }
            outerAt += outer;
            probes.push_back(c.byRows ? Probe{innerAt + 4, outerAt - 5, 'w'} : Probe{outerAt - 5, innerAt + 4, 'w'});
        }
        probes.push_back(c.byRows ? Probe{65, outerAt + 4, 'w'} : Probe{outerAt + 4, 65, 'w'});
        ExpectPainted(c.byRows ? "rows" : "columns", [&](Tavlo& pdf) {
            pdf.SetLineWidth(static_cast<float>(c.lineWidth));
            pdf.BeginTable(c.byRows ? 60 : 40, c.byRows ? 40 : 60);
            for (const int outer : c.outer) {
                c.byRows ? pdf.BeginRow(outer) : pdf.BeginColumn(outer);
                for (const int inner : c.inner) {
                    pdf.SetColorFill("#808080");
                    c.byRows ? pdf.BeginColumn(inner) : pdf.BeginRow(inner);
                    pdf.SetColorFill("Red");
                    pdf.DrawRect(0, 0, 6, 6, kFill);
                    c.byRows ? pdf.EndColumn() : pdf.EndRow();
                }
                c.byRows ? pdf.EndRow() : pdf.EndColumn();
                pdf.DrawText(400, 700, "x");
                pdf.SetXY(500, 600);
            }
            pdf.EndTable();
        }, probes);
    }
}

// Moved and scaled twice across, three times down; moved and turned a quarter counter-clockwise,
// x running up the page and y to the right; then the page's own space again.
TEST(TablesRendering, SpacesMovedScaledAndTurned)
{
    ExpectPainted("spaces", [](Tavlo& pdf) {
        pdf.SetColorFill("Black");
        pdf.BeginSpace(100, 400, 2, 3, 0);
        pdf.DrawRect(0, 0, 20, 10, kFill);
        pdf.EndSpace();
        pdf.BeginSpace(300, 400, 1, 1, 90);
        pdf.DrawRect(0, 0, 50, 10, kFill);
        pdf.EndSpace();
        pdf.DrawRect(0, 0, 5, 5, kFill);
    }, {{138, 428, 'k'}, {142, 415, 'w'}, {120, 432, 'w'}, {305, 355, 'k'}, {305, 405, 'w'}, {295, 375, 'w'},
        {2, 2, 'k'}});
}

// Ends to spare are ignored, what is left open is closed with its page, recorded object or
// tiling cell, and a barcode that fails midway closes what it opened: a stray "Q" would undo
// the page's own flip and paint the mark at the foot of the page. The drawing state comes back
// with its very font record: a Mac-encoded font stays one, and no font stays none.
TEST(TablesRendering, SavesBalancedAndStateRestoredWhateverIsLeftOpen)
{
    const auto leftOpen = [](Tavlo& pdf) {
        pdf.EndRow();
        pdf.EndTable();
        pdf.BeginSpace(10, 10, 1, 1, 0);
        pdf.BeginTable(0, 0);
        pdf.BeginRow(10);
        pdf.BeginColumn(10);
    };
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    std::vector<float> lengths;
    const std::string path = WriteDocument(pdf, "open.pdf", [&](Tavlo& p) {
                                 p.BeginObject("MARK", 0);
                                 leftOpen(p);
                                 p.EndObject();
                                 p.BeginTiling("DOTS", 0, 0, 10, 10, 10, 10, 0);
                                 leftOpen(p);
                                 p.EndTiling();
                                 p.BeginPage();
                                 for (const int type : {0, 1, 2, 3}) {
                                     p.BeginTable(10, 10);
                                     p.SetFont("Courier", 8, 0, 0);
                                     p.EndTable();
                                     lengths.push_back(p.TextLength("abc"));
                                     p.SetFont("Arial", 12, 0, 1);
                                     EXPECT_GT(p.DrawBarCode(type, "12345", 10, 100, true, 1, 0, true), 0);
                                 }
                                 p.DrawText(10, 300, "abc");
                                 p.EndSpace();
                                 p.SetColorFill("Black");
                                 p.DrawRect(20, 20, 10, 10, kFill);
                                 p.PlayObject("MARK");
                                 leftOpen(p);
                                 EXPECT_EQ(ErrorRaised([&] { p.DrawBarCode(1, "A", 3.4e38f, 0, true, 1, 0, false); }),
                                           ErrorCode::Overflow);
                                 EXPECT_EQ(peer.State().StateDepth, 2);  // the table's and the row's
                             }).path;
    EXPECT_EQ(lengths, std::vector<float>({0, pdf.TextLength("abc"), pdf.TextLength("abc"), pdf.TextLength("abc")}));
    const QpdfDocument q(path);
    const auto fonts = LinesOf(Operations(q.PageContent(1)), {"Tf"});
    EXPECT_EQ(fonts.back().substr(0, 10), "/MACArial ") << fonts.back();
    for (const std::string stream : {"Root/Pages/Kids/0/Contents", "Root/Pages/Kids/0/Resources/XObject/MARK",
                                     "Root/Pages/Kids/0/Resources/Pattern/DOTS"})
        EXPECT_TRUE(SavesBalanced(Operations(q.StreamData(stream)))) << stream;
    EXPECT_EQ(peer.State().StateDepth, 0);
    for (const Reader reader : {Reader::Poppler, Reader::Mupdf})
        EXPECT_TRUE(RenderPage(path, 1, reader).Dark(25, 25));
}
