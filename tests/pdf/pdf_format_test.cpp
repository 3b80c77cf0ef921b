// Numbers and strings as they are written into files, whatever the machine's locale.

#include "pdf/ErrorRaised.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloError.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <locale>

using namespace tavlo;

namespace {

void ExpectNumbers()
{
    EXPECT_EQ(PdfNumber(12), "12");
    EXPECT_EQ(PdfNumber(0.5), "0.5");
    EXPECT_EQ(PdfNumber(595.2756), "595.276");
    EXPECT_EQ(PdfNumber(0.0004), "0");
    EXPECT_EQ(PdfNumber(-0.0004), "0");
    EXPECT_EQ(PdfNumber(0.0005), "0.001");   // half away from zero
    EXPECT_EQ(PdfNumber(-0.0005), "-0.001");
    EXPECT_EQ(PdfNumber(-1.25), "-1.25");
    EXPECT_EQ(PdfNumber(841.89), "841.89");
    EXPECT_EQ(PdfNumber(12345.678), "12345.68");  // seven significant digits
    EXPECT_EQ(PdfNumber(25000000), "25000000");
    EXPECT_EQ(PdfScaledNumber(3, 2.5), "7.5");
    EXPECT_EQ(PdfColorComponent(0), "0");
    EXPECT_EQ(PdfColorComponent(255), "1");
    EXPECT_EQ(PdfColorComponent(128), "0.502");
    EXPECT_EQ(PdfBoolean(true), "true");
    EXPECT_EQ(PdfBoolean(false), "false");
}

struct CommaDecimals : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

} // namespace

TEST(PdfNumber, ThreeDecimalsWithAFullStop)
{
    ExpectNumbers();
    EXPECT_FLOAT_EQ(Round3(1.23456), 1.235f);
    EXPECT_FLOAT_EQ(Round3(-1.23456), -1.235f);
    EXPECT_EQ(Round3(1.2345), 1.235f);
    EXPECT_EQ(Round3(-1.2345), -1.235f);
    EXPECT_EQ(Round3(0.0005), 0.001f);
    EXPECT_EQ(Round3(0.0004), 0.0f);
    // A single-precision value: 20000.0007 is 20000 before it is rounded.
    EXPECT_EQ(Round3(20000.0007), 20000.0f);
}

TEST(PdfNumber, ValuesNoReaderTakesRaiseTheOverflowError)
{
    for (double value : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN(), 1e39, -1e300}) {
        EXPECT_EQ(test::ErrorRaised([&] { (void)PdfNumber(value); }), ErrorCode::Overflow) << value;
    }
    EXPECT_THROW(PdfScaledNumber(1e30, 1e30), TavloError);
    EXPECT_EQ(PdfNumber(-1e-9), "0");  // no "-0"
}

TEST(PdfNumber, DecimalCommaLocaleChangesNothing)
{
    std::locale::global(std::locale(std::locale::classic(), new CommaDecimals));
    ExpectNumbers();
    std::locale::global(std::locale::classic());
}

TEST(PdfNumber, ItalianLocaleChangesNothing)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "it_IT.UTF-8"))
        FAIL() << "it_IT.UTF-8 not installed";
    try {
        std::locale::global(std::locale("it_IT.UTF-8"));
    } catch (...) {
    }
    ExpectNumbers();
    std::locale::global(std::locale::classic());
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(EscapeString, ParenthesesBackslashesAndLineEnds)
{
    EXPECT_EQ(EscapeString("a(b)\\"), "a\\(b\\)\\\\");
    EXPECT_EQ(EscapeString("x\r\ny"), "x\\r\\ny");
    EXPECT_EQ(EscapeString("\\("), "\\\\\\(");
    EXPECT_EQ(EscapeString(std::string("\0\xFF", 2)), std::string("\0\xFF", 2));  // other bytes raw
    EXPECT_EQ(EscapeString(""), "");
}
