// Text lines: what one line writes, where readers place its characters (mupdf's character
// boxes, poppler's word boxes), the decorations and the position it leaves.

#include "pdf/ErrorRaised.h"
#include "pdf/core/TavloState.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/text_boxes.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavlo {

// This program's own door to the line writer (the writer's friend class).
class TavloTestPeer {
public:
    explicit TavloTestPeer(Tavlo& t) : t_(t) {}
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

using Lines = std::vector<std::string>;

// Lines right-aligned, left (right and centre together), centred with escapes, in the text
// colour with the fill colour restored; nothing for blank texts, an error without a font.
TEST(TextLines, DrawTextWritesOneTextObjectAndMovesThePosition)
{
    std::vector<float> positions;
    const std::string path = WriteDocument("draw.pdf", [&](Tavlo& pdf) {
                                 pdf.BeginPage();
                                 EXPECT_EQ(ErrorRaised([&] { pdf.DrawText(10, 20, "x"); }),
                                           ErrorCode::SubscriptOutOfRange);
                                 pdf.SetFont("Arial", 10, 0, 0);
                                 pdf.DrawText(10, 20, "");
                                 pdf.DrawText(10, 20, "   ");
                                 positions.insert(positions.end(), {pdf.GetX(), pdf.GetY()});
                                 pdf.DrawText(100, 50, "Total", 2);
                                 positions.insert(positions.end(), {pdf.GetX(), pdf.GetY()});
                                 pdf.DrawText(100, 70, "Total", 6);
                                 pdf.DrawText(100, 90, "(Total)", 4);
                                 pdf.SetColorText("#FF0000");
                                 pdf.SetColorFill("#00FF00");
                                 pdf.DrawText(10, 110, "Rosso");
                             }).path;
    const float expected[] = {10, 20, 122.23f, 50};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(positions[i], expected[i], 1e-4);
    const auto ops = LinesOf(Operations(QpdfDocument(path).PageContent(1)));
    EXPECT_EQ(Lines(ops.begin() + 3, ops.end()),
              (Lines{"0 0 0 rg", "BT", "/Arial 10 Tf", "10 TL", "1 0 0 -1 77.77 50 Tm", "(Total) Tj", "ET", "0 0 0 rg",
                     "0 0 0 rg", "BT", "/Arial 10 Tf", "10 TL", "1 0 0 -1 100 70 Tm", "(Total) Tj", "ET", "0 0 0 rg",
                     "0 0 0 rg", "BT", "/Arial 10 Tf", "10 TL", "1 0 0 -1 85.555 90 Tm", "(\\(Total\\)) Tj", "ET",
                     "0 0 0 rg", "0 1 0 rg", "1 0 0 rg", "BT", "/Arial 10 Tf", "10 TL", "1 0 0 -1 10 110 Tm",
                     "(Rosso) Tj", "ET", "0 1 0 rg"}));
    // Poppler's word boxes: the right-aligned word ends at 100, the centred one is centred on 100.
    const auto words = PopplerWords(path);
    ASSERT_EQ(words.size(), 4u);
    EXPECT_NEAR(words[0].left, 77.77, 0.01);
    EXPECT_NEAR(words[0].right, 100, 0.01);
    EXPECT_NEAR(words[1].left, 100, 0.01);
    EXPECT_NEAR((words[2].left + words[2].right) / 2, 100, 0.01);
}

// Justified, shrunk and fitted lines end at the right end of their width in mupdf's
// placement, whatever word spacing, scaling, indent and margins are in force, and leave the
// scaling as it was; narrow lines are not shrunk, lines without a blank not justified.
TEST(TextLines, AlignedLinesFillTheirWidth)
{
    struct Case {
        std::int32_t flags;
        float wordSpacing, scaling, indent;
        const char* text;
        float width;
    };
    const Case cases[] = {
        {64, 0, 100, 0, "a b c", 100},       {64, 2, 100, 0, "Fattura del mese", 200},
        {64, 0, 70, 5, "uno  due tre", 150}, {128, 0, 100, 0, "Una riga molto lunga da stringere", 60},
        {256, 0, 100, 0, "Corta", 120},      {256, 1.5, 80, 10, "Righe a misura", 90},
    };
    std::vector<float> lengths;
    const std::string path = WriteDocument("aligned.pdf", [&](Tavlo& pdf) {
                                 for (const Case& c : cases) {
                                     pdf.BeginPage();
                                     pdf.SetMargins(20, 20, 30, 30, false);
                                     pdf.SetFont("Times", 12, 0, 0);
                                     pdf.SetWordSpacing(c.wordSpacing);
                                     pdf.SetTextHorizontalScaling(c.scaling);
                                     const float before = pdf.TextLength("a b");
                                     TavloTestPeer(pdf).EmitTextLine(40, 100, c.width, c.text, c.indent, c.flags, false);
                                     EXPECT_EQ(pdf.TextLength("a b"), before);
                                 }
                                 pdf.BeginPage();
                                 pdf.SetFont("Arial", 10, 0, 0);
                                 TavloTestPeer(pdf).EmitTextLine(10, 20, 500, "breve", 0, 128, false);
                                 TavloTestPeer(pdf).EmitTextLine(10, 40, 500, "senzaspazi", 0, 64, false);
                             }).path;
    const QpdfDocument q(path);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_GE(LinesOf(Operations(q.PageContent(static_cast<int>(i + 1))), {cases[i].flags == 64 ? "Tw" : "Tz"})
                      .size(),
                  2u)
            << "set for the line and back";
        const auto chars = MupdfCharacters(path, static_cast<int>(i + 1));
        ASSERT_FALSE(chars.empty()) << i;
        EXPECT_NEAR(chars.front().left, 20 + 40 + cases[i].indent, 0.01) << i;
        EXPECT_NEAR(chars.back().right, 20 + 40 + cases[i].width, 0.01) << i;
    }
    EXPECT_TRUE(LinesOf(Operations(q.PageContent(7)), {"Tw", "Tz"}).empty());
}

// A line moving to the next one goes to the left edge, one spaced line down; a blank one
// stays on its line. Decorations (underline, strike-through) in the text colour in one saved
// state.
TEST(TextLines, NextLineAndDecorations)
{
    std::vector<float> positions;
    const std::string path = WriteDocument("decorations.pdf", [&](Tavlo& pdf) {
                                 pdf.BeginPage();
                                 pdf.SetFont("Arial", 10, 0, 0);
                                 pdf.SetScale(2, 0);
                                 TavloTestPeer(pdf).EmitTextLine(10, 20, 0, "  ", 0, 1, true);
                                 positions.insert(positions.end(), {pdf.GetX(), pdf.GetY()});
                                 // Arial's 1221/1000 em at 10 points, twice.
                                 pdf.SetTextLineSpacing(2);
                                 pdf.SetTextLineSpacing(-1);  // ignored
                                 TavloTestPeer(pdf).EmitTextLine(10, 20, 0, "riga", 0, 1, true);
                                 positions.insert(positions.end(), {pdf.GetX(), pdf.GetY() * 72 / 25.4f});
                                 pdf.BeginPage();
                                 pdf.SetScale(0);
                                 pdf.SetFont("Arial", 16, 4 | 16, 0);
                                 pdf.SetColorText("#0000FF");
                                 TavloTestPeer(pdf).EmitTextLine(10, 50, 200, "a b c", 0, 64, false);
                             }).path;
    EXPECT_FLOAT_EQ(positions[0], 0);
    EXPECT_FLOAT_EQ(positions[1], 20);
    EXPECT_FLOAT_EQ(positions[2], 0);
    EXPECT_NEAR(positions[3], 20 * 72 / 25.4 + 24.42, 1e-3);
    const auto ops = LinesOf(Operations(QpdfDocument(path).PageContent(2)));
    const auto q = std::find(ops.begin(), ops.end(), "q");
    ASSERT_NE(q, ops.end());
    ASSERT_GE(ops.end() - q, 12);
    EXPECT_EQ(Lines(q, q + 12), (Lines{"q", "0 0 1 RG", "1 w", "1 0 0 1 10 50 cm", "0 2 m", "200 2 l", "S", "0 -4.8 m",
                                       "200 -4.8 l", "S", "0 0 0 RG", "Q"}));
}
