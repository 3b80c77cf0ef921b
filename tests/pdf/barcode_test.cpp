// Code 128 barcodes: the symbol values of the worked examples, the module table against
// the symbology's own structure rules, sizes and refusals in the page content, and many
// random texts in both code sets rendered by poppler and read back by zbar, whose reading
// also verifies every check symbol.

#include "pdf/BarcodeReading.h"
#include "pdf/PdfCheck.h"
#include "pdf/ErrorRaised.h"
#include "pdf/TavloTestPeer.h"
#include "pdf/draw/Code128Symbols.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <vector>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// The content lines one call adds to an open page.
template <typename Draw>
std::string ContentOf(Tavlo& pdf, Draw&& draw)
{
    TavloTestPeer peer(pdf);
    const std::size_t before = peer.State().PageContent.Text().size();
    draw();
    return peer.State().PageContent.Text().substr(before);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line, '\r');)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

} // namespace

TEST(Code128Values, WorkedExamplesChooseSetsAndCheckSymbols)
{
    // Check symbols worked by hand: (start + sum of position × value) mod 103.
    EXPECT_EQ(Code128Values("ABC"), (std::vector<int>{104, 33, 34, 35, 1, 106}));
    EXPECT_EQ(Code128Values("1234"), (std::vector<int>{105, 12, 34, 82, 106}));
    // 104 + 17 + 36 + 57 = 214 -> 8
    EXPECT_EQ(Code128Values("123"), (std::vector<int>{104, 17, 18, 19, 8, 106}));
    // 105 + 12 + 68 + 300 + 4·21 = 569 -> 54
    EXPECT_EQ(Code128Values("12345"), (std::vector<int>{105, 12, 34, 100, 21, 54, 106}));
    // 104 + 33 + 198 + 36 + 136 = 507 -> 95
    EXPECT_EQ(Code128Values("A1234"), (std::vector<int>{104, 33, 99, 12, 34, 95, 106}));
    // 104 + 33 + 34 + 297 + 92 + 225 = 785 -> 64
    EXPECT_EQ(Code128Values("A12345"), (std::vector<int>{104, 33, 17, 99, 23, 45, 64, 106}));
}

TEST(Code128Values, RefusesWhatSetBCannotCarry)
{
    EXPECT_TRUE(Code128Values("").empty());
    EXPECT_TRUE(Code128Values("AB\tC").empty());
    EXPECT_TRUE(Code128Values(std::string("A\xC6")).empty());  // 198
    EXPECT_TRUE(Code128Values(std::string("\x7F")).empty());
    EXPECT_TRUE(Code128Values(std::string("caf\xE9")).empty());
    EXPECT_FALSE(Code128Values(" ~").empty());
}

TEST(Code128Modules, TableFollowsTheSymbologyStructure)
{
    EXPECT_EQ(Code128Modules(0), "11011001100");
    EXPECT_EQ(Code128Modules(106), "1100011101011");
    std::vector<std::string> seen;
    for (int v = 0; v <= 105; ++v) {
        const std::string& m = Code128Modules(v);
        SCOPED_TRACE(v);
        ASSERT_EQ(m.size(), 11u);
        EXPECT_EQ(m.front(), '1');
        EXPECT_EQ(m.back(), '0');
        // Three bars and three spaces, each one to four modules, the bars an even count.
        int runs = 0, dark = 0;
        std::size_t at = 0;
        while (at < m.size()) {
            std::size_t end = m.find_first_not_of(m[at], at);
            if (end == std::string::npos)
                end = m.size();
            EXPECT_LE(end - at, 4u);
            if (m[at] == '1')
                dark += static_cast<int>(end - at);
            ++runs;
            at = end;
        }
        EXPECT_EQ(runs, 6);
        EXPECT_EQ(dark % 2, 0);
        seen.push_back(m);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end()) << "two symbols share a pattern";
    EXPECT_EQ(ErrorRaised([] { Code128Modules(107); }), ErrorCode::SubscriptOutOfRange);
}

class BarCodePage : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.File("page.pdf");
        pdf.BeginDoc(path);
        pdf.BeginPage();
    }
    ScratchDir dir;
    std::string path;
    Tavlo pdf;
};

TEST_F(BarCodePage, RectanglesAndWidthInModules)
{
    float width = 0;
    const std::string abc = ContentOf(pdf, [&] { width = pdf.DrawBarCode(4, "ABC", 0, 20, false, 1, 0, false); });
    EXPECT_NEAR(width, 87 * 0.72, 1e-3);
    // Three bars a symbol and four in the stop, each one rectangle as wide as its modules.
    // The bars are drawn in a graphics state of their own.
    std::vector<std::string> lines = Lines(abc);
    ASSERT_EQ(lines.size(), 5u * 3 + 4 + 2);
    EXPECT_EQ(lines.front(), "q");
    EXPECT_EQ(lines.back(), "Q");
    lines = std::vector<std::string>(lines.begin() + 1, lines.end() - 1);
    double dark = 0, expected = 0;
    for (const std::string& line : lines)
        dark += std::stod(line.substr(line.find(' ', line.find(' ') + 1)));
    for (int v : {104, 33, 34, 35, 1, 106})
        expected += 0.72 * static_cast<double>(std::count(Code128Modules(v).begin(), Code128Modules(v).end(), '1'));
    EXPECT_NEAR(dark, expected, 1e-3);
    // START B begins with a bar of two modules after a quiet zone of ten, 14.4 points high.
    EXPECT_EQ(lines.front(), "7.2 20 1.44 14.4 re f*");
    // The stop's final two-module bar ends nine modules before the right edge: 87 − 9 − 2.
    EXPECT_EQ(lines.back(), "54.72 20 1.44 14.4 re f*");

    EXPECT_NEAR(pdf.DrawBarCode(4, "1234", 0, 60, false, 1, 0, false), 76 * 0.72, 1e-3);
    EXPECT_NEAR(pdf.DrawBarCode(4, "12345", 0, 100, false, 1, 0, false), (19 + 11 * 6 + 13) * 0.72, 1e-3);
}

TEST_F(BarCodePage, ZoomIsClampedAndHeightsFollowTheTextBand)
{
    float zoom = 0.5f;
    EXPECT_NEAR(pdf.DrawBarCode(4, "ABC", 0, 0, false, zoom, 0, false), 87 * 0.72 * 0.8, 1e-3);
    EXPECT_EQ(zoom, 0.5f);
    EXPECT_NEAR(pdf.DrawBarCode(4, "ABC", 0, 0, false, 3, 0, false), 87 * 0.72 * 2, 1e-3);

    // Millimetres: the module is 0.72 points whatever the unit.
    pdf.SetScale(2);
    EXPECT_NEAR(pdf.DrawBarCode(4, "ABC", 0, 0, false, 1, 0, false), 87 * 0.72 * 25.4 / 72, 1e-3);
    pdf.SetScale(0);

    auto firstLine = [&](bool show, float height) {
        return Lines(ContentOf(pdf, [&] { pdf.DrawBarCode(4, "ABC", 0, 0, show, 1, height, false); })).at(1);
    };
    EXPECT_EQ(firstLine(true, 0), "7.2 0 1.44 14.4 re f*");     // default height, band not taken off
    EXPECT_EQ(firstLine(true, 30), "7.2 0 1.44 25.32 re f*");   // 30 − 4.68
    EXPECT_EQ(firstLine(false, 30), "7.2 0 1.44 30 re f*");
    EXPECT_EQ(firstLine(true, 4), "7.2 0 1.44 0.72 re f*");     // at or below the band: one module
}

TEST_F(BarCodePage, RefusalsDrawNothingAndKeepTheFont)
{
    pdf.SetFont("Arial", 12, 0, 0);
    TavloTestPeer peer(pdf);
    const auto drawn = [&](std::int32_t type, const std::string& code, bool show) {
        float width = -1;
        const std::string added = ContentOf(pdf, [&] { width = pdf.DrawBarCode(type, code, 10, 10, show, 1, 0, false); });
        EXPECT_EQ(width, 0.0f) << type << " " << code;
        EXPECT_EQ(added, "") << type << " " << code;
        EXPECT_EQ(peer.State().doc.FontName, "Arial");
        EXPECT_EQ(peer.State().doc.FontSize, 12.0f);
    };
    for (bool show : {false, true}) {
        drawn(4, "", show);
        drawn(4, "AB\tC", show);
        drawn(4, std::string("\xC6"), show);
        drawn(6, "ABC", show);
        drawn(-1, "ABC", show);
    }
    // Too long for the 16-bit weighted sum: the overflow error, and not a bar written.
    const std::string added = ContentOf(pdf, [&] {
        EXPECT_EQ(ErrorRaised([&] { pdf.DrawBarCode(4, std::string(400, 'z'), 0, 0, true, 1, 0, false); }),
                  ErrorCode::Overflow);
    });
    EXPECT_EQ(added, "");
    EXPECT_EQ(peer.State().doc.FontName, "Arial");
    pdf.EndDoc();
    ExpectReadersAccept(path);
}

TEST_F(BarCodePage, CaptionCentredUnderTheBarsInCourierAndFontRestored)
{
    pdf.SetFont("Times", 14, 1, 0);
    pdf.SetColorText("#FF0000");
    TavloTestPeer peer(pdf);
    const std::string fill = peer.State().FillColor;
    const float width = pdf.DrawBarCode(4, "HELLO-42", 100, 100, true, 1.5, 0, false);
    EXPECT_EQ(peer.State().doc.FontName, "Times");
    EXPECT_EQ(peer.State().doc.FontSize, 14.0f);
    EXPECT_EQ(peer.State().FillColor, fill);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    if (!ToolAvailable("pdftotext"))
        FAIL() << "poppler missing";
    const std::string box = RunTool("pdftotext -bbox " + Quote(path) + " -").output;
    ASSERT_NE(box.find(">HELLO-42</word>"), std::string::npos) << box;
    const auto number = [&](const std::string& key) { return std::stod(TokenAfter(box, key + "=\"", "0123456789.")); };
    const double xMin = number("xMin"), xMax = number("xMax"), yMin = number("yMin");
    EXPECT_NEAR((xMin + xMax) / 2, 100 + width / 2, 0.5);
    EXPECT_NEAR(xMax - xMin, 8 * 0.6 * 10.08 * 1.5, 0.5);  // eight Courier characters
    // Below the bars (14.4 × 1.5 high from y 100), above the baseline 1.6 bands further.
    EXPECT_GT(yMin, 100 + 21.6 - 1);
    EXPECT_NE(RunTool("pdffonts " + Quote(path)).output.find("Courier"), std::string::npos);
}

TEST(Code128Reading, RandomTextsReadBackByZbar)
{
    if (!ReadersAvailable() || !ToolAvailable("zbarimg") || !ToolAvailable("pdftoppm"))
        FAIL() << "poppler or zbar missing";
    std::mt19937 random(128);
    ScratchDir dir;
    const std::string path = dir.File("codes.pdf");
    Tavlo pdf;
    pdf.BeginDoc(path);
    std::vector<std::string> drawn;
    const int pages = 10, perPage = 10;
    for (int page = 0; page < pages; ++page) {
        pdf.BeginPage();
        // Every other page in millimetres: the bars come out the same size.
        const bool mm = page % 2 == 1;
        pdf.SetScale(mm ? 2 : 0);
        const float unit = mm ? 72 / 25.4f : 1;
        for (int row = 0; row < perPage; ++row) {
            std::string code;
            const int kind = static_cast<int>(random() % 4);
            const int length = 1 + static_cast<int>(random() % 14);
            for (int c = 0; c < length; ++c) {
                if (kind == 0)       // digits only: set C, with set B for an odd tail
                    code += static_cast<char>('0' + random() % 10);
                else if (kind == 1)  // any printable character
                    code += static_cast<char>(32 + random() % 95);
                else                 // runs of digits inside letters
                    code += (random() % 3 != 0) ? static_cast<char>('0' + random() % 10)
                                                : static_cast<char>('A' + random() % 26);
            }
            if (code.front() == ' ' || code.back() == ' ')
                code = "x" + code + "x";  // zbar prints what it read; blanks at the ends stay visible
            const float zoom = 0.8f + static_cast<float>(random() % 5) / 10;
            const float width = pdf.DrawBarCode(4, code, 30 / unit, (40 + row * 78.0f) / unit, row % 2 == 0, zoom,
                                                48 / unit, false);
            ASSERT_GT(width, 0) << code;
            drawn.push_back(code);
        }
    }
    pdf.EndDoc();
    ExpectReadersAccept(path);

    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(BarcodesReadByZbar(path, pages, dir.File("page-"), "--raw -Sdisable -Scode128.enable"), drawn);
}
