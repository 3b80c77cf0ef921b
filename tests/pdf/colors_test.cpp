// Colour texts in every form, some of the names, the operators the setters write,
// transparency states and gradients read back by qpdf and drawn by poppler.

#include "pdf/ErrorRaised.h"
#include "pdf/TavloTestPeer.h"
#include "pdf/core/Colors.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/rendering.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace tavlo;
using namespace tavlo::test;

// Figures are read with a full stop whatever the locale: a host application may run under
// one whose decimal separator is a comma.
TEST(ParseColor, EveryTextForm)
{
    std::setlocale(LC_ALL, "it_IT.UTF-8");
    struct Case {
        std::string text, form, second;
    };
    const Case cases[] = {
        {"#ff8000xyz", "#ff8000", ""},
        {"#F00", "#F00", ""},
        {"%0", "#FFFFFF", ""},
        {"%100", "#000000", ""},
        {"%50", "#808080", ""},
        {"@0;0;0;0", "#FFFFFF", ""},
        {"@50;0;0;0", "#7FFFFF", ""},
        {"@255;128;0", "#FF8000", ""},
        {"@1,5;0;0", "#020000", ""},
        {"@10;20", "", ""},
        {"@100;150;0;0", "#007FFF", ""},  // |100 − 150| × 2.55 falls just below 127.5, as 50 × 2.55 does
        {" red", "#FF0000", ""},
        {" #FF0000", "#FF0000", ""},      // not the hex form: a pattern name, trimmed
        {"Stripes;navy", "STRIPES", "#000080"},
        {"Red;blue", "#FF0000", ""},
        {"orange", "#FF7F00", ""},
        {"grey", "GREY", ""},  // no grey among the names: a pattern's
        {"", "", ""},
        {"@1.5;0;0", "#020000", ""},
        {"@0,5;127.5;+3", "#008003", ""},
        {"%50.5", "#7F7F7F", ""},
        {" black ", "#000000", ""},
        {"Tomato", "#FF6347", ""},
        {"lightblue", "#ADD8E6", ""},
        {"darkcyan", "#008B8B", ""},
    };
    for (const Case& c : cases) {
        const ParsedColor parsed = ParseColor(c.text);
        EXPECT_EQ(parsed.form, c.form) << c.text;
        EXPECT_EQ(parsed.second, c.second) << c.text;
    }
    const std::pair<const char*, const char*> operands[] = {
        {"#FF8000", "1 0.502 0"}, {"#ffffff", "1 1 1"}, {"#F00", "0 0.059 0"}, {"#000001", "0 0 0.004"},
        {"#808080", "0.502 0.502 0.502"}};
    for (const auto& [hex, rgb] : operands)
        EXPECT_EQ(HexColorToRgb(hex), rgb);
    for (const std::string bad : {"STRIPES", "", "#", "#GG0000"})
        EXPECT_EQ(ErrorRaised([&] { HexColorToRgb(bad); }), 13) << bad;
    std::setlocale(LC_ALL, "C");
}

TEST(ColorSetters, OperatorsWrittenIntoThePage)
{
    const std::string path = WriteDocument("colours.pdf", [](Tavlo& pdf) {
                                 pdf.BeginPage();
                                 pdf.SetColorFill("sky");  // no such pattern yet: nothing selected
                                 pdf.SetColorLine("stripes;navy");
                                 pdf.SetColorText("grey");  // a pattern never made
                                 pdf.AddGradient("sky", 0, "white", "navy", 0, 0, 100, 0);
                                 pdf.BeginTiling("stripes", 0, 0, 4, 4, 4, 4, 1);
                                 pdf.EndTiling();
                                 pdf.SetColorFill("#ff8000xyz");
                                 pdf.SetColorLine("Stripes;navy");
                                 pdf.SetColorFill("sky");
                                 pdf.SetColorFill("@10;20");       // no colour: nothing selected
                                 pdf.SetColorFill("Stripes;sky");  // a pattern for the pattern: nothing, and kept so
                                 pdf.SetColorFill("skyline");      // only begins like a pattern's name
                                 EXPECT_EQ(ErrorRaised([&] { pdf.SetColorFill("#GG0000"); }), 13);
                                 pdf.SetColorText("blue");
                                 pdf.SetFont("Arial", 10, 0, 0);
                                 pdf.DrawText(10, 10, "x");
                                 // After a line of text the fill chosen is written again as
                                 // chosen: an uncoloured pattern with its colour, a gradient
                                 // chosen after it without.
                                 pdf.SetColorFill("Stripes;navy");
                                 pdf.DrawText(10, 20, "x");
                                 pdf.SetColorFill("sky");
                                 pdf.DrawText(10, 30, "x");
                             }).path;
    EXPECT_EQ(LinesOf(Operations(QpdfDocument(path).PageContent(1)), {"rg", "RG", "cs", "CS", "scn", "SCN"}),
              (std::vector<std::string>{"0 0 0 rg", "0 0 0 RG", "1 0.502 0 rg", "/xxCSxx CS", "0 0 0.502 /STRIPES SCN",
                                        "/Pattern cs", "/SKY scn",
                                        // The text in its colour, then the fill in force again.
                                        "0 0 1 rg", "/Pattern cs", "/SKY scn", "/xxCSxx cs", "0 0 0.502 /STRIPES scn",
                                        "0 0 1 rg", "/xxCSxx cs", "0 0 0.502 /STRIPES scn", "/Pattern cs", "/SKY scn",
                                        "0 0 1 rg", "/Pattern cs", "/SKY scn"}));
}

TEST(ColorSetters, AlphaAndGradientsReadByEveryReader)
{
    const WrittenPdf doc = WriteDocument("gradients.pdf", [](Tavlo& pdf) {
        pdf.AddGradient("sky", 0, "white", "navy", 0, 0, 100, 0, 0, 0, true, false);
        pdf.AddGradient("sole ardente", 1, "yellow", "@255;0;0", 50, 50, 50, 50, 0, 40);
        pdf.BeginPage();
        for (const std::int16_t alpha : {50, 150, -5})
            pdf.SetAlpha(alpha);
        pdf.SetColorFill("Sky");
        pdf.SetColorFill("sole ardente");
        EXPECT_EQ(ErrorRaised([&] { pdf.AddGradient("bad", 0, "stripes", "red", 0, 0, 1, 1); }), 13)
            << "a pattern name is no gradient colour";
    });
    EXPECT_EQ(doc.bytes.substr(0, 8), "%PDF-1.4");
    const QpdfDocument q(doc.path);
    EXPECT_EQ(q.Text("2 0 R/ExtGState/GSTATE_1/ca"), "0.5");
    EXPECT_EQ(q.Text("2 0 R/ExtGState/GSTATE_2/CA"), "1");
    EXPECT_EQ(q.Text("2 0 R/ExtGState/GSTATE_3/ca"), "0");
    EXPECT_EQ(q.Text("2 0 R/Pattern/SKY/Shading/Extend"), "[true false]");
    EXPECT_EQ(q.Text("2 0 R/Pattern/SKY/Shading/Function/Functions/0/C1"), "[0 0 0.502]");
    EXPECT_EQ(q.Text("2 0 R/Pattern/SOLE ARDENTE/Shading/Coords"), "[50 50 0 50 50 40]");
    EXPECT_EQ(LinesOf(Operations(q.PageContent(1)), {"gs", "cs", "scn"}),
              (std::vector<std::string>{"/GSTATE_1 gs", "/GSTATE_2 gs", "/GSTATE_3 gs", "/Pattern cs", "/SKY scn",
                                        "/Pattern cs", "/SOLE#20ARDENTE scn"}));
}

// A gradient lines up with the shape it fills inside the margins: made on a page, inside a
// recorded object, before the object that uses it, or before the margins and used on a
// landscape page.
TEST(ColorSetters, GradientsLineUpWithShapesInsideTheMargins)
{
    for (const int where : {0, 1, 2, 3}) {
        const bool inObject = where == 1 || where == 2;
        const std::string path = WriteDocument("gradient.pdf", [&](Tavlo& pdf) {
                                     // White at x 0, black at x 200, over a rectangle 200 by 100.
                                     auto gradient = [&] { pdf.AddGradient("scala", 0, "white", "black", 0, 50, 200, 50); };
                                     if (where == 3)
                                         gradient();
                                     pdf.SetMargins(50, 20, 100, 30, false);
                                     if (where == 2)
                                         gradient();
                                     if (inObject)
                                         pdf.BeginObject("Riquadro", 7);
                                     else
                                         pdf.BeginPage();
                                     if (where == 3)
                                         pdf.SetPaperSize(1);
                                     if (where < 2)
                                         gradient();
                                     pdf.SetColorFill("scala");
                                     pdf.DrawRect(0, 0, 200, 100, 5);
                                     if (inObject) {
                                         pdf.EndObject();
                                         pdf.BeginPage();
                                     }
                                 }).path;
        // The row 150 points from the top is inside the rectangle (100 + 50).
        const Image page = RenderPage(path, 1, Reader::Poppler);
        EXPECT_GT(page.At(52, 150), 240) << where;         // just right of the left margin: white
        EXPECT_NEAR(page.At(150, 150), 128, 12) << where;  // half way
        EXPECT_LT(page.At(247, 150), 15) << where;         // right end: black
        EXPECT_EQ(page.At(260, 150), 255) << where;        // past the rectangle: the page
    }
}

