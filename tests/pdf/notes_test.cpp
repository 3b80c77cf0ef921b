// Note annotations read back by qpdf and checked by poppler and mupdf: text, author,
// alignment, border, colour, icon, and where the box lands on the page.

#include "pdf/AnnotationChecks.h"

using namespace tavlo;
using namespace tavlo::test;

using NotesTest = AnnotationTest;

TEST_F(NotesTest, BoxesWithTheirAlignmentBorderAndColours)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("boxes.pdf");
    pdf.BeginDoc(path);
    pdf.SetDocProperty("Note", "", "Anna (revisore)", "", "", "");
    pdf.BeginPage();
    pdf.SetFont("Times", 8, 0, 0);
    pdf.SetColorFill("#FFFF00");
    pdf.SetColorLine("#FF0000");
    peer.State().LineWidth = 2;
    pdf.AddNoteBox("Destra (a) \\ b", 10, 10, 100, 40, 2, 0, 0, 0, 4);
    pdf.AddNoteBox("Centro", 10, 60, 100, 40, 4, 1, 3, 2, 0);
    pdf.AddNoteBox("Sinistra", 10, 110, 100, 40, 3, 2, 0, 0, 0);
    pdf.AddNoteBox("Incassata", 10, 160, 100, 40, 0, 3, 0, 0, 0);
    pdf.AddNoteBox("Sottolineata", 10, 210, 100, 40, 0, 4, 0, 0, 0);
    pdf.AddNoteBox("Senza stile", 10, 260, 100, 40, 0, 9, 0, 0, 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const auto facts = InteractiveSummary(path);

    ExpectFacts(facts, {{"page1.annot1.Subtype", "/FreeText"},
                        {"page1.annot1.Contents", "Destra (a) \\\\ b"},
                        {"page1.annot1.T", "Anna (revisore)"},
                        {"page1.annot1.F", "4"},
                        {"page1.annot1.Q", "2"},
                        {"page1.annot1.C", "1 1 0"},
                        {"page1.annot1.BS/W", "2"},
                        {"page1.annot1.BS/S", "/S"},
                        {"page1.annot2.Q", "1"},
                        {"page1.annot2.BS/S", "/D"},
                        {"page1.annot2.BS/D", "3 2"},
                        {"page1.annot3.Q", "<none>"},
                        {"page1.annot3.BS/S", "/B"},
                        {"page1.annot4.BS/S", "/I"},
                        {"page1.annot5.BS/S", "/U"},
                        {"page1.annot6.BS/S", "<none>"},
                        {"page1.annot6.BS/W", "2"},
                        {"page1.annot7.Subtype", "<none>"}});
    // The appearance names the current font, its size and the line colour.
    const std::string da = Fact(facts, "page1.annot1.DA");
    EXPECT_NE(da.find(" 8 Tf 1 0 0 rg"), std::string::npos) << da;
    EXPECT_NE(Fact(facts, "page1.annot1.rect"), "<none>");
}

TEST_F(NotesTest, IconsOpenAndClosed)
{
    Tavlo pdf;
    const std::string path = dir.File("icons.pdf");
    pdf.BeginDoc(path);
    pdf.SetDocProperty("", "", "Luca", "", "", "");
    pdf.BeginPage();
    pdf.SetColorFill("#0000FF");
    const char* names[] = {"/Note", "/Comment", "/Key", "/Help", "/Paragraph", "/NewParagraph", "/Insert", "<none>"};
    for (int icon = 0; icon < 8; ++icon)
        pdf.AddNoteIcon("Icona " + std::to_string(icon), icon, 10.f + 30 * icon, 20, icon % 2 == 0, 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const auto facts = InteractiveSummary(path);
    for (int icon = 0; icon < 8; ++icon) {
        const std::string key = "page1.annot" + std::to_string(icon + 1);
        EXPECT_EQ(Fact(facts, key + ".Subtype"), "/Text");
        EXPECT_EQ(Fact(facts, key + ".Name"), names[icon]);
        EXPECT_EQ(Fact(facts, key + ".Open"), icon % 2 == 0 ? "True" : "False");
        EXPECT_EQ(Fact(facts, key + ".Contents"), "Icona " + std::to_string(icon));
        EXPECT_EQ(Fact(facts, key + ".T"), "Luca");
        EXPECT_EQ(Fact(facts, key + ".C"), "0 0 1");
        // The icon's rectangle is its point: x, and y from the top of the page.
        EXPECT_EQ(Fact(facts, key + ".rect"), [&] {
            const std::string x = std::to_string(10 + 30 * icon);
            return x + " 822 " + x + " 822";
        }());
    }
}

TEST_F(NotesTest, EmptyTextOrAuthorAndPatternColoursWriteNothingForThem)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("empty.pdf");
    pdf.BeginDoc(path);
    pdf.SetDocProperty("", "", "", "", "", "");
    pdf.BeginPage();
    peer.State().FillColor = "RIGHE";
    peer.State().LineColor = "RIGHE";
    pdf.AddNoteBox("", 10, 10, 50, 50, 0, 0, 0, 0, 0);
    pdf.AddNoteIcon("", 0, 10, 100, false, 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const auto facts = InteractiveSummary(path);
    for (const std::string key : {"page1.annot1", "page1.annot2"}) {
        EXPECT_EQ(Fact(facts, key + ".T"), "<none>");
        EXPECT_EQ(Fact(facts, key + ".Contents"), "<none>");
        EXPECT_EQ(Fact(facts, key + ".C"), "<none>");
    }
    const std::string da = Fact(facts, "page1.annot1.DA");
    EXPECT_EQ(da.find("rg"), std::string::npos) << da;
    EXPECT_NE(da.find(" Tf"), std::string::npos) << da;
}

TEST_F(NotesTest, NotesOfARecordedObjectReachThePagesThatPlayIt)
{
    Tavlo pdf;
    const std::string path = dir.File("object.pdf");
    pdf.BeginDoc(path);
    pdf.BeginObject("timbro", 7);  // played on every page
    pdf.AddNoteIcon("Nel timbro", 0, 10, 10, false, 0);
    pdf.EndObject();
    pdf.BeginPage();
    pdf.AddNoteIcon("Sulla pagina", 1, 50, 50, false, 0);
    pdf.BeginPage();
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const auto facts = InteractiveSummary(path);
    EXPECT_EQ(Fact(facts, "page1.annot1.Contents"), "Nel timbro");
    EXPECT_EQ(Fact(facts, "page1.annot2.Contents"), "Sulla pagina");
    EXPECT_EQ(Fact(facts, "page1.annot3.Contents"), "<none>");
    EXPECT_EQ(Fact(facts, "page2.annot1.Contents"), "Nel timbro");
    EXPECT_EQ(Fact(facts, "page2.annot2.Contents"), "<none>");
}

TEST_F(NotesTest, BoxesCoverWhatWasDrawnThereWithMargins)
{
    Tavlo pdf;
    const std::string path = dir.File("cover.pdf");
    pdf.BeginDoc(path);
    pdf.SetScale(3);  // centimetres
    pdf.SetMargins(2, 1, 3, 1, true);
    pdf.BeginPage();
    PaintBox(pdf, 1.5, 2, 5, 2.5);
    pdf.AddNoteBox("Qui", 1.5f, 2, 5, 2.5f, 0, 0, 0, 0, 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    ExpectFirstAnnotationCoversDrawnBox(path, 100);
}

TEST_F(NotesTest, BoxTextIsDrawnByReaders)
{
    const std::string path = dir.File("drawn.pdf");
    WriteOnePage(path, [&](Tavlo& pdf) {
        pdf.SetFont("Helvetica", 14, 0, 0);
        pdf.SetColorFill("White");
        pdf.AddNoteBox("MMMMMMMM", 20, 20, 200, 40, 0, 0, 0, 0, 4);
        pdf.AddNoteBox("", 20, 100, 200, 40, 0, 0, 0, 0, 4);
    });
    ExpectInk(path, {{20, 20, 220, 60, 20}, {20, 100, 220, 140, 0}});
}

TEST_F(NotesTest, BoxTextTakesTheLineColourInReaders)
{
    const std::string path = dir.File("colour.pdf");
    WriteOnePage(path, [&](Tavlo& pdf) {
        pdf.SetFont("Helvetica", 14, 0, 0);
        pdf.SetColorFill("White");
        pdf.SetColorLine("#FF0000");
        pdf.AddNoteBox("MMMMMMMM", 20, 20, 200, 40, 0, 0, 0, 0, 4);
        pdf.SetColorLine("#000000");
        pdf.AddNoteBox("MMMMMMMM", 20, 100, 200, 40, 0, 0, 0, 0, 4);
    });
    // Inside the border: the text only, red in the first box and black in the second.
    const auto red = RedPixelsIn(path, 1, 24, 24, 216, 56);
    const auto black = RedPixelsIn(path, 1, 24, 104, 216, 136);
    EXPECT_GT(red[0], 20) << "poppler";
    EXPECT_GT(red[1], 20) << "mupdf";
    EXPECT_EQ(black[0], 0) << "poppler";
    EXPECT_EQ(black[1], 0) << "mupdf";
}

TEST_F(NotesTest, WithoutAChosenFontTheBoxNamesAFontOfTheForm)
{
    Tavlo pdf;
    const std::string path = dir.File("nofont.pdf");
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.AddNoteBox("MMMM", 20, 20, 200, 40, 0, 0, 0, 0, 4);
    pdf.AddField("campo", 0, 20, 100, 50, 20, "x", 0, "", 0);
    pdf.EndDoc();
    // poppler complains of a font missing from the form's resources.
    ExpectReadersAccept(path);
    const auto facts = InteractiveSummary(path);
    const std::string da = Fact(facts, "page1.annot1.DA");
    ASSERT_EQ(da[0], '/') << da;
    EXPECT_NE((" " + Fact(facts, "form.fonts") + " ").find(" " + da.substr(0, da.find(' ')) + " "), std::string::npos)
        << da;
}

TEST_F(NotesTest, TextAndAuthorReadBackAsTheirCharacters)
{
    for (const bool encrypted : {false, true}) {
        SCOPED_TRACE(encrypted ? "encrypted" : "plain");
        Tavlo pdf;
        const std::string path = dir.File("characters.pdf");
        pdf.BeginDoc(path);
        if (encrypted)
            pdf.SetProtection(4096, "padrone", "utente");
        // Windows-1252: the euro sign, an en dash, typographic quotes and apostrophe, and
        // accented letters.
        pdf.SetDocProperty("", "", "Niccol\xF2 D\x92" "Amico", "", "", "");
        pdf.BeginPage();
        pdf.AddNoteBox("\x80 10 \x96 \x93pagato\x94", 10, 10, 100, 40, 0, 0, 0, 0, 0);
        pdf.AddNoteIcon("perch\xE9 \x85", 0, 10, 100, false, 0);
        pdf.EndDoc();
        ExpectReadersAccept(path, encrypted ? "utente" : "");
        const auto facts = InteractiveSummary(path, encrypted ? "utente" : "");
        EXPECT_EQ(Fact(facts, "page1.annot1.Contents"), "\u20AC 10 \u2013 \u201Cpagato\u201D");
        EXPECT_EQ(Fact(facts, "page1.annot1.T"), "Niccol\u00F2 D\u2019Amico");
        EXPECT_EQ(Fact(facts, "page1.annot2.Contents"), "perch\u00E9 \u2026");
        EXPECT_EQ(Fact(facts, "page1.annot2.T"), "Niccol\u00F2 D\u2019Amico");
    }
}
