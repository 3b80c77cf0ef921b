// Note annotations read back by qpdf and drawn by poppler and mupdf: text, author, alignment,
// border, colour, icon, and where the box lands on the page.

#include "pdf/AnnotationChecks.h"

using namespace tavlo;
using namespace tavlo::test;

// Pins every entry of boxes with each alignment and border style (fill and line colour, line
// width, dash), of icons of each kind open and closed, and of the notes of a recorded object
// played on two pages: reviewed against what viewers take (Q 0/1/2, BS /S /D /B /I /U, the
// seven icon names, C from the fill colour, DA with the font, size and line colour; empty
// texts and authors and pattern colours leave their entries out).
TEST(Notes, EntriesOfBoxesIconsAndRecordedNotes)
{
    const std::string path = WriteDocument(
                                 "notes.pdf",
                                 [](Tavlo& pdf) {
                                     pdf.BeginObject("timbro", 7);  // played on every page
                                     pdf.AddNoteIcon("Nel timbro", 0, 10, 10, false, 0);
                                     pdf.EndObject();
                                     pdf.BeginPage();
                                     pdf.SetFont("Times", 8, 0, 0);
                                     pdf.SetColorFill("#FFFF00");
                                     pdf.SetColorLine("#FF0000");
                                     pdf.SetLineWidth(2);
                                     pdf.AddNoteBox("Destra (a) \\ b", 10, 10, 100, 40, 2, 0, 0, 0, 4);
                                     pdf.AddNoteBox("Centro", 10, 60, 100, 40, 4, 1, 3, 2, 0);
                                     pdf.AddNoteBox("Sinistra", 10, 110, 100, 40, 3, 2, 0, 0, 0);
                                     pdf.AddNoteBox("Incassata", 10, 160, 100, 40, 0, 3, 0, 0, 0);
                                     pdf.AddNoteBox("Sottolineata", 10, 210, 100, 40, 0, 4, 0, 0, 0);
                                     pdf.AddNoteBox("Senza stile", 10, 260, 100, 40, 0, 9, 0, 0, 0);
                                     pdf.SetColorFill("#0000FF");
                                     for (int icon = 0; icon < 8; ++icon)
                                         pdf.AddNoteIcon("Icona " + std::to_string(icon), icon, 10.f + 30 * icon, 320,
                                                         icon % 2 == 0, 0);
                                     pdf.BeginPage();
                                     pdf.BeginTiling("righe", 0, 0, 4, 4, 4, 4, 0);
                                     pdf.EndTiling();
                                     pdf.SetColorFill("righe");
                                     pdf.SetColorLine("righe");
                                     pdf.AddNoteBox("", 10, 10, 50, 50, 0, 0, 0, 0, 0);
                                 },
                                 {[](Tavlo& pdf) { pdf.SetDocProperty("Note", "", "Anna (revisore)", "", "", ""); }})
                                 .path;
    ExpectSummaryGolden("notes.txt", path);
}

TEST(Notes, BoxesCoverWhatWasDrawnThereWithMargins)
{
    const std::string path = WriteDocument("cover.pdf", [](Tavlo& pdf) {
                                 pdf.SetScale(3);  // centimetres
                                 pdf.SetMargins(2, 1, 3, 1, true);
                                 pdf.BeginPage();
                                 PaintBox(pdf, 1.5, 2, 5, 2.5);
                                 pdf.AddNoteBox("Qui", 1.5f, 2, 5, 2.5f, 0, 0, 0, 0, 0);
                             }).path;
    ExpectFirstAnnotationCoversDrawnBox(path, 100);
}

// Readers draw the box's text, in the line colour, and nothing for an empty box; without a
// chosen font the box names a font of the form's resources (poppler complains otherwise).
TEST(Notes, BoxTextIsDrawnInTheLineColour)
{
    const std::string path = WriteOnePage("drawn.pdf", [](Tavlo& pdf) {
        pdf.SetColorFill("White");
        pdf.AddNoteBox("MMMM", 20, 180, 200, 40, 0, 0, 0, 0, 4);
        pdf.SetFont("Helvetica", 14, 0, 0);
        pdf.SetColorLine("#FF0000");
        pdf.AddNoteBox("MMMMMMMM", 20, 20, 200, 40, 0, 0, 0, 0, 4);
        pdf.SetColorLine("#000000");
        pdf.AddNoteBox("MMMMMMMM", 20, 100, 200, 40, 0, 0, 0, 0, 4);
        pdf.AddNoteBox("", 20, 260, 200, 40, 0, 0, 0, 0, 4);
        pdf.AddField("campo", 0, 300, 20, 50, 20, "x", 0, "", 0);
    });
    ExpectInk(path, {{24, 104, 216, 136, 20}, {20, 180, 220, 220, 10}, {24, 264, 216, 296, 0}});
    RenderOptions colour;
    colour.colour = true;
    for (const Reader reader : {Reader::Poppler, Reader::Mupdf}) {
        const Image image = RenderPage(path, 1, reader, colour);
        EXPECT_GT(RedPixelsIn(image, 24, 24, 216, 56), 20);
        EXPECT_EQ(RedPixelsIn(image, 24, 104, 216, 136), 0);
    }
    const auto facts = InteractiveSummary(path);
    EXPECT_EQ(Fact(facts, "page1.annot1.T"), "<none>");  // no author
    const std::string da = Fact(facts, "page1.annot1.DA");
    EXPECT_NE((" " + Fact(facts, "form.fonts") + " ").find(" " + da.substr(0, da.find(' ')) + " "), std::string::npos)
        << da;
}

TEST(Notes, TextAndAuthorReadBackAsTheirCharacters)
{
    for (const std::string password : {"", "utente"}) {
        const std::string path = WriteOnePage(
            "characters.pdf",
            [](Tavlo& pdf) {
                // Windows-1252: the euro sign, an en dash, typographic quotes and apostrophe,
                // and accented letters.
                pdf.AddNoteBox("\x80 10 \x96 \x93pagato\x94", 10, 10, 100, 40, 0, 0, 0, 0, 0);
                pdf.AddNoteIcon("perch\xE9 \x85", 0, 10, 100, false, 0);
            },
            {[&](Tavlo& pdf) {
                 if (!password.empty())
                     pdf.SetProtection(4096, "padrone", password);
                 pdf.SetDocProperty("", "", "Niccol\xF2 D\x92" "Amico", "", "", "");
             },
             password});
        const auto facts = InteractiveSummary(path, password);
        EXPECT_EQ(Fact(facts, "page1.annot1.Contents"), "\u20AC 10 \u2013 \u201Cpagato\u201D");
        EXPECT_EQ(Fact(facts, "page1.annot1.T"), "Niccol\u00F2 D\u2019Amico");
        EXPECT_EQ(Fact(facts, "page1.annot2.Contents"), "perch\u00E9 \u2026");
    }
}
