// Links and named destinations read back by qpdf: addresses, other files, scripts, layer
// switches, pages (absolute, relative, by word), bookmarks and named references, each
// resolved to the page object it reaches; link rectangles over the boxes drawn.

#include "pdf/AnnotationChecks.h"
#include "pdf/ErrorRaised.h"

using namespace tavlo;
using namespace tavlo::test;

namespace {

using LinksTest = AnnotationTest;

// A filled box drawn in user units, recorded as the last shape the way the drawing
// members record theirs.
void DrawBox(Tavlo& pdf, float x, float y, float w, float h)
{
    PaintBox(pdf, x, y, w, h);
    TavloTestPeer peer(pdf);
    peer.SetLastBox(peer.PageSpaceX(x), peer.PageSpaceY(y), peer.PageSpaceX(x + w), peer.PageSpaceY(y + h));
}

// How many links qpdf finds on the page.
int LinkCount(const std::map<std::string, std::string>& facts, int page)
{
    int n = 0;
    while (Fact(facts, "page" + std::to_string(page) + ".annot" + std::to_string(n + 1) + ".Subtype") == "/Link")
        ++n;
    return n;
}

} // namespace

TEST_F(LinksTest, AddressesFilesAndScripts)
{
    const std::string path = dir.File("web.pdf");
    WriteOnePage(path, [&](Tavlo& pdf) {
        DrawBox(pdf, 10, 10, 100, 20);
        pdf.LinkTo("http://www.example.com/a?b=1", 0, 1);
        pdf.LinkTo("https://www.example.com/(sicuro)", 2, 3);
        pdf.LinkTo("mailto:ufficio@example.com", 0, 0);
        pdf.LinkTo("file:archivio 2024.pdf", 0, 2);
        pdf.LinkTo("script:app.alert('ciao');", 0, 9);
        pdf.LinkTo("ftp://example.com", 0, 0);
        pdf.LinkTo("HTTP://example.com", 0, 0);
        pdf.LinkTo("bookmark:senza chiocciola", 0, 0);
        pdf.LinkTo("http://example.com/citt\xE0 vecchia?\x80=1", 0, 0);
    });
    const auto facts = InteractiveSummary(path);
    EXPECT_EQ(LinkCount(facts, 1), 6);
    // An address holds ASCII only: other characters as the escapes of their UTF-8 bytes.
    EXPECT_EQ(Fact(facts, "page1.annot6.A.uri"), "http://example.com/citt%C3%A0%20vecchia?%E2%82%AC=1");

    ExpectFacts(facts, {{"page1.annot1.A.type", "/URI"},
                        {"page1.annot1.A.uri", "http://www.example.com/a?b=1"},
                        {"page1.annot1.Border", "0 0 0"},
                        {"page1.annot1.H", "/I"},
                        {"page1.annot2.A.uri", "https://www.example.com/(sicuro)"},
                        {"page1.annot2.Border", "0 0 2"},
                        {"page1.annot2.H", "/P"},
                        {"page1.annot3.A.uri", "mailto:ufficio@example.com"},
                        {"page1.annot3.H", "/N"},
                        {"page1.annot4.A.type", "/GoToR"},
                        {"page1.annot4.A.file", "archivio 2024.pdf"},
                        {"page1.annot4.H", "/O"},
                        {"page1.annot5.A.type", "/JavaScript"},
                        {"page1.annot5.A.js", "app.alert('ciao');"},
                        {"page1.annot5.H", "<none>"}});
    EXPECT_EQ(Fact(facts, "page1.annot4.A.dest").substr(0, 7), "0 /XYZ ");
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(Fact(facts, "page1.annot" + std::to_string(i) + ".rect"), "10 812 110 832");

    // Every reader finds the script.
    EXPECT_NE(RunTool("pdfinfo -js " + Quote(path)).output.find("app.alert('ciao');"), std::string::npos);
    EXPECT_NE(RunTool("mutool show -b " + Quote(path) + " trailer/Root/Pages/Kids/1/Annots/5/A/JS").output.find(
                  "app.alert('ciao');"),
              std::string::npos);
}

TEST_F(LinksTest, PageTargetsReachThePagesTheyName)
{
    Tavlo pdf;
    const std::string path = dir.File("pages.pdf");
    pdf.BeginDoc(path);
    pdf.SetMargins(20, 0, 30, 0, false);
    pdf.BeginPage();  // 1
    DrawBox(pdf, 0, 0, 50, 20);
    pdf.LinkTo("page:#last", 0, 0, 4, 10, 20, 0, 0, 150);
    pdf.LinkTo("page:#PREV", 0, 0, 0, 0, 0, 0, 0, 0);
    pdf.LinkTo("page:-5", 0, 0, 1, 10, 0, 0, 0, 0);
    pdf.LinkTo("page:#parola", 0, 0, 2, 0, 40, 0, 0, 0);
    pdf.LinkTo("page:2.6", 0, 0, 3, 10, 20, 100, 50, 0);
    pdf.LinkTo("page:0", 0, 0, 7, 0, 0, 0, 0, 0);
    pdf.BeginPage();  // 2
    pdf.LinkTo("page:#next", 0, 0, 0, 0, 0, 0, 0, 0);
    pdf.LinkTo("page:#First", 0, 0, 0, 0, 0, 0, 0, 0);
    pdf.BeginPage();  // 3
    pdf.LinkTo("page:+2", 0, 0, 0, 0, 0, 0, 0, 0);
    pdf.LinkTo("page:+1", 0, 0, 0, 0, 0, 0, 0, 0);
    pdf.BeginPage();  // 4
    pdf.LinkTo("page:#next", 0, 0, 0, 0, 0, 0, 0, 0);
    pdf.LinkTo("page:99", 0, 0, 0, 0, 0, 0, 0, 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const auto facts = InteractiveSummary(path);
    EXPECT_EQ(Fact(facts, "pages"), "4");

    // Destinations are in page space, margins included: 20 + 10, 842 - 30 - 20.
    ExpectFacts(facts, {{"page1.annot1.dest.page", "4"}, {"page1.annot1.dest.view", "/XYZ 30 792 1.5"},
                        {"page1.annot2.dest.page", "1"}, {"page1.annot2.dest.view", "/FitB"},
                        {"page1.annot3.dest.page", "1"}, {"page1.annot3.dest.view", "/FitV 30"},
                        {"page1.annot4.dest.page", "1"}, {"page1.annot4.dest.view", "/FitH 772"},
                        {"page1.annot5.dest.page", "3"}, {"page1.annot5.dest.view", "/FitR 30 792 130 742"},
                        {"page1.annot6.dest.page", "1"}, {"page2.annot1.dest.page", "3"},
                        {"page2.annot2.dest.page", "1"}, {"page3.annot1.dest.page", "4"},
                        {"page3.annot2.dest.page", "4"}, {"page4.annot1.dest.page", "4"},
                        {"page4.annot2.dest.page", "4"},
                        // Each link names its own destination record.
                        {"page1.annot1.dest.name", "/_LINK_1"}, {"page4.annot2.dest.name", "/_LINK_12"}});
}

TEST_F(LinksTest, NamedReferencesAndBookmarkTargets)
{
    Tavlo pdf;
    const std::string path = dir.File("refs.pdf");
    pdf.BeginDoc(path);
    pdf.SetMargins(10, 10, 10, 10, false);
    const std::string early = pdf.AddBookmark("Prima", 1, 2, 0, 100, 0, 0, 0, "", 0);
    pdf.BeginPage();
    pdf.SetXY(100, 200);
    pdf.DefineRef("inizio", 4, 0, 0, 0, 0, 200);
    pdf.DefineRef("con spazio", 0, 0, 0, 0, 0, 0);
    pdf.LinkTo("page:1", 0, 0, 0, 0, 0, 0, 0, 0);
    pdf.BeginPage();
    const std::string second = pdf.AddBookmark("Seconda", 1, 4, 5, 6, 0, 0, 100, "", 0);
    pdf.DefineRef("inizio", 0, 0, 0, 0, 0, 0);  // defined again: the later one counts
    pdf.LinkTo("ref:con spazio", 0, 0);
    pdf.LinkTo("ref:inizio", 0, 0);
    pdf.LinkTo("bookmark:" + second, 0, 0);
    pdf.LinkTo("bookmark:" + early, 0, 0);
    // A bookmark that does not exist is out of range.
    EXPECT_EQ(ErrorRaised([&] { pdf.LinkTo("bookmark:@99", 0, 0); }), ErrorCode::SubscriptOutOfRange);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const auto facts = InteractiveSummary(path);
    EXPECT_EQ(LinkCount(facts, 2), 4);
    // The two references defined before it took records 1 and 2, the later one record 4.
    ExpectFacts(facts, {{"page1.annot1.dest.name", "/_LINK_3"}, {"page2.annot3.dest.name", "/_LINK_5"},
                        {"page2.annot4.dest.name", "/_LINK_6"}, {"page2.annot1.dest.page", "1"},
                        {"page2.annot1.dest.view", "/FitB"},    {"page2.annot2.dest.page", "2"},
                        {"page2.annot2.dest.view", "/FitB"},    {"page2.annot3.dest.page", "2"},
                        {"page2.annot3.dest.view", "/XYZ 15 826 1"}, {"page2.annot4.dest.page", "1"},
                        {"page2.annot4.dest.view", "/FitH 732"}});

    // The first definition of "inizio", at the current position, is overridden but still
    // well formed; check it through a document that defines it once.
    Tavlo once;
    const std::string path2 = dir.File("once.pdf");
    once.BeginDoc(path2);
    once.SetMargins(10, 10, 10, 10, false);
    once.BeginPage();
    once.SetXY(100, 200);
    once.DefineRef("inizio", 4, 0, 0, 0, 0, 200);
    once.LinkTo("ref:inizio", 0, 0);
    once.EndDoc();
    ExpectReadersAccept(path2);
    const auto onceFacts = InteractiveSummary(path2);
    EXPECT_EQ(Fact(onceFacts, "page1.annot1.dest.page"), "1");
    EXPECT_EQ(Fact(onceFacts, "page1.annot1.dest.view"), "/XYZ 110 632 2");
}

TEST_F(LinksTest, LayerSwitchScriptReachesReaders)
{
    const std::string path = dir.File("layers.pdf");
    WriteOnePage(path, [&](Tavlo& pdf) {
        pdf.BeginLayer("Note", 1, 1);
        pdf.EndLayer();
        pdf.BeginLayer("Prezzi", 0, 1);
        pdf.EndLayer();
        DrawBox(pdf, 10, 10, 20, 20);
        pdf.LinkTo("layer:ON(Note) TOGGLE(Prezzi)", 0, 0);
    });
    const auto facts = InteractiveSummary(path);
    const std::string js = Fact(facts, "page1.annot1.A.js");
    EXPECT_NE(js.find("'Note'"), std::string::npos) << js;
    EXPECT_NE(js.find("'Prezzi'"), std::string::npos) << js;
    EXPECT_NE(RunTool("pdfinfo -js " + Quote(path)).output.find("getOCGs"), std::string::npos);
}

TEST_F(LinksTest, LinkRectanglesCoverTheDrawnBoxes)
{
    struct Setting {
        std::int32_t unit;
        float left, top;
    };
    for (const Setting& setting : {Setting{0, 0, 0}, Setting{0, 50, 80}, Setting{2, 12, 18}}) {
        SCOPED_TRACE("unit " + std::to_string(setting.unit) + " margins " + std::to_string(setting.left));
        Tavlo pdf;
        const std::string path = dir.File("cover.pdf");
        pdf.BeginDoc(path);
        pdf.SetScale(setting.unit);
        pdf.SetMargins(setting.left, 0, setting.top, 0, false);
        pdf.BeginPage();
        if (setting.unit == 2)
            DrawBox(pdf, 25, 40, 60, 15);
        else
            DrawBox(pdf, 70, 110, 170, 45);
        pdf.LinkTo("http://example.com", 0, 0);
        pdf.EndDoc();
        ExpectReadersAccept(path);
        ExpectFirstAnnotationCoversDrawnBox(path, 100);
    }
}

TEST_F(LinksTest, EncryptedLinksAndScriptsDecryptToThePlainDocument)
{
    auto build = [&](Tavlo& pdf, const std::string& path, bool encrypted) {
        pdf.BeginDoc(path);
        if (encrypted)
            pdf.SetProtection(0, "padrone", "");
        pdf.OnDocEvent(2, "apri();", true);
        pdf.OnDocEvent(3, "chiudi();", true);
        pdf.OnDocEvent(8, "var comune = 1;", true);
        pdf.BeginPage();
        pdf.OnDocEvent(0, "entra();", true);
        DrawBox(pdf, 10, 10, 100, 20);
        pdf.DefineRef("qui", 0, 5, 5, 0, 0, 0);
        pdf.LinkTo("https://example.com/(riservato)", 0, 1);
        pdf.LinkTo("file:segreto.pdf", 0, 1);
        pdf.LinkTo("script:segreto();", 0, 1);
        pdf.BeginPage();
        pdf.LinkTo("ref:qui", 0, 1);
        pdf.LinkTo("page:#first", 0, 1, 4, 10, 10, 0, 0, 100);
        pdf.EndDoc();
    };
    Tavlo plain;
    const std::string plainPath = dir.File("plain.pdf");
    build(plain, plainPath, false);
    const auto expected = InteractiveSummary(plainPath);
    ASSERT_EQ(Fact(expected, "page1.annot1.A.uri"), "https://example.com/(riservato)");

    Tavlo secret;
    const std::string path = dir.File("secret.pdf");
    build(secret, path, true);
    ExpectReadersAccept(path);
    const std::string raw = ReadFile(path);
    for (const char* text : {"riservato", "segreto", "apri();", "comune"})
        EXPECT_EQ(raw.find(text), std::string::npos) << text;
    const std::string decrypted = dir.File("decrypted.pdf");
    ASSERT_EQ(RunTool("qpdf --decrypt " + Quote(path) + " " + Quote(decrypted)).exitCode, 0);
    EXPECT_EQ(RunTool("qpdf --check " + Quote(decrypted)).exitCode, 0);
    EXPECT_EQ(InteractiveSummary(decrypted), expected);
    EXPECT_NE(RunTool("pdfinfo -js " + Quote(path)).output.find("segreto();"), std::string::npos);
}

TEST_F(LinksTest, LinksRefusedBeforeTheDocumentLeaveNoDestination)
{
    Tavlo pdf;
    EXPECT_THROW(pdf.LinkTo("page:1", 0, 0), TavloError);
    const std::string path = dir.File("after.pdf");
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.EndDoc();
    ExpectReadersAccept(path);
    EXPECT_EQ(ReadFile(path).find("_LINK_"), std::string::npos);
}
