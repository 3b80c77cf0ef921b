// Text lines: what one line writes, where readers place its characters (mupdf's character
// boxes, poppler's word boxes), the line box and the position it leaves.

#include "pdf/ErrorRaised.h"
#include "pdf/PdfCheck.h"

#include "pdf/core/TavloState.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>

namespace tavlo {

// This program's own door to the line writer and the state (the writer's friend class).
class TavloTestPeer {
public:
    explicit TavloTestPeer(Tavlo& t) : t_(t) {}
    TavloState& State() { return *t_.s_; }
    void EmitTextLine(float x, float y, float width, const std::string& text, float indent, std::int32_t flags,
                      bool nextLine)
    {
        t_.EmitTextLine(x, y, width, text, indent, flags, nextLine);
    }

private:
    Tavlo& t_;
};

} // namespace tavlo

using namespace tavlo;
using namespace tavlo::test;

namespace {

// The page content written since the last call (or since the page began), left in place so
// the finished file holds it for the readers.
std::size_t mark = 0;

void BeginPage(Tavlo& pdf)
{
    pdf.BeginPage();
    mark = 0;
}

std::string Written(Tavlo& pdf)
{
    TavloTestPeer peer(pdf);
    const std::string text = peer.State().PageContent.Text();
    const std::string since = text.substr(mark);
    mark = text.size();
    return since;
}

struct CharBox {
    char c;
    double left, right, top;
};

// The number written in an attribute (name="...") of an element.
double Attribute(const std::string& element, const std::string& name)
{
    const std::size_t at = element.find(" " + name + "=\"");
    return at == std::string::npos ? std::nan("") : std::stod(element.substr(at + name.size() + 3));
}

// The characters of each page as mupdf extracts them, in page points from the top-left corner.
std::vector<std::vector<CharBox>> MupdfCharacters(const std::string& path)
{
    const ToolResult run = RunTool("mutool draw -q -F stext -o - " + Quote(path) + " 2>/dev/null");
    std::vector<std::vector<CharBox>> pages;
    std::size_t at = 0;
    while ((at = run.output.find("<page ", at)) != std::string::npos) {
        const std::size_t end = run.output.find("</page>", at);
        pages.emplace_back();
        for (std::size_t c = run.output.find("<char ", at); c < end; c = run.output.find("<char ", c + 1)) {
            const std::string element = run.output.substr(c, run.output.find("/>", c) - c);
            // quad="x0 y0 x1 y1 ...": the top-left and top-right corners.
            std::istringstream quad(element.substr(element.find("quad=\"") + 6));
            CharBox box{};
            double y1 = 0;
            quad >> box.left >> box.top >> box.right >> y1;
            const std::size_t text = element.find(" c=\"");
            box.c = text == std::string::npos ? '?' : element[text + 4];
            pages.back().push_back(box);
        }
        at = end;
    }
    return pages;
}

// The boxes of the words poppler extracts, left to right within the page.
std::vector<std::pair<double, double>> PopplerWords(const std::string& path)
{
    const ToolResult run = RunTool("pdftotext -bbox " + Quote(path) + " -");
    std::vector<std::pair<double, double>> words;
    for (std::size_t at = run.output.find("<word "); at != std::string::npos; at = run.output.find("<word ", at + 1)) {
        const std::string element = run.output.substr(at, run.output.find('>', at) - at);
        words.emplace_back(Attribute(element, "xMin"), Attribute(element, "xMax"));
    }
    return words;
}

class TextLinesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ReadersAvailable())
            FAIL() << "qpdf, poppler or mupdf missing";
    }
    ScratchDir dir;
};

} // namespace

TEST_F(TextLinesTest, DrawTextWritesOneTextObjectAndMovesThePosition)
{
    const std::string path = dir.File("draw.pdf");
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    pdf.BeginDoc(path);
    BeginPage(pdf);
    Written(pdf);
    EXPECT_EQ(ErrorRaised([&] { pdf.DrawText(10, 20, "x"); }), ErrorCode::SubscriptOutOfRange);
    EXPECT_EQ(Written(pdf), "");

    pdf.SetFont("Arial", 10, 0, 0);
    Written(pdf);
    pdf.DrawText(10, 20, "");
    pdf.DrawText(10, 20, "   ");
    EXPECT_EQ(Written(pdf), "");
    EXPECT_EQ(peer.State().CurrentX, 10);
    EXPECT_EQ(peer.State().CurrentY, 20);

    pdf.DrawText(100, 50, "Total", 2);
    const std::string right = Written(pdf);
    EXPECT_NE(right.find("\rBT\r/Arial 10 Tf 10 TL\r1 0 0 -1 77.77 50 Tm\r(Total) Tj\rET\r"), std::string::npos)
        << right;
    EXPECT_FLOAT_EQ(static_cast<float>(peer.State().CurrentX), 122.23f);
    EXPECT_EQ(peer.State().CurrentY, 50);
    // From Arial's descender line (221/1000 em below the baseline) up one line height.
    const std::array<double, 4> box = {77.77, 842 - 50 - 2.21 + 12.21, 100, 842 - 50 - 2.21};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(peer.State().doc.LastBox[i], box[i], 1e-3) << i;

    pdf.DrawText(100, 70, "Total", 6);  // right and centre together: left
    EXPECT_NE(Written(pdf).find("1 0 0 -1 100 70 Tm"), std::string::npos);
    pdf.DrawText(100, 90, "(Total)", 4);
    const std::string centred = Written(pdf);
    EXPECT_NE(centred.find("\\(Total\\)"), std::string::npos) << centred;
    // The fill colour is the text colour inside the object and the previous one after it.
    pdf.SetColorText("#FF0000");
    pdf.SetColorFill("#00FF00");
    Written(pdf);
    pdf.DrawText(10, 110, "Rosso");
    EXPECT_EQ(Written(pdf), "\r1 0 0 rg\rBT\r/Arial 10 Tf 10 TL\r1 0 0 -1 10 110 Tm\r(Rosso) Tj\rET\r0 1 0 rg");
    EXPECT_EQ(peer.State().FillColor, "#00FF00");
    pdf.EndPage();
    pdf.EndDoc();
    ExpectReadersAccept(path);

    // Poppler's word boxes: the right-aligned word ends at 100, the centred one is centred on 100.
    const std::vector<std::pair<double, double>> boxes = PopplerWords(path);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_NEAR(boxes[0].second, 100, 0.01);
    EXPECT_NEAR(boxes[0].first, 77.77, 0.01);
    EXPECT_NEAR(boxes[1].first, 100, 0.01);
    EXPECT_NEAR((boxes[2].first + boxes[2].second) / 2, 100, 0.01);
}

// Justified, shrunk and fitted lines end at the right end of their width in mupdf's
// placement, whatever word spacing, scaling, indent and margins are in force.
TEST_F(TextLinesTest, AlignedLinesFillTheirWidth)
{
    const std::string path = dir.File("aligned.pdf");
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    pdf.BeginDoc(path);
    struct Case {
        std::int32_t flags;
        float wordSpacing, scaling, indent;
        const char* text;
        float width;
    };
    const Case cases[] = {
        {64, 0, 100, 0, "a b c", 100},         {64, 2, 100, 0, "Fattura del mese", 200},
        {64, 0, 70, 5, "uno  due tre", 150},   {128, 0, 100, 0, "Una riga molto lunga da stringere", 60},
        {256, 0, 100, 0, "Corta", 120},        {256, 1.5, 80, 10, "Righe a misura", 90},
    };
    std::vector<double> scalingsAfter;
    for (const Case& c : cases) {
        BeginPage(pdf);
        pdf.SetMargins(20, 20, 30, 30, false);
        pdf.SetFont("Times", 12, 0, 0);
        pdf.SetWordSpacing(c.wordSpacing);
        pdf.SetTextHorizontalScaling(c.scaling);
        Written(pdf);
        peer.EmitTextLine(40, 100, c.width, c.text, c.indent, c.flags, false);
        const std::string line = Written(pdf);
        scalingsAfter.push_back(peer.State().HorizontalScaling);
        if (c.flags == 64)
            EXPECT_NE(line.find(" Tw ("), std::string::npos) << line;
        else
            EXPECT_NE(line.find(" Tz ("), std::string::npos) << line;
        // Page space x of the line box against mupdf below.
        EXPECT_NEAR(peer.State().doc.LastBox[0], 20 + 40 + c.indent, 1e-3);
        EXPECT_NEAR(peer.State().doc.LastBox[2], 20 + 40 + c.width, 1e-3);
        pdf.EndPage();
    }
    pdf.EndDoc();
    ExpectReadersAccept(path);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(scalingsAfter[i], cases[i].scaling) << i;

    const auto pages = MupdfCharacters(path);
    ASSERT_EQ(pages.size(), std::size(cases));
    for (std::size_t i = 0; i < pages.size(); ++i) {
        ASSERT_FALSE(pages[i].empty()) << i;
        EXPECT_NEAR(pages[i].front().left, 20 + 40 + cases[i].indent, 0.01) << i;
        EXPECT_NEAR(pages[i].back().right, 20 + 40 + cases[i].width, 0.01) << i;
    }
}

TEST_F(TextLinesTest, ShrinkLeavesNarrowLinesAloneAndJustifyNeedsABlank)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    pdf.BeginDoc(dir.File("plain.pdf"));
    BeginPage(pdf);
    pdf.SetFont("Arial", 10, 0, 0);
    Written(pdf);
    peer.EmitTextLine(10, 20, 500, "breve", 0, 128, false);
    peer.EmitTextLine(10, 40, 500, "senzaspazi", 0, 64, false);
    const std::string lines = Written(pdf);
    EXPECT_EQ(lines.find(" Tz"), std::string::npos) << lines;
    EXPECT_EQ(lines.find(" Tw"), std::string::npos) << lines;
    EXPECT_NE(lines.find("\r1 0 0 -1 10 40 Tm\r(senzaspazi) Tj\r"), std::string::npos) << lines;

    // A blank line moving to the next line goes to the left edge and stays on its line.
    pdf.SetScale(2, 0);
    peer.EmitTextLine(10, 20, 0, "  ", 0, 1, true);
    EXPECT_EQ(peer.State().CurrentX, 0);
    EXPECT_FLOAT_EQ(static_cast<float>(peer.State().CurrentY), static_cast<float>(20 * 72 / 25.4));
    // A written line moves one spaced line down: Arial's 1221/1000 em at 10 points, twice.
    pdf.SetTextLineSpacing(2);
    peer.EmitTextLine(10, 20, 0, "riga", 0, 1, true);
    EXPECT_EQ(peer.State().CurrentX, 0);
    EXPECT_NEAR(peer.State().CurrentY, 20 * 72 / 25.4 + 24.42, 1e-3);
    pdf.EndPage();
    pdf.EndDoc();
}

TEST_F(TextLinesTest, DecorationsFollowTheLineInOneSavedState)
{
    const std::string path = dir.File("decorations.pdf");
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    pdf.BeginDoc(path);
    BeginPage(pdf);
    pdf.SetFont("Arial", 16, 4 | 16, 0);
    pdf.SetColorText("#0000FF");
    Written(pdf);
    peer.EmitTextLine(10, 50, 200, "a b c", 0, 64, false);
    const std::string lines = Written(pdf);
    EXPECT_NE(lines.find("\rq\r0 0 1 RG\r1 w \r1 0 0 1 10 50 cm\r0 2 m 200 2 l S\r0 -4.8 m 200 -4.8 l S\r0 0 0 RG\rQ"),
              std::string::npos)
        << lines;
    EXPECT_EQ(peer.State().LineColor, "#000000");
    pdf.EndPage();
    pdf.EndDoc();
    ExpectReadersAccept(path);
}
