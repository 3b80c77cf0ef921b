// Form fields read back by qpdf (type, flags, options, values, rectangles), checked by
// poppler and mupdf, drawn over the boxes they were meant to cover, and decrypted by
// qpdf to the plain document.

#include "pdf/InteractiveSummary.h"
#include "pdf/PdfCheck.h"
#include "pdf/RenderedBox.h"
#include "pdf/TavloTestPeer.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/SecurityHandler.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace tavlo;
using namespace tavlo::test;

namespace {

class FormFieldsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ReadersAvailable() || !ToolAvailable("/usr/bin/python3"))
            GTEST_SKIP() << "qpdf, poppler, mupdf or python3 missing";
    }
    ScratchDir dir;
};

// The widget of the field named `name` on the page, as "page1.annot3".
std::string WidgetKey(const std::map<std::string, std::string>& facts, const std::string& name, int page = 1)
{
    for (int i = 1; i < 100; ++i) {
        const std::string key = "page" + std::to_string(page) + ".annot" + std::to_string(i);
        if (Fact(facts, key + ".Subtype") == "/Widget" && Fact(facts, key + ".T") == name)
            return key;
    }
    return "missing";
}

void EveryKind(Tavlo& pdf)
{
    pdf.SetDocProperty("Moduli", "", "Rossi", "", "", "");
    pdf.BeginPage();
    pdf.SetFont("Helvetica", 11, 0, 0);
    pdf.AddField("nome", 0, 10, 10, 150, 20, "Mario (R) \\ figlio", 30, "Il nome", 0);
    pdf.AddField("privacy", 1, 10, 40, 15, 15, "TrUe", 0, "", 0);
    pdf.AddField("newsletter", 1, 40, 40, 15, 15, "sì", 0, "", 0);
    pdf.AddField("colori", 2, 10, 70, 100, 60, "Rosso|Verde|Blu", 2, "Colori pi\xF9 usati", 128);
    pdf.AddField("taglia", 3, 10, 140, 100, 20, "S|M|L", 0, "", 0);
    pdf.AddField("sesso", 4, 10, 170, 15, 15, "true", 0, "", 0);
    pdf.AddField("invia", 5, 10, 200, 80, 20, "Invia", std::string("this.submitForm('x');"), "Manda il modulo", 0);
    pdf.AddField("vuoto", 5, 100, 200, 80, 20, "Niente", std::string(), "", 0);
    pdf.AddField("numero", 5, 200, 200, 80, 20, "Zero", 0, "", 0);
}

} // namespace

TEST_F(FormFieldsTest, EveryKindReadBackByQpdf)
{
    Tavlo pdf;
    const std::string path = dir.File("kinds.pdf");
    pdf.BeginDoc(path);
    EveryKind(pdf);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const auto facts = InteractiveSummary(path);

    EXPECT_EQ(Fact(facts, "form.fields"), "nome privacy newsletter colori taglia sesso invia vuoto numero");
    EXPECT_EQ(Fact(facts, "form.need"), "True");
    EXPECT_EQ(Fact(facts, "form.co"), "");

    const std::string text = WidgetKey(facts, "nome");
    EXPECT_EQ(Fact(facts, text + ".FT"), "/Tx");
    EXPECT_EQ(Fact(facts, text + ".V"), "Mario (R) \\\\ figlio");
    EXPECT_EQ(Fact(facts, text + ".DV"), "Mario (R) \\\\ figlio");
    EXPECT_EQ(Fact(facts, text + ".TU"), "Il nome");
    EXPECT_EQ(Fact(facts, text + ".MaxLen"), "30");
    EXPECT_EQ(Fact(facts, text + ".F"), "4");
    EXPECT_EQ(Fact(facts, text + ".P"), "1");
    // The default appearance names a font the form's resources hold.
    const std::string da = Fact(facts, text + ".DA");
    const std::string font = da.substr(0, da.find(' '));
    EXPECT_NE(Fact(facts, "form.fonts").find(font), std::string::npos) << da;
    EXPECT_NE(da.find(" 11 Tf 0 0 0 rg"), std::string::npos) << da;

    const std::string on = WidgetKey(facts, "privacy"), off = WidgetKey(facts, "newsletter");
    EXPECT_EQ(Fact(facts, on + ".FT"), "/Btn");
    EXPECT_EQ(Fact(facts, on + ".Ff"), "0");
    EXPECT_EQ(Fact(facts, on + ".V"), "/S\xEC");  // the on state, a name of "S" and byte 0xEC
    EXPECT_EQ(Fact(facts, on + ".MK/CA"), "4");
    EXPECT_EQ(Fact(facts, off + ".V"), "<none>");

    const std::string list = WidgetKey(facts, "colori");
    EXPECT_EQ(Fact(facts, list + ".FT"), "/Ch");
    EXPECT_EQ(Fact(facts, list + ".Ff"), "2097152");
    EXPECT_EQ(Fact(facts, list + ".Opt"), "Rosso|Verde|Blu");
    EXPECT_EQ(Fact(facts, list + ".V"), "Verde");
    EXPECT_EQ(Fact(facts, list + ".DV"), "Verde");
    EXPECT_EQ(Fact(facts, list + ".TU"), "Colori pi\xC3\xB9 usati");

    const std::string combo = WidgetKey(facts, "taglia");
    EXPECT_EQ(Fact(facts, combo + ".Ff"), "131072");
    EXPECT_EQ(Fact(facts, combo + ".Opt"), "S|M|L");
    EXPECT_EQ(Fact(facts, combo + ".V"), "<none>");

    const std::string radio = WidgetKey(facts, "sesso");
    EXPECT_EQ(Fact(facts, radio + ".Ff"), "49152");
    EXPECT_EQ(Fact(facts, radio + ".MK/CA"), "l");

    const std::string button = WidgetKey(facts, "invia");
    EXPECT_EQ(Fact(facts, button + ".Ff"), "65536");
    EXPECT_EQ(Fact(facts, button + ".MK/CA"), "Invia");
    EXPECT_EQ(Fact(facts, button + ".A.type"), "/JavaScript");
    EXPECT_EQ(Fact(facts, button + ".A.js"), "this.submitForm('x');");
    EXPECT_EQ(Fact(facts, WidgetKey(facts, "vuoto") + ".A.type"), "<none>");
    EXPECT_EQ(Fact(facts, WidgetKey(facts, "numero") + ".A.type"), "<none>");

    // qpdf's own form model agrees on the kinds.
    const std::string json = RunTool("qpdf --json --json-key=acroform " + Quote(path)).output;
    EXPECT_NE(json.find("\"ischeckbox\": true"), std::string::npos);
    EXPECT_NE(json.find("\"isradiobutton\": true"), std::string::npos);
    EXPECT_NE(json.find("\"ischoice\": true"), std::string::npos);
    EXPECT_NE(json.find("\"istext\": true"), std::string::npos);
}

TEST_F(FormFieldsTest, OptionWordFlagsBordersMarksAndRotation)
{
    Tavlo pdf;
    const std::string path = dir.File("options.pdf");
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.SetFont("Courier", 9, 0, 0);
    pdf.AddField("hidden", 0, 10, 10, 50, 20, "", 0, "", 1);
    pdf.AddField("noprint", 0, 10, 40, 50, 20, "", 0, "", 2);
    pdf.AddField("hiddennoprint", 0, 10, 70, 50, 20, "", 0, "", 3);
    pdf.AddField("flags", 0, 10, 100, 50, 20, "", 8, "", 8 | 16 | 32 | 128 | 256 | 512 | 1024);
    pdf.AddField("right", 0, 10, 130, 50, 20, "", 0, "", 2048 | 4096);
    pdf.AddField("centre", 0, 10, 160, 50, 20, "", 0, "", 4096);
    pdf.AddField("autosize", 0, 10, 190, 50, 20, "", 0, "", 8192);
    pdf.AddField("noborder", 0, 10, 220, 50, 20, "", 0, "", 16384 | 4);
    pdf.AddField("dashed", 0, 100, 10, 50, 20, "", 0, "", 32768 | 131072 | 524288);
    pdf.AddField("inset", 0, 100, 40, 50, 20, "", 0, "", 65536 | 524288 | 262144);
    pdf.AddField("beveled", 0, 100, 70, 50, 20, "", 0, "", 262144 | 1048576);
    pdf.AddField("underline", 0, 100, 100, 50, 20, "", 0, "", 1048576);
    pdf.AddField("mark5", 1, 200, 10, 15, 15, "", 0, "", 4194304 | 2097152);
    pdf.AddField("markF", 1, 200, 40, 15, 15, "", 0, "", 8388608);
    pdf.AddField("markl", 1, 200, 70, 15, 15, "", 0, "", 2097152 | 16777216);
    pdf.AddField("markH", 1, 200, 100, 15, 15, "", 0, "", 16777216);
    pdf.AddField("markn", 1, 200, 130, 15, 15, "", 0, "", 33554432);
    pdf.AddField("r90", 5, 300, 10, 50, 20, "A", std::string(), "", 67108864 | 134217728);
    pdf.AddField("r180", 5, 300, 40, 50, 20, "B", std::string(), "", 134217728 | 268435456);
    pdf.AddField("r270", 5, 300, 70, 50, 20, "C", std::string(), "", 268435456);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    EXPECT_EQ(PdfVersionOf(path), "1.5");
    const auto facts = InteractiveSummary(path);
    auto f = [&](const std::string& name, const std::string& key) { return Fact(facts, WidgetKey(facts, name) + key); };

    EXPECT_EQ(f("hidden", ".F"), "6");
    EXPECT_EQ(f("noprint", ".F"), "<none>");
    EXPECT_EQ(f("hiddennoprint", ".F"), "2");
    EXPECT_EQ(f("flags", ".Ff"), std::to_string(1 + 4096 + 8192 + 2097152 + 4194304 + 8388608 + 16777216));
    EXPECT_EQ(f("flags", ".MaxLen"), "8");
    EXPECT_EQ(f("right", ".Q"), "2");
    EXPECT_EQ(f("centre", ".Q"), "1");
    EXPECT_EQ(f("hidden", ".Q"), "<none>");
    EXPECT_NE(f("autosize", ".DA").find(" 0 Tf"), std::string::npos);
    EXPECT_NE(f("hidden", ".DA").find(" 9 Tf"), std::string::npos);
    EXPECT_EQ(f("noborder", ".BS/W"), "<none>");
    EXPECT_EQ(f("noborder", ".MK/BC"), "<none>");
    EXPECT_EQ(f("noborder", ".MK/BG"), "<none>");
    EXPECT_EQ(f("hidden", ".BS/W"), "1");
    EXPECT_EQ(f("hidden", ".BS/S"), "/S");
    EXPECT_EQ(f("dashed", ".BS/W"), "2");
    EXPECT_EQ(f("dashed", ".BS/S"), "/D");
    EXPECT_EQ(f("dashed", ".BS/D"), "1 1");
    EXPECT_EQ(f("inset", ".BS/W"), "3");
    EXPECT_EQ(f("inset", ".BS/S"), "/I");
    EXPECT_EQ(f("beveled", ".BS/S"), "/B");
    EXPECT_EQ(f("underline", ".BS/S"), "/U");
    EXPECT_EQ(f("mark5", ".MK/CA"), "5");
    EXPECT_EQ(f("markF", ".MK/CA"), "F");
    EXPECT_EQ(f("markl", ".MK/CA"), "l");
    EXPECT_EQ(f("markH", ".MK/CA"), "H");
    EXPECT_EQ(f("markn", ".MK/CA"), "n");
    EXPECT_EQ(f("r90", ".MK/R"), "90");
    EXPECT_EQ(f("r180", ".MK/R"), "180");
    EXPECT_EQ(f("r270", ".MK/R"), "270");
    EXPECT_EQ(f("hidden", ".MK/R"), "<none>");
}

TEST_F(FormFieldsTest, NoScrollAloneAsksOnlyForVersionOneFour)
{
    Tavlo pdf;
    const std::string path = dir.File("v14.pdf");
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.AddField("a", 0, 10, 10, 50, 20, "", 0, "", 512);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    EXPECT_EQ(PdfVersionOf(path), "1.4");
}

TEST_F(FormFieldsTest, SelectionsOutsideTheOptionsAreIgnoredOrRefused)
{
    Tavlo pdf;
    const std::string path = dir.File("range.pdf");
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.AddField("oltre", 3, 10, 10, 100, 20, "a|b|c", 4, "", 0);
    pdf.AddField("negativa", 2, 10, 40, 100, 40, "a|b|c", -2, "", 0);
    pdf.AddField("ultima", 2, 10, 90, 100, 40, "a|b|c", std::string("3"), "", 0);
    try {
        pdf.AddField("enorme", 3, 10, 140, 100, 20, "a|b", 40000, "", 0);
        ADD_FAILURE() << "an option number beyond 32767 is an overflow";
    } catch (const TavloError& e) {
        EXPECT_EQ(e.Number(), ErrorCode::Overflow);
    }
    try {
        pdf.AddField("testo", 0, 10, 170, 100, 20, "", std::string("dieci"), "", 0);
        ADD_FAILURE() << "a maximum length that is no number is a type mismatch";
    } catch (const TavloError& e) {
        EXPECT_EQ(e.Number(), 13);
    }
    // A kind the writer does not know makes no widget at all.
    pdf.AddField("ignoto", 9, 10, 200, 100, 20, "", 0, "", 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const auto facts = InteractiveSummary(path);
    EXPECT_EQ(Fact(facts, "form.fields"), "oltre negativa ultima");
    EXPECT_EQ(Fact(facts, WidgetKey(facts, "oltre") + ".Opt"), "a|b|c");
    EXPECT_EQ(Fact(facts, WidgetKey(facts, "oltre") + ".V"), "<none>");
    EXPECT_EQ(Fact(facts, WidgetKey(facts, "negativa") + ".V"), "<none>");
    EXPECT_EQ(Fact(facts, WidgetKey(facts, "ultima") + ".V"), "c");
}

TEST_F(FormFieldsTest, NumbersGivenAsTextReadWhateverTheLocale)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("locale.pdf");
    // A host application may run under a locale whose decimal separator is a comma.
    const char* italian = std::setlocale(LC_ALL, "it_IT.UTF-8");
    struct BackToC {
        ~BackToC() { std::setlocale(LC_ALL, "C"); }
    } backToC;
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.AddField("scelta", 3, 10, 10, 100, 20, "a|b|c", std::string("2.0"), "", 0);
    pdf.AddField("testo", 0, 10, 40, 100, 20, "", std::string(" 12.4 "), "", 0);
    EXPECT_THROW(pdf.AddField("virgola", 0, 10, 70, 100, 20, "", std::string("12,4"), "", 0), TavloError);
    peer.SetLastBox(10, 800, 50, 780);
    pdf.LinkTo("page:1.6", 0, 0, 4, 10, 10, 0, 0, 100);
    pdf.BeginPage();
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const auto facts = InteractiveSummary(path);
    EXPECT_EQ(Fact(facts, "form.fields"), "scelta testo");
    EXPECT_EQ(Fact(facts, WidgetKey(facts, "scelta") + ".V"), "b");
    EXPECT_EQ(Fact(facts, WidgetKey(facts, "testo") + ".MaxLen"), "12");
    EXPECT_EQ(Fact(facts, "page1.annot1.dest.page"), "2");
    if (!italian)
        GTEST_SKIP() << "it_IT.UTF-8 not installed: checked under the C locale only";
}

TEST_F(FormFieldsTest, WithoutAChosenFontTheAppearanceNamesAFontOfTheForm)
{
    Tavlo pdf;
    const std::string path = dir.File("nofont.pdf");
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.AddField("a", 0, 10, 10, 50, 20, "x", 0, "", 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const auto facts = InteractiveSummary(path);
    const std::string da = Fact(facts, WidgetKey(facts, "a") + ".DA");
    ASSERT_EQ(da[0], '/');
    EXPECT_NE(Fact(facts, "form.fonts").find(da.substr(0, da.find(' '))), std::string::npos) << da;
}

TEST_F(FormFieldsTest, FieldsOnTwoPagesBelongToTheirOwnPage)
{
    Tavlo pdf;
    const std::string path = dir.File("pages.pdf");
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.AddField("uno", 0, 10, 10, 50, 20, "", 0, "", 0);
    pdf.AddField("due", 0, 10, 40, 50, 20, "", 0, "", 0);
    pdf.BeginPage();
    pdf.AddField("tre", 0, 10, 10, 50, 20, "", 0, "", 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const auto facts = InteractiveSummary(path);
    EXPECT_EQ(Fact(facts, "form.fields"), "uno due tre");
    EXPECT_EQ(Fact(facts, "page1.annot1.T"), "uno");
    EXPECT_EQ(Fact(facts, "page1.annot2.T"), "due");
    EXPECT_EQ(Fact(facts, "page1.annot3.T"), "<none>");
    EXPECT_EQ(Fact(facts, "page2.annot1.T"), "tre");
    EXPECT_EQ(Fact(facts, "page2.annot1.P"), "2");
    EXPECT_EQ(Fact(facts, "page2.annot2.T"), "<none>");
}

TEST_F(FormFieldsTest, RectanglesCoverTheBoxesDrawnAtTheSamePlace)
{
    struct Setting {
        std::int32_t unit;
        float left, right, top, bottom;
    };
    for (const Setting& setting : {Setting{0, 0, 0, 0, 0}, Setting{0, 36, 10, 72, 20}, Setting{2, 15, 5, 25, 10}}) {
        SCOPED_TRACE("unit " + std::to_string(setting.unit) + " margins " + std::to_string(setting.left));
        Tavlo pdf;
        TavloTestPeer peer(pdf);
        const std::string path = dir.File("cover.pdf");
        pdf.BeginDoc(path);
        pdf.SetScale(setting.unit);
        pdf.SetMargins(setting.left, setting.right, setting.top, setting.bottom, false);
        pdf.BeginPage();
        const float x = setting.unit == 2 ? 20.f : 57.f, y = setting.unit == 2 ? 30.f : 85.f;
        const float w = setting.unit == 2 ? 40.f : 113.f, h = setting.unit == 2 ? 12.f : 34.f;
        // The box as a drawing member writes it: inside the page's frame, in points.
        const double scale = peer.State().Scale;
        peer.PutContent(PdfNumber(x * scale) + " " + PdfNumber(y * scale) + " " + PdfNumber(w * scale) + " " +
                        PdfNumber(h * scale) + " re f");
        pdf.AddField("campo", 0, x, y, w, h, "", 0, "", 0);
        pdf.EndDoc();
        ExpectReadersAccept(path);
        const auto drawn = DarkBoxOfPage(path, 1);
        const auto rect = RectOf(InteractiveSummary(path), "page1.annot1.rect");
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(rect[i], drawn[i], 1.0) << "side " << i;
        EXPECT_GT(drawn[2] - drawn[0], 50);
    }
}

TEST_F(FormFieldsTest, EncryptedFieldsDecryptToThePlainDocument)
{
    Tavlo plain;
    const std::string plainPath = dir.File("plain.pdf");
    plain.BeginDoc(plainPath);
    EveryKind(plain);
    plain.OnFieldEvent(6, "nome", "AFNumber_Keystroke(2);");
    plain.AddNoteBox("Nota (riservata)", 300, 10, 100, 40, 0, 0, 0, 0, 0);
    plain.AddNoteIcon("Commento \\ segreto", 2, 300, 80, false, 0);
    plain.EndDoc();
    const auto expected = InteractiveSummary(plainPath);
    ASSERT_EQ(Fact(expected, "form.fields"), "nome privacy newsletter colori taglia sesso invia vuoto numero");

    for (const std::int32_t strength : {0, Permission::Strong}) {
        SCOPED_TRACE(strength ? "128-bit" : "40-bit");
        Tavlo pdf;
        const std::string path = dir.File("secret.pdf");
        pdf.BeginDoc(path);
        pdf.SetProtection(strength, "padrone", "utente");
        EveryKind(pdf);
        pdf.OnFieldEvent(6, "nome", "AFNumber_Keystroke(2);");
        pdf.AddNoteBox("Nota (riservata)", 300, 10, 100, 40, 0, 0, 0, 0, 0);
        pdf.AddNoteIcon("Commento \\ segreto", 2, 300, 80, false, 0);
        pdf.EndDoc();
        ExpectReadersAccept(path, "utente");
        const std::string raw = ReadFile(path);
        EXPECT_EQ(raw.find("Mario"), std::string::npos);
        EXPECT_EQ(raw.find("riservata"), std::string::npos);
        EXPECT_EQ(raw.find("submitForm"), std::string::npos);

        const std::string decrypted = dir.File("decrypted.pdf");
        ASSERT_EQ(RunTool("qpdf --password=utente --decrypt " + Quote(path) + " " + Quote(decrypted)).exitCode, 0);
        EXPECT_EQ(InteractiveSummary(decrypted), expected);
        EXPECT_EQ(InteractiveSummary(path, "utente"), expected);
    }
}

TEST_F(FormFieldsTest, CheckBoxesGivenAsOnAreShownChecked)
{
    Tavlo pdf;
    const std::string path = dir.File("checked.pdf");
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.SetColorFill("White");
    pdf.AddField("si", 1, 20, 20, 20, 20, "true", 0, "", 0);
    pdf.AddField("no", 1, 20, 80, 20, 20, "false", 0, "", 0);
    pdf.AddField("scelta", 4, 20, 140, 20, 20, "TRUE", 0, "", 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    // Inside the border: the check mark only.
    for (const GreyImage& image : {PopplerPage(path, 1, true), MupdfPage(path, 1)}) {
        ASSERT_GT(image.width, 0);
        EXPECT_GT(DarkPixelsIn(image, 23, 23, 37, 37), 5);
        EXPECT_EQ(DarkPixelsIn(image, 23, 83, 37, 97), 0);
        EXPECT_GT(DarkPixelsIn(image, 23, 143, 37, 157), 5);
    }
}

TEST_F(FormFieldsTest, TextAndChosenValuesAreDrawnByReaders)
{
    Tavlo pdf;
    const std::string path = dir.File("values.pdf");
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.SetFont("Helvetica", 14, 0, 0);
    pdf.SetColorFill("White");
    pdf.AddField("pieno", 0, 20, 20, 150, 25, "MMMMMMMM", 0, "", 16384);
    pdf.AddField("vuoto", 0, 20, 60, 150, 25, "", 0, "", 16384);
    pdf.AddField("scelta", 3, 20, 100, 150, 25, "WWWWWW|MMMMMM", 1, "", 16384);
    pdf.AddField("nessuna", 3, 20, 140, 150, 25, "WWWWWW|MMMMMM", 0, "", 16384);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    for (const GreyImage& image : {PopplerPage(path, 1, true), MupdfPage(path, 1)}) {
        ASSERT_GT(image.width, 0);
        EXPECT_GT(DarkPixelsIn(image, 20, 20, 150, 45), 20);
        EXPECT_EQ(DarkPixelsIn(image, 20, 60, 150, 85), 0);
        EXPECT_GT(DarkPixelsIn(image, 20, 100, 150, 125), 20);
        EXPECT_EQ(DarkPixelsIn(image, 20, 140, 150, 165), 0);
    }
}
