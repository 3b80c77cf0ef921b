// Page lifecycle: the content frame, margins and clipping, page settings and position, the
// widgets of the open page and the page scripts, read back by the readers.

#include "pdf/ErrorRaised.h"
#include "pdf/PdfCheck.h"
#include "pdf/TavloTestPeer.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tavlo;
using namespace tavlo::test;

TEST(PageSettings, SizesScaleMarginsAndPosition)
{
    Tavlo pdf;
    EXPECT_FLOAT_EQ(pdf.GetPageWidth(false), 596);
    EXPECT_FLOAT_EQ(pdf.GetPageHeight(false), 842);
    pdf.SetMargins(10, 10, 10, 10, false);
    EXPECT_FLOAT_EQ(pdf.GetPageHeight(true), 822);
    pdf.SetPaperSize(18);
    pdf.SetPaperSize(-9);
    EXPECT_FLOAT_EQ(pdf.GetPageWidth(false), 596);
    pdf.SetPaperSize(-7);
    EXPECT_FLOAT_EQ(pdf.GetPageWidth(false), 3371);
    EXPECT_FLOAT_EQ(pdf.GetPageHeight(false), 2384);
    pdf.SetPaperSize(17);
    EXPECT_FLOAT_EQ(pdf.GetPageWidth(false), 756);
    pdf.SetScale(1);
    pdf.SetScale(4);  // no such unit: inches stay
    pdf.SetXY(1, 2);
    EXPECT_FLOAT_EQ(pdf.GetX(), 1);
    EXPECT_FLOAT_EQ(pdf.GetY(), 2);
    EXPECT_FLOAT_EQ(TavloTestPeer(pdf).State().CurrentY, 144);
    EXPECT_FLOAT_EQ(pdf.GetPageWidth(false), 10.5f);
    pdf.SetScale(2);
    pdf.SetPaperSize(255, 210, 297);
    EXPECT_NEAR(TavloTestPeer(pdf).State().PageWidth, 595.2756, 0.001);
    EXPECT_EQ(pdf.GetPage(), 0);
}

// Sizes no reader draws (an empty, reversed or huge page) and scales that would divide by
// zero or mirror every coordinate raise the argument error and change nothing; the limits
// themselves are drawn by every reader.
TEST(PageSettings, UnusableSizesAndScalesRefused)
{
    Tavlo pdf;
    const TavloState& s = TavloTestPeer(pdf).State();
    auto refused = [](auto call) { return ErrorRaised(call) == ErrorCode::InvalidArgument; };
    EXPECT_TRUE(refused([&] { pdf.SetPaperSize(255, 0, 0); }));
    EXPECT_TRUE(refused([&] { pdf.SetPaperSize(255, -100, 200); }));
    EXPECT_TRUE(refused([&] { pdf.SetPaperSize(255, 200, 14401); }));
    EXPECT_TRUE(refused([&] { pdf.SetPaperSize(255, 2.9f, 200); }));
    EXPECT_TRUE(refused([&] { pdf.SetPaperSize(255, std::nanf(""), 200); }));
    EXPECT_FLOAT_EQ(s.PageWidth, 596);
    EXPECT_FLOAT_EQ(s.PageHeight, 842);
    EXPECT_TRUE(refused([&] { pdf.SetScale(255, 0); }));
    EXPECT_TRUE(refused([&] { pdf.SetScale(255, -2); }));
    EXPECT_TRUE(refused([&] { pdf.SetScale(255, std::nanf("")); }));
    EXPECT_TRUE(refused([&] { pdf.SetScale(255, INFINITY); }));
    EXPECT_FLOAT_EQ(s.Scale, 1);

    if (!ReadersAvailable())
        FAIL() << "qpdf, poppler or mupdf missing";
    ScratchDir dir;
    const std::string path = dir.File("limits.pdf");
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.SetPaperSize(255, 3, 3);
    pdf.BeginPage();
    pdf.SetScale(255, 2);
    pdf.SetPaperSize(255, 7200, 100);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string info = RunTool("pdfinfo -f 1 -l 2 " + Quote(path)).output;
    EXPECT_NE(info.find("Page    1 size:  3 x 3 pts"), std::string::npos) << info;
    EXPECT_NE(info.find("Page    2 size:  14400 x 200 pts"), std::string::npos) << info;
}

TEST(Pages, FrameColoursAndClip)
{
    ScratchDir dir;
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("frame.pdf");
    pdf.BeginDoc(path);
    EXPECT_EQ(pdf.BeginPage(), 1);
    pdf.SetMargins(20, 30, 40, 50, true);
    pdf.EndPage();
    pdf.EndPage();  // nothing open: nothing written
    pdf.SetMargins(0, 0, 0, 0, false);
    EXPECT_EQ(pdf.BeginPage(), 2);
    pdf.EndDoc();
    if (ReadersAvailable())
        ExpectReadersAccept(path);
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("stream\n1 0 0 -1 20 802 cm \r0 0 546 752 re W n\r\r0 0 0 rg\r0 0 0 RG\nendstream"),
              std::string::npos);
    EXPECT_NE(text.find("stream\n1 0 0 -1 0 842 cm \r\r0 0 0 rg\r0 0 0 RG\nendstream"), std::string::npos);
    EXPECT_NE(text.find("/Count 2"), std::string::npos);
}

TEST(Pages, WidgetsScriptsAndAnnotationArray)
{
    ScratchDir dir;
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("widgets.pdf");
    pdf.BeginDoc(path);
    pdf.SetFont("Arial", 10, 0, 0);
    pdf.BeginPage();
    auto widget = [](const std::string& name, std::int32_t kind, const std::string& value, std::int16_t index) {
        FieldEntry field;
        field.name = name;
        field.kind = kind;
        field.value = value;
        field.defaultIndex = index;
        field.appearance = "/Arial 10 Tf 0 g";
        field.head = "<< /Type /Annot /Subtype /Widget /Rect [10 10 100 30] /F 4 /FT " +
                     std::string(kind == 0 ? "/Tx" : "/Ch");
        return field;
    };
    auto& fields = peer.State().doc.Fields;
    fields.push_back(widget("nome", 0, "Mario (R.)", 0));
    fields.push_back(widget("scelta", 3, "a|b|c", 2));
    fields.back().head += " /Ff 131072";
    peer.State().FieldCount = 2;
    peer.State().DocScripts[6] = "var aperta = 1;";
    peer.State().DocScripts[7] = "var chiusa = 1;";
    pdf.EndDoc();
    if (ReadersAvailable())
        ExpectReadersAccept(path);
    const std::string text = ReadFile(path);
    // Scripts 5 and 6, widgets 7 and 8, page 9, content 10, annotation array 11.
    EXPECT_NE(text.find("7 0 obj\n<< /Type /Annot /Subtype /Widget /Rect [10 10 100 30] /F 4 /FT /Tx /DA (/Arial 10 Tf "
                        "0 g) /T (nome) /MK <<>> \r /V (Mario \\(R.\\)) /DV (Mario \\(R.\\))  /P 9 0 R >>"),
              std::string::npos);
    EXPECT_NE(text.find("/MK <<>> /Opt [ (a)(b)(c) ]  /DV (b) /V (b) /P 9 0 R >>"), std::string::npos);
    EXPECT_NE(text.find("9 0 obj\n<< /Type /Page /Parent 1 0 R /Contents 10 0 R\r"), std::string::npos);
    EXPECT_NE(text.find("/Annots 11 0 R/Resources 2 0 R\n/AA << /O << /Type /Action /S /JavaScript /JS 5 0 R >>\r"
                        " /C << /Type /Action /S /JavaScript /JS 6 0 R >>\r>> >>"),
              std::string::npos);
    EXPECT_NE(text.find("11 0 obj\n[ 7 0 R 8 0 R  ]\nendobj"), std::string::npos);
    EXPECT_NE(text.find("/AcroForm <</NeedAppearances true /Fields [7 0 R 8 0 R ] /CO [] /DR << /Font <<\r/Arial "),
              std::string::npos);
    if (ReadersAvailable()) {
        const std::string json = RunTool("qpdf --json --json-key=acroform " + Quote(path)).output;
        EXPECT_NE(json.find("\"fullname\": \"nome\""), std::string::npos) << json;
        EXPECT_NE(json.find("\"value\": \"u:b\""), std::string::npos) << json;
    }
}

// Field names, tooltips, values and options are text strings: a euro sign or typographic
// quotes read back as themselves, and poppler draws the value with the euro sign.
TEST(Pages, WidgetTextsKeepTheEuroSign)
{
    if (!ReadersAvailable())
        FAIL() << "qpdf, poppler or mupdf missing";
    ScratchDir dir;
    Tavlo pdf;
    const std::string path = dir.File("euro-fields.pdf");
    pdf.BeginDoc(path);
    pdf.SetFont("Arial", 10, 0, 0);
    pdf.BeginPage();
    pdf.AddField("importo \x80", 0, 10, 10, 200, 20, "\x80 12,50", 0, "Importo in \x80", 0);
    pdf.AddField("valuta", 3, 10, 40, 200, 20, "\x80|\x93USD\x94", 1, "", 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string json = RunTool("qpdf --json --json-key=acroform " + Quote(path)).output;
    EXPECT_NE(json.find("\"fullname\": \"importo \xE2\x82\xAC\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"alternativename\": \"Importo in \xE2\x82\xAC\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"value\": \"u:\xE2\x82\xAC 12,50\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"\xE2\x80\x9CUSD\xE2\x80\x9D\"\n"), std::string::npos) << json;  // an option
    EXPECT_NE(json.find("\"value\": \"u:\xE2\x82\xAC\""), std::string::npos) << json;
    const std::string text = RunTool("pdftotext -layout " + Quote(path) + " -").output;
    EXPECT_NE(text.find("\xE2\x82\xAC 12,50"), std::string::npos) << text;
}
