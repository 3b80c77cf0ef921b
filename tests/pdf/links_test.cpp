// Links and named destinations read back by qpdf: addresses, other files, scripts, layer
// switches, pages (absolute, relative, by word), bookmarks and named references, each
// resolved to the page object it reaches; link rectangles over the boxes drawn; numbers no
// reader could take refused before anything is written.

#include "pdf/AnnotationChecks.h"
#include "pdf/ErrorRaised.h"
#include "support/pdf/tools.h"

#include <limits>

using namespace tavlo;
using namespace tavlo::test;

// Pins addresses (an address holds ASCII only: other characters as the escapes of their
// UTF-8 bytes), other files, scripts, highlight and border words, schemes not taken, and
// the layer-switch script; every reader finds the scripts.
TEST(Links, AddressesFilesScriptsAndLayers)
{
    const std::string path = WriteOnePage("web.pdf", [](Tavlo& pdf) {
        pdf.BeginLayer("Note", 1, 1);
        pdf.EndLayer();
        pdf.BeginLayer("Prezzi", 0, 1);
        pdf.EndLayer();
        PaintBox(pdf, 10, 10, 100, 20);
        pdf.LinkTo("http://www.example.com/a?b=1", 0, 1);
        pdf.LinkTo("https://www.example.com/(sicuro)", 2, 3);
        pdf.LinkTo("mailto:ufficio@example.com", 0, 0);
        pdf.LinkTo("file:archivio 2024.pdf", 0, 2);
        pdf.LinkTo("script:app.alert('ciao');", 0, 9);
        pdf.LinkTo("ftp://example.com", 0, 0);
        pdf.LinkTo("HTTP://example.com", 0, 0);
        pdf.LinkTo("bookmark:senza chiocciola", 0, 0);
        pdf.LinkTo("http://example.com/citt\xE0 vecchia?\x80=1", 0, 0);
        pdf.LinkTo("layer:ON(Note) TOGGLE(Prezzi)", 0, 0);
    });
    ExpectSummaryGolden("links_addresses.txt", path);
    const std::string js = RunTool("pdfinfo -js " + Quote(path)).output;
    EXPECT_NE(js.find("app.alert('ciao');"), std::string::npos) << js;
    EXPECT_NE(js.find("getOCGs"), std::string::npos) << js;
    EXPECT_EQ(RunTool("mutool show -b " + Quote(path) + " trailer/Root/Pages/Kids/1/Annots/5/A/JS").output,
              "app.alert('ciao');");
}

// Pins page targets (last, previous, relative beyond the first, by word, with a fraction,
// zero, next, first, beyond the last), each link's own destination record and views in page
// space with the margins; named references (defined again: the later one counts; before the
// page that uses them) and bookmarks made before and after the first page.
TEST(Links, PagesReferencesAndBookmarksReachThePagesTheyName)
{
    const std::string path = WriteDocument("pages.pdf", [](Tavlo& pdf) {
                                 pdf.SetMargins(20, 0, 30, 0, false);
                                 const std::string early = pdf.AddBookmark("Prima", 1, 2, 0, 100, 0, 0, 0, "", 0);
                                 pdf.BeginPage();  // 1
                                 PaintBox(pdf, 0, 0, 50, 20);
                                 pdf.SetXY(100, 200);
                                 pdf.DefineRef("inizio", 4, 0, 0, 0, 0, 200);
                                 pdf.DefineRef("con spazio", 0, 0, 0, 0, 0, 0);
                                 pdf.LinkTo("page:#last", 0, 0, 4, 10, 20, 0, 0, 150);
                                 pdf.LinkTo("page:#PREV", 0, 0, 0, 0, 0, 0, 0, 0);
                                 pdf.LinkTo("page:-5", 0, 0, 1, 10, 0, 0, 0, 0);
                                 pdf.LinkTo("page:#parola", 0, 0, 2, 0, 40, 0, 0, 0);
                                 pdf.LinkTo("page:2.6", 0, 0, 3, 10, 20, 100, 50, 0);
                                 pdf.LinkTo("page:0", 0, 0, 7, 0, 0, 0, 0, 0);
                                 pdf.LinkTo("ref:inizio", 0, 0);
                                 pdf.BeginPage();  // 2
                                 const std::string second = pdf.AddBookmark("Seconda", 1, 4, 5, 6, 0, 0, 100, "", 0);
                                 pdf.LinkTo("page:#next", 0, 0, 0, 0, 0, 0, 0, 0);
                                 pdf.LinkTo("page:#First", 0, 0, 0, 0, 0, 0, 0, 0);
                                 pdf.DefineRef("inizio", 0, 0, 0, 0, 0, 0);  // the later one counts
                                 pdf.LinkTo("ref:con spazio", 0, 0);
                                 pdf.LinkTo("ref:inizio", 0, 0);
                                 pdf.LinkTo("bookmark:" + second, 0, 0);
                                 pdf.LinkTo("bookmark:" + early, 0, 0);
                                 // A bookmark that does not exist is out of range.
                                 EXPECT_EQ(ErrorRaised([&] { pdf.LinkTo("bookmark:@99", 0, 0); }),
                                           ErrorCode::SubscriptOutOfRange);
                                 pdf.BeginPage();  // 3
                                 pdf.LinkTo("page:+2", 0, 0, 0, 0, 0, 0, 0, 0);
                                 pdf.LinkTo("page:+1", 0, 0, 0, 0, 0, 0, 0, 0);
                                 pdf.BeginPage();  // 4
                                 pdf.LinkTo("page:#next", 0, 0, 0, 0, 0, 0, 0, 0);
                                 pdf.LinkTo("page:99", 0, 0, 0, 0, 0, 0, 0, 0);
                             }).path;
    ExpectSummaryGolden("links_pages.txt", path);
    // The first definition of "inizio", at the current position, checked where it is the only one.
    const auto facts = InteractiveSummary(WriteDocument("once.pdf", [](Tavlo& pdf) {
                                              pdf.SetMargins(10, 10, 10, 10, false);
                                              pdf.BeginPage();
                                              pdf.SetXY(100, 200);
                                              pdf.DefineRef("inizio", 4, 0, 0, 0, 0, 200);
                                              pdf.LinkTo("ref:inizio", 0, 0);
                                          }).path);
    EXPECT_EQ(Fact(facts, "page1.annot1.dest.view"), "/XYZ 110 632 2");
}

TEST(Links, LinkRectanglesCoverTheDrawnBoxes)
{
    struct Setting {
        std::int32_t unit;
        float left, top, x, y, w, h;
    };
    for (const Setting& s : {Setting{0, 0, 0, 70, 110, 170, 45}, Setting{0, 50, 80, 70, 110, 170, 45},
                             Setting{2, 12, 18, 25, 40, 60, 15}}) {
        const std::string path = WriteDocument("cover.pdf", [&](Tavlo& pdf) {
                                     pdf.SetScale(s.unit);
                                     pdf.SetMargins(s.left, 0, s.top, 0, false);
                                     pdf.BeginPage();
                                     PaintBox(pdf, s.x, s.y, s.w, s.h);
                                     pdf.LinkTo("http://example.com", 0, 0);
                                 }).path;
        ExpectFirstAnnotationCoversDrawnBox(path, 100);
    }
}

TEST(Links, EncryptedLinksAndScriptsDecryptToThePlainDocument)
{
    auto build = [](Tavlo& pdf) {
        pdf.OnDocEvent(2, "apri();", true);
        pdf.OnDocEvent(3, "chiudi();", true);
        pdf.OnDocEvent(8, "var comune = 1;", true);
        pdf.BeginPage();
        pdf.OnDocEvent(0, "entra();", true);
        PaintBox(pdf, 10, 10, 100, 20);
        pdf.DefineRef("qui", 0, 5, 5, 0, 0, 0);
        pdf.LinkTo("https://example.com/(riservato)", 0, 1);
        pdf.LinkTo("file:segreto.pdf", 0, 1);
        pdf.LinkTo("script:segreto();", 0, 1);
        pdf.BeginPage();
        pdf.LinkTo("ref:qui", 0, 1);
        pdf.LinkTo("page:#first", 0, 1, 4, 10, 10, 0, 0, 100);
    };
    const auto expected = InteractiveSummary(WriteDocument("plain.pdf", build).path);
    ASSERT_EQ(Fact(expected, "page1.annot1.A.uri"), "https://example.com/(riservato)");
    const WrittenPdf doc =
        WriteDocument("secret.pdf", build, {[](Tavlo& pdf) { pdf.SetProtection(0, "padrone", ""); }});
    for (const char* text : {"riservato", "segreto", "apri();", "comune"})
        EXPECT_EQ(doc.bytes.find(text), std::string::npos) << text;
    const std::string decrypted = TempPath("decrypted.pdf");
    ASSERT_EQ(RunTool("qpdf --decrypt " + Quote(doc.path) + " " + Quote(decrypted)).exitCode, 0);
    EXPECT_EQ(InteractiveSummary(decrypted), expected);
    EXPECT_NE(RunTool("pdfinfo -js " + Quote(doc.path)).output.find("segreto();"), std::string::npos);
}

// Interactive members given numbers no reader could take (infinite, not a number, beyond the
// 32-bit range) refuse them with the overflow error before writing anything, so the document
// stays valid and keeps what was given correctly; a link before the document leaves nothing.
TEST(Links, UnusableNumbersAreRefusedAndTheFileStaysValid)
{
    Tavlo pdf;
    EXPECT_THROW(pdf.LinkTo("page:1", 0, 0), TavloError);
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = 1e30f;
    const WrittenPdf doc = WriteDocument(pdf, "refused.pdf", [&](Tavlo& p) {
        TavloTestPeer peer(p);
        p.BeginPage();
        const std::vector<std::pair<std::string, std::function<void()>>> calls = {
            {"field x", [&] { p.AddField("a", 0, inf, 10, 10, 10, "", 0, "", 0); }},
            {"field width", [&] { p.AddField("b", 5, 10, 10, huge, 10, "", std::string("x();"), "", 0); }},
            {"field y", [&] { p.AddField("c", 1, 10, nan, 10, 10, "true", 0, "", 0); }},
            {"note box", [&] { p.AddNoteBox("n", 10, 10, 10, -huge, 0, 0, 0, 0, 0); }},
            {"note dash", [&] { p.AddNoteBox("n", 10, 10, 10, 10, 0, 1, inf, 1, 0); }},
            {"note icon", [&] { p.AddNoteIcon("n", 0, -huge, 10, false, 0); }},
            {"reference", [&] { p.DefineRef("r", 4, nan, 10, 0, 0, 100); }},
            {"reference zoom", [&] { p.DefineRef("r", 4, 10, 10, 0, 0, huge); }},
            {"link view", [&] { p.LinkTo("page:1", 0, 0, 3, 10, 10, huge, 10, 0); }},
            {"link box", [&] {
                 peer.SetLastBox(0, 0, inf, 0);
                 p.LinkTo("script:x();", 0, 0);
             }},
        };
        for (const auto& [what, call] : calls)
            EXPECT_EQ(ErrorRaised(call), ErrorCode::Overflow) << what;
        peer.SetLastBox(10, 800, 50, 780);
        p.AddField("buono", 0, 10, 10, 50, 20, "", 0, "", 0);
        p.LinkTo("page:1", 0, 0, 4, 0, 0, 0, 0, 100);
    });
    const auto facts = InteractiveSummary(doc.path);
    EXPECT_EQ(Fact(facts, "form.fields"), "buono");
    EXPECT_EQ(Fact(facts, "page1.annot1.dest.name"), "/_LINK_1");
    EXPECT_EQ(Fact(facts, "page1.annot2.T"), "buono");
    EXPECT_EQ(Fact(facts, "page1.annot3.Subtype"), "<none>");
    // Nothing half-written: the refused scripts never reached the file.
    EXPECT_EQ(doc.bytes.find("x();"), std::string::npos);
}
