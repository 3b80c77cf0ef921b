// Built-in fonts: the width tables recomputed from the URW AFM files, font selection as the
// page's operators and font objects show it, and every built-in font loaded by the readers.

#include "support/pdf/content_stream.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/text_boxes.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(BuiltinWidths, TablesRecomputedFromTheAfmFiles)
{
    ScratchDir dir;
    const std::string out = dir.File("widths.cpp");
    const ToolResult run = RunTool("/usr/bin/python3 " QUERCINO_SOURCE_DIR "/tools/pdf/afm_widths.py "
                                   "/usr/share/fonts/type1/urw-base35 " + out + " 2>&1");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(ReadFile(out) == ReadFile(QUERCINO_SOURCE_DIR "/pdf/draw/BuiltinFontWidths.cpp"));
}

// Families by any case and alias, styles, Mac Roman only for encoding 1, unknown families
// on Arial's metrics under their own name, names escaped, sizes as given.
TEST(SetFont, FamiliesStylesAndEncodings)
{
    struct Case {
        const char* family;
        float size;
        std::int32_t style, encoding;
        const char* tf;        // the Tf operator the text is shown with
        const char* baseFont;  // of that font object
    };
    const Case cases[] = {
        {"times new roman", 0, 3, 0, "/TimesNewRoman,BoldItalic 10 Tf", "/TimesNewRoman,BoldItalic"},
        {"Helvetica", 12, 1, 0, "/Arial,Bold 12 Tf", "/Arial,Bold"},
        {"ARIAL", 14, 1, 0, "/Arial,Bold 14 Tf", "/Arial,Bold"},
        {"Arial", 12, 0, 1, "/MACArial 12 Tf", "/Arial"},
        {"Arial", 12, 0, 7, "/Arial 12 Tf", "/Arial"},
        {"Symbol", 12, 3, 0, "/Symbol 12 Tf", "/Symbol"},
        {"Courier", 12, 4, 0, "/CourierNew 12 Tf", "/CourierNew"},
        {"Verdana", 10, 1, 0, "/Verdana 10 Tf", "/Arial,Bold"},
        {"verdana", 10, 0, 0, "/Verdana 10 Tf", "/Arial,Bold"},  // the record's own name
        {"Font (strano)", 8, 0, 0, "/Font#28strano#29 8 Tf", "/Arial"},
    };
    std::vector<float> heights;
    const std::string path = WriteDocument("fonts.pdf", [&](Tavlo& pdf) {
                                 pdf.BeginPage();
                                 for (const Case& c : cases) {
                                     pdf.SetFont(c.family, c.size, c.style, c.encoding);
                                     heights.push_back(pdf.TextHeight());
                                     pdf.DrawText(10, 10, "A");
                                 }
                                 pdf.SetFontSize(9);
                                 pdf.DrawText(10, 10, "A");
                             }).path;
    const QpdfDocument q(path);
    const auto tf = LinesOf(Operations(q.PageContent(1)), {"Tf"});
    ASSERT_EQ(tf.size(), std::size(cases) + 1);
    EXPECT_EQ(tf.back(), "/Font#28strano#29 9 Tf");
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(tf[i], cases[i].tf);
        const std::string resource = tf[i].substr(1, tf[i].find(' ') - 1);
        EXPECT_EQ(q.Text("2 0 R/Font/" + resource + "/BaseFont"), cases[i].baseFont) << resource;
    }
    EXPECT_NEAR(heights[0], 11.07, 1e-4);  // Times' line: 1107 thousandths of the size
    EXPECT_NE(FontsListed(path).find("Symbol"), std::string::npos);
}

TEST(SetFont, EveryBuiltinFontLoadedByTheReaders)
{
    const std::string path = WriteDocument("families.pdf", [](Tavlo& pdf) {
                                 pdf.BeginPage();
                                 int line = 0;
                                 for (const std::string family :
                                      {"Arial", "Times", "Courier", "Symbol", "ZapfDingbats", "Verdana Pro"})
                                     for (int style = 0; style < 4; ++style) {
                                         pdf.SetFont(family, 12, style, style == 3 ? 1 : 0);
                                         pdf.DrawText(20, 20.f * ++line, "Quercino \xE8 123");
                                     }
                             }).path;
    const std::string fonts = FontsListed(path);
    for (const std::string name : {"Arial ", "Arial,Bold ", "Arial,Italic ", "Arial,BoldItalic ", "TimesNewRoman ",
                                   "CourierNew,BoldItalic ", "Symbol ", "ZapfDingbats "})
        EXPECT_NE(fonts.find(name), std::string::npos) << name << "\n" << fonts;
    EXPECT_NE(PopplerText(path).find("Quercino \xC3\xA8 123"), std::string::npos);
}
