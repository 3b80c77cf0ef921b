// EAN-13 and EAN-8: check digits against Python's, the worked examples, the module layout
// against the symbology's number sets, bar heights around the digit band, and random
// numbers rendered by poppler and read back by zbar, which also verifies the check digit.

#include "pdf/draw/EanSymbols.h"
#include "support/pdf/barcodes.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/text_boxes.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <tuple>
#include <vector>

using namespace tavlo;
using namespace tavlo::test;

namespace {

std::vector<std::string> Lines(const std::string& text, char separator)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line, separator);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

std::vector<std::string> RandomNumbers(std::mt19937& random, int count, int length)
{
    std::vector<std::string> numbers;
    for (int n = 0; n < count; ++n) {
        std::string digits;
        for (int k = 0; k < length; ++k)
            digits += static_cast<char>('0' + random() % 10);
        numbers.push_back(digits);
    }
    return numbers;
}

// The full numbers, check digit appended, as an independent program computes them.
std::vector<std::string> WithPythonCheckDigits(const std::vector<std::string>& numbers)
{
    std::string list;
    for (const std::string& n : numbers)
        list += n + " ";
    const std::string program =
        "import sys\n"
        "for n in sys.argv[1:]:\n"
        "    w = [3 if (len(n) - i) % 2 == 1 else 1 for i in range(len(n))]\n"
        "    s = sum(int(c) * k for c, k in zip(n, w))\n"
        "    print(n + str((10 - s % 10) % 10))\n";
    return Lines(RunTool("/usr/bin/python3 -c " + Quote(program) + " " + list).output, '\n');
}

} // namespace

TEST(EanSymbols, WorkedExamples)
{
    EXPECT_EQ(MakeEanSymbol("590123412345", 12).digits, "5901234123457");
    EXPECT_EQ(MakeEanSymbol("5901234123450", 12).digits, "5901234123457");  // 13th ignored
    EXPECT_EQ(MakeEanSymbol("5901234123450999", 12).printed, "5901234123457");
    const EanSymbol x = MakeEanSymbol("59012341234X", 12);
    EXPECT_EQ(x.digits, "5901234123402");
    EXPECT_EQ(x.printed, "59012341234X2");
    EXPECT_EQ(MakeEanSymbol("9638507", 7).digits, "96385074");
    EXPECT_EQ(MakeEanSymbol("96385070", 7).digits, "96385074");
    EXPECT_EQ(MakeEanSymbol("", 12).digits, "0000000000000");
    EXPECT_EQ(MakeEanSymbol("123", 7).printed, "12300006");  // short: zeros after it; 1·3 + 2 + 3·3 = 14
}

TEST(EanSymbols, CheckDigitsMatchPython)
{
    std::mt19937 random(13);
    for (int length : {12, 7}) {
        const std::vector<std::string> numbers = RandomNumbers(random, 200, length);
        const std::vector<std::string> expected = WithPythonCheckDigits(numbers);
        ASSERT_EQ(expected.size(), numbers.size());
        for (std::size_t n = 0; n < numbers.size(); ++n)
            EXPECT_EQ(MakeEanSymbol(numbers[n], static_cast<std::size_t>(length)).digits, expected[n]);
    }
}

TEST(EanSymbols, ModulesOfAllZerosAndTheLeadingDigitParity)
{
    // Thirteen zeros: every left digit in set A (0001101), every right digit in set C (1110010).
    std::string zeros = "101";
    for (int i = 0; i < 6; ++i)
        zeros += "0001101";
    zeros += "01010";
    for (int i = 0; i < 6; ++i)
        zeros += "1110010";
    zeros += "101";
    EXPECT_EQ(MakeEanSymbol("", 12).modules, zeros);
    EXPECT_EQ(MakeEanSymbol("00000000", 7).modules.size(), 67u);
    // Leading 9 is ABBABA: the second left digit (0) in set B, 0100111.
    EXPECT_EQ(MakeEanSymbol("900000000000", 12).modules.substr(3 + 7, 7), "0100111");
}

// Widths, guards reaching into the digit band (at 11, 13, 57, 59, 103 and 105 modules, one
// module wide), data bars above it, heights given, zoom clamped; the digits printed under
// the halves and the font kept.
TEST(EanDrawing, WidthsGuardsHeightsAndDigits)
{
    std::vector<float> widths;
    float before = 0, after = 0;
    const std::string path = WriteDocument("ean.pdf", [&](Tavlo& pdf) {
                                 pdf.BeginPage();
                                 for (const auto& [type, code, zoom] : std::vector<std::tuple<int, std::string, float>>{
                                          {0, "590123412345", 1}, {5, "9638507", 1}, {0, "", 0.5f}, {5, "", 3}})
                                     widths.push_back(pdf.DrawBarCode(type, code, 0, 0, false, zoom, 0, false));
                                 for (const auto& [type, show, height] : std::vector<std::tuple<int, bool, float>>{
                                          {0, true, 0}, {0, true, 50}, {0, true, 4}, {5, false, 0}}) {
                                     pdf.BeginPage();
                                     pdf.DrawBarCode(type, "590123412345", 0, 0, show, 1, height, false);
                                 }
                                 pdf.BeginPage();
                                 pdf.SetFont("Arial", 9, 0, 0);
                                 before = pdf.TextLength("prova");
                                 pdf.DrawBarCode(0, "59012341234X", 50, 50, true, 1, 0, false);
                                 pdf.DrawBarCode(5, "9638507", 50, 200, true, 1, 0, false);
                                 after = pdf.TextLength("prova");
                             }).path;
    const std::vector<double> expected = {105.768, 79.56, 113 * 0.936 * 0.8, 85 * 0.936 * 2};
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(widths[i], expected[i], 1e-3) << i;
    const QpdfDocument q(path);
    auto bars = [&](int page) { return LinesOf(Operations(q.PageContent(page)), {"re"}); };
    const auto r = bars(2);
    ASSERT_GT(r.size(), 6u);
    const double guards[] = {11, 13, 57, 59, 103, 105};
    for (int g = 0; g < 6; ++g) {
        EXPECT_NEAR(std::stod(r[g]), guards[g] * 0.936, 1e-3);
        EXPECT_EQ(r[g].substr(r[g].find(" 0 ") + 3), "0.936 69.48 re");  // 64.8 + 4.68
    }
    // The height of the first guard and of the first data bar.
    auto heights = [&](int page, std::size_t bar) {
        const std::string line = bars(page)[bar];
        return line.substr(line.rfind(' ', line.size() - 4) + 1);
    };
    const std::tuple<int, std::size_t, const char*> cases[] = {
        {2, 6, "64.8 re"}, {3, 0, "50 re"}, {3, 6, "45.32 re"}, {4, 0, "5.616 re"}, {4, 6, "0.936 re"},
        {5, 0, "48.96 re"}, {5, 6, "48.96 re"}};
    for (const auto& [page, bar, height] : cases)
        EXPECT_EQ(heights(page, bar), height) << page << " " << bar;
    EXPECT_NEAR(std::stod(bars(5)[2]), 43 * 0.936, 1e-3);
    EXPECT_EQ(after, before);
    const std::string text = PopplerText(path, "", "-raw -f 6 -l 6");
    EXPECT_NE(text.find("5 901234 1234X2"), std::string::npos) << text;
    EXPECT_NE(text.find("9638 5074"), std::string::npos) << text;
}

TEST(EanReading, RandomNumbersReadBackByZbar)
{
    std::mt19937 random(8);
    const std::string path = TempPath("zbar.pdf");
    Tavlo pdf;
    pdf.BeginDoc(path);
    std::vector<std::string> expected;
    const int pages = 4;
    for (int page = 0; page < pages; ++page) {
        pdf.BeginPage();
        const bool mm = page % 2 == 1;
        pdf.SetScale(mm ? 2 : 0);
        const float unit = mm ? 72 / 25.4f : 1;
        const std::vector<std::string> long13 = RandomNumbers(random, 6, 12);
        const std::vector<std::string> short8 = RandomNumbers(random, 6, 7);
        for (int row = 0; row < 6; ++row) {
            const float zoom = 0.8f + static_cast<float>(random() % 5) / 10;
            const float y = (40 + row * 130.0f) / unit;
            pdf.DrawBarCode(0, long13[static_cast<std::size_t>(row)], 20 / unit, y, row % 2 == 0, zoom, 0, false);
            pdf.DrawBarCode(5, short8[static_cast<std::size_t>(row)], 330 / unit, y, row % 2 == 1, zoom, 0, false);
        }
        for (const std::string& n : WithPythonCheckDigits(long13))
            expected.push_back("EAN-13:" + n);
        for (const std::string& n : WithPythonCheckDigits(short8))
            expected.push_back("EAN-8:" + n);
    }
    pdf.EndDoc();
    ExpectReadersAccept(path);

    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(BarcodesReadByZbar(path, pages, "-Sdisable -Sean13.enable -Sean8.enable"), expected);
}
