// Line width, caps, joins and dash patterns: the operator lines written, the width kept
// for the parts that read it, and strokes as poppler draws them at one pixel a point.

#include "pdf/PdfCheck.h"
#include "pdf/RenderedBox.h"
#include "pdf/TavloTestPeer.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tavlo;
using namespace tavlo::test;

namespace {

class LineStyleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ReadersAvailable())
            FAIL() << "qpdf, poppler or mupdf missing";
    }
    ScratchDir dir;
};

// The page content written since the last call, without the page's own opening lines.
std::string Written(Tavlo& pdf)
{
    TavloTestPeer peer(pdf);
    const std::string text = peer.State().PageContent.Text();
    peer.State().PageContent.Reset();
    return text;
}

// Dark pixels along one row of the page, and how many separate runs they form.
std::pair<int, int> RowRuns(const GreyImage& image, int y, int from, int to)
{
    int dark = 0, runs = 0;
    bool inRun = false;
    for (int x = from; x < to; ++x) {
        const bool d = image.Dark(x, y);
        dark += d ? 1 : 0;
        runs += d && !inRun ? 1 : 0;
        inRun = d;
    }
    return {dark, runs};
}

} // namespace

TEST_F(LineStyleTest, OperatorsWritten)
{
    const std::string path = dir.File("operators.pdf");
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    pdf.BeginDoc(path);
    pdf.BeginPage();
    Written(pdf);
    pdf.SetLineWidth(0.5f);
    pdf.SetLineWidth(-1);
    EXPECT_EQ(peer.State().LineWidth, 0.5f);
    pdf.SetLineWidth(0);
    pdf.SetLineStyle(0, 0);
    pdf.SetLineStyle(34, 10);
    pdf.SetLineStyle(68, 1);
    EXPECT_EQ(Written(pdf), "\r0.5 w\r0 w\r0 J\r0 j\r1 J\r1 j\r10 M\r2 J\r2 j\r1 M");

    pdf.SetDash("solid", 5);
    pdf.SetDash("", 3);
    pdf.SetDash(" dash ", 0);
    pdf.SetDash("Dot", 2);
    pdf.SetDash("DASHDOT", 0);
    pdf.SetDash("dashdotdot", 0);
    pdf.SetDash("3;2", 1);
    pdf.SetDash("3;;2", 0);
    pdf.SetDash("4", 0);
    pdf.SetDash(" 1.5e1 ; 2x;.5", 0);
    EXPECT_EQ(Written(pdf), "\r[ ] 0 d\r[ ] 0 d\r[0.1 ] 0 d\r[0.05 ] 2 d\r[0.1 0.05 0.05 0.05 ] 0 d"
                            "\r[0.1 0.05 0.05 0.05 0.05 0.05 ] 0 d\r[ 3 2 ] 1 d\r[ 3 0 2 ] 0 d\r[ 4 ] 0 d"
                            "\r[ 15 2 0.5 ] 0 d");
    pdf.EndDoc();
    ExpectReadersAccept(path);
}

TEST_F(LineStyleTest, ScaledLengths)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    pdf.BeginDoc(dir.File("scaled.pdf"));
    pdf.SetScale(1);  // inches
    pdf.BeginPage();
    Written(pdf);
    pdf.SetLineWidth(0.01f);
    EXPECT_FLOAT_EQ(peer.State().LineWidth, 0.72f);
    pdf.SetScale(2);  // millimetres
    pdf.SetDash("DASH", 0);
    pdf.SetDash("10;5", 2.5f);
    EXPECT_EQ(Written(pdf), "\r0.72 w\r[0.283 ] 0 d\r[ 28.346 14.173 ] 7.087 d");
    pdf.EndDoc();
}

TEST_F(LineStyleTest, ValuesNoReaderDefinesAreLeftOut)
{
    const std::string path = dir.File("undefined.pdf");
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.SetLineWidth(2);
    Written(pdf);
    // Cap and join 3 do not exist: the others of the call are still written.
    pdf.SetLineStyle(112, 0);
    pdf.SetLineStyle(96 + 6, 4);
    pdf.SetLineStyle(32 + 7, 0);
    EXPECT_EQ(Written(pdf), "\r0 j\r4 M\r1 J");
    // No length above zero, or a negative one: a solid line.
    pdf.SetDash("dashed", 0);
    pdf.SetDash("0;0", 4);
    pdf.SetDash("-3;2", 0);
    pdf.SetDash(";", 0);
    EXPECT_EQ(Written(pdf), "\r[ ] 0 d\r[ ] 0 d\r[ ] 0 d\r[ ] 0 d");
    // A width that is no number raises before the kept width changes.
    for (const float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        try {
            pdf.SetLineWidth(bad);
            ADD_FAILURE() << "accepted";
        } catch (const TavloError& e) {
            EXPECT_EQ(e.Number(), 6);
        }
    }
    try {
        pdf.SetDash("1e39;2", 0);
        ADD_FAILURE() << "accepted";
    } catch (const TavloError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
    EXPECT_EQ(Written(pdf), "");
    EXPECT_EQ(peer.State().LineWidth, 2);
    pdf.DrawLine(10, 10, 100, 10, 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);
}

TEST_F(LineStyleTest, StrokesAsDrawn)
{
    const std::string path = dir.File("strokes.pdf");
    Tavlo pdf;
    pdf.BeginDoc(path);
    pdf.BeginPage();
    // 10 points wide, butt caps: from x 100 to 200, rows 95 to 105.
    pdf.SetLineWidth(10);
    pdf.DrawLine(100, 100, 200, 100, 0);
    // Projecting caps reach half the width past each end.
    pdf.SetLineStyle(64, 0);
    pdf.DrawLine(100, 200, 200, 200, 0);
    // A 4-point line dashed 10 on, 10 off, from x 100 to 300: ten dashes.
    pdf.SetLineStyle(0, 0);
    pdf.SetLineWidth(4);
    pdf.SetDash("10;10", 0);
    pdf.DrawLine(100, 300, 300, 300, 0);
    // Back to solid.
    pdf.SetDash("solid", 0);
    pdf.DrawLine(100, 400, 300, 400, 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);

    const GreyImage image = PopplerPage(path, 1, false);
    EXPECT_EQ(DarkPixelsIn(image, 90, 90, 210, 110), 100 * 10);
    EXPECT_EQ(DarkPixelsIn(image, 100, 95, 200, 105), 100 * 10);
    EXPECT_EQ(DarkPixelsIn(image, 90, 190, 210, 210), 110 * 10);
    EXPECT_EQ(DarkPixelsIn(image, 95, 195, 205, 205), 110 * 10);
    const auto [dark, runs] = RowRuns(image, 300, 90, 310);
    EXPECT_EQ(runs, 10);
    EXPECT_NEAR(dark, 100, 2);
    EXPECT_EQ(RowRuns(image, 400, 90, 310), std::make_pair(200, 1));
    EXPECT_EQ(DarkPixelsIn(image, 100, 398, 300, 402), 200 * 4);
}
