// The q and Q of every content stream, whatever a caller leaves open or ends twice (tables
// and drawing spaces as the readers paint them: scripts/tables.txt).

#include "pdf/ErrorRaised.h"
#include "pdf/TavloTestPeer.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/rendering.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

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
                                 p.DrawRect(20, 20, 10, 10, 5);
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
