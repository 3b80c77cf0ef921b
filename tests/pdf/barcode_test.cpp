// Code 128 and EAN: the Code 128 module table against the symbology's own structure rules,
// EAN check digits against Python's, and many random texts and numbers in one document
// rendered by poppler and read back by zbar, whose reading also verifies every check
// character. The worked examples, sizes and refusals are in scripts/barcodes.txt.

#include "pdf/error_raised.h"
#include "pdf/draw/Code128Symbols.h"
#include "pdf/draw/EanSymbols.h"
#include "support/pdf/barcodes.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <vector>

using namespace tavlo;
using namespace tavlo::test;

TEST(Code128Modules, TableFollowsTheSymbologyStructure)
{
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
}

namespace {

std::string RandomDigits(std::mt19937& random, int length)
{
    std::string digits;
    for (int k = 0; k < length; ++k)
        digits += static_cast<char>('0' + random() % 10);
    return digits;
}

// A random Code 128 text: digits only (set C, with set B for an odd tail), any printable
// character, or runs of digits inside letters.
std::string RandomCode128(std::mt19937& random)
{
    std::string code;
    const int kind = static_cast<int>(random() % 4);
    const int length = 1 + static_cast<int>(random() % 14);
    for (int c = 0; c < length; ++c) {
        if (kind == 0)
            code += static_cast<char>('0' + random() % 10);
        else if (kind == 1)
            code += static_cast<char>(32 + random() % 95);
        else
            code += (random() % 3 != 0) ? static_cast<char>('0' + random() % 10) : static_cast<char>('A' + random() % 26);
    }
    // zbar prints what it read; blanks at the ends stay visible.
    return code.front() == ' ' || code.back() == ' ' ? "x" + code + "x" : code;
}

// The full numbers, check digit appended, as an independent program computes them.
std::vector<std::string> WithPythonCheckDigits(const std::vector<std::string>& numbers)
{
    if (numbers.empty())
        return {};
    std::string list;
    for (const std::string& n : numbers)
        list += n + " ";
    const std::string program = "import sys\n"
                                "for n in sys.argv[1:]:\n"
                                "    w = [3 if (len(n) - i) % 2 == 1 else 1 for i in range(len(n))]\n"
                                "    s = sum(int(c) * k for c, k in zip(n, w))\n"
                                "    print(n + str((10 - s % 10) % 10))\n";
    std::istringstream in(RunTool("/usr/bin/python3 -c " + Quote(program) + " " + list).output);
    std::vector<std::string> full;
    for (std::string line; std::getline(in, line);)
        full.push_back(line);
    return full;
}

} // namespace

TEST(EanSymbols, CheckDigitsMatchPython)
{
    std::mt19937 random(13);
    for (int length : {12, 7}) {
        std::vector<std::string> numbers;
        for (int n = 0; n < 200; ++n)
            numbers.push_back(RandomDigits(random, length));
        const std::vector<std::string> expected = WithPythonCheckDigits(numbers);
        ASSERT_EQ(expected.size(), numbers.size());
        for (std::size_t n = 0; n < numbers.size(); ++n)
            EXPECT_EQ(MakeEanSymbol(numbers[n], static_cast<std::size_t>(length)).digits, expected[n]);
    }
}

// Ten pages of Code 128 rows, then four of EAN-13 and EAN-8 side by side; every other page
// in millimetres, where the bars come out the same size.
TEST(BarcodeReading, RandomSymbolsReadBackByZbar)
{
    std::mt19937 random(128);
    const std::string path = TempPath("codes.pdf");
    Tavlo pdf;
    pdf.BeginDoc(path);
    std::vector<std::string> expected;
    const int code128Pages = 10, pages = code128Pages + 4;
    for (int page = 0; page < pages; ++page) {
        pdf.BeginPage();
        const bool mm = page % 2 == 1;
        pdf.SetScale(mm ? 2 : 0);
        const float unit = mm ? 72 / 25.4f : 1;
        std::vector<std::string> long13, short8;
        for (int row = 0; row < (page < code128Pages ? 10 : 6); ++row) {
            const float zoom = 0.8f + static_cast<float>(random() % 5) / 10;
            if (page < code128Pages) {
                const std::string code = RandomCode128(random);
                ASSERT_GT(pdf.DrawBarCode(4, code, 30 / unit, (40 + row * 78.0f) / unit, row % 2 == 0, zoom, 48 / unit,
                                          false),
                          0)
                    << code;
                expected.push_back("CODE-128:" + code);
                continue;
            }
            long13.push_back(RandomDigits(random, 12));
            short8.push_back(RandomDigits(random, 7));
            const float y = (40 + row * 130.0f) / unit;
            pdf.DrawBarCode(0, long13.back(), 20 / unit, y, row % 2 == 0, zoom, 0, false);
            pdf.DrawBarCode(5, short8.back(), 330 / unit, y, row % 2 == 1, zoom, 0, false);
        }
        for (const std::string& n : WithPythonCheckDigits(long13))
            expected.push_back("EAN-13:" + n);
        for (const std::string& n : WithPythonCheckDigits(short8))
            expected.push_back("EAN-8:" + n);
    }
    pdf.EndDoc();
    ExpectReadersAccept(path);

    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(BarcodesReadByZbar(path, pages, "-Sdisable -Scode128.enable -Sean13.enable -Sean8.enable"), expected);
}
