// Code 39, Interleaved 2 of 5, EAN-13 and EAN-8 read back by zbar from poppler's painting at
// 300 dpi, POSTNET from the heights of the bars poppler paints, by the published digit code
// (full bars weigh 7, 4, 2, 1, 0; 11 is 0). A text a symbology cannot carry draws nothing;
// EAN records the refusal.

#include "support/pdf/barcodes.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/rendering.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tavlo;
using namespace tavlo::test;

namespace {

constexpr float kModule = 0.72f;
const RenderOptions k300Dpi = [] {
    RenderOptions options;
    options.dpi = 300;
    return options;
}();
constexpr double kPixel = 300 / 72.0;  // pixels a point at 300 dpi

struct Case {
    std::string text;
    bool check;
    std::string read;  // what the reader must give; empty: nothing may be drawn
};

// Each case 60 points under the one before, captions on the first five, with the width given;
// those without a reading on page 2, which must stay blank. Both pages dashed with round caps,
// which no bar may take. Returns the document and the readings expected, sorted.
std::pair<std::string, std::vector<std::string>> Draw(int type, const std::vector<Case>& cases,
                                                      const std::function<float(const Case&)>& width)
{
    std::vector<std::string> read;
    const std::string path = WriteDocument("codes.pdf", [&](Tavlo& pdf) {
                                 for (const bool valid : {true, false}) {
                                     pdf.BeginPage();
                                     pdf.SetDash("2;2", 0);
                                     pdf.SetLineStyle(32, 0);
                                     float y = 30;
                                     for (const Case& c : cases)
                                         if (c.read.empty() != valid) {
                                             EXPECT_NEAR(pdf.DrawBarCode(type, c.text, 30, y, y < 300, 1, 40, c.check),
                                                         valid ? width(c) : 0, 1e-3) << c.text;
                                             if (!valid && (type == 0 || type == 5)) {
                                                 EXPECT_EQ(pdf.ErrNumber(), 5);
                                                 EXPECT_TRUE(pdf.ErrDescription().ends_with(c.text)) << c.text;
                                             }
                                             y += 60;
                                             if (valid)
                                                 read.push_back(c.read);
                                         }
                                 }
                             }).path;
    const auto ops = Operations(QpdfDocument(path).PageContent(2));  // every barcode opens a "q"
    EXPECT_EQ(CountOf(ops, "q") + CountOf(ops, "re") + CountOf(ops, "S"), 0);
    std::sort(read.begin(), read.end());
    return {path, read};
}

} // namespace

TEST(Code39Drawing, ReadBackByZbarUnderAnyLineStyle)
{
    // zbar gives the symbols between start and stop as they are: full-ASCII pairs undecoded,
    // the check character last, worked by hand as the sum of the symbol values modulo 43.
    const std::string all = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    const std::vector<Case> cases = {
        {all, false, all},
        {all, true, all + "0"},                 // 0 + 1 + ... + 42 = 21 × 43
        {"CODE39", true, "CODE39W"},            // 12 + 24 + 13 + 14 + 3 + 9 = 75 -> 32
        {"abc*def", true, "+A+B+C/J+D+E+F-"},   // 6 × 41 + 10 + 11 + 12 + 40 + 19 + 13 + 14 + 15 = 380 -> 36
        {std::string("\0\x01\x1b!:;@[`{\x7f", 11), true, "%U$A%A/A/Z%F%V%K%W%P%TE"},
        {"", false, ""}, {"", true, ""}, {"caf\xE9", false, ""}};
    const auto [path, read] = Draw(1, cases, [](const Case& c) {
        return (16 * static_cast<float>(c.read.size() - (c.check ? 1 : 0)) + 52 + (c.check ? 17 : 0)) * kModule;
    });
    EXPECT_EQ(BarcodesReadByZbar(path, 1, "--raw -Sdisable -Scode39.enable"), read);
    // Bars are stroked lines: the start's wide bar, 2.16 points from x 41.52, runs unbroken
    // from the top of the bars to their foot (40 points less the caption's band) and no further.
    const int x = static_cast<int>(42.6 * kPixel);
    EXPECT_NEAR(DarkPixelsIn(RenderPage(path, 1, Reader::Poppler, k300Dpi), x, 100, x + 1, 300),
                (40 - 4.68) * kPixel, 2);
}

TEST(Interleaved2of5Drawing, ReadBackByZbar)
{
    // Odd counts take a leading zero; check digits worked by hand, weight 3 on the last digit.
    const std::vector<Case> cases = {
        {"1234", false, "1234"}, {"1234", true, "012348"},  // 4·3 + 3 + 2·3 + 1 = 22
        {"123", false, "0123"}, {"12345678", true, "0123456784"},  // 24 + 7 + 18 + 5 + 12 + 3 + 6 + 1 = 76
        {"9081726354", false, "9081726354"},
        {"", true, ""}, {"12A4", false, ""}, {"12 34", true, ""}, {"-12", false, ""}};
    const auto [path, read] = Draw(2, cases, [](const Case& c) {
        return (20 + 18 * static_cast<float>(c.read.size() / 2)) * kModule;
    });
    EXPECT_EQ(BarcodesReadByZbar(path, 1, "--raw -Sdisable -Si25.enable -Si25.min-length=2"), read);
}

TEST(EanDrawing, DigitsOnlyReadBackByZbar)
{
    // The check digit computed, whatever stands in its place; a non-digit or a length the
    // symbology cannot carry refused.
    const std::vector<Case> ean13 = {
        {"590123412345", false, "5901234123457"}, {"4006381333930", false, "4006381333931"},
        {"978020137962", false, "9780201379624"},
        {"97802013796A", false, ""}, {"12345", false, ""}, {"", false, ""}, {"59012341234570", false, ""}};
    const auto [path13, read13] = Draw(0, ean13, [](const Case&) { return 113 * 0.936f; });
    EXPECT_EQ(BarcodesReadByZbar(path13, 1, "--raw -Sdisable -Sean13.enable"), read13);
    const std::vector<Case> ean8 = {{"5512345", false, "55123457"}, {"96385070", false, "96385074"},
                                    {"96385X7", false, ""}, {"963850", false, ""}, {"963850741", false, ""}};
    const auto [path8, read8] = Draw(5, ean8, [](const Case&) { return 85 * 0.936f; });
    EXPECT_EQ(BarcodesReadByZbar(path8, 1, "--raw -Sdisable -Sean8.enable"), read8);
}

TEST(PostnetDrawing, HeightsReadAsThePublishedDigitCode)
{
    // ZIP, ZIP+4 with or without one separator, delivery point, each with the check digit that
    // brings the sum to a multiple of ten. In the order drawn: the readings are sorted alike.
    const std::vector<Case> cases = {
        {"12345", false, "123455"}, {"12345-6789", false, "1234567895"}, {"12345 6789", false, "1234567895"},
        {"123456789", false, "1234567895"}, {"12345678901", false, "123456789014"},
        {"1234", false, ""}, {"12345-678", false, ""}, {"1234A", false, ""}, {"123456789012", false, ""},
        {"12345--6789", false, ""}};
    const auto [path, read] = Draw(3, cases, [](const Case& c) {
        return 10 * 1.44f + (5 * static_cast<float>(c.read.size()) + 2) * 3.6f;
    });
    const Image image = RenderPage(path, 1, Reader::Poppler, k300Dpi);
    std::vector<std::string> digits;
    for (std::size_t row = 0; row < read.size(); ++row) {
        // Bar k stands at 37.2 + 3.6 k points: full above 6.3 points high (9 against 3.6), half
        // above 1.8, and none after the closing frame bar.
        const int top = static_cast<int>((30 + 60.0 * row) * kPixel), bars = 5 * int(cases[row].read.size()) + 2;
        std::string seen;
        for (int k = 0; k <= bars; ++k) {
            const int x = static_cast<int>((37.9 + 3.6 * k) * kPixel);
            const int h = DarkPixelsIn(image, x, top - 4, x + 1, top + static_cast<int>(9 * kPixel) + 4);
            seen += h > 6.3 * kPixel ? '1' : h > 1.8 * kPixel ? '0' : ' ';
        }
        EXPECT_EQ(seen.find(' '), std::size_t(bars)) << seen;
        EXPECT_EQ(seen.substr(0, 1) + seen.substr(bars - 1, 1), "11") << seen;
        digits.emplace_back();
        const int weights[] = {7, 4, 2, 1, 0};
        for (int k = 1; k + 5 < bars; k += 5) {
            int value = 0;
            for (int j = 0; j < 5; ++j)
                value += seen[k + j] == '1' ? weights[j] : 0;
            EXPECT_EQ(std::count(seen.begin() + k, seen.begin() + k + 5, '1'), 2) << seen;
            digits.back() += static_cast<char>('0' + value % 11);
        }
    }
    std::sort(digits.begin(), digits.end());
    EXPECT_EQ(digits, read);
}
