// Numbers, strings and resource lists as they are written into files, whatever the
// machine's locale, and the text helpers behind them.

#include "pdf/ErrorRaised.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/ResourceEntries.h"
#include "pdf/core/TavloError.h"
#include "pdf/core/TextReplace.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <locale>

using namespace tavlo;

namespace {

struct CommaDecimals : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

} // namespace

// Three decimals at most, seven significant digits, half away from zero, no "-0"; the
// same under the C locale, a decimal-comma one and the Italian one.
TEST(PdfNumber, ThreeDecimalsWithAFullStopInEveryLocale)
{
    const std::pair<double, const char*> numbers[] = {
        {12, "12"},          {0.5, "0.5"},           {595.2756, "595.276"},  {0.0004, "0"},
        {-0.0004, "0"},      {0.0005, "0.001"},      {-0.0005, "-0.001"},    {-1.25, "-1.25"},
        {841.89, "841.89"},  {12345.678, "12345.68"}, {25000000, "25000000"}, {-1e-9, "0"}};
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    for (int locale = 0; locale < 3; ++locale) {
        if (locale == 1)
            std::locale::global(std::locale(std::locale::classic(), new CommaDecimals));
        if (locale == 2) {
            ASSERT_TRUE(std::setlocale(LC_ALL, "it_IT.UTF-8")) << "it_IT.UTF-8 not installed";
            std::locale::global(std::locale("it_IT.UTF-8"));
        }
        for (const auto& [value, text] : numbers)
            EXPECT_EQ(PdfNumber(value), text) << value << " locale " << locale;
        EXPECT_EQ(PdfScaledNumber(3, 2.5), "7.5");
        EXPECT_EQ(PdfColorComponent(128), "0.502");
        EXPECT_EQ(PdfColorComponent(255), "1");
        EXPECT_EQ(PdfBoolean(false), "false");
    }
    std::locale::global(std::locale::classic());
    std::setlocale(LC_ALL, saved.c_str());
    for (const auto& [value, rounded] : std::vector<std::pair<double, float>>{
             {1.23456, 1.235f}, {-1.2345, -1.235f}, {0.0005, 0.001f}, {0.0004, 0},
             {20000.0007, 20000}})  // single precision: 20000.0007 is 20000 before rounding
        EXPECT_FLOAT_EQ(Round3(value), rounded) << value;
    for (double value : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN(), 1e39, -1e300})
        EXPECT_EQ(test::ErrorRaised([&] { (void)PdfNumber(value); }), ErrorCode::Overflow) << value;
    EXPECT_THROW(PdfScaledNumber(1e30, 1e30), TavloError);
}

TEST(PdfStrings, EscapesReplacementsSplitsAndUniqueEntries)
{
    const std::pair<std::string, std::string> escapes[] = {
        {"a(b)\\", "a\\(b\\)\\\\"}, {"x\r\ny", "x\\r\\ny"}, {"\\(", "\\\\\\("},
        {std::string("\0\xFF", 2), std::string("\0\xFF", 2)}, {"", ""}};  // other bytes raw
    for (const auto& [text, escaped] : escapes)
        EXPECT_EQ(EscapeString(text), escaped);
    const int all = 2147483647;
    // Every occurrence, replacements not scanned again, no overlaps, letter case kept.
    const std::tuple<std::string, std::string, std::string, int, int, std::string> replaces[] = {
        {"1,5", ",", ".", 1, all, "1.5"},           {"a(b(c", "(", "\\(", 1, all, "a\\(b\\(c"},
        {"\\\\\\", "\\", "\\\\", 1, all, "\\\\\\\\\\\\"}, {"aaaa", "aa", "b", 1, all, "bb"},
        {"abc", "", "x", 1, all, "abc"},            {"a-b-c", "-", "", 1, all, "abc"},
        {"Aa", "a", "x", 1, all, "Ax"},             {"a.a.a", ".", ",", 3, all, "a.a,a"},
        {"a.a.a", ".", ",", 1, 1, "a,a.a"},        {"a.a", ".", ",", 10, all, "a.a"}};
    for (const auto& [text, find, with, start, count, result] : replaces)
        EXPECT_EQ(ReplaceText(text, find, with, start, count), result) << text;
    using V = std::vector<std::string>;
    const std::tuple<std::string, std::string, V> splits[] = {
        {"a;b;;c", ";", {"a", "b", "", "c"}}, {"abc", ";", {"abc"}}, {"", ";", {""}}, {";", ";", {"", ""}},
        {"abc", "", {"abc"}}, {"l1\r\nl2\r\n\r\nl4", "\r\n", {"l1", "l2", "", "l4"}}};
    for (const auto& [text, separator, parts] : splits)
        EXPECT_EQ(SplitText(text, separator), parts) << text;
    // Resource lists: the latest definition of a name kept in its place.
    const std::pair<std::string, std::string> entries[] = {
        {"", ""},
        {"/Arial 4 0 R /Arial,Bold 5 0 R ", "/Arial 4 0 R /Arial,Bold 5 0 R "},
        {"/Logo 7 0 R \r/Piede 9 0 R \r/Logo 12 0 R \r", "/Piede 9 0 R \r/Logo 12 0 R \r"},
        {"/ 4 0 R / 5 0 R /A 6 0 R ", "/ 5 0 R \r/A 6 0 R \r"}};
    for (const auto& [list, unique] : entries)
        EXPECT_EQ(UniqueEntries(list), unique);
}
