// EAN-13 and EAN-8: check digits against Python's, the worked examples, the module layout
// against the symbology's number sets, bar heights around the digit band, and random
// numbers rendered by poppler and read back by zbar, which also verifies the check digit.

#include "pdf/BarcodeReading.h"
#include "pdf/PdfCheck.h"
#include "pdf/TavloTestPeer.h"
#include "pdf/draw/EanSymbols.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
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
    if (!ToolAvailable("/usr/bin/python3"))
        FAIL() << "python3 missing";
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

class EanPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.File("ean.pdf");
        pdf.BeginDoc(path);
        pdf.BeginPage();
    }
    // Heights of the rectangles one call draws: guards first, then data bars.
    std::vector<std::string> Rectangles(std::int32_t type, bool show, float height, float zoom = 1)
    {
        TavloTestPeer peer(pdf);
        const std::size_t before = peer.State().PageContent.Text().size();
        pdf.DrawBarCode(type, "590123412345", 0, 0, show, zoom, height, false);
        std::vector<std::string> rects;
        for (const std::string& line : Lines(peer.State().PageContent.Text().substr(before), '\r'))
            if (line.find(" re f*") != std::string::npos)
                rects.push_back(line);
        return rects;
    }
    ScratchDir dir;
    std::string path;
    Tavlo pdf;
};

TEST_F(EanPage, WidthsGuardsAndHeights)
{
    EXPECT_NEAR(pdf.DrawBarCode(0, "590123412345", 0, 0, false, 1, 0, false), 105.768, 1e-3);
    EXPECT_NEAR(pdf.DrawBarCode(5, "9638507", 0, 0, false, 1, 0, false), 79.56, 1e-3);
    EXPECT_NEAR(pdf.DrawBarCode(0, "", 0, 0, false, 0.5, 0, false), 113 * 0.936 * 0.8, 1e-3);
    EXPECT_NEAR(pdf.DrawBarCode(5, "", 0, 0, false, 3, 0, false), 85 * 0.936 * 2, 1e-3);

    // Guards at 11, 13, 57, 59, 103 and 105 modules, one module wide.
    std::vector<std::string> r = Rectangles(0, true, 0);
    ASSERT_GT(r.size(), 6u);
    const double expectedGuards[] = {11, 13, 57, 59, 103, 105};
    for (int g = 0; g < 6; ++g) {
        EXPECT_NEAR(std::stod(r[static_cast<std::size_t>(g)]), expectedGuards[g] * 0.936, 1e-3);
        EXPECT_NE(r[static_cast<std::size_t>(g)].find(" 0.936 69.48 re f*"), std::string::npos) << r[g];  // 64.8 + 4.68
    }
    EXPECT_NE(r[6].find(" 64.8 re f*"), std::string::npos) << r[6];
    r = Rectangles(0, true, 50);
    EXPECT_NE(r[0].find(" 50 re f*"), std::string::npos) << r[0];
    EXPECT_NE(r[6].find(" 45.32 re f*"), std::string::npos) << r[6];
    r = Rectangles(0, true, 4);
    EXPECT_NE(r[0].find(" 5.616 re f*"), std::string::npos) << r[0];
    EXPECT_NE(r[6].find(" 0.936 re f*"), std::string::npos) << r[6];
    r = Rectangles(5, false, 0);
    EXPECT_NEAR(std::stod(r[2]), 43 * 0.936, 1e-3);
    EXPECT_NE(r[0].find(" 48.96 re f*"), std::string::npos) << r[0];
    EXPECT_NE(r[6].find(" 48.96 re f*"), std::string::npos) << r[6];
}

TEST_F(EanPage, DigitsPrintedUnderTheHalvesAndFontRestored)
{
    pdf.SetFont("Arial", 9, 0, 0);
    pdf.DrawBarCode(0, "59012341234X", 50, 50, true, 1, 0, false);
    pdf.DrawBarCode(5, "9638507", 50, 200, true, 1, 0, false);
    TavloTestPeer peer(pdf);
    EXPECT_EQ(peer.State().doc.FontName, "Arial");
    pdf.EndDoc();
    ExpectReadersAccept(path);
    if (!ToolAvailable("pdftotext"))
        FAIL() << "poppler missing";
    const std::string text = RunTool("pdftotext -raw " + Quote(path) + " -").output;
    EXPECT_NE(text.find("5 901234 1234X2"), std::string::npos) << text;
    EXPECT_NE(text.find("9638 5074"), std::string::npos) << text;
}

TEST(EanReading, RandomNumbersReadBackByZbar)
{
    if (!ReadersAvailable() || !ToolAvailable("zbarimg") || !ToolAvailable("/usr/bin/python3"))
        FAIL() << "poppler, zbar or python3 missing";
    std::mt19937 random(8);
    ScratchDir dir;
    const std::string path = dir.File("ean.pdf");
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
    EXPECT_EQ(BarcodesReadByZbar(path, pages, dir.File("page-"), "-Sdisable -Sean13.enable -Sean8.enable"), expected);
}
