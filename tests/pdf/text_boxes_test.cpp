// Text boxes and pieces of lines: where poppler finds every word for each alignment,
// vertical placement and continuation, with a TrueType font, and the faults mended.

#include "pdf/ErrorRaised.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"
#include "support/pdf/rendering.h"
#include "pdf/TavloTestPeer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using namespace tavlo;
using namespace tavlo::test;

namespace {

const std::string kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const std::string kText = "Quercino legge le fatture emesse e ricevute, controlla ogni riga e scrive i file XML che "
                          "il soggetto firma e trasmette dal portale delle Entrate.";

struct TextBox {
    std::string text;
    double left = 0, top = 0, right = 0, bottom = 0;
};

// The words of one page as poppler boxes them, in reading order.
std::vector<TextBox> PopplerWords(const std::string& pdf, int page)
{
    const std::string n = std::to_string(page);
    const std::string xhtml = RunTool("pdftotext -bbox -f " + n + " -l " + n + " " + Quote(pdf) + " -").output;
    std::vector<TextBox> words;
    for (std::size_t at = xhtml.find("<word "); at != std::string::npos; at = xhtml.find("<word ", at + 1)) {
        const std::size_t open = xhtml.find('>', at);
        const std::string element = xhtml.substr(at, open - at);
        auto number = [&](const char* name) { return std::stod(element.substr(element.find(name) + 6)); };
        words.push_back({xhtml.substr(open + 1, xhtml.find("</word>", open) - open - 1), number("xMin="),
                         number("yMin="), number("xMax="), number("yMax=")});
    }
    return words;
}

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

std::string Content(Tavlo& pdf)
{
    return TavloTestPeer(pdf).State().PageContent.Text();
}

} // namespace

// Box at (100, 100), 300 × 200 points; the reference line's bottom at baseline 800 gives the
// distance poppler puts between a baseline and a word's bottom in this font.
TEST(TextBoxes, WordsWhereAlignmentAndPlacementPutThem)
{
    ScratchDir dir;
    const std::string path = dir.File("allineamenti.pdf");
    struct Case {
        std::int32_t align;
        float indent;
        std::string text;
    };
    const Case cases[] = {{1, 0, kText},       {1 + 8, 24, kText},  {2, 0, kText},        {4, 0, kText},
                          {64, 0, kText},      {128, 0, kText},     {256, 0, "Breve"},    {1 + 32, 0, kText},
                          {64 + 16, 12, kText}};
    Tavlo pdf;
    pdf.BeginDoc(path);
    ASSERT_EQ(pdf.AddFont(kSans, "", 1, 0), "DejaVuSans");
    std::vector<double> advances, lineCounts;
    for (const Case& c : cases) {
        pdf.BeginPage();
        pdf.SetFont("DejaVuSans", 11, 0, 0);
        pdf.DrawText(20, 800, "Riferimento");
        EXPECT_EQ(pdf.DrawTextBox(100, 100, 300, 200, c.text, c.indent, c.align, 0), "");
        advances.push_back(pdf.TextHeight());
        lineCounts.push_back(std::round((pdf.GetY() - 100) / advances.back()));
        pdf.EndPage();
    }
    pdf.EndDoc();
    ExpectReadersAccept(path);

    const double descent = 11 * -236 / 1000.0;  // DejaVu Sans: usWinDescent 483 of 2048
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::vector<TextBox> lines = Lines(PopplerWords(path, static_cast<int>(i) + 1));
        const TextBox reference = lines.back();
        lines.pop_back();
        ASSERT_EQ(static_cast<double>(lines.size()), lineCounts[i]) << i;
        const std::int32_t horizontal = cases[i].align & 0x1C7, n = static_cast<std::int32_t>(lines.size());
        for (std::int32_t k = 0; k < n; ++k) {
            const TextBox& line = lines[static_cast<std::size_t>(k)];
            const bool last = k == n - 1;
            double measured = line.left, expected = 100 + (k == 0 ? cases[i].indent : 0);
            if (horizontal == 2)
                measured = line.right, expected = 400;
            else if (horizontal == 4)
                measured = (line.left + line.right) / 2, expected = 250;
            EXPECT_NEAR(measured, expected, 0.01) << i << " " << k;
            // Justified lines but the last, shrunk and fitted ones end at the right edge.
            if (horizontal >= 64) {
                EXPECT_EQ(std::fabs(line.right - 400) < 0.01, !(last && horizontal == 64)) << i << " " << k;
            }
        }
        if (horizontal >= 128) {
            EXPECT_EQ(n, 1) << i;
        }
        // First baseline: top, centre or bottom of the box, raised by the descent.
        const double a = advances[i], middle = 200 + a / 2 * (2 - n), bottom = 300 - (n - 1) * a;
        const double first = (cases[i].align & 32 ? middle : cases[i].align & 16 ? bottom : 100 + a) + descent;
        EXPECT_NEAR(lines.front().bottom - (reference.bottom - 800), first, 0.01) << i;
    }
}

TEST(TextBoxes, OverflowContinuesInASecondBox)
{
    ScratchDir dir;
    const std::string path = dir.File("seguito.pdf");
    const std::string text = kText + "\r\n" + "Secondo paragrafo: " + kText;
    Tavlo pdf;
    pdf.BeginDoc(path);
    pdf.AddFont(kSans, "Corpo", 1, 0);
    pdf.BeginPage();
    pdf.SetFont("Corpo", 10, 0, 0);
    const float advance = pdf.TextHeight();
    const std::string rest = pdf.DrawTextBox(60, 100, 200, 3 * advance, text, 20, 64);
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.front(), '\0');
    EXPECT_FLOAT_EQ(pdf.GetY(), 100 + 3 * advance);
    EXPECT_EQ(pdf.DrawTextBox(320, 100, 200, 0, rest, 20, 64), "");
    pdf.EndPage();
    pdf.EndDoc();
    ExpectReadersAccept(path);

    std::vector<TextBox> first, second;
    std::string words;
    for (const TextBox& w : PopplerWords(path, 1)) {
        (w.left < 300 ? first : second).push_back(w);
        words += (words.empty() ? "" : " ") + w.text;
    }
    std::string expected = text;
    expected.replace(expected.find("\r\n"), 2, " ");
    EXPECT_EQ(words, expected);
    const std::vector<TextBox> left = Lines(first), right = Lines(second);
    ASSERT_EQ(left.size(), 3u);
    EXPECT_NEAR(left[0].left, 80, 0.01);
    EXPECT_NEAR(right[0].left, 320, 0.01);  // the paragraph goes on: no indent
    const auto opening = std::find_if(right.begin(), right.end(),
                                      [](const TextBox& l) { return l.text.rfind("Secondo", 0) == 0; });
    ASSERT_NE(opening, right.end());
    EXPECT_NEAR(opening->left, 340, 0.01);
}

TEST(TextBoxes, MendedFaults)
{
    ScratchDir dir;
    const std::string path = dir.File("rimedi.pdf");
    Tavlo pdf;
    TavloState& s = TavloTestPeer(pdf).State();
    pdf.BeginDoc(path);
    pdf.BeginPage();
    // No font, then no line spacing: refused before anything is written, the text handed back.
    EXPECT_EQ(pdf.DrawTextBox(10, 10, 100, 100, "senza font"), "senza font");
    EXPECT_EQ(pdf.ErrNumber(), ErrorCode::InvalidArgument);
    EXPECT_EQ(pdf.ErrSource(), "Tavlo.DrawTextBox");
    pdf.SetFont("Helvetica", 10, 0, 0);
    pdf.SetTextLineSpacing(0);
    EXPECT_EQ(pdf.DrawTextBox(10, 10, 100, 100, "senza interlinea"), "senza interlinea");
    EXPECT_EQ(Content(pdf).find("BT"), std::string::npos);
    pdf.SetTextLineSpacing(1);
    const double advance = pdf.TextHeight();

    // No 16-bit counters: 40000 words in one paragraph, 33000 lines in one box.
    std::string words;
    for (int i = 0; i < 40000; ++i)
        words += (i ? " w" : "w") + std::to_string(i);
    const std::string rest = pdf.DrawTextBox(10, 10, 200, 2 * advance, words);
    EXPECT_EQ(rest.front(), '\0');
    EXPECT_EQ(rest.substr(rest.size() - 7), " w39999");
    std::string lines;
    for (int i = 0; i < 33000; ++i)
        lines += (i ? "\r\nr" : "r") + std::to_string(i);
    EXPECT_EQ(pdf.DrawTextBox(10, 40, 200, 0, lines), "");
    EXPECT_NEAR(pdf.GetY(), 40 + 33000 * advance, 0.05);
    pdf.EndPage();

    // A clipping box keeps its clip to itself; a word wider than a justified box stays left;
    // a style of no meaning is a normal piece; an empty line still moves down.
    pdf.BeginPage();
    pdf.SetFont("Helvetica", 12, 0, 0);
    const std::size_t before = Content(pdf).size();
    pdf.DrawTextBox(50, 50, 120, 30, "Precipitevolissimevolmente poi", 0, 64, 128 + 1);
    const std::string box = Content(pdf).substr(before);
    EXPECT_EQ(box.find("\rq\r"), 0u) << box;
    EXPECT_NE(box.find("re\rW \rn\r"), std::string::npos) << box;
    EXPECT_EQ(box.substr(box.size() - 2), "\rQ");
    EXPECT_EQ(box.find(" Tw"), std::string::npos) << box;
    pdf.SetColorFill("#000000");
    pdf.DrawRect(300, 300, 50, 50, 5);
    pdf.SetXY(50, 500);
    pdf.WriteText("normale ");
    pdf.WriteText("stile7", 7, 50);
    pdf.WriteTextLn("");
    const double afterLine = s.CurrentY;
    pdf.WriteTextLn("");
    EXPECT_NEAR(s.CurrentY - afterLine, pdf.TextHeight(), 1e-4);
    EXPECT_EQ(s.CurrentX, 0);
    // A fitted underlined line: the underline as long as the box; a text of no width is not scaled.
    pdf.SetFont("Helvetica", 12, 4, 0);
    const std::size_t fitted = Content(pdf).size();
    pdf.DrawTextBox(50, 600, 200, 0, "corto", 0, 256);
    EXPECT_NE(Content(pdf).find(" 200 1.5 l S", fitted), std::string::npos) << Content(pdf).substr(fitted);
    pdf.SetFont("ZapfDingbats", 12, 0, 0);
    EXPECT_EQ(ErrorRaised([&] { pdf.DrawTextBox(50, 650, 200, 0, "\x7F", 0, 256); }), 0);
    pdf.EndPage();
    pdf.EndDoc();
    ExpectReadersAccept(path);

    std::vector<TextBox> page = PopplerWords(path, 2);
    auto word = [&](const std::string& text) {
        return *std::find_if(page.begin(), page.end(), [&](const TextBox& w) { return w.text == text; });
    };
    EXPECT_NEAR(word("Precipitevolissimevolmente").left, 50, 0.01);
    EXPECT_NEAR(word("stile7").bottom, word("normale").bottom, 0.01);
    EXPECT_EQ(DarkPixelsIn(RenderPage(path, 2, Reader::Poppler, {72, false, false}), 305, 305, 345, 345), 40 * 40);  // drawn after the box
}
