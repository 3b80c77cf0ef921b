// Text state and measurement: the operator lines written, the values kept across a page,
// widths checked against the URW fonts' AFM files (read here, with the WinAnsi glyph names
// typed here) and text advances as mupdf places the characters.

#include "pdf/ErrorRaised.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/PdfCheck.h"
#include "pdf/TavloTestPeer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <sstream>

using namespace tavlo;
using namespace tavlo::test;

namespace {

const std::string kAfmFolder = "/usr/share/fonts/type1/urw-base35/";

std::string Written(Tavlo& pdf)
{
    TavloTestPeer peer(pdf);
    const std::string text = peer.State().PageContent.Text();
    peer.State().PageContent.Reset();
    return text;
}

// WinAnsiEncoding: the glyph name of every code a text font defines.
std::map<int, std::string> WinAnsiNames()
{
    std::map<int, std::string> names;
    std::istringstream ascii(
        "space exclam quotedbl numbersign dollar percent ampersand quotesingle parenleft parenright asterisk "
        "plus comma hyphen period slash zero one two three four five six seven eight nine colon semicolon "
        "less equal greater question at A B C D E F G H I J K L M N O P Q R S T U V W X Y Z bracketleft "
        "backslash bracketright asciicircum underscore grave a b c d e f g h i j k l m n o p q r s t u v w "
        "x y z braceleft bar braceright asciitilde");
    int code = 32;
    for (std::string name; ascii >> name;)
        names[code++] = name;
    const std::map<int, std::string> high = {
        {128, "Euro"}, {130, "quotesinglbase"}, {131, "florin"}, {132, "quotedblbase"}, {133, "ellipsis"},
        {134, "dagger"}, {135, "daggerdbl"}, {136, "circumflex"}, {137, "perthousand"}, {138, "Scaron"},
        {139, "guilsinglleft"}, {140, "OE"}, {142, "Zcaron"}, {145, "quoteleft"}, {146, "quoteright"},
        {147, "quotedblleft"}, {148, "quotedblright"}, {149, "bullet"}, {150, "endash"}, {151, "emdash"},
        {152, "tilde"}, {153, "trademark"}, {154, "scaron"}, {155, "guilsinglright"}, {156, "oe"},
        {158, "zcaron"}, {159, "Ydieresis"}, {160, "space"}};
    names.insert(high.begin(), high.end());
    std::istringstream latin(
        "exclamdown cent sterling currency yen brokenbar section dieresis copyright ordfeminine guillemotleft "
        "logicalnot hyphen registered macron degree plusminus twosuperior threesuperior acute mu paragraph "
        "periodcentered cedilla onesuperior ordmasculine guillemotright onequarter onehalf threequarters "
        "questiondown Agrave Aacute Acircumflex Atilde Adieresis Aring AE Ccedilla Egrave Eacute Ecircumflex "
        "Edieresis Igrave Iacute Icircumflex Idieresis Eth Ntilde Ograve Oacute Ocircumflex Otilde Odieresis "
        "multiply Oslash Ugrave Uacute Ucircumflex Udieresis Yacute Thorn germandbls agrave aacute acircumflex "
        "atilde adieresis aring ae ccedilla egrave eacute ecircumflex edieresis igrave iacute icircumflex "
        "idieresis eth ntilde ograve oacute ocircumflex otilde odieresis divide oslash ugrave uacute ucircumflex "
        "udieresis yacute thorn ydieresis");
    code = 161;
    for (std::string name; latin >> name;)
        names[code++] = name;
    return names;
}

// Glyph name to advance width from the "C ... ; WX w ; N name ;" lines of an AFM file.
std::map<std::string, int> AfmWidths(const std::string& file)
{
    std::map<std::string, int> widths;
    std::ifstream in(kAfmFolder + file);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("C ", 0) != 0)
            continue;
        const auto wx = line.find("WX ");
        const auto n = line.find("; N ");
        if (wx == std::string::npos || n == std::string::npos)
            continue;
        std::istringstream name(line.substr(n + 4));
        std::string glyph;
        name >> glyph;
        widths[glyph] = std::stoi(line.substr(wx + 3));
    }
    return widths;
}

struct Face {
    const char* family;
    int style;
    const char* afm;
};

const Face kFaces[] = {
    {"Arial", 0, "NimbusSans-Regular.afm"},         {"Helvetica", 1, "NimbusSans-Bold.afm"},
    {"Arial", 2, "NimbusSans-Italic.afm"},          {"Arial", 3, "NimbusSans-BoldItalic.afm"},
    {"Times New Roman", 0, "NimbusRoman-Regular.afm"}, {"Times", 1, "NimbusRoman-Bold.afm"},
    {"TimesNewRoman", 2, "NimbusRoman-Italic.afm"},  {"Times", 3, "NimbusRoman-BoldItalic.afm"},
    {"Courier New", 0, "NimbusMonoPS-Regular.afm"},  {"Courier", 3, "NimbusMonoPS-BoldItalic.afm"},
};

} // namespace

TEST(TextState, OperatorsWrittenAndValuesKept)
{
    ScratchDir dir;
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    pdf.BeginDoc(dir.File("state.pdf"));
    pdf.BeginPage();
    Written(pdf);
    pdf.SetScale(2, 0);  // millimetres: the spacings stay points all the same
    pdf.SetCharSpacing(1.5f);
    pdf.SetWordSpacing(-0.25f);
    pdf.SetTextHorizontalScaling(80);
    pdf.SetTextMode(1);
    pdf.SetTextMode(7);
    pdf.SetTextMode(0);
    pdf.SetTextLineSpacing(1.5f);
    EXPECT_EQ(Written(pdf), "\r1.5 Tc\r-0.25 Tw\r80 Tz\r1 Tr\r7 Tr\r0 Tr");
    EXPECT_EQ(peer.State().CharSpacing, 1.5);
    EXPECT_EQ(peer.State().WordSpacing, -0.25);
    EXPECT_EQ(peer.State().HorizontalScaling, 80);
    EXPECT_EQ(peer.State().LineSpacing, 1.5);

    // A negative line spacing is ignored, 0 taken; modes no reader defines are left out.
    pdf.SetTextLineSpacing(-1);
    EXPECT_EQ(peer.State().LineSpacing, 1.5);
    pdf.SetTextLineSpacing(0);
    EXPECT_EQ(peer.State().LineSpacing, 0);
    pdf.SetTextMode(8);
    pdf.SetTextMode(-1);
    pdf.SetTextMode(32767);
    EXPECT_EQ(Written(pdf), "");
    EXPECT_EQ(ErrorRaised([&] { pdf.SetTextMode(32768); }), ErrorCode::Overflow);
    EXPECT_EQ(ErrorRaised([&] { pdf.SetTextMode(-32769); }), ErrorCode::Overflow);

    // A value no reader takes raises before anything changes.
    EXPECT_EQ(ErrorRaised([&] { pdf.SetCharSpacing(std::numeric_limits<float>::infinity()); }), ErrorCode::Overflow);
    EXPECT_EQ(ErrorRaised([&] { pdf.SetWordSpacing(std::numeric_limits<float>::quiet_NaN()); }), ErrorCode::Overflow);
    EXPECT_EQ(ErrorRaised([&] { pdf.SetTextHorizontalScaling(-std::numeric_limits<float>::infinity()); }),
              ErrorCode::Overflow);
    EXPECT_EQ(Written(pdf), "");
    EXPECT_EQ(peer.State().CharSpacing, 1.5);
    EXPECT_EQ(peer.State().WordSpacing, -0.25);
    EXPECT_EQ(peer.State().HorizontalScaling, 80);

    // Every new page starts from the defaults.
    pdf.EndPage();
    pdf.BeginPage();
    EXPECT_EQ(peer.State().CharSpacing, 0);
    EXPECT_EQ(peer.State().WordSpacing, 0);
    EXPECT_EQ(peer.State().HorizontalScaling, 100);
    EXPECT_EQ(peer.State().LineSpacing, 1.0);
    pdf.EndPage();
    pdf.EndDoc();
    if (ReadersAvailable())
        ExpectReadersAccept(dir.File("state.pdf"));
}

TEST(TextMeasure, WorkedExamples)
{
    ScratchDir dir;
    Tavlo pdf;
    EXPECT_EQ(pdf.TextLength("a b"), 0);
    EXPECT_EQ(pdf.TextHeight(), 0);
    pdf.BeginDoc(dir.File("measure.pdf"));
    pdf.BeginPage();
    EXPECT_EQ(pdf.TextLength("a b"), 0);
    EXPECT_EQ(pdf.TextHeight(), 0);

    pdf.SetFont("Arial", 10, 0, 0);
    EXPECT_FLOAT_EQ(pdf.TextLength("a b"), 13.9f);
    EXPECT_EQ(pdf.TextLength(""), 0);
    pdf.SetWordSpacing(2);
    EXPECT_FLOAT_EQ(pdf.TextLength("a b"), 15.9f);
    pdf.SetCharSpacing(1);
    EXPECT_FLOAT_EQ(pdf.TextLength("a b"), 18.9f);
    pdf.SetTextHorizontalScaling(50);
    EXPECT_FLOAT_EQ(pdf.TextLength("a b"), 9.45f);
    // Only code 32 is a word space: the no-break space (160) is not.
    EXPECT_FLOAT_EQ(pdf.TextLength("a\xA0" "b"), (13.9f + 3) / 2);
    EXPECT_FLOAT_EQ(pdf.TextHeight(), 12.21f);

    pdf.SetScale(2, 0);
    EXPECT_NEAR(pdf.TextHeight(), 1221 * 10 / 1000.0 / (72 / 25.4), 1e-5);
    EXPECT_NEAR(pdf.TextHeight(), 4.307, 5e-4);
    EXPECT_NEAR(pdf.TextLength("a b"), 9.45 / (72 / 25.4), 1e-5);

    // The longest text a caller may measure, and one character more.
    EXPECT_EQ(ErrorRaised([&] { pdf.TextLength(std::string(32767, 'i')); }), 0);
    EXPECT_EQ(ErrorRaised([&] { pdf.TextLength(std::string(32768, 'i')); }), ErrorCode::Overflow);
    pdf.EndPage();
    pdf.EndDoc();
}

TEST(TextMeasure, WidthsOfRandomTextsMatchTheAfmFiles)
{
    if (!std::filesystem::exists(kAfmFolder + "NimbusSans-Regular.afm"))
        FAIL() << "fonts-urw-base35 missing";
    const std::map<int, std::string> names = WinAnsiNames();
    // The euro, macron, plus-minus, micro and division signs keep the writer's historical
    // widths in the built-in tables, not the URW ones: they are left out of the alphabet.
    const std::set<int> ownWidths = {128, 175, 177, 181, 247};
    std::vector<int> codes;
    for (const auto& entry : names)
        if (ownWidths.count(entry.first) == 0)
            codes.push_back(entry.first);
    ASSERT_EQ(codes.size(), 95u + 28u + 95u - 5u);

    ScratchDir dir;
    Tavlo pdf;
    pdf.BeginDoc(dir.File("afm.pdf"));
    pdf.BeginPage();
    std::mt19937 random(20261206);
    std::uniform_int_distribution<std::size_t> pick(0, codes.size() - 1);
    std::uniform_int_distribution<int> length(0, 80), unit(0, 3), coin(0, 3);
    std::uniform_real_distribution<float> spacing(-2, 5), scaling(10, 250), size(4, 40);
    for (const Face& face : kFaces) {
        const std::map<std::string, int> afm = AfmWidths(face.afm);
        ASSERT_FALSE(afm.empty()) << face.afm;
        for (int round = 0; round < 40; ++round) {
            const float fontSize = size(random), tc = spacing(random), tw = spacing(random), tz = scaling(random);
            static const double scales[] = {1, 72, 72 / 25.4, 72 / 2.54};
            const int u = unit(random);
            pdf.SetScale(u, 1);
            pdf.SetFont(face.family, fontSize, face.style, 0);
            pdf.SetCharSpacing(tc);
            pdf.SetWordSpacing(tw);
            pdf.SetTextHorizontalScaling(tz);
            std::string text;
            double glyphs = 0;
            int blanks = 0;
            const int n = length(random);
            for (int i = 0; i < n; ++i) {
                const int code = coin(random) == 0 ? 32 : codes[pick(random)];
                text += static_cast<char>(code);
                const auto width = afm.find(names.at(code));
                ASSERT_NE(width, afm.end()) << face.afm << " lacks " << names.at(code);
                glyphs += width->second;
                blanks += code == 32 ? 1 : 0;
            }
            // The advance of a shown string: glyph widths scaled by the size, plus the
            // character spacing after every glyph and the word spacing after each byte 32,
            // all scaled horizontally.
            const double expected = (glyphs * fontSize / 1000 + tc * n + tw * blanks) * tz / 100 / scales[u];
            EXPECT_NEAR(pdf.TextLength(text), expected, 1e-4 + std::abs(expected) * 1e-6)
                << face.afm << " size " << fontSize << " Tc " << tc << " Tw " << tw << " Tz " << tz << " unit " << u;
        }
    }
    pdf.EndPage();
    pdf.EndDoc();
}

// mupdf places each character at its origin: the marker shown right after a text starts
// where the text's advance, spacings and scaling included, ends.
TEST(TextMeasure, AdvanceMatchesMupdfCharacterOrigins)
{
    if (!ReadersAvailable())
        FAIL() << "qpdf, poppler or mupdf missing";
    ScratchDir dir;
    const std::string path = dir.File("advance.pdf");
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    pdf.BeginDoc(path);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> printable(32, 126), length(1, 30), face(0, 2), unit(0, 2);
    std::uniform_real_distribution<float> spacing(-1, 4), scaling(40, 200), size(6, 24);
    static const char* const families[] = {"Arial", "Times", "Courier"};
    std::vector<double> expected;
    for (int page = 0; page < 12; ++page) {
        pdf.BeginPage();
        pdf.SetScale(unit(random), 1);
        // Values of two decimals, which the operators carry exactly.
        const auto hundredths = [&](std::uniform_real_distribution<float>& d) {
            return std::round(d(random) * 100) / 100;
        };
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
        expected.push_back(static_cast<double>(pdf.TextLength(text)) * peer.State().Scale);
        // Upright text from x = 50 points, then the marker.
        peer.PutContent("BT /" + peer.State().doc.FontResource + " " + PdfNumber(fontSize) +
                        " Tf 1 0 0 -1 50 100 Tm (" + EscapeString(text) + ") Tj (|) Tj ET");
        pdf.EndPage();
    }
    pdf.EndDoc();
    ExpectReadersAccept(path);

    const ToolResult run = RunTool("mutool draw -q -F stext -o - " + Quote(path) + " 2>/dev/null");
    ASSERT_EQ(run.exitCode, 0);
    std::vector<double> markers;
    for (std::size_t at = run.output.find("<page"); at != std::string::npos;
         at = run.output.find("<page", at + 1)) {
        const std::size_t end = run.output.find("</page>", at);
        const std::string page = run.output.substr(at, end - at);
        const std::size_t marker = page.find("c=\"|\"");
        ASSERT_NE(marker, std::string::npos) << page;
        const std::size_t x = page.rfind(" x=\"", marker);
        markers.push_back(std::stod(page.substr(x + 4)));
    }
    ASSERT_EQ(markers.size(), expected.size());
    for (std::size_t i = 0; i < markers.size(); ++i)
        EXPECT_NEAR(markers[i] - 50, expected[i], 1e-3) << "page " << i + 1;
}
