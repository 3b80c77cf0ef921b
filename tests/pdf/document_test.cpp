// Whole documents read back by qpdf, poppler and mupdf: pages of several sizes, labels,
// transitions, information, viewer preferences, encryption and compression, and the
// errors of the document's life cycle.

#include "pdf/ErrorRaised.h"
#include "pdf/core/SecurityHandler.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(Document, EmptyDocumentHasOneBlankPageAndMetadata)
{
    Tavlo pdf;
    const WrittenPdf doc = WriteDocument(pdf, "empty.pdf", [](Tavlo&) {});
    EXPECT_EQ(pdf.ErrNumber(), 0);
    EXPECT_EQ(doc.bytes.rfind("%PDF-1.3\n% Tavlo Library rel. 2.4.8\n", 0), 0u);
    EXPECT_EQ(pdf.FileSize(), static_cast<std::int32_t>(doc.bytes.size()));
    const auto info = PdfInfo(doc.path);
    EXPECT_EQ(info.at("Pages"), "1");
    EXPECT_EQ(info.at("Title"), "(senza titolo)");
    EXPECT_NE(info.at("Metadata Stream"), "no");
}

TEST(Document, PagesOfSeveralSizesAndInformation)
{
    const WrittenPdf doc = WriteDocument(
        "sizes.pdf",
        [](Tavlo& pdf) {
            // What is set while a page is open applies to that page, read when it ends.
            pdf.BeginPage();
            pdf.SetPaperSize(1);  // A4 landscape
            pdf.BeginPage();
            pdf.SetScale(2);
            pdf.SetPaperSize(255, 210, 297);  // millimetres
            pdf.BeginPage();
            pdf.SetPaperSize(8);  // letter
            pdf.SetPageView(1);   // this page only
            pdf.SetPageTransition(13, 2, 1);
            pdf.BeginPage();
            pdf.SetPageTransition(99, 2, 1);  // no such style: no transition at all
        },
        {[](Tavlo& pdf) {
             pdf.SetDocProperty("Registro fatture", "Prova", "Rossi Mario", "Quercino", "Quercino PDF", "iva, fatture");
         }});
    const auto info = PdfInfo(doc.path);
    const std::pair<const char*, const char*> expected[] = {
        {"Title", "Registro fatture"}, {"Author", "Rossi Mario"}, {"Subject", "Prova"}, {"Keywords", "iva, fatture"},
        {"Creator", "Quercino"}, {"Producer", "Quercino PDF"}, {"Pages", "4"},
        {"Page    1 size", "842 x 596 pts (A4)"}, {"Page    2 size", "595.276 x 841.89 pts (A4)"},
        {"Page    3 size", "612 x 792 pts (letter)"}, {"Page    4 size", "612 x 792 pts (letter)"},
        {"Page    3 rot", "270"}, {"Page    4 rot", "0"}};
    for (const auto& [key, value] : expected)
        EXPECT_EQ(info.at(key), value) << key;
    const QpdfDocument q(doc.path);
    EXPECT_EQ(q.Text("Root/Pages/Kids/2/Trans"), "<< /D 1 /S /Dissolve /Type /Trans >>");
    EXPECT_EQ(q.Text("Root/Pages/Kids/2/Dur"), "2");
    EXPECT_EQ(q.Text("Root/Pages/Kids/3/Trans"), "<none>");
}

TEST(Document, PageLabels)
{
    struct Case {
        std::function<void(Tavlo&)> draw;
        std::string labels;  // qpdf's page label ranges
    };
    const Case cases[] = {
        // Labels set for an open page replace the ones set before for it; style 0 labels nothing.
        {[](Tavlo& pdf) {
             pdf.SetLabel(3, "", -1);  // i, ii for the first pages
             pdf.BeginPage();
             pdf.BeginPage();
             pdf.BeginPage();
             pdf.SetLabel(1, "A (1) ", 1);
             pdf.SetLabel(1, "Pag. ", 5);
             pdf.BeginPage();
             pdf.SetLabel(0, "ignored", 1);
         },
         "[<< /S /r /St 1 >> << /S /r /St 2 >> << /P Pag.  /S /D /St 5 >> << /P Pag.  /S /D /St 6 >>]"},
        // From a later page: the first pages get plain numbers; no valid start takes the
        // default; a label for a page that never comes labels nothing.
        {[](Tavlo& pdf) {
             pdf.BeginPage();
             pdf.BeginPage();
             pdf.SetLabel(4, "", 0);
             pdf.BeginPage();
             pdf.EndPage();
             pdf.SetLabel(1, "", 1);
         },
         "[<< /S /D /St 1 >> << /S /A /St 1 >> << /S /A /St 2 >>]"},
    };
    for (const Case& c : cases) {
        const QpdfDocument q(WriteDocument("labels.pdf", c.draw).path);
        Json labels;
        labels.kind = Json::Kind::Array;
        for (const Json& page : q.Root()["pages"].items)
            labels.items.push_back(page["label"]);
        EXPECT_EQ(Show(labels), c.labels);
    }
}

TEST(Document, SecondDocumentAfterAbortStartsClean)
{
    Tavlo pdf;
    WriteDocument(pdf, "first.pdf", [](Tavlo& p) {
        p.BeginPage();
        p.BeginPage();
        p.SetFont("Arial", 12, 0, 0);
    });
    pdf.Abort();
    const WrittenPdf second = WriteDocument(pdf, "second.pdf", [](Tavlo& p) { p.BeginPage(); });
    EXPECT_EQ(InfoField(second.path, "Pages"), "1");
}

TEST(Document, FontSelectedBeforeBeginDocIsWrittenByIt)
{
    const WrittenPdf doc = WriteDocument("early-font.pdf", [](Tavlo& pdf) { pdf.BeginPage(); },
                                         {[](Tavlo& pdf) { pdf.SetFont("Times", 11, 1, 0); }});
    EXPECT_NE(FontsListed(doc.path).find("TimesNewRoman,Bold"), std::string::npos);
    EXPECT_EQ(QpdfDocument(doc.path).Text("4 0 R/Name"), "/TimesNewRoman,Bold");
}

TEST(Document, LifeCycleErrors)
{
    Tavlo pdf;
    EXPECT_EQ(ErrorRaised([&] { pdf.EndDoc(); }), ErrorCode::BadFileNameOrNumber);
    // Objects before BeginDoc are refused.
    EXPECT_EQ(ErrorRaised([&] { pdf.SetAlpha(50); }), ErrorCode::BadFileNameOrNumber);
    EXPECT_EQ(ErrorRaised([&] { pdf.AddGradient("g", 0, "red", "blue", 0, 0, 1, 1); }), ErrorCode::BadFileNameOrNumber);

    const std::string missing = TempPath("no/such/folder.pdf");
    EXPECT_EQ(pdf.BeginDoc(missing), missing);
    EXPECT_EQ(pdf.ErrSource(), "Tavlo.BeginDoc");
    EXPECT_EQ(pdf.ErrNumber(), ErrorCode::PathNotFound);
    const std::string description = pdf.ErrDescription();
    EXPECT_EQ(description.substr(description.size() - missing.size() - 3), " - " + missing);

    // A full disk is reported, not taken for success: found when the file is closed, or
    // already by a write larger than the file's buffer.
    for (const std::size_t title : {10u, 100000u}) {
        Tavlo full;
        full.SetDocProperty(std::string(title, 'x'), "", "", "", "", "");
        full.BeginDoc("/dev/full");
        full.BeginPage();
        EXPECT_EQ(ErrorRaised([&] { full.EndDoc(); }), ErrorCode::DiskFull) << title;
    }
}

TEST(Document, SecondBeginDocWithoutAbortIsRefused)
{
    Tavlo pdf;
    WriteDocument(pdf, "one.pdf", [](Tavlo& p) { p.BeginPage(); });
    const std::string second = TempPath("two.pdf");
    EXPECT_EQ(pdf.BeginDoc(second), second);
    EXPECT_EQ(pdf.ErrSource(), "Tavlo.BeginDoc");
    EXPECT_EQ(pdf.ErrNumber(), ErrorCode::InvalidArgument);
    // Like every text of the writer, the description is in Windows-1252.
    EXPECT_NE(pdf.ErrDescription().find("non \xE8 stato azzerato"), std::string::npos) << pdf.ErrDescription();
    EXPECT_FALSE(std::filesystem::exists(second));
    pdf.Abort();
    WriteDocument(pdf, "two.pdf", [](Tavlo&) {});
}

TEST(Document, GeneratedNameInCurrentFolder)
{
    Tavlo pdf;
    const std::string name = pdf.BeginDoc("");
    pdf.EndDoc();
    ExpectReadersAccept(name);
    EXPECT_EQ(name.front(), '~');
    EXPECT_EQ(name.substr(name.size() - 4), ".pdf");
    EXPECT_EQ(name.find('/'), std::string::npos);
    std::remove(name.c_str());
}

TEST(Document, ViewerPreferencesAndVersion)
{
    struct Case {
        std::int32_t flags;
        bool bookmark;
        std::string pageMode, pageLayout, preferences, version;
    };
    const Case cases[] = {
        {2, false, "<none>", "<none>", "<< >>", "1.3"},
        {2, true, "/UseOutlines", "<none>", "<< >>", "1.3"},
        {128, false, "<none>", "<none>", "<< /DisplayDocTitle true >>", "1.4"},
        {8 + 16 + 512, false, "/UseOC", "<none>", "<< /FitWindow true /HideMenubar true >>", "1.5"},
        {8192 + 1, false, "/FullScreen", "/OneColumn", "<< >>", "1.3"},
        {-32768, false, "<none>", "/TwoColumnRight", "<< >>", "1.3"},
        {32768, false, "<none>", "<none>", "<< >>", "1.3"},
    };
    for (const Case& c : cases) {
        const WrittenPdf doc = WriteDocument("prefs.pdf", [&](Tavlo& pdf) {
            pdf.SetViewerPreferences(c.flags);
            if (c.bookmark)
                pdf.AddBookmark("Capitolo", 1, 0, 0, 0, 0, 0, 0, "", 0);
        });
        const QpdfDocument q(doc.path);
        EXPECT_EQ(q.Text("Root/PageMode"), c.pageMode) << c.flags;
        EXPECT_EQ(q.Text("Root/PageLayout"), c.pageLayout) << c.flags;
        EXPECT_EQ(q.Text("Root/ViewerPreferences"), c.preferences) << c.flags;
        EXPECT_EQ(doc.bytes.substr(5, 3), c.version) << c.flags;
    }
}

// Texts reach the readers as the characters the caller meant (Windows-1252): the euro sign,
// typographic quotes, dashes and Š are not the PDFDocEncoding characters of the same bytes,
// and accented letters stay as they are; in plain, encrypted and compressed documents alike.
TEST(Document, EncryptedAndCompressedDocumentsKeepTheirTexts)
{
    struct Case {
        std::int32_t flags;  // -1: not encrypted
        std::uint32_t compression;
    };
    const Case cases[] = {{-1, 0},
                          {Permission::Print, 0},
                          {Permission::Print | Permission::Strong, Filter::Flate},
                          {Permission::Strong, Filter::Flate | Filter::Ascii85},
                          {0, Filter::RunLength | Filter::Lzw | Filter::AsciiHex}};
    const std::string utf8 = "Totale \xE2\x82\xAC 100 \xE2\x80\x9Cok\xE2\x80\x9D \xE2\x80\x93 \xC5\xA0";
    for (const Case& c : cases) {
        const std::string pw = c.flags < 0 ? "" : "utente";
        auto before = [&](Tavlo& pdf) {
            if (c.flags >= 0)
                pdf.SetProtection(c.flags, "padrone", "utente");
            pdf.SetCompression(c.compression, 2);
            pdf.SetDocProperty("Totale \x80 100 \x93ok\x94 \x96 \x8A", "Perch\xE9 \x80", "Societ\xE0 \x84Rossi\x93", "",
                               "", "");
        };
        const WrittenPdf doc = WriteDocument(
            "secure.pdf",
            [](Tavlo& pdf) {
                pdf.SetLabel(1, "\x80-", 1);
                pdf.SetFont("Arial", 12, 0, 0);
                pdf.BeginPage();
                pdf.BeginLayer("Livello \x80", 1, 1);
                pdf.SetColorFill("navy");
                pdf.EndLayer();
                pdf.AddBookmark("Capitolo \x80 \x97 fine", 1, 4, 10, 20, 0, 0, 100, "red", 3);
            },
            {before, pw});
        if (!pw.empty())
            ExpectReadersAccept(doc.path, "padrone", true);
        const auto info = PdfInfo(doc.path, pw);
        EXPECT_EQ(info.at("Title"), utf8);
        EXPECT_EQ(info.at("Subject"), "Perch\xC3\xA9 \xE2\x82\xAC");
        EXPECT_EQ(info.at("Author"), "Societ\xC3\xA0 \xE2\x80\x9ERossi\xE2\x80\x9C");
        EXPECT_EQ(info.at("Encrypted").substr(0, 3), pw.empty() ? "no" : "yes");
        const QpdfDocument q(doc.path, pw);
        // The document's title heads the outline.
        EXPECT_EQ(Show(q.Root()["outlines"][0]["kids"][0]["title"]), "Capitolo \xE2\x82\xAC \xE2\x80\x94 fine");
        EXPECT_EQ(StringValue(q.Root()["pages"][0]["label"]["/P"]), "\xE2\x82\xAC-");
        EXPECT_EQ(q.Text("Root/OCProperties/OCGs/0/Name"), "Livello \xE2\x82\xAC");
    }
}

TEST(Document, OpenDocHandsTheFileToTheDesktop)
{
    // A stand-in for the desktop's handler records the argument it receives.
    ScratchDir dir;
    const std::string bin = dir.File("bin");
    std::filesystem::create_directory(bin);
    const std::string record = dir.File("opened.txt");
    WriteFile(bin + "/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > " + Quote(record) + "\n");
    std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (bin + ":" + oldPath).c_str(), 1);

    Tavlo pdf;
    const WrittenPdf doc = WriteDocument(pdf, "nome con spazi 'e' \"virgolette\".pdf", [](Tavlo&) {});
    pdf.OpenDoc();
    for (int i = 0; i < 200 && ReadFile(record).empty(); ++i)
        ::usleep(10000);
    ::setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(ReadFile(record), doc.path);
}
