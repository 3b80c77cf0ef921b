// Text state and measurement: the operators written and the values kept across a page,
// widths checked against the URW fonts' AFM files (read by Python, the glyph of each
// Windows-1252 byte named by Python's codec and fontTools' Adobe glyph list) and text advances
// as mupdf places the characters.

#include "pdf/ErrorRaised.h"
#include "pdf/TavloTestPeer.h"
#include "pdf/core/PdfFormat.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/text_boxes.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <sstream>

using namespace tavlo;
using namespace tavlo::test;

TEST(TextState, OperatorsWrittenAndValuesKept)
{
    float kept = 0, fresh = 0;
    const std::string path = WriteDocument("state.pdf", [&](Tavlo& pdf) {
                                 pdf.BeginPage();
                                 pdf.SetFont("Arial", 10, 0, 0);
                                 pdf.SetScale(2, 0);  // millimetres: the spacings stay points all the same
                                 pdf.SetCharSpacing(1.5f);
                                 pdf.SetWordSpacing(-0.25f);
                                 pdf.SetTextHorizontalScaling(80);
                                 for (const int mode : {1, 7, 0, 8, -1, 32767})  // modes no reader defines are left out
                                     pdf.SetTextMode(mode);
                                 EXPECT_EQ(ErrorRaised([&] { pdf.SetTextMode(32768); }), ErrorCode::Overflow);
                                 EXPECT_EQ(ErrorRaised([&] { pdf.SetTextMode(-32769); }), ErrorCode::Overflow);
                                 // A value no reader takes raises before anything changes.
                                 kept = pdf.TextLength("a b");
                                 const float inf = std::numeric_limits<float>::infinity();
                                 for (auto call : std::vector<std::function<void()>>{
                                          [&] { pdf.SetCharSpacing(inf); },
                                          [&] { pdf.SetWordSpacing(std::numeric_limits<float>::quiet_NaN()); },
                                          [&] { pdf.SetTextHorizontalScaling(-inf); }})
                                     EXPECT_EQ(ErrorRaised(call), ErrorCode::Overflow);
                                 EXPECT_EQ(pdf.TextLength("a b"), kept);
                                 // Every new page starts from the defaults.
                                 pdf.BeginPage();
                                 fresh = pdf.TextLength("a b");
                             }).path;
    EXPECT_NEAR(kept, (13.9 + 1.5 * 3 - 0.25) * 0.8 / (72 / 25.4), 1e-5);
    EXPECT_NEAR(fresh, 13.9 / (72 / 25.4), 1e-5);
    const QpdfDocument q(path);
    EXPECT_EQ(LinesOf(Operations(q.PageContent(1)), {"Tc", "Tw", "Tz", "Tr"}),
              (std::vector<std::string>{"1.5 Tc", "-0.25 Tw", "80 Tz", "1 Tr", "7 Tr", "0 Tr"}));
    EXPECT_EQ(LinesOf(Operations(q.PageContent(2)), {"Tc", "Tw", "Tz", "Tr"}), std::vector<std::string>{});
}

TEST(TextMeasure, WorkedExamples)
{
    Tavlo pdf;
    EXPECT_EQ(pdf.TextLength("a b"), 0);
    EXPECT_EQ(pdf.TextHeight(), 0);
    WriteDocument(pdf, "measure.pdf", [](Tavlo& p) {
        p.BeginPage();
        EXPECT_EQ(p.TextLength("a b"), 0);  // no font chosen
        EXPECT_EQ(p.TextHeight(), 0);
        p.SetFont("Arial", 10, 0, 0);
        EXPECT_FLOAT_EQ(p.TextLength("a b"), 13.9f);
        EXPECT_EQ(p.TextLength(""), 0);
        p.SetWordSpacing(2);
        EXPECT_FLOAT_EQ(p.TextLength("a b"), 15.9f);
        p.SetCharSpacing(1);
        EXPECT_FLOAT_EQ(p.TextLength("a b"), 18.9f);
        p.SetTextHorizontalScaling(50);
        EXPECT_FLOAT_EQ(p.TextLength("a b"), 9.45f);
        // Only code 32 is a word space: the no-break space (160) is not.
        EXPECT_FLOAT_EQ(p.TextLength("a\xA0" "b"), (13.9f + 3) / 2);
        EXPECT_FLOAT_EQ(p.TextHeight(), 12.21f);
        p.SetScale(2, 0);
        EXPECT_NEAR(p.TextHeight(), 4.307, 5e-4);
        // The longest text a caller may measure, and one character more.
        EXPECT_EQ(ErrorRaised([&] { p.TextLength(std::string(32767, 'i')); }), 0);
        EXPECT_EQ(ErrorRaised([&] { p.TextLength(std::string(32768, 'i')); }), ErrorCode::Overflow);
    });
}

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
    // signs, which keep the writer's historical widths rather than the URW ones.
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
    // The advance of a shown string: glyph widths scaled by the size, plus the character
    // spacing after every glyph and the word spacing after each byte 32, all scaled
    // horizontally, in the unit.
    WriteFile(dir.File("widths.py"), R"PY(
import sys
from fontTools import agl
folder = '/usr/share/fonts/type1/urw-base35/'
names = {0xA0: ['space'], 0xAD: ['hyphen']}
for glyph, uvs in agl.LEGACY_AGL2UV.items():
    for uv in uvs:
        names.setdefault(uv, []).append(glyph)
fonts = {}
for line in open(sys.argv[1]):
    name, size, tc, tw, tz, scale, text = line.split()
    size, tc, tw, tz, scale = map(float, (size, tc, tw, tz, scale))
    if name not in fonts:
        # "C code ; WX width ; N name ; ..." lines
        fields = (dict(f.split(None, 1) for f in l.strip().split(' ; ') if ' ' in f)
                  for l in open(folder + name + '.afm') if l.startswith('C '))
        fonts[name] = {f['N'].split()[0]: int(f['WX']) for f in fields}
    font = fonts[name]
    data = b'' if text == '-' else bytes.fromhex(text)
    glyphs = 0
    for b in data:
        glyph = next(n for n in names[ord(bytes([b]).decode('cp1252'))] if n in font)
        glyphs += font[glyph]
    print((glyphs * size / 1000 + tc * len(data) + tw * data.count(32)) * tz / 100 / scale)
)PY");
    std::istringstream expected(
        RunTool("/usr/bin/python3 " + Quote(dir.File("widths.py")) + " " + Quote(dir.File("cases.txt"))).output);
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
