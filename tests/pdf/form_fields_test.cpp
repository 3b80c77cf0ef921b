// Form fields read back by qpdf (type, flags, options, values, rectangles), checked by
// poppler and mupdf, drawn over the boxes they were meant to cover, and decrypted by
// qpdf to the plain document.

#include "pdf/AnnotationChecks.h"
#include "pdf/ErrorRaised.h"
#include "pdf/core/SecurityHandler.h"

#include <clocale>

using namespace tavlo;
using namespace tavlo::test;

namespace {

using FormFieldsTest = AnnotationTest;
using Facts = std::map<std::string, std::string>;

// The widget of the field named `name` on the page, as "page1.annot3".
std::string WidgetKey(const Facts& facts, const std::string& name, int page = 1)
{
    for (int i = 1; i < 100; ++i) {
        const std::string key = "page" + std::to_string(page) + ".annot" + std::to_string(i);
        if (Fact(facts, key + ".Subtype") == "/Widget" && Fact(facts, key + ".T") == name)
            return key;
    }
    return "missing";
}

// One entry of a field's widget as qpdf reads it: field name, entry, expected value.
struct FieldFact {
    const char* field;
    const char* entry;
    std::string value;
};

void ExpectFieldFacts(const Facts& facts, std::initializer_list<FieldFact> expected)
{
    for (const FieldFact& f : expected)
        EXPECT_EQ(Fact(facts, WidgetKey(facts, f.field) + f.entry), f.value) << f.field << f.entry;
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

    ExpectFieldFacts(facts, {{"nome", ".FT", "/Tx"},
                             {"nome", ".V", "Mario (R) \\\\ figlio"},
                             {"nome", ".DV", "Mario (R) \\\\ figlio"},
                             {"nome", ".TU", "Il nome"},
                             {"nome", ".MaxLen", "30"},
                             {"nome", ".F", "4"},
                             {"nome", ".P", "1"},
                             {"privacy", ".FT", "/Btn"},
                             {"privacy", ".Ff", "0"},
                             {"privacy", ".V", "/S\xEC"},  // the on state, a name of "S" and byte 0xEC
                             {"privacy", ".MK/CA", "4"},
                             {"newsletter", ".V", "<none>"},
                             {"colori", ".FT", "/Ch"},
                             {"colori", ".Ff", "2097152"},
                             {"colori", ".Opt", "Rosso|Verde|Blu"},
                             {"colori", ".V", "Verde"},
                             {"colori", ".DV", "Verde"},
                             {"colori", ".TU", "Colori pi\xC3\xB9 usati"},
                             {"taglia", ".Ff", "131072"},
                             {"taglia", ".Opt", "S|M|L"},
                             {"taglia", ".V", "<none>"},
                             {"sesso", ".Ff", "49152"},
                             {"sesso", ".MK/CA", "l"},
                             {"invia", ".Ff", "65536"},
                             {"invia", ".MK/CA", "Invia"},
                             {"invia", ".A.type", "/JavaScript"},
                             {"invia", ".A.js", "this.submitForm('x');"},
                             {"vuoto", ".A.type", "<none>"},
                             {"numero", ".A.type", "<none>"}});
    // The default appearance names a font the form's resources hold.
    const std::string da = Fact(facts, WidgetKey(facts, "nome") + ".DA");
    EXPECT_NE(Fact(facts, "form.fonts").find(da.substr(0, da.find(' '))), std::string::npos) << da;
    EXPECT_NE(da.find(" 11 Tf 0 0 0 rg"), std::string::npos) << da;

    // qpdf's own form model agrees on the kinds.
    const std::string json = RunTool("qpdf --json --json-key=acroform " + Quote(path)).output;
    EXPECT_NE(json.find("\"ischeckbox\": true"), std::string::npos);
    EXPECT_NE(json.find("\"isradiobutton\": true"), std::string::npos);
    EXPECT_NE(json.find("\"ischoice\": true"), std::string::npos);
    EXPECT_NE(json.find("\"istext\": true"), std::string::npos);
}

TEST_F(FormFieldsTest, OptionWordFlagsBordersMarksAndRotation)
{
    const std::string path = dir.File("options.pdf");
    WriteOnePage(path, [&](Tavlo& pdf) {
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
    });
    EXPECT_EQ(InfoField(path, "PDF version"), "1.5");
    const auto facts = InteractiveSummary(path);
    ExpectFieldFacts(facts, {{"hidden", ".F", "6"},
                             {"noprint", ".F", "<none>"},
                             {"hiddennoprint", ".F", "2"},
                             {"flags", ".Ff", std::to_string(1 + 4096 + 8192 + 2097152 + 4194304 + 8388608 + 16777216)},
                             {"flags", ".MaxLen", "8"},
                             {"right", ".Q", "2"},
                             {"centre", ".Q", "1"},
                             {"hidden", ".Q", "<none>"},
                             {"noborder", ".BS/W", "<none>"},
                             {"noborder", ".MK/BC", "<none>"},
                             {"noborder", ".MK/BG", "<none>"},
                             {"hidden", ".BS/W", "1"},
                             {"hidden", ".BS/S", "/S"},
                             {"dashed", ".BS/W", "2"},
                             {"dashed", ".BS/S", "/D"},
                             {"dashed", ".BS/D", "1 1"},
                             {"inset", ".BS/W", "3"},
                             {"inset", ".BS/S", "/I"},
                             {"beveled", ".BS/S", "/B"},
                             {"underline", ".BS/S", "/U"},
                             {"mark5", ".MK/CA", "5"},
                             {"markF", ".MK/CA", "F"},
                             {"markl", ".MK/CA", "l"},
                             {"markH", ".MK/CA", "H"},
                             {"markn", ".MK/CA", "n"},
                             {"r90", ".MK/R", "90"},
                             {"r180", ".MK/R", "180"},
                             {"r270", ".MK/R", "270"},
                             {"hidden", ".MK/R", "<none>"}});
    EXPECT_NE(Fact(facts, WidgetKey(facts, "autosize") + ".DA").find(" 0 Tf"), std::string::npos);
    EXPECT_NE(Fact(facts, WidgetKey(facts, "hidden") + ".DA").find(" 9 Tf"), std::string::npos);
}

TEST_F(FormFieldsTest, NoScrollAloneAsksOnlyForVersionOneFour)
{
    const std::string path = dir.File("v14.pdf");
    WriteOnePage(path, [&](Tavlo& pdf) {
        pdf.AddField("a", 0, 10, 10, 50, 20, "", 0, "", 512);
    });
    EXPECT_EQ(InfoField(path, "PDF version"), "1.4");
}

TEST_F(FormFieldsTest, SelectionsOutsideTheOptionsAreIgnoredOrRefused)
{
    const std::string path = dir.File("range.pdf");
    WriteOnePage(path, [&](Tavlo& pdf) {
        pdf.AddField("oltre", 3, 10, 10, 100, 20, "a|b|c", 4, "", 0);
        pdf.AddField("negativa", 2, 10, 40, 100, 40, "a|b|c", -2, "", 0);
        pdf.AddField("ultima", 2, 10, 90, 100, 40, "a|b|c", std::string("3"), "", 0);
        // An option number beyond 32767 is an overflow; a maximum length that is no number, a type mismatch.
        EXPECT_EQ(ErrorRaised([&] { pdf.AddField("enorme", 3, 10, 140, 100, 20, "a|b", 40000, "", 0); }),
                  ErrorCode::Overflow);
        EXPECT_EQ(ErrorRaised([&] { pdf.AddField("testo", 0, 10, 170, 100, 20, "", std::string("dieci"), "", 0); }), 13);
        // A kind the writer does not know makes no widget at all.
        pdf.AddField("ignoto", 9, 10, 200, 100, 20, "", 0, "", 0);
    });
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
        FAIL() << "it_IT.UTF-8 not installed: checked under the C locale only";
}

TEST_F(FormFieldsTest, WithoutAChosenFontTheAppearanceNamesAFontOfTheForm)
{
    const std::string path = dir.File("nofont.pdf");
    WriteOnePage(path, [&](Tavlo& pdf) {
        pdf.AddField("a", 0, 10, 10, 50, 20, "x", 0, "", 0);
    });
    const auto facts = InteractiveSummary(path);
    const std::string da = Fact(facts, WidgetKey(facts, "a") + ".DA");
    ASSERT_EQ(da[0], '/');
    EXPECT_NE(Fact(facts, "form.fonts").find(da.substr(0, da.find(' '))), std::string::npos) << da;
}

TEST_F(FormFieldsTest, FieldsOnTwoPagesBelongToTheirOwnPage)
{
    const std::string path = dir.File("pages.pdf");
    WriteOnePage(path, [&](Tavlo& pdf) {
        pdf.AddField("uno", 0, 10, 10, 50, 20, "", 0, "", 0);
        pdf.AddField("due", 0, 10, 40, 50, 20, "", 0, "", 0);
        pdf.BeginPage();
        pdf.AddField("tre", 0, 10, 10, 50, 20, "", 0, "", 0);
    });
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
        const std::string path = dir.File("cover.pdf");
        pdf.BeginDoc(path);
        pdf.SetScale(setting.unit);
        pdf.SetMargins(setting.left, setting.right, setting.top, setting.bottom, false);
        pdf.BeginPage();
        const float x = setting.unit == 2 ? 20.f : 57.f, y = setting.unit == 2 ? 30.f : 85.f;
        const float w = setting.unit == 2 ? 40.f : 113.f, h = setting.unit == 2 ? 12.f : 34.f;
        PaintBox(pdf, x, y, w, h);
        pdf.AddField("campo", 0, x, y, w, h, "", 0, "", 0);
        pdf.EndDoc();
        ExpectReadersAccept(path);
        ExpectFirstAnnotationCoversDrawnBox(path, 50);
    }
}

TEST_F(FormFieldsTest, EncryptedFieldsDecryptToThePlainDocument)
{
    auto build = [](Tavlo& pdf) {
        EveryKind(pdf);
        pdf.OnFieldEvent(6, "nome", "AFNumber_Keystroke(2);");
        pdf.AddNoteBox("Nota (riservata)", 300, 10, 100, 40, 0, 0, 0, 0, 0);
        pdf.AddNoteIcon("Commento \\ segreto", 2, 300, 80, false, 0);
        pdf.EndDoc();
    };
    Tavlo plain;
    const std::string plainPath = dir.File("plain.pdf");
    plain.BeginDoc(plainPath);
    build(plain);
    const auto expected = InteractiveSummary(plainPath);
    ASSERT_EQ(Fact(expected, "form.fields"), "nome privacy newsletter colori taglia sesso invia vuoto numero");

    for (const std::int32_t strength : {0, Permission::Strong}) {
        SCOPED_TRACE(strength ? "128-bit" : "40-bit");
        Tavlo pdf;
        const std::string path = dir.File("secret.pdf");
        pdf.BeginDoc(path);
        pdf.SetProtection(strength, "padrone", "utente");
        build(pdf);
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
    const std::string path = dir.File("checked.pdf");
    WriteOnePage(path, [&](Tavlo& pdf) {
        pdf.SetColorFill("White");
        pdf.AddField("si", 1, 20, 20, 20, 20, "true", 0, "", 0);
        pdf.AddField("no", 1, 20, 80, 20, 20, "false", 0, "", 0);
        pdf.AddField("scelta", 4, 20, 140, 20, 20, "TRUE", 0, "", 0);
    });
    // Inside the border: the check mark only.
    ExpectInk(path, {{23, 23, 37, 37, 5}, {23, 83, 37, 97, 0}, {23, 143, 37, 157, 5}});
}

TEST_F(FormFieldsTest, TextAndChosenValuesAreDrawnByReaders)
{
    const std::string path = dir.File("values.pdf");
    WriteOnePage(path, [&](Tavlo& pdf) {
        pdf.SetFont("Helvetica", 14, 0, 0);
        pdf.SetColorFill("White");
        pdf.AddField("pieno", 0, 20, 20, 150, 25, "MMMMMMMM", 0, "", 16384);
        pdf.AddField("vuoto", 0, 20, 60, 150, 25, "", 0, "", 16384);
        pdf.AddField("scelta", 3, 20, 100, 150, 25, "WWWWWW|MMMMMM", 1, "", 16384);
        pdf.AddField("nessuna", 3, 20, 140, 150, 25, "WWWWWW|MMMMMM", 0, "", 16384);
    });
    ExpectInk(path, {{20, 20, 150, 45, 20}, {20, 60, 150, 85, 0}, {20, 100, 150, 125, 20}, {20, 140, 150, 165, 0}});
}
