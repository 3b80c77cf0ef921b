// Text boxes and pieces of lines: where poppler finds every word for each alignment,
// vertical placement and continuation, with a TrueType font, and the faults mended.

#include "pdf/ErrorRaised.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/rendering.h"
#include "support/pdf/text_boxes.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tavlo;
using namespace tavlo::test;

namespace {

const std::string kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const std::string kText = "Quercino legge le fatture emesse e ricevute, controlla ogni riga e scrive i file XML che "
                          "il soggetto firma e trasmette dal portale delle Entrate.";

// Words joined into lines by their common bottom.
std::vector<TextBox> Lines(const std::vector<TextBox>& words)
{
    std::vector<TextBox> lines;
    for (const TextBox& w : words) {
        if (lines.empty() || std::fabs(lines.back().bottom - w.bottom) > 0.5) {
            lines.push_back(w);
        } else {
            lines.back().text += " " + w.text;
            lines.back().right = w.right;
        }
    }
    return lines;
}

} // namespace

// Pages 1-9: a box at (100, 100), 300 × 200 points, under each alignment; the reference
// line's bottom at baseline 800 gives the distance poppler puts between a baseline and a
// word's bottom in this font. Page 10: two paragraphs begun in a box three lines high and
// continued in a second box.
TEST(TextBoxes, WordsWhereAlignmentPlacementAndContinuationPutThem)
{
    struct Case {
        std::int32_t align;
        float indent;
        std::string text;
    };
    const Case cases[] = {{1, 0, kText},  {1 + 8, 24, kText}, {2, 0, kText},           {4, 0, kText},
                          {64, 0, kText}, {128, 0, kText},    {256, 0, "Breve"},       {1 + 32, 0, kText},
                          {64 + 16, 12, kText}};
    const std::string text = kText + "\r\n" + "Secondo paragrafo: " + kText;
    std::vector<std::size_t> counts;
    float advance = 0;
    std::string rest;
    const WrittenPdf pdf = WriteDocument("allineamenti.pdf", [&](Tavlo& t) {
        ASSERT_EQ(t.AddFont(kSans, "", 1, 0), "DejaVuSans");
        for (const Case& c : cases) {
            t.BeginPage();
            t.SetFont("DejaVuSans", 11, 0, 0);
            t.DrawText(20, 800, "Riferimento");
            EXPECT_EQ(t.DrawTextBox(100, 100, 300, 200, c.text, c.indent, c.align, 0), "");
            advance = t.TextHeight();
            counts.push_back(static_cast<std::size_t>(std::lround((t.GetY() - 100) / advance)));
            t.EndPage();
        }
        t.BeginPage();
        t.SetFont("DejaVuSans", 11, 0, 0);
        rest = t.DrawTextBox(60, 100, 200, 3 * advance + 1, text, 20, 64);
        EXPECT_FLOAT_EQ(t.GetY(), 100 + 3 * advance);
        EXPECT_EQ(t.DrawTextBox(320, 100, 200, 0, rest, 20, 64), "");
    });

    const double descent = 11 * -236 / 1000.0;  // DejaVu Sans: usWinDescent 483 of 2048
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::vector<TextBox> lines = Lines(PopplerWords(pdf.path, static_cast<int>(i) + 1));
        const TextBox reference = lines.back();
        lines.pop_back();
        ASSERT_EQ(lines.size(), counts[i]) << i;
        const std::int32_t horizontal = cases[i].align & 0x1C7, n = static_cast<std::int32_t>(lines.size());
        for (std::int32_t k = 0; k < n; ++k) {
            const TextBox& line = lines[static_cast<std::size_t>(k)];
            double measured = line.left, expected = 100 + (k == 0 ? cases[i].indent : 0);
            if (horizontal == 2)
                measured = line.right, expected = 400;
            else if (horizontal == 4)
                measured = (line.left + line.right) / 2, expected = 250;
            EXPECT_NEAR(measured, expected, 0.01) << i << " " << k;
            // Justified lines but the last, shrunk and fitted ones end at the right edge.
            if (horizontal >= 64) {
                EXPECT_EQ(std::fabs(line.right - 400) < 0.01, !(k == n - 1 && horizontal == 64)) << i << " " << k;
            }
        }
        EXPECT_TRUE(horizontal < 128 || n == 1) << i;
        // First baseline: top, centre or bottom of the box, raised by the descent.
        const double middle = 200 + advance / 2 * (2 - n), bottom = 300 - (n - 1) * advance;
        const double first = (cases[i].align & 32 ? middle : cases[i].align & 16 ? bottom : 100 + advance) + descent;
        EXPECT_NEAR(lines.front().bottom - (reference.bottom - 800), first, 0.01) << i;
    }

    // The rest begins inside a paragraph; every word comes back once, in order; the second box
    // goes on without the indent and indents the next paragraph.
    EXPECT_EQ(rest.front(), '\0');
    std::vector<TextBox> left, right;
    std::string words, expected = text;
    for (const TextBox& w : PopplerWords(pdf.path, 10)) {
        (w.left < 300 ? left : right).push_back(w);
        words += (words.empty() ? "" : " ") + w.text;
    }
    EXPECT_EQ(words, expected.replace(expected.find("\r\n"), 2, " "));
    left = Lines(left), right = Lines(right);
    ASSERT_EQ(left.size(), 3u);
    EXPECT_NEAR(left[0].left, 80, 0.01);
    EXPECT_NEAR(right[0].left, 320, 0.01);
    const auto opening = std::find_if(right.begin(), right.end(), [](const TextBox& l) { return l.text[0] == 'S'; });
    ASSERT_NE(opening, right.end());
    EXPECT_NEAR(opening->left, 340, 0.01);
}

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
