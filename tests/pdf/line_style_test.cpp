// Line width, caps, joins and dash patterns: the operators written, and strokes as poppler
// draws them at one pixel a point.

#include "pdf/ErrorRaised.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/rendering.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tavlo;
using namespace tavlo::test;

using Lines = std::vector<std::string>;

TEST(LineStyle, OperatorsWritten)
{
    const std::string path = WriteDocument("operators.pdf", [](Tavlo& pdf) {
                                 pdf.BeginPage();
                                 pdf.SetLineWidth(0.5f);
                                 pdf.SetLineWidth(-1);  // ignored
                                 pdf.SetLineWidth(0);
                                 pdf.SetLineStyle(0, 0);
                                 pdf.SetLineStyle(34, 10);
                                 pdf.SetLineStyle(68, 1);
                                 // Cap and join 3 do not exist: the others of the call are still written.
                                 pdf.SetLineStyle(112, 0);
                                 pdf.SetLineStyle(96 + 6, 4);
                                 pdf.SetLineStyle(32 + 7, 0);
                                 for (const char* dash : {"solid", "", " dash ", "Dot", "DASHDOT", "dashdotdot", "3;2", "3;;2",
                                                          "4", " 1.5e1 ; 2x;.5",
                                                          // No length above zero, or a negative one: a solid line.
                                                          "dashed", "0;0", "-3;2", ";"})
                                     pdf.SetDash(dash, std::string(dash) == "Dot" ? 2 : std::string(dash) == "3;2" ? 1 : 0);
                                 // A value that is no number raises before anything is written.
                                 for (const float bad : {std::numeric_limits<float>::quiet_NaN(),
                                                         std::numeric_limits<float>::infinity()})
                                     EXPECT_EQ(ErrorRaised([&] { pdf.SetLineWidth(bad); }), 6);
                                 EXPECT_EQ(ErrorRaised([&] { pdf.SetDash("1e39;2", 0); }), 6);
                                 pdf.BeginPage();
                                 pdf.SetScale(1);  // inches
                                 pdf.SetLineWidth(0.01f);
                                 pdf.SetScale(2);  // millimetres
                                 pdf.SetDash("DASH", 0);
                                 pdf.SetDash("10;5", 2.5f);
                             }).path;
    const QpdfDocument q(path);
    const std::vector<std::string> ops = {"w", "J", "j", "M", "d"};
    EXPECT_EQ(LinesOf(Operations(q.PageContent(1)), ops),
              (Lines{"0.5 w", "0 w", "0 J", "0 j", "1 J", "1 j", "10 M", "2 J", "2 j", "1 M", "0 j", "4 M", "1 J",
                     "[] 0 d", "[] 0 d", "[0.1] 0 d", "[0.05] 2 d", "[0.1 0.05 0.05 0.05] 0 d",
                     "[0.1 0.05 0.05 0.05 0.05 0.05] 0 d", "[3 2] 1 d", "[3 0 2] 0 d", "[4] 0 d", "[15 2 0.5] 0 d",
                     "[] 0 d", "[] 0 d", "[] 0 d", "[] 0 d"}));
    EXPECT_EQ(LinesOf(Operations(q.PageContent(2)), ops),
              (Lines{"0.72 w", "[0.283] 0 d", "[28.346 14.173] 7.087 d"}));
}

TEST(LineStyle, StrokesAsDrawn)
{
    const std::string path = WriteDocument("strokes.pdf", [](Tavlo& pdf) {
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
                             }).path;
    RenderOptions options;
    options.annotations = false;
    const Image image = RenderPage(path, 1, Reader::Poppler, options);
    EXPECT_EQ(DarkPixelsIn(image, 90, 90, 210, 110), 100 * 10);
    EXPECT_EQ(DarkPixelsIn(image, 100, 95, 200, 105), 100 * 10);
    EXPECT_EQ(DarkPixelsIn(image, 90, 190, 210, 210), 110 * 10);
    EXPECT_EQ(DarkPixelsIn(image, 95, 195, 205, 205), 110 * 10);
    int runs = 0;
    for (int x = 90; x < 310; ++x)
        runs += image.Dark(x, 300) && !image.Dark(x - 1, 300) ? 1 : 0;
    EXPECT_EQ(runs, 10);
    EXPECT_NEAR(DarkPixelsIn(image, 90, 300, 310, 301), 100, 2);
    EXPECT_EQ(DarkPixelsIn(image, 90, 400, 310, 401), 200);
    EXPECT_EQ(DarkPixelsIn(image, 100, 398, 300, 402), 200 * 4);
}
