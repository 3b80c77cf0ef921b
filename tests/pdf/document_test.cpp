// Whole documents read back by qpdf, poppler and mupdf: pages of several sizes, labels,
// transitions, information, encryption and compression.

#include "pdf/ErrorRaised.h"
#include "pdf/PdfCheck.h"
#include "pdf/TavloTestPeer.h"
#include "pdf/core/SecurityHandler.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tavlo;
using namespace tavlo::test;

namespace {

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ReadersAvailable())
            FAIL() << "qpdf, poppler or mupdf missing";
    }
    ScratchDir dir;
};

std::string Info(const std::string& path, const std::string& password = "")
{
    const std::string pw = password.empty() ? "" : " -upw " + Quote(password);
    return "\n" + RunTool("pdfinfo -f 1 -l 99" + pw + " " + Quote(path)).output;
}

std::string InfoField(const std::string& info, const std::string& key)
{
    const std::size_t at = info.find("\n" + key + ":");
    if (at == std::string::npos)
        return "";
    std::size_t from = info.find_first_not_of(' ', at + key.size() + 2);
    return info.substr(from, info.find('\n', from) - from);
}

} // namespace

TEST_F(DocumentTest, EmptyDocumentHasOneBlankPageAndMetadata)
{
    Tavlo pdf;
    const std::string path = dir.File("empty.pdf");
    EXPECT_EQ(pdf.BeginDoc(path), path);
    pdf.EndDoc();
    EXPECT_EQ(pdf.ErrNumber(), 0);
    ExpectReadersAccept(path);
    const std::string text = ReadFile(path);
    EXPECT_EQ(text.rfind("%PDF-1.3\n% Tavlo Library rel. 2.4.8\n", 0), 0u);
    EXPECT_EQ(pdf.FileSize(), static_cast<std::int32_t>(text.size()));
    const std::string info = Info(path);
    EXPECT_EQ(InfoField(info, "Pages"), "1");
    EXPECT_EQ(InfoField(info, "Title"), "(senza titolo)");
    EXPECT_NE(InfoField(info, "Metadata Stream"), "no");
    EXPECT_NE(text.find("/Type /Pages /Count 1"), std::string::npos);
}

TEST_F(DocumentTest, PagesOfSeveralSizesAndInformation)
{
    Tavlo pdf;
    const std::string path = dir.File("sizes.pdf");
    pdf.SetDocProperty("Registro fatture", "Prova", "Rossi Mario", "Quercino", "Quercino PDF", "iva, fatture");
    pdf.BeginDoc(path);
    // What is set while a page is open applies to that page, read when it ends.
    pdf.BeginPage();
    pdf.SetPaperSize(1);             // A4 landscape
    pdf.BeginPage();
    pdf.SetScale(2);
    pdf.SetPaperSize(255, 210, 297); // millimetres
    pdf.BeginPage();
    pdf.SetPaperSize(8);             // letter
    pdf.SetPageView(1);              // this page only
    pdf.SetPageTransition(13, 2, 1);
    pdf.BeginPage();
    pdf.SetPageTransition(99, 2, 1); // no such style: no transition at all
    pdf.EndDoc();
    ExpectReadersAccept(path);

    const std::string info = Info(path);
    EXPECT_EQ(InfoField(info, "Title"), "Registro fatture");
    EXPECT_EQ(InfoField(info, "Author"), "Rossi Mario");
    EXPECT_EQ(InfoField(info, "Subject"), "Prova");
    EXPECT_EQ(InfoField(info, "Keywords"), "iva, fatture");
    EXPECT_EQ(InfoField(info, "Creator"), "Quercino");
    EXPECT_EQ(InfoField(info, "Producer"), "Quercino PDF");
    EXPECT_EQ(InfoField(info, "Pages"), "4");
    EXPECT_EQ(InfoField(info, "Page    1 size"), "842 x 596 pts (A4)");
    EXPECT_EQ(InfoField(info, "Page    2 size"), "595.276 x 841.89 pts (A4)");
    EXPECT_EQ(InfoField(info, "Page    3 size"), "612 x 792 pts (letter)");
    EXPECT_EQ(InfoField(info, "Page    4 size"), "612 x 792 pts (letter)");
    EXPECT_EQ(InfoField(info, "Page    3 rot"), "270");
    EXPECT_EQ(InfoField(info, "Page    4 rot"), "0");

    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("/Dur 2 /Trans << /Type /Trans /D 1 /S /Dissolve >> "), std::string::npos);
    EXPECT_EQ(text.find("/Trans << /Type /Trans /D 1 >>"), std::string::npos);
}

TEST_F(DocumentTest, PageLabelsSortedOnePerPage)
{
    Tavlo pdf;
    const std::string path = dir.File("labels.pdf");
    pdf.BeginDoc(path);
    pdf.SetLabel(3, "", -1);         // i, ii for the first pages
    pdf.BeginPage();
    pdf.BeginPage();
    pdf.BeginPage();
    pdf.SetLabel(1, "A (1) ", 1);    // from page 3 (open): A (1) 1...
    pdf.SetLabel(1, "Pag. ", 5);     // same page again: replaces the first
    pdf.BeginPage();
    pdf.SetLabel(0, "ignored", 1);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string json = RunTool("qpdf --json --json-key=pagelabels " + Quote(path)).output;
    EXPECT_NE(json.find("\"index\": 0"), std::string::npos) << json;
    EXPECT_NE(json.find("\"/S\": \"/r\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"index\": 2"), std::string::npos) << json;
    EXPECT_NE(json.find("\"/P\": \"u:Pag. \""), std::string::npos) << json;
    EXPECT_NE(json.find("\"/St\": 5"), std::string::npos) << json;
    EXPECT_EQ(json.find("A (1)"), std::string::npos) << json;
}

TEST_F(DocumentTest, PageLabelsFromALaterPageNumberTheFirstOnes)
{
    Tavlo pdf;
    const std::string path = dir.File("later-labels.pdf");
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.BeginPage();
    pdf.SetLabel(4, "", 0);  // no valid start: the range starts at its default
    pdf.BeginPage();
    pdf.EndPage();
    pdf.SetLabel(1, "", 1);  // for a next page that never comes: labels nothing
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("/PageLabels << /Nums [ 0 << /S /D >> 1 <<  /S /A >>  ] >>"), std::string::npos);
    EXPECT_EQ(RunTool("qpdf --json --json-key=pagelabels " + Quote(path) + " | grep -c '\"index\"'").output, "2\n");
}

TEST_F(DocumentTest, SecondDocumentAfterAbortStartsClean)
{
    Tavlo pdf;
    const std::string first = dir.File("first.pdf"), second = dir.File("second.pdf");
    pdf.BeginDoc(first);
    pdf.BeginPage();
    pdf.BeginPage();
    pdf.SetFont("Arial", 12, 0, 0);
    pdf.EndDoc();
    pdf.Abort();
    pdf.BeginDoc(second);
    pdf.BeginPage();
    pdf.EndDoc();
    ExpectReadersAccept(first);
    ExpectReadersAccept(second);
    EXPECT_EQ(InfoField(Info(second), "Pages"), "1");
}

TEST_F(DocumentTest, FontSelectedBeforeBeginDocIsWrittenByIt)
{
    Tavlo pdf;
    const std::string path = dir.File("early-font.pdf");
    pdf.SetFont("Times", 11, 1, 0);
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string fonts = RunTool("pdffonts " + Quote(path)).output;
    EXPECT_NE(fonts.find("TimesNewRoman,Bold"), std::string::npos) << fonts;
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("4 0 obj\n<< /Type /Font /Subtype /Type1 /Name /TimesNewRoman,Bold"), std::string::npos);
}

TEST_F(DocumentTest, EndDocWithoutBeginDocRaisesTheFileError)
{
    Tavlo pdf;
    EXPECT_EQ(ErrorRaised([&] { pdf.EndDoc(); }), ErrorCode::BadFileNameOrNumber);
}

TEST_F(DocumentTest, BeginDocInMissingFolderIsRecorded)
{
    Tavlo pdf;
    const std::string path = dir.File("no/such/folder.pdf");
    EXPECT_EQ(pdf.BeginDoc(path), path);
    EXPECT_EQ(pdf.ErrSource(), "Tavlo.BeginDoc");
    EXPECT_EQ(pdf.ErrNumber(), ErrorCode::PathNotFound);
    const std::string description = pdf.ErrDescription();
    EXPECT_EQ(description.substr(description.size() - path.size() - 3), " - " + path);
}

TEST_F(DocumentTest, GeneratedNameInCurrentFolder)
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

TEST_F(DocumentTest, ViewerPreferencesAndVersion)
{
    struct Case {
        std::int32_t flags;
        bool bookmark;
        std::string expected, absent, version;
    };
    const Case cases[] = {
        {2, false, "/ViewerPreferences <<  >>", "/PageMode", "%PDF-1.3"},
        {2, true, "/PageMode /UseOutlines", "", "%PDF-1.3"},
        {128, false, "/DisplayDocTitle true ", "/PageMode", "%PDF-1.4"},
        {8 + 16 + 512, false, "/PageMode /UseOC", "", "%PDF-1.5"},
        {8192 + 1, false, "/PageLayout /OneColumn", "", "%PDF-1.3"},
        {-32768, false, "/PageLayout /TwoColumnRight", "", "%PDF-1.3"},
        {32768, false, "/ViewerPreferences", "/PageLayout", "%PDF-1.3"},
    };
    int i = 0;
    for (const Case& c : cases) {
        Tavlo pdf;
        const std::string path = dir.File("prefs" + std::to_string(i++) + ".pdf");
        pdf.BeginDoc(path);
        pdf.SetViewerPreferences(c.flags);
        if (c.bookmark)
            pdf.AddBookmark("Capitolo", 1, 0, 0, 0, 0, 0, 0, "", 0);
        pdf.EndDoc();
        ExpectReadersAccept(path);
        const std::string text = ReadFile(path);
        EXPECT_NE(text.find(c.expected), std::string::npos) << c.flags;
        if (!c.absent.empty()) {
            EXPECT_EQ(text.find(c.absent), std::string::npos) << c.flags;
        }
        EXPECT_EQ(text.substr(0, 8), c.version) << c.flags;
    }
}

TEST_F(DocumentTest, EncryptedAndCompressedDocumentsReadByEveryReader)
{
    struct Case {
        std::int32_t flags;
        std::uint32_t compression;
    };
    const Case cases[] = {{Permission::Print, 0}, {Permission::Print | Permission::Strong, Filter::Flate},
                          {Permission::Strong, Filter::Flate | Filter::Ascii85},
                          {0, Filter::RunLength | Filter::Lzw | Filter::AsciiHex}};
    int i = 0;
    for (const Case& c : cases) {
        Tavlo pdf;
        const std::string path = dir.File("secure" + std::to_string(i++) + ".pdf");
        pdf.SetProtection(c.flags, "padrone", "utente");
        pdf.SetCompression(c.compression, 2);
        pdf.SetDocProperty("Titolo (cifrato) \xE8", "Oggetto", "Autore", "", "", "");
        pdf.SetLabel(1, "Pagina ", 1);
        pdf.BeginDoc(path);
        pdf.SetFont("Arial", 12, 0, 0);
        pdf.BeginPage();
        pdf.BeginLayer("Note", 1, 1);
        pdf.SetColorFill("navy");
        pdf.EndLayer();
        pdf.AddBookmark("Primo", 1, 4, 10, 20, 0, 0, 100, "red", 3);
        pdf.EndDoc();
        ExpectReadersAccept(path, "utente");
        ExpectReadersAccept(path, "padrone", true);
        const std::string info = Info(path, "utente");
        EXPECT_EQ(InfoField(info, "Title"), "Titolo (cifrato) \xC3\xA8") << info;
        EXPECT_EQ(InfoField(info, "Encrypted").substr(0, 3), "yes") << info;
        const std::string json =
            RunTool("qpdf --password=utente --json --json-key=pagelabels --json-key=outlines " + Quote(path)).output;
        EXPECT_NE(json.find("u:Pagina "), std::string::npos) << json;
        EXPECT_NE(json.find("\"title\": \"Primo\""), std::string::npos) << json;
        const std::string catalog = ObjectOf(path, "trailer", "utente");
        EXPECT_NE(catalog.find("/Encrypt"), std::string::npos);
    }
}

TEST_F(DocumentTest, ObjectsBeforeBeginDocAreRefused)
{
    Tavlo pdf;
    const std::string path = dir.File("early.pdf");
    EXPECT_EQ(ErrorRaised([&] { pdf.SetAlpha(50); }), ErrorCode::BadFileNameOrNumber);
    EXPECT_EQ(ErrorRaised([&] { pdf.AddGradient("g", 0, "red", "blue", 0, 0, 1, 1); }), ErrorCode::BadFileNameOrNumber);
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.SetAlpha(50);
    pdf.EndDoc();
    ExpectReadersAccept(path);
}

TEST_F(DocumentTest, FailedWritesReportedByEndDoc)
{
    if (!std::filesystem::exists("/dev/full"))
        FAIL() << "no /dev/full";
    Tavlo pdf;
    pdf.BeginDoc("/dev/full");
    pdf.BeginPage();
    EXPECT_EQ(ErrorRaised([&] { pdf.EndDoc(); }), ErrorCode::DiskFull) << "a full disk reported as success";
}

TEST_F(DocumentTest, SecondBeginDocWithoutAbortIsRefused)
{
    Tavlo pdf;
    const std::string first = dir.File("one.pdf"), second = dir.File("two.pdf");
    pdf.BeginDoc(first);
    pdf.BeginPage();
    pdf.EndDoc();
    EXPECT_EQ(pdf.BeginDoc(second), second);
    EXPECT_EQ(pdf.ErrSource(), "Tavlo.BeginDoc");
    EXPECT_EQ(pdf.ErrNumber(), ErrorCode::InvalidArgument);
    // Like every text of the writer, the description is in Windows-1252.
    EXPECT_NE(pdf.ErrDescription().find("non \xE8 stato azzerato"), std::string::npos) << pdf.ErrDescription();
    EXPECT_FALSE(std::filesystem::exists(second));
    ExpectReadersAccept(first);
    pdf.Abort();
    pdf.BeginDoc(second);
    pdf.EndDoc();
    ExpectReadersAccept(second);
}

TEST_F(DocumentTest, OpenDocHandsTheFileToTheDesktop)
{
    // A stand-in for the desktop's handler records the argument it receives.
    const std::string bin = dir.File("bin");
    std::filesystem::create_directory(bin);
    const std::string record = dir.File("opened.txt");
    WriteFile(bin + "/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > " + Quote(record) + "\n");
    std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (bin + ":" + oldPath).c_str(), 1);

    Tavlo pdf;
    const std::string path = dir.File("nome con spazi 'e' \"virgolette\".pdf");
    pdf.BeginDoc(path);
    pdf.EndDoc();
    pdf.OpenDoc();
    for (int i = 0; i < 200 && ReadFile(record).empty(); ++i)
        ::usleep(10000);
    ::setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(ReadFile(record), path);
}

// Texts reach the readers as the characters the caller meant (Windows-1252): the euro sign,
// typographic quotes, dashes and Š are not the PDFDocEncoding characters of the same bytes,
// and accented letters stay as they are; in plain and encrypted documents alike.
TEST_F(DocumentTest, TextStringsKeepTheEuroSignAndQuotes)
{
    const std::string special = "Totale \x80 100 \x93ok\x94 \x96 \x8A";
    const std::string utf8 = "Totale \xE2\x82\xAC 100 \xE2\x80\x9Cok\xE2\x80\x9D \xE2\x80\x93 \xC5\xA0";
    for (const bool encrypted : {false, true}) {
        Tavlo pdf;
        const std::string path = dir.File(encrypted ? "euro-protetto.pdf" : "euro.pdf");
        if (encrypted)
            pdf.SetProtection(4, "padrone", "utente");
        pdf.SetDocProperty(special, "Perch\xE9 \x80", "Societ\xE0 \x84Rossi\x93", "", "", "");
        pdf.BeginDoc(path);
        pdf.SetLabel(1, "\x80-", 1);
        pdf.BeginPage();
        pdf.AddBookmark("Capitolo \x80 \x97 fine", 1, 0, 0, 0, 0, 0, 0, "", 0);
        pdf.BeginLayer("Livello \x80", 1, 1);
        pdf.EndLayer();
        pdf.EndDoc();
        const std::string pw = encrypted ? "utente" : "";
        ExpectReadersAccept(path, pw);

        const std::string info = Info(path, pw);
        EXPECT_EQ(InfoField(info, "Title"), utf8) << encrypted;
        EXPECT_EQ(InfoField(info, "Subject"), "Perch\xC3\xA9 \xE2\x82\xAC") << encrypted;
        EXPECT_EQ(InfoField(info, "Author"), "Societ\xC3\xA0 \xE2\x80\x9ERossi\xE2\x80\x9C") << encrypted;
        const std::string qpdfPw = encrypted ? " --password=utente " : " ";
        const std::string json =
            RunTool("qpdf" + qpdfPw + "--json --json-key=outlines --json-key=pagelabels " + Quote(path)).output;
        EXPECT_NE(json.find("\"title\": \"Capitolo \xE2\x82\xAC \xE2\x80\x94 fine\""), std::string::npos) << json;
        EXPECT_NE(json.find("\"/P\": \"u:\xE2\x82\xAC-\""), std::string::npos) << json;
        const std::string objects = RunTool("qpdf" + qpdfPw + "--json --json-key=qpdf " + Quote(path)).output;
        EXPECT_NE(objects.find("\"/Name\": \"u:Livello \xE2\x82\xAC\""), std::string::npos) << objects;
        EXPECT_NE(objects.find("\"u:" + utf8 + "\""), std::string::npos) << objects;  // the layer list's title
    }
}
