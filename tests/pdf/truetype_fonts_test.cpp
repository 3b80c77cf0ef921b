// TrueType fonts: widths, descriptors and embedded programs against fontTools, the fonts and
// texts poppler reads back (the files refused: scripts/fonts.txt).

#include "support/pdf/qpdf_json.h"
#include "support/pdf/text_boxes.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>

using namespace tavlo;
using namespace tavlo::test;

namespace {

const std::string kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const std::string kMono = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
const std::string kSerif = "/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf";

ToolResult Oracle(const std::string& arguments)
{
    return RunTool("/usr/bin/python3 " QUERCINO_SOURCE_DIR "/tests/pdf/truetype_oracle.py " + arguments + " 2>&1");
}

// pdffonts' rows as "name emb", sorted; emb is the fifth field from the end of a row.
std::vector<std::string> ListedFonts(const std::string& path)
{
    std::istringstream rows(FontsListed(path));
    std::vector<std::string> listed;
    std::string line;
    for (int n = 0; std::getline(rows, line); ++n) {
        std::istringstream in(line);
        const std::vector<std::string> f{std::istream_iterator<std::string>(in), {}};
        if (n >= 2 && f.size() >= 6)
            listed.push_back(f.front() + " " + f[f.size() - 5]);
    }
    std::sort(listed.begin(), listed.end());
    return listed;
}

} // namespace

TEST(TrueTypeFonts, WidthsNamesAndProgramsAsReadersSeeThem)
{
    const std::string forged = TempPath("forgiati");
    ASSERT_EQ(Oracle("forge " + forged).exitCode, 0);
    struct Case {
        std::string file, alias;
        std::int16_t embedded;
        std::int32_t encoding;
        std::string name, sample;
    };
    const Case cases[] = {
        {kSans, "", 1, 0, "DejaVuSans", "Caff\xE8 \x80 10, \x93s\xEC\x94 \x96 \x91perch\xE9\x92"},
        {kMono, "Mono Spaziato", 0, 0, "MonoSpaziato", "Citt\xE0 \x84\x80\x93 \xAB" "1\xBB"},
        {kSans, "DejaVuSans", 0, 0, "DejaVuSans", ""},  // the name is taken: the first font stands
        {kSans, "Dv", 1, 1, "Dv", "Caff\x8F \xD2s\x93\xD3 \xD0 \xD4perch\x8E\xD5"},  // Mac Roman bytes
        {kSerif, "LiberationSerif", 1, 0, "LiberationSerif", ""},
        {forged + "/grande.ttf", "", 1, 0, "GrandeProva", ""},
        {forged + "/simboli.ttf", "", 1, 0, "Simboli", ""},
        {forged + "/grassetto.ttf", "", 1, 0, "MyFontBoldItalic", ""},
        {forged + "/solops.ttf", "", 1, 0, "SoloPostScript", ""},
        {forged + "/senza nome.ttf", "", 1, 0, "senzanome", ""},
        {forged + "/strano.ttf", "", 1, 0, "Nome(strano)/#1", ""},
    };
    WriteOptions early;
    // Added before the document is open: BeginDoc writes it with its program.
    early.before = [](Tavlo& t) { EXPECT_EQ(t.AddFont(kSerif, "", 1, 0), "LiberationSerif"); };
    const WrittenPdf pdf = WriteDocument("fonts.pdf", [&](Tavlo& t) {
        for (const Case& c : cases)
            EXPECT_EQ(t.AddFont(c.file, c.alias, c.embedded, c.encoding), c.name) << c.file;
        EXPECT_EQ(t.ErrNumber(), 0);
        t.BeginPage();
        float y = 40;
        for (const Case& c : cases) {
            t.SetFont(c.name, 12, 0, c.encoding);  // SetFont finds each record, none is added
            if (!c.sample.empty())
                t.DrawText(20, y += 30, c.sample);
        }
    }, early);

    const ToolResult oracle = Oracle("widths " + pdf.path + " " + kSans + " " + kMono + " " + kSerif + " " + forged +
                                     "/grande.ttf " + forged + "/simboli.ttf " + forged + "/grassetto.ttf");
    EXPECT_EQ(oracle.exitCode, 0) << oracle.output;
    for (const char* font : {"DejaVuSans win embedded", "DejaVuSans mac embedded", "DejaVuSansMono win not-embedded",
                             "LiberationSerif win embedded", "GrandeProva win embedded", "Simboli win embedded",
                             "MyFontBoldItalic win embedded"})
        EXPECT_NE(oracle.output.find(font), std::string::npos) << font << "\n" << oracle.output;
    const std::vector<std::string> listed = {
        "DejaVuSans yes", "DejaVuSans yes", "DejaVuSansMono no", "GrandeProva yes", "LiberationSerif yes",
        "MyFontBoldItalic,BoldItalic yes", "Nome(strano)/#1 yes", "Simboli yes", "SoloPostScript yes",
        "senzanome yes"};
    EXPECT_EQ(ListedFonts(pdf.path), listed);
    const std::string text = PopplerText(pdf.path);
    for (const char* line : {"Caff\xC3\xA8 \xE2\x82\xAC 10, \xE2\x80\x9Cs\xC3\xAC\xE2\x80\x9D \xE2\x80\x93 "
                             "\xE2\x80\x98perch\xC3\xA9\xE2\x80\x99",
                             "Citt\xC3\xA0 \xE2\x80\x9E\xE2\x82\xAC\xE2\x80\x9C \xC2\xAB" "1\xC2\xBB",
                             "Caff\xC3\xA8 \xE2\x80\x9Cs\xC3\xAC\xE2\x80\x9D \xE2\x80\x93 "
                             "\xE2\x80\x98perch\xC3\xA9\xE2\x80\x99"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    const QpdfDocument document(pdf.path);
    const std::string fonts = "Root/Pages/Kids/0/Resources/Font/";
    EXPECT_EQ(document.Text(fonts + "MyFontBoldItalic/FontDescriptor/Flags"), "96");
    EXPECT_EQ(document.Text(fonts + "MyFontBoldItalic/FontDescriptor/StemV"), "120");
    EXPECT_EQ(document.Text(fonts + "MyFontBoldItalic/FontDescriptor/ItalicAngle"), "-12");
    EXPECT_EQ(document.Text(fonts + "Simboli/FontDescriptor/Flags"), "4");
}
