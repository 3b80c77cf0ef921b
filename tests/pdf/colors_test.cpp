// Colour texts in every form, the 35 names, the operators the setters write, transparency
// states and gradients read back by the real readers.

#include "pdf/ErrorRaised.h"
#include "pdf/PdfCheck.h"
#include "pdf/TavloTestPeer.h"
#include "pdf/core/Colors.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace tavlo;
using namespace tavlo::test;

TEST(ParseColor, EveryTextForm)
{
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
        {"grey", "GREY", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const ParsedColor parsed = ParseColor(c.text);
        EXPECT_EQ(parsed.form, c.form) << c.text;
        EXPECT_EQ(parsed.second, c.second) << c.text;
    }
}

TEST(ParseColor, FiguresReadWhateverTheLocale)
{
    // A host application may run under a locale whose decimal separator is a comma.
    const char* italian = std::setlocale(LC_ALL, "it_IT.UTF-8");
    EXPECT_EQ(ParseColor("@1.5;0;0").form, "#020000");
    EXPECT_EQ(ParseColor("@0,5;127.5;+3").form, "#008003");
    EXPECT_EQ(ParseColor("%50.5").form, "#7F7F7F");
    EXPECT_EQ(HexColorToRgb("#808080"), "0.502 0.502 0.502");
    std::setlocale(LC_ALL, "C");
    if (!italian)
        FAIL() << "it_IT.UTF-8 not installed: checked under the C locale only";
}

TEST(ParseColor, TheThirtyFiveNames)
{
    const std::pair<const char*, const char*> names[] = {
        {"black", "#000000"},   {"gray", "#808080"},       {"silver", "#C0C0C0"},    {"white", "#FFFFFF"},
        {"maroon", "#800000"},  {"red", "#FF0000"},        {"purple", "#800080"},    {"fuchsia", "#FF00FF"},
        {"magenta", "#FF00FF"}, {"green", "#008000"},      {"lime", "#00FF00"},      {"olive", "#808000"},
        {"yellow", "#FFFF00"},  {"aqua", "#00FFFF"},       {"cyan", "#00FFFF"},      {"orange", "#FF7F00"},
        {"azure", "#F0FFFF"},   {"gold", "#FFD700"},       {"lightblue", "#ADD8E6"}, {"lightcyan", "#E0FFFF"},
        {"lightgreen", "#90EE90"}, {"lightpink", "#FFB6C1"}, {"navy", "#000080"},    {"blue", "#0000FF"},
        {"teal", "#008080"},    {"lightyellow", "#FFFFE0"}, {"tomato", "#FF6347"},   {"violet", "#EE82EE"},
        {"pink", "#FFC0CB"},    {"ivory", "#FFFFF0"},      {"darkgray", "#A9A9A9"},  {"darkcyan", "#008B8B"},
        {"darkblue", "#00008B"}, {"brown", "#A52A2A"},     {"beige", "#F5F5DC"},
    };
    for (const auto& [name, value] : names)
        EXPECT_EQ(ParseColor(std::string(" ") + name + " ").form, value) << name;
}

TEST(HexColorToRgb, OperandsAndBadDigits)
{
    EXPECT_EQ(HexColorToRgb("#FF8000"), "1 0.502 0");
    EXPECT_EQ(HexColorToRgb("#ffffff"), "1 1 1");
    EXPECT_EQ(HexColorToRgb("#F00"), "0 0.059 0");
    EXPECT_EQ(HexColorToRgb("#000001"), "0 0 0.004");
    for (const std::string bad : {"STRIPES", "", "#", "#GG0000"})
        EXPECT_EQ(ErrorRaised([&] { HexColorToRgb(bad); }), 13) << bad;
}

TEST(ColorSetters, OperatorsWrittenIntoThePage)
{
    ScratchDir dir;
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    pdf.BeginDoc(dir.File("colours.pdf"));
    pdf.BeginPage();
    EXPECT_EQ(peer.State().PageContent.Text(), "\r0 0 0 rg\r0 0 0 RG");
    pdf.SetColorFill("sky");           // no such pattern yet: nothing selected
    pdf.SetColorLine("stripes;navy");
    pdf.SetColorText("grey");          // no grey among the names: a pattern never made
    EXPECT_EQ(peer.State().FillColor, "#000000");
    EXPECT_EQ(peer.State().LineColor, "#000000");
    EXPECT_EQ(peer.State().TextColor, "#000000");
    pdf.AddGradient("sky", 0, "white", "navy", 0, 0, 100, 0);
    pdf.BeginTiling("stripes", 0, 0, 4, 4, 4, 4, 1);
    pdf.SetColorFill("stripes");       // locked while its own cell is recorded
    pdf.EndTiling();
    peer.State().PageContent.Reset();
    pdf.SetColorFill("#ff8000xyz");
    pdf.SetColorLine("Stripes;navy");
    pdf.SetColorFill("sky");
    pdf.SetColorFill("@10;20");        // no colour: nothing selected
    pdf.SetColorFill("Stripes;sky");   // a pattern for the pattern: nothing written
    pdf.SetColorText("blue");
    EXPECT_EQ(peer.State().PageContent.Text(),
              "\r1 0.502 0 rg\r/xxCSxx CS 0 0 0.502 /STRIPES SCN\r/Pattern cs /SKY scn");
    EXPECT_EQ(peer.State().FillColor, "STRIPES");
    EXPECT_EQ(peer.State().LineColor, "STRIPES");
    EXPECT_EQ(peer.State().TextColor, "#0000FF");
    EXPECT_EQ(ErrorRaised([&] { pdf.SetColorFill("#GG0000"); }), 13) << "bad digits accepted";
    EXPECT_EQ(peer.State().FillColor, "STRIPES");
    peer.State().ColorLocked = true;
    pdf.SetColorFill("red");
    EXPECT_EQ(peer.State().FillColor, "STRIPES");
    peer.State().ColorLocked = false;
    pdf.SetColorFill("skyline");       // a name that only begins like a pattern's
    EXPECT_EQ(peer.State().FillColor, "STRIPES");
    pdf.EndDoc();
    if (ReadersAvailable())
        ExpectReadersAccept(dir.File("colours.pdf"));
}

TEST(ColorSetters, AlphaAndGradientsReadByEveryReader)
{
    if (!ReadersAvailable())
        FAIL() << "qpdf, poppler or mupdf missing";
    ScratchDir dir;
    Tavlo pdf;
    const std::string path = dir.File("gradients.pdf");
    pdf.BeginDoc(path);
    pdf.AddGradient("sky", 0, "white", "navy", 0, 0, 100, 0, 0, 0, true, false);
    pdf.AddGradient("sole ardente", 1, "yellow", "@255;0;0", 50, 50, 50, 50, 0, 40);
    pdf.BeginPage();
    pdf.SetAlpha(50);
    pdf.SetAlpha(150);
    pdf.SetAlpha(-5);
    pdf.SetColorFill("Sky");
    pdf.SetColorFill("sole ardente");
    EXPECT_EQ(ErrorRaised([&] { pdf.AddGradient("bad", 0, "stripes", "red", 0, 0, 1, 1); }), 13)
        << "a pattern name is no gradient colour";
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string text = ReadFile(path);
    EXPECT_EQ(text.substr(0, 8), "%PDF-1.4");
    EXPECT_NE(text.find("/ca 0.5 /CA 0.5"), std::string::npos);
    EXPECT_NE(text.find("/ca 1 /CA 1"), std::string::npos);
    EXPECT_NE(text.find("/ca 0 /CA 0"), std::string::npos);
    EXPECT_NE(text.find("/Extend [true false] "), std::string::npos);
    EXPECT_NE(text.find("/C0 [1 1 1] /C1 [0 0 0.502]"), std::string::npos);
    EXPECT_NE(text.find("/ShadingType 3 /Coords [50 50 0 50 50 40]"), std::string::npos);
    EXPECT_NE(text.find("/SKY "), std::string::npos);
    EXPECT_NE(text.find("/SOLE#20ARDENTE "), std::string::npos);
    EXPECT_NE(text.find("/ExtGState << /GSTATE_1 "), std::string::npos);
    // Objects 4-7 the two gradients and their twins for recorded objects, 8-10 the states,
    // 11 the page, 12 its content.
    const std::string page = StreamOf(path, 12);
    EXPECT_NE(page.find("/GSTATE_3 gs"), std::string::npos) << page;
    EXPECT_NE(page.find("/Pattern cs /SOLE#20ARDENTE scn"), std::string::npos) << page;
}

namespace {

// Grey levels of one pixel row of a page rendered by poppler at 72 dpi (one pixel a point).
std::vector<int> GreyRow(const std::string& pdf, int y, const std::string& scratch)
{
    RunTool("pdftoppm -gray -r 72 -f 1 -l 1 -singlefile " + Quote(pdf) + " " + Quote(scratch));
    const std::string pgm = ReadFile(scratch + ".pgm");
    // "P5\nW H\n255\n" then the bytes.
    std::size_t at = pgm.find('\n') + 1;
    const int width = std::stoi(pgm.substr(at));
    at = pgm.find('\n', at) + 1;
    at = pgm.find('\n', at) + 1;
    std::vector<int> row;
    for (int x = 0; x < width; ++x)
        row.push_back(static_cast<unsigned char>(pgm[at + static_cast<std::size_t>(y * width + x)]));
    return row;
}

} // namespace

TEST(ColorSetters, GradientsLineUpWithShapesInsideTheMargins)
{
    if (!ReadersAvailable())
        FAIL() << "qpdf, poppler or mupdf missing";
    ScratchDir dir;
    // On a page; made inside a recorded object; made before the object that uses it; made
    // before the margins were set and used on a landscape page.
    for (const int where : {0, 1, 2, 3}) {
        const bool inObject = where == 1 || where == 2;
        Tavlo pdf;
        TavloTestPeer peer(pdf);
        const std::string path = dir.File("gradient" + std::to_string(where) + ".pdf");
        pdf.BeginDoc(path);
        if (where == 3)
            pdf.AddGradient("scala", 0, "white", "black", 0, 50, 200, 50);
        pdf.SetMargins(50, 20, 100, 30, false);
        // White at x 0, black at x 200, over a rectangle from 0 to 200 and y 0 to 100.
        if (where == 2)
            pdf.AddGradient("scala", 0, "white", "black", 0, 50, 200, 50);
        if (inObject)
            pdf.BeginObject("Riquadro", 7);
        else
            pdf.BeginPage();
        if (where == 3)
            pdf.SetPaperSize(1);
        if (where < 2)
            pdf.AddGradient("scala", 0, "white", "black", 0, 50, 200, 50);
        pdf.SetColorFill("scala");
        peer.PutContent("0 0 200 100 re f");
        if (inObject) {
            pdf.EndObject();
            pdf.BeginPage();
        }
        pdf.EndDoc();
        ExpectReadersAccept(path);
        // The row 150 points from the top is inside the rectangle (100 + 50).
        const std::vector<int> row = GreyRow(path, 150, dir.File("row"));
        EXPECT_GT(row[52], 240) << where;         // just right of the left margin: white
        EXPECT_NEAR(row[150], 128, 12) << where;  // half way
        EXPECT_LT(row[247], 15) << where;         // right end: black
        EXPECT_EQ(row[260], 255) << where;        // past the rectangle: the page
    }
}
