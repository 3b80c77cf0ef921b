// Form fields read back by qpdf (type, flags, options, values, rectangles), drawn by poppler
// and mupdf over the boxes they were meant to cover, and decrypted by qpdf to the plain
// document.

#include "pdf/AnnotationChecks.h"
#include "pdf/ErrorRaised.h"
#include "pdf/core/SecurityHandler.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/tools.h"

#include <clocale>

using namespace tavlo;
using namespace tavlo::test;

namespace {

void EveryKind(Tavlo& pdf)
{
    pdf.BeginPage();
    pdf.SetFont("Helvetica", 11, 0, 0);
    pdf.AddField("nome", 0, 10, 10, 150, 20, "Mario (R) \\ figlio", 30, "Il nome", 0);
    pdf.AddField("privacy", 1, 10, 40, 15, 15, "TrUe", 0, "", 0);
    pdf.AddField("newsletter", 1, 40, 40, 15, 15, "s\xEC", 0, "", 0);
    pdf.AddField("colori", 2, 10, 70, 100, 60, "Rosso|Verde|Blu", 2, "Colori pi\xF9 usati", 128);
    pdf.AddField("taglia", 3, 10, 140, 100, 20, "S|M|L", 0, "", 0);
    pdf.AddField("sesso", 4, 10, 170, 15, 15, "true", 0, "", 0);
    pdf.AddField("invia", 5, 10, 200, 80, 20, "Invia", std::string("this.submitForm('x');"), "Manda il modulo", 0);
    pdf.AddField("vuoto", 5, 100, 200, 80, 20, "Niente", std::string(), "", 0);
    pdf.AddField("numero", 5, 200, 200, 80, 20, "Zero", 0, "", 0);
    pdf.BeginPage();  // fields belong to their own page
    pdf.AddField("tre", 0, 10, 10, 50, 20, "", 0, "", 0);
}

} // namespace

// Pins every entry of a field of each kind (text, check box, list, combo, radio, push
// button with and without a script) and of a field on a second page: reviewed against the
// types (/Tx /Btn /Ch), the flags (list 2097152, combo 131072, radio 49152, push 65536), the
// values and options, the check marks, the default appearance naming a font of the form.
TEST(FormFields, EveryKindReadBackByQpdf)
{
    const std::string path = WriteDocument("kinds.pdf", EveryKind).path;
    ExpectSummaryGolden("form_fields_kinds.txt", path);
    // qpdf's own form model agrees on the kinds.
    const QpdfDocument q(path);
    std::string kinds;
    for (const Json& field : q.Root()["acroform"]["fields"].items)
        for (const char* kind : {"ischeckbox", "isradiobutton", "ischoice", "istext"})
            if (field[kind].text == "true")
                kinds += std::string(kind) + " ";
    EXPECT_EQ(kinds, "istext ischeckbox ischeckbox ischoice ischoice isradiobutton istext ");
}

// Pins the option word: view flags (hidden, no print), field flags, alignment, borders
// (none, dashed, inset, beveled, underline), check-mark symbols and rotations; the version
// asked for (1.5 for these, 1.4 for no-scroll alone).
TEST(FormFields, OptionWordFlagsBordersMarksAndRotation)
{
    const std::string path = WriteOnePage("options.pdf", [](Tavlo& pdf) {
        pdf.SetFont("Courier", 9, 0, 0);
        const std::pair<const char*, std::int32_t> texts[] = {
            {"hidden", 1},     {"noprint", 2}, {"hiddennoprint", 3},
            {"flags", 8 | 16 | 32 | 128 | 256 | 512 | 1024}, {"right", 2048 | 4096}, {"centre", 4096},
            {"autosize", 8192}, {"noborder", 16384 | 4}, {"dashed", 32768 | 131072 | 524288},
            {"inset", 65536 | 524288 | 262144}, {"beveled", 262144 | 1048576}, {"underline", 1048576}};
        float y = 10;
        for (const auto& [name, options] : texts)
            pdf.AddField(name, 0, 10, y += 30, 50, 20, "", 8, "", options);
        const std::pair<const char*, std::int32_t> marks[] = {{"mark5", 4194304 | 2097152}, {"markF", 8388608},
                                                               {"markl", 2097152 | 16777216}, {"markH", 16777216},
                                                               {"markn", 33554432}};
        y = 10;
        for (const auto& [name, options] : marks)
            pdf.AddField(name, 1, 200, y += 30, 15, 15, "", 0, "", options);
        pdf.AddField("r90", 5, 300, 10, 50, 20, "A", std::string(), "", 67108864 | 134217728);
        pdf.AddField("r180", 5, 300, 40, 50, 20, "B", std::string(), "", 134217728 | 268435456);
        pdf.AddField("r270", 5, 300, 70, 50, 20, "C", std::string(), "", 268435456);
    });
    EXPECT_EQ(InfoField(path, "PDF version"), "1.5");
    ExpectSummaryGolden("form_fields_options.txt", path);
    const std::string v14 = WriteOnePage("v14.pdf", [](Tavlo& pdf) { pdf.AddField("a", 0, 10, 10, 50, 20, "", 0, "", 512); });
    EXPECT_EQ(InfoField(v14, "PDF version"), "1.4");
}

// Selections outside the options are ignored or refused, numbers given as text are read with
// a full stop whatever the locale (the host may run under one whose separator is a comma).
TEST(FormFields, SelectionsAndNumbersGivenAsText)
{
    std::setlocale(LC_ALL, "it_IT.UTF-8");
    const std::string path = WriteOnePage("range.pdf", [](Tavlo& pdf) {
        pdf.AddField("oltre", 3, 10, 10, 100, 20, "a|b|c", 4, "", 0);
        pdf.AddField("negativa", 2, 10, 40, 100, 40, "a|b|c", -2, "", 0);
        pdf.AddField("ultima", 2, 10, 90, 100, 40, "a|b|c", std::string("3"), "", 0);
        pdf.AddField("scelta", 3, 10, 140, 100, 20, "a|b|c", std::string("2.0"), "", 0);
        pdf.AddField("testo", 0, 10, 170, 100, 20, "", std::string(" 12.4 "), "", 0);
        // An option beyond 32767 is an overflow; a length that is no number, a type mismatch.
        EXPECT_EQ(ErrorRaised([&] { pdf.AddField("enorme", 3, 10, 140, 100, 20, "a|b", 40000, "", 0); }),
                  ErrorCode::Overflow);
        EXPECT_EQ(ErrorRaised([&] { pdf.AddField("testo", 0, 10, 170, 100, 20, "", std::string("dieci"), "", 0); }), 13);
        EXPECT_EQ(ErrorRaised([&] { pdf.AddField("virgola", 0, 10, 70, 100, 20, "", std::string("12,4"), "", 0); }), 13);
        // A kind the writer does not know makes no widget at all.
        pdf.AddField("ignoto", 9, 10, 200, 100, 20, "", 0, "", 0);
        TavloTestPeer(pdf).SetLastBox(10, 800, 50, 780);
        pdf.LinkTo("page:1.6", 0, 0, 4, 10, 10, 0, 0, 100);
        pdf.BeginPage();
    });
    std::setlocale(LC_ALL, "C");
    const auto facts = InteractiveSummary(path);
    EXPECT_EQ(Fact(facts, "form.fields"), "oltre negativa ultima scelta testo");
    const std::pair<const char*, const char*> expected[] = {
        {"page1.annot1.dest.page", "2"}, {"page1.annot2.Opt", "a|b|c"}, {"page1.annot2.V", "<none>"},
        {"page1.annot3.V", "<none>"},    {"page1.annot4.V", "c"},       {"page1.annot5.V", "b"},
        {"page1.annot6.MaxLen", "12"}};
    for (const auto& [key, value] : expected)
        EXPECT_EQ(Fact(facts, key), value) << key;
}

TEST(FormFields, RectanglesCoverTheBoxesDrawnAtTheSamePlace)
{
    struct Setting {
        std::int32_t unit;
        float left, right, top, bottom;
    };
    for (const Setting& s : {Setting{0, 0, 0, 0, 0}, Setting{0, 36, 10, 72, 20}, Setting{2, 15, 5, 25, 10}}) {
        const std::string path = WriteDocument("cover.pdf", [&](Tavlo& pdf) {
                                     pdf.SetScale(s.unit);
                                     pdf.SetMargins(s.left, s.right, s.top, s.bottom, false);
                                     pdf.BeginPage();
                                     const float x = s.unit == 2 ? 20.f : 57.f, y = s.unit == 2 ? 30.f : 85.f;
                                     const float w = s.unit == 2 ? 40.f : 113.f, h = s.unit == 2 ? 12.f : 34.f;
                                     PaintBox(pdf, x, y, w, h);
                                     pdf.AddField("campo", 0, x, y, w, h, "", 0, "", 0);
                                 }).path;
        ExpectFirstAnnotationCoversDrawnBox(path, 50);
    }
}

TEST(FormFields, EncryptedFieldsDecryptToThePlainDocument)
{
    auto build = [](Tavlo& pdf) {
        EveryKind(pdf);
        pdf.OnFieldEvent(6, "nome", "AFNumber_Keystroke(2);");
        pdf.AddNoteBox("Nota (riservata)", 300, 10, 100, 40, 0, 0, 0, 0, 0);
        pdf.AddNoteIcon("Commento \\ segreto", 2, 300, 80, false, 0);
    };
    const auto expected = InteractiveSummary(WriteDocument("plain.pdf", build).path);
    for (const std::int32_t strength : {0, Permission::Strong}) {
        const WrittenPdf doc = WriteDocument(
            "secret.pdf", build, {[&](Tavlo& pdf) { pdf.SetProtection(strength, "padrone", "utente"); }, "utente"});
        for (const char* secret : {"Mario", "riservata", "submitForm"})
            EXPECT_EQ(doc.bytes.find(secret), std::string::npos) << secret;
        const std::string decrypted = TempPath("decrypted.pdf");
        ASSERT_EQ(RunTool("qpdf --password=utente --decrypt " + Quote(doc.path) + " " + Quote(decrypted)).exitCode, 0);
        EXPECT_EQ(InteractiveSummary(decrypted), expected);
        EXPECT_EQ(InteractiveSummary(doc.path, "utente"), expected);
    }
}

// Readers draw check boxes given as on checked, and the text and chosen values of fields.
TEST(FormFields, ValuesAreDrawnByReaders)
{
    const std::string path = WriteOnePage("values.pdf", [](Tavlo& pdf) {
        pdf.SetColorFill("White");
        pdf.AddField("si", 1, 20, 20, 20, 20, "true", 0, "", 0);
        pdf.AddField("no", 1, 20, 80, 20, 20, "false", 0, "", 0);
        pdf.AddField("scelta", 4, 20, 140, 20, 20, "TRUE", 0, "", 0);
        pdf.SetFont("Helvetica", 14, 0, 0);
        pdf.AddField("pieno", 0, 100, 20, 150, 25, "MMMMMMMM", 0, "", 16384);
        pdf.AddField("vuoto", 0, 100, 60, 150, 25, "", 0, "", 16384);
        pdf.AddField("elenco", 3, 100, 100, 150, 25, "WWWWWW|MMMMMM", 1, "", 16384);
        pdf.AddField("nessuna", 3, 100, 140, 150, 25, "WWWWWW|MMMMMM", 0, "", 16384);
    });
    // Inside the border of the check boxes: the check mark only.
    ExpectInk(path, {{23, 23, 37, 37, 5},
                     {23, 83, 37, 97, 0},
                     {23, 143, 37, 157, 5},
                     {100, 20, 250, 45, 20},
                     {100, 60, 250, 85, 0},
                     {100, 100, 250, 125, 20},
                     {100, 140, 250, 165, 0}});
    // Without a chosen font the appearance names a font of the form.
    const auto facts = InteractiveSummary(path);
    const std::string da = Fact(facts, "page1.annot1.DA");
    ASSERT_EQ(da[0], '/');
    EXPECT_NE(Fact(facts, "form.fonts").find(da.substr(0, da.find(' '))), std::string::npos) << da;
}
