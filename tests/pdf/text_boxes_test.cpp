// Text boxes and pieces of lines: the faults mended (where poppler finds every word for each
// alignment, vertical placement and continuation: scripts/text_boxes.txt).

#include "pdf/error_raised.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/rendering.h"
#include "support/pdf/text_boxes.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(TextBoxes, MendedFaults)
{
    Tavlo writer;
    const WrittenPdf pdf = WriteDocument(writer, "rimedi.pdf", [&](Tavlo& t) {
        // No font, then no line spacing: refused with nothing written, the text handed back.
        t.BeginPage();
        EXPECT_EQ(t.DrawTextBox(10, 10, 100, 100, "senza font"), "senza font");
        EXPECT_EQ(t.ErrNumber(), ErrorCode::InvalidArgument);
        EXPECT_EQ(t.ErrSource(), "Tavlo.DrawTextBox");
        t.SetFont("Helvetica", 10, 0, 0);
        t.SetTextLineSpacing(0);
        EXPECT_EQ(t.DrawTextBox(10, 10, 100, 100, "senza interlinea"), "senza interlinea");
        t.EndPage();
        // No 16-bit counters: 40000 words in one paragraph, 33000 lines in one box.
        t.BeginPage();
        t.SetFont("Helvetica", 10, 0, 0);
        const double advance = t.TextHeight();
        std::string words, lines;
        for (int i = 0; i < 40000; ++i)
            words += (i ? " w" : "w") + std::to_string(i);
        const std::string rest = t.DrawTextBox(10, 10, 200, 2 * advance, words);
        EXPECT_EQ(rest.substr(rest.size() - 7), " w39999");
        for (int i = 0; i < 33000; ++i)
            lines += (i ? "\r\nr" : "r") + std::to_string(i);
        EXPECT_EQ(t.DrawTextBox(10, 40, 200, 0, lines), "");
        EXPECT_NEAR(t.GetY(), 40 + 33000 * advance, 0.05);
        t.EndPage();
        // A clipping box keeps its clip to itself, a word wider than a justified box stays at
        // its left edge, a style of no meaning is a normal piece, an empty line moves down.
        t.BeginPage();
        t.SetFont("Helvetica", 12, 0, 0);
        t.DrawTextBox(50, 50, 120, 30, "Precipitevolissimevolmente poi", 0, 64, 128 + 1);
        t.SetColorFill("#000000");
        t.DrawRect(300, 300, 50, 50, 5);
        t.SetXY(50, 500);
        t.WriteText("normale ");
        t.WriteText("stile7", 7, 50);
        t.WriteTextLn("");
        const float afterLine = t.GetY();
        t.WriteTextLn("");
        EXPECT_NEAR(t.GetY() - afterLine, t.TextHeight(), 1e-4);
        EXPECT_EQ(t.GetX(), 0);
        // A fitted underlined line: the underline as long as the box; no width, no scaling.
        t.SetFont("Helvetica", 12, 4, 0);
        t.DrawTextBox(50, 600, 200, 0, "corto", 0, 256);
        t.SetFont("ZapfDingbats", 12, 0, 0);
        EXPECT_EQ(ErrorRaised([&] { t.DrawTextBox(50, 650, 200, 0, "\x7F", 0, 256); }), 0);
    });

    const QpdfDocument document(pdf.path);
    EXPECT_EQ(CountOf(Operations(document.PageContent(1)), "BT"), 0);
    EXPECT_EQ(CountOf(Operations(document.PageContent(2)), "BT"), 33002);
    const std::vector<Operation> page = Operations(document.PageContent(3));
    EXPECT_TRUE(SavesBalanced(page));
    const std::vector<std::string> box = LinesOf(page, {"q", "Q", "re", "W", "n", "Tw", "Tj", "l"});
    const std::vector<std::string> expected = {"q",         "50 50 120 30 re", "W", "n", "(Precipitevolissimevolmente) Tj",
                                               "(poi) Tj", "Q",               "300 300 50 50 re"};
    EXPECT_EQ(std::vector<std::string>(box.begin(), box.begin() + 8), expected);
    EXPECT_NE(std::find(box.begin(), box.end(), "200 1.5 l"), box.end());
    const std::vector<TextBox> words = PopplerWords(pdf.path, 3);
    auto word = [&](const std::string& text) {
        return *std::find_if(words.begin(), words.end(), [&](const TextBox& w) { return w.text == text; });
    };
    EXPECT_NEAR(word("Precipitevolissimevolmente").left, 50, 0.01);
    EXPECT_NEAR(word("stile7").bottom, word("normale").bottom, 0.01);
    // The square drawn after the box is painted whole: no clip left in force.
    EXPECT_EQ(DarkPixelsIn(RenderPage(pdf.path, 3, Reader::Poppler), 305, 305, 345, 345), 40 * 40);
}
