// Code 128 barcodes: the symbol values of the worked examples, the module table against
// the symbology's own structure rules, sizes and refusals in the page content, and many
// random texts in both code sets rendered by poppler and read back by zbar, whose reading
// also verifies every check symbol.

#include "pdf/ErrorRaised.h"
#include "pdf/draw/Code128Symbols.h"
#include "support/pdf/barcodes.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/text_boxes.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace tavlo;
using namespace tavlo::test;

TEST(Code128Values, WorkedExamplesChooseSetsAndCheckSymbols)
{
    // Check symbols worked by hand: (start + sum of position × value) mod 103; nothing for
    // what set B cannot carry.
    const std::pair<std::string, std::vector<int>> cases[] = {
        {"ABC", {104, 33, 34, 35, 1, 106}},
        {"1234", {105, 12, 34, 82, 106}},
        {"123", {104, 17, 18, 19, 8, 106}},                 // 104 + 17 + 36 + 57 = 214 -> 8
        {"12345", {105, 12, 34, 100, 21, 54, 106}},         // 105 + 12 + 68 + 300 + 4·21 = 569 -> 54
        {"A1234", {104, 33, 99, 12, 34, 95, 106}},          // 104 + 33 + 198 + 36 + 136 = 507 -> 95
        {"A12345", {104, 33, 17, 99, 23, 45, 64, 106}},     // 104 + 33 + 34 + 297 + 92 + 225 = 785 -> 64
        {" ~", {104, 0, 94, 86, 106}},                      // 104 + 0 + 188 = 292 -> 86
        {"", {}}, {"AB\tC", {}}, {"A\xC6", {}}, {"\x7F", {}}, {"caf\xE9", {}}};
    for (const auto& [text, values] : cases)
        EXPECT_EQ(Code128Values(text), values) << text;
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

namespace {

// The rectangles of one page.
std::vector<std::string> Bars(const QpdfDocument& q, int page)
{
    return LinesOf(Operations(q.PageContent(page)), {"re"});
}

} // namespace

// Widths in modules of 0.72 points whatever the unit, zoom clamped to 0.8 ... 2, three bars
// a symbol and four in the stop, each one rectangle as wide as its modules, heights after
// the caption's band; refusals draw nothing and keep the font.
TEST(Code128Drawing, BarsWidthsAndRefusals)
{
    std::vector<float> widths;
    float before = 0, after = 0;
    const QpdfDocument q(WriteDocument("bars.pdf", [&](Tavlo& pdf) {
                             auto draw = [&](const std::string& code, bool show, float zoom, float height) {
                                 widths.push_back(pdf.DrawBarCode(4, code, 0, 20, show, zoom, height, false));
                             };
                             pdf.BeginPage();
                             draw("ABC", false, 1, 0);
                             pdf.BeginPage();
                             draw("1234", false, 1, 0);
                             draw("12345", false, 1, 0);
                             draw("ABC", false, 0.5f, 0);
                             draw("ABC", false, 3, 0);
                             pdf.SetScale(2);
                             draw("ABC", false, 1, 0);
                             pdf.SetScale(0);
                             pdf.BeginPage();
                             for (const auto& [show, height] : std::vector<std::pair<bool, float>>{
                                      {true, 0}, {true, 30}, {false, 30}, {true, 4}})
                                 draw("A", show, 1, height);
                             pdf.BeginPage();
                             pdf.SetFont("Arial", 12, 0, 0);
                             before = pdf.TextLength("prova");
                             for (const bool show : {false, true})
                                 for (const auto& [type, code] : std::vector<std::pair<int, std::string>>{
                                          {4, ""}, {4, "AB\tC"}, {4, "\xC6"}, {6, "ABC"}, {-1, "ABC"}})
                                     EXPECT_EQ(pdf.DrawBarCode(type, code, 10, 10, show, 1, 0, false), 0.0f) << code;
                             // Too long for the 16-bit weighted sum: the overflow error.
                             EXPECT_EQ(ErrorRaised([&] { pdf.DrawBarCode(4, std::string(400, 'z'), 0, 0, true, 1, 0, false); }),
                                       ErrorCode::Overflow);
                             after = pdf.TextLength("prova");
                         }).path);
    const double m = 0.72;
    const std::vector<double> expected = {87 * m, 76 * m, (19 + 11 * 6 + 13) * m, 87 * m * 0.8, 87 * m * 2,
                                          87 * m * 25.4 / 72};
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(widths[i], expected[i], 1e-3) << i;
    const auto abc = Bars(q, 1);
    ASSERT_EQ(abc.size(), 5u * 3 + 4);
    // The bars are drawn in a graphics state of their own.
    const auto saved = LinesOf(Operations(q.PageContent(1)), {"q", "re", "Q"});
    EXPECT_EQ(saved.front(), "q");
    EXPECT_EQ(saved.back(), "Q");
    double dark = 0, modules = 0;
    for (const std::string& bar : abc)
        dark += std::stod(bar.substr(bar.find(' ', bar.find(' ') + 1)));
    for (int v : {104, 33, 34, 35, 1, 106})
        modules += static_cast<double>(std::count(Code128Modules(v).begin(), Code128Modules(v).end(), '1'));
    EXPECT_NEAR(dark, modules * m, 1e-3);
    // START B begins with a bar of two modules after a quiet zone of ten, 14.4 points high;
    // the stop's final two-module bar ends nine modules before the right edge: 87 − 9 − 2.
    EXPECT_EQ(abc.front(), "7.2 20 1.44 14.4 re");
    EXPECT_EQ(abc.back(), "54.72 20 1.44 14.4 re");
    // Heights: the default one with the band not taken off, 30 − 4.68, 30, one module at or
    // below the band.
    std::vector<std::string> firsts;
    for (const std::string& bar : Bars(q, 3))
        if (bar.rfind("7.2 20 1.44 ", 0) == 0)
            firsts.push_back(bar.substr(12));
    EXPECT_EQ(firsts, (std::vector<std::string>{"14.4 re", "25.32 re", "30 re", "0.72 re"}));
    EXPECT_TRUE(Bars(q, 4).empty());
    EXPECT_EQ(after, before);
}

TEST(Code128Drawing, CaptionCentredUnderTheBarsInCourierAndFontRestored)
{
    float width = 0, before = 0, after = 0;
    const std::string path = WriteDocument("caption.pdf", [&](Tavlo& pdf) {
                                 pdf.BeginPage();
                                 pdf.SetFont("Times", 14, 1, 0);
                                 before = pdf.TextLength("prova");
                                 width = pdf.DrawBarCode(4, "HELLO-42", 100, 100, true, 1.5, 0, false);
                                 after = pdf.TextLength("prova");
                             }).path;
    EXPECT_EQ(after, before);
    const auto words = PopplerWords(path);
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0].text, "HELLO-42");
    EXPECT_NEAR((words[0].left + words[0].right) / 2, 100 + width / 2, 0.5);
    EXPECT_NEAR(words[0].right - words[0].left, 8 * 0.6 * 10.08 * 1.5, 0.5);  // eight Courier characters
    // Below the bars (14.4 × 1.5 high from y 100), above the baseline 1.6 bands further.
    EXPECT_GT(words[0].top, 100 + 21.6 - 1);
    EXPECT_NE(FontsListed(path).find("Courier"), std::string::npos);
}

TEST(Code128Reading, RandomTextsReadBackByZbar)
{
    std::mt19937 random(128);
    const std::string path = TempPath("codes.pdf");
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
    EXPECT_EQ(BarcodesReadByZbar(path, pages, "--raw -Sdisable -Scode128.enable"), drawn);
}
