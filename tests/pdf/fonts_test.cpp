// Built-in fonts: the width tables against the published metrics, font selection and the
// font objects that poppler and mupdf load.

#include "pdf/PdfCheck.h"
#include "pdf/TavloTestPeer.h"
#include "pdf/draw/BuiltinFontWidths.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tavlo;
using namespace tavlo::test;

namespace {

const FontEntry& Current(Tavlo& pdf)
{
    TavloState& s = TavloTestPeer(pdf).State();
    return s.doc.Fonts.at(static_cast<std::size_t>(s.CurrentFont) - 1);
}

const DocumentTables& Tables(Tavlo& pdf)
{
    return TavloTestPeer(pdf).State().doc;
}

} // namespace

TEST(BuiltinWidths, WorkedRowsOfTheMetrics)
{
    using namespace tavlo::widths;
    EXPECT_EQ(kArialRegular[32], 278);
    EXPECT_EQ(kArialRegular[65], 667);
    EXPECT_EQ(kArialRegular[97], 556);
    EXPECT_EQ(kArialRegular[160], 278);
    EXPECT_EQ(kArialRegular[233], 556);
    EXPECT_EQ(kArialBold[65], 722);
    EXPECT_EQ(kTimesRegular[65], 722);
    EXPECT_EQ(kTimesRegular[97], 444);
    EXPECT_EQ(kTimesItalic[65], 611);
    EXPECT_EQ(kTimesItalic[97], 500);
    EXPECT_EQ(kSymbol[32], 250);
    EXPECT_EQ(kSymbol[97], 631);
    EXPECT_EQ(kZapfDingbats[33], 974);
    EXPECT_EQ(kZapfDingbats[172], 788);
    EXPECT_EQ(kZapfDingbats[212], 894);
    EXPECT_EQ(kZapfDingbats[254], 918);
    // The codes the fonts do not cover.
    EXPECT_EQ(kArialRegular[0], 272);
    EXPECT_EQ(kArialBold[31], 311);
    EXPECT_EQ(kArialItalic[5], 259);
    EXPECT_EQ(kArialBoldItalic[5], 311);
    for (int code : {127, 129, 141, 143, 144, 157}) {
        EXPECT_EQ(kArialRegular[static_cast<std::size_t>(code)], 750);
        EXPECT_EQ(kTimesBold[static_cast<std::size_t>(code)], 778);
    }
    EXPECT_EQ(kArialRegular[128], 556);
    EXPECT_EQ(kArialRegular[175], 552);
    EXPECT_EQ(kTimesBoldItalic[0], 333);
    EXPECT_EQ(kSymbol[0], 332);
    EXPECT_EQ(kSymbol[30], 600);
    EXPECT_EQ(kSymbol[240], 600);
    EXPECT_EQ(kZapfDingbats[0], 600);
    EXPECT_EQ(kZapfDingbats[127], 0);
    EXPECT_EQ(kZapfDingbats[240], 0);
}

TEST(BuiltinWidths, TablesRecomputedFromTheAfmFiles)
{
    const std::string afm = "/usr/share/fonts/type1/urw-base35";
    if (!std::filesystem::exists(afm + "/NimbusSans-Regular.afm") || !std::filesystem::exists("/usr/bin/python3"))
        FAIL() << "fonts-urw-base35 or python3 missing";
    ScratchDir dir;
    const std::string out = dir.File("widths.cpp");
    const ToolResult run = RunTool("/usr/bin/python3 " QUERCINO_SOURCE_DIR "/tools/pdf/afm_widths.py " + afm + " " +
                                   out + " 2>&1");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(ReadFile(out), ReadFile(QUERCINO_SOURCE_DIR "/pdf/draw/BuiltinFontWidths.cpp"));
}

TEST(SetFont, FamiliesStylesAndEncodings)
{
    ScratchDir dir;
    Tavlo pdf;
    pdf.BeginDoc(dir.File("fonts.pdf"));
    pdf.SetFont("times new roman", 0, 3, 0);
    EXPECT_EQ(Tables(pdf).FontResource, "TimesNewRoman,BoldItalic");
    EXPECT_EQ(Tables(pdf).FontSize, 10);
    EXPECT_EQ(Current(pdf).LineHeight, 1107);
    EXPECT_EQ(Current(pdf).Descent, -216);

    pdf.SetFont("Helvetica", 12, 1, 0);
    pdf.SetFont("ARIAL", 14, 1, 0);
    EXPECT_EQ(Tables(pdf).Fonts.size(), 2u);
    EXPECT_EQ(Tables(pdf).FontResource, "Arial,Bold");
    EXPECT_EQ(Tables(pdf).FontSize, 14);
    EXPECT_EQ(Current(pdf).Widths[65], 722);

    pdf.SetFont("Arial", 12, 0, 1);
    EXPECT_EQ(Tables(pdf).FontResource, "MACArial");
    pdf.SetFont("Arial", 12, 0, 0);
    EXPECT_EQ(Tables(pdf).FontResource, "Arial");
    pdf.SetFont("Arial", 12, 0, 7);  // only 1 means Mac Roman
    EXPECT_EQ(Tables(pdf).FontResource, "Arial");
    EXPECT_EQ(Tables(pdf).Fonts.size(), 4u);

    pdf.SetFont("Symbol", 12, 3, 0);
    EXPECT_EQ(Tables(pdf).FontResource, "Symbol");
    pdf.SetFont("Courier", 12, 4, 0);
    EXPECT_EQ(Tables(pdf).FontResource, "CourierNew");
    EXPECT_EQ(Tables(pdf).FontStyle, 4);
    EXPECT_EQ(Current(pdf).Widths[200], 600);

    pdf.SetFont("Verdana", 10, 1, 0);
    EXPECT_EQ(Tables(pdf).FontResource, "Verdana");
    EXPECT_EQ(Current(pdf).BaseFont, "Arial,Bold");
    const std::size_t made = Tables(pdf).Fonts.size();
    pdf.SetFont("verdana", 10, 0, 0);   // the record's own name, whatever the caller's case
    EXPECT_EQ(Tables(pdf).FontResource, "Verdana");
    EXPECT_EQ(Tables(pdf).Fonts.size(), made);

    pdf.SetFont("Font (strano)", -5, 0, 0);
    EXPECT_EQ(Tables(pdf).FontResource, "Font#28strano#29");
    EXPECT_EQ(Tables(pdf).FontSize, -5);
    pdf.SetFontSize(0);
    EXPECT_EQ(Tables(pdf).FontSize, 0);
    EXPECT_EQ(Tables(pdf).FontResource, "Font#28strano#29");

    pdf.BeginPage();
    pdf.EndDoc();
    if (ReadersAvailable())
        ExpectReadersAccept(dir.File("fonts.pdf"));
    pdf.Abort();
    EXPECT_EQ(Tables(pdf).FontResource, "");
    EXPECT_EQ(TavloTestPeer(pdf).State().CurrentFont, 0);
    EXPECT_EQ(Tables(pdf).FontSize, 0);
}

TEST(SetFont, EveryBuiltinFontLoadedByTheReaders)
{
    if (!ReadersAvailable() || !ToolAvailable("pdffonts"))
        FAIL() << "qpdf, poppler or mupdf missing";
    ScratchDir dir;
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("families.pdf");
    pdf.BeginDoc(path);
    pdf.BeginPage();
    int line = 0;
    for (const std::string family : {"Arial", "Times", "Courier", "Symbol", "ZapfDingbats", "Verdana Pro"}) {
        for (int style = 0; style < 4; ++style) {
            pdf.SetFont(family, 12, style, style == 3 ? 1 : 0);
            ++line;
            peer.PutContent("BT /" + peer.State().doc.FontResource + " 12 Tf 1 0 0 -1 20 " +
                            std::to_string(20 * line) + " Tm (Quercino \xE8 123) Tj ET");
        }
    }
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string fonts = RunTool("pdffonts " + Quote(path)).output;
    for (const std::string name : {"Arial ", "Arial,Bold ", "Arial,Italic ", "Arial,BoldItalic ", "TimesNewRoman ",
                                   "CourierNew,BoldItalic ", "Symbol ", "ZapfDingbats "})
        EXPECT_NE(fonts.find(name), std::string::npos) << name << "\n" << fonts;
    const std::string text = RunTool("pdftotext -f 1 -l 1 " + Quote(path) + " -").output;
    EXPECT_NE(text.find("Quercino \xC3\xA8 123"), std::string::npos) << text;
}
