// Text measurement: widths of random texts checked against the URW fonts' AFM files (read by
// text_widths.py) and text advances as mupdf places the characters (the operators and the
// worked examples: scripts/text_state.txt).

#include "pdf/tavlo_test_peer.h"
#include "pdf/core/PdfFormat.h"
#include "support/pdf/text_boxes.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

using namespace tavlo;
using namespace tavlo::test;

TEST(TextMeasure, WidthsOfRandomTextsMatchTheAfmFiles)
{
    const std::pair<const char*, int> faces[] = {{"Arial", 0},       {"Helvetica", 1},     {"Arial", 2},
                                                 {"Arial", 3},       {"Times New Roman", 0}, {"Times", 1},
                                                 {"TimesNewRoman", 2}, {"Times", 3},       {"Courier New", 0},
                                                 {"Courier", 3}};
    const char* afm[] = {"NimbusSans-Regular", "NimbusSans-Bold",      "NimbusSans-Italic", "NimbusSans-BoldItalic",
                         "NimbusRoman-Regular", "NimbusRoman-Bold",    "NimbusRoman-Italic", "NimbusRoman-BoldItalic",
                         "NimbusMonoPS-Regular", "NimbusMonoPS-BoldItalic"};
    // Every byte a text font defines, but the euro, macron, plus-minus, micro and division
    // signs, where the writer's own width tables differ from the URW ones.
    std::string alphabet;
    for (int c = 32; c < 256; ++c)
        if (c != 127 && c != 128 && c != 129 && c != 141 && c != 143 && c != 144 && c != 157 && c != 175 &&
            c != 177 && c != 181 && c != 247)
            alphabet += static_cast<char>(c);
    ScratchDir dir;
    std::ostringstream cases;
    cases.precision(9);
    std::vector<float> ours;
    Tavlo pdf;
    WriteDocument(pdf, "afm.pdf", [&](Tavlo& p) {
        p.BeginPage();
        std::mt19937 random(20261206);
        std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
        std::uniform_int_distribution<int> length(0, 80), unit(0, 3), coin(0, 3);
        std::uniform_real_distribution<float> spacing(-2, 5), scaling(10, 250), size(4, 40);
        static const double scales[] = {1, 72, 72 / 25.4, 72 / 2.54};
        for (std::size_t face = 0; face < std::size(faces); ++face)
            for (int round = 0; round < 40; ++round) {
                const float fontSize = size(random), tc = spacing(random), tw = spacing(random), tz = scaling(random);
                const int u = unit(random);
                p.SetScale(u, 1);
                p.SetFont(faces[face].first, fontSize, faces[face].second, 0);
                p.SetCharSpacing(tc);
                p.SetWordSpacing(tw);
                p.SetTextHorizontalScaling(tz);
                std::string text;
                for (int n = length(random); n > 0; --n)
                    text += coin(random) == 0 ? ' ' : alphabet[pick(random)];
                ours.push_back(p.TextLength(text));
                cases << afm[face] << ' ' << fontSize << ' ' << tc << ' ' << tw << ' ' << tz << ' ' << scales[u] << ' '
                      << (text.empty() ? "-" : Hex(BytesOf(text))) << '\n';
            }
    });
    WriteFile(dir.File("cases.txt"), cases.str());
    std::istringstream expected(
        RunTool("/usr/bin/python3 " QUERCINO_SOURCE_DIR "/tests/pdf/text_widths.py " + Quote(dir.File("cases.txt"))).output);
    std::size_t n = 0;
    for (double width; expected >> width; ++n)
        EXPECT_NEAR(ours.at(n), width, 1e-4 + std::abs(width) * 1e-6) << "case " << n;
    EXPECT_EQ(n, ours.size());
}

// mupdf places each character at its origin: the marker shown right after a text starts
// where the text's advance, spacings and scaling included, ends.
TEST(TextMeasure, AdvanceMatchesMupdfCharacterOrigins)
{
    std::vector<double> expected;
    const std::string path = WriteDocument("advance.pdf", [&](Tavlo& pdf) {
                                 TavloTestPeer peer(pdf);
                                 std::mt19937 random(7);
                                 std::uniform_int_distribution<int> printable(32, 126), length(1, 30), face(0, 2),
                                     unit(0, 2);
                                 std::uniform_real_distribution<float> spacing(-1, 4), scaling(40, 200), size(6, 24);
                                 // Values of two decimals, which the operators carry exactly.
                                 const auto hundredths = [&](std::uniform_real_distribution<float>& d) {
                                     return std::round(d(random) * 100) / 100;
                                 };
                                 static const char* const families[] = {"Arial", "Times", "Courier"};
                                 for (int page = 0; page < 12; ++page) {
                                     pdf.BeginPage();
                                     pdf.SetScale(unit(random), 1);
                                     const float fontSize = hundredths(size);
                                     pdf.SetFont(families[face(random)], fontSize, page % 4, 0);
                                     pdf.SetCharSpacing(hundredths(spacing));
                                     pdf.SetWordSpacing(hundredths(spacing));
                                     pdf.SetTextHorizontalScaling(hundredths(scaling));
                                     std::string text;
                                     for (int n = length(random); n > 0; --n) {
                                         const int c = printable(random);
                                         text += static_cast<char>(c == '|' ? ' ' : c);
                                     }
                                     expected.push_back(pdf.TextLength(text) * peer.State().Scale);
                                     // Upright text from x = 50 points, then the marker.
                                     peer.PutContent("BT /" + peer.State().doc.FontResource + " " +
                                                     PdfNumber(fontSize) + " Tf 1 0 0 -1 50 100 Tm (" +
                                                     EscapeString(text) + ") Tj (|) Tj ET");
                                 }
                             }).path;
    for (std::size_t page = 0; page < expected.size(); ++page) {
        const auto chars = MupdfCharacters(path, static_cast<int>(page + 1));
        ASSERT_FALSE(chars.empty());
        EXPECT_EQ(chars.back().text, "|");
        EXPECT_NEAR(chars.back().left - 50, expected[page], 1e-3) << "page " << page + 1;
    }
}
