// What the document scripts (scripts/document.txt, outline.txt, tables.txt) cannot say: the
// name made for a document without one, the file handed to the desktop, bookmarks nested as
// deep as the outline goes, named destinations whatever their records hold, the shared
// resources and encryption dictionary of a document without pages, and the q and Q of every
// content stream whatever a caller leaves open or ends twice.

#include "pdf/error_raised.h"
#include "pdf/tavlo_test_peer.h"
#include "support/pdf/content_stream.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/rendering.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace tavlo;
using namespace tavlo::test;

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

TEST(Outline, NoEntryDeeperThanLevel254)
{
    const std::string path = WriteDocument("deep.pdf", [](Tavlo& pdf) {
                                 for (int level = 1; level <= 254; ++level)
                                     ASSERT_EQ(pdf.AddBookmark("L" + std::to_string(level), -1, 0, 0, 0, 0, 0, 0, "", 0),
                                               "@" + std::to_string(level + 1));
                                 EXPECT_EQ(pdf.AddBookmark("Troppo", -1, 0, 0, 0, 0, 0, 0, "", 0), "");
                                 EXPECT_EQ(pdf.AddBookmark("Fratello", 0, 0, 0, 0, 0, 0, 0, "", 0), "@256");
                             }).path;
    // qpdf's JSON tree stops at a smaller depth; the objects themselves tell the tree.
    const QpdfDocument q(path);
    std::string last = "Root/Outlines/First";  // the document's own entry
    for (int level = 1; level <= 254; ++level)
        last += "/First";
    EXPECT_EQ(q.Text(last + "/Title"), "L254");
    EXPECT_EQ(q.Text(last + "/Next/Title"), "Fratello");
    EXPECT_EQ(q.Text(last + "/First"), "<none>");
}

TEST(DocumentObjects, NamedDestinationsValidWhateverTheirRecords)
{
    const QpdfDocument q(WriteDocument("dests.pdf", [](Tavlo& pdf) {
                             for (int i = 0; i < 5; ++i)
                                 pdf.BeginPage();
                             TavloTestPeer peer(pdf);
                             auto& dests = peer.State().doc.Destinations;
                             dests.push_back({7, "/XYZ 0 800 1", "/_REF_oltre"});  // past the last page: the last
                             dests.push_back({-1, "/Fit", "/_REF_ultima"});
                             dests.push_back({0, "/FitH 500", "/_REF_zero"});  // page 0: the first
                             dests.push_back({2, "", "/_REF_vuota"});          // no view: the whole page
                             dests.push_back({2, "/FitH 100", "/_REF_doppia"});
                             dests.push_back({3, "/FitH 200", "/_REF_doppia"});  // twice: the latest holds
                             peer.State().DestinationCount = static_cast<std::int32_t>(dests.size());
                         }).path);
    const auto pages = q.Pages();
    const std::pair<const char*, std::string> expected[] = {
        {"oltre", "[" + pages[4] + " /XYZ 0 800 1]"}, {"ultima", "[" + pages[4] + " /Fit]"},
        {"zero", "[" + pages[0] + " /FitH 500]"},     {"vuota", "[" + pages[1] + " /Fit]"},
        {"doppia", "[" + pages[2] + " /FitH 200]"}};
    for (const auto& [name, dest] : expected)
        EXPECT_EQ(q.Text(std::string("Root/Dests/_REF_") + name), dest) << name;
    EXPECT_EQ(q.Get("Root/Dests").Size(), 5u);
}

TEST(DocumentObjects, EmptyResourcesAndEncryptionDictionary)
{
    const std::string path = WriteDocument("resources.pdf", [](Tavlo&) {},
                                           {[](Tavlo& pdf) { pdf.SetProtection(4, "proprietario", ""); }})
                                 .path;
    const QpdfDocument q(path);
    EXPECT_EQ(q.Text("2 0 R"), "<< /ProcSet [/PDF /Text] >>");
    EXPECT_EQ(q.Text("3 0 R"), "<< /ProcSet [/PDF /Text] >>");
    EXPECT_EQ(q.Text("Encrypt/P"), "-60");
    EXPECT_EQ(q.Text("Encrypt/V"), "1");
    EXPECT_EQ(q.Text("Encrypt/R"), "2");
    EXPECT_EQ(q.Trailer()["/ID"].Size(), 2u);
}

// Ends to spare are ignored, what is left open is closed with its page, recorded object or
// tiling cell, and a barcode that fails midway closes what it opened: a stray "Q" would undo
// the page's own flip and paint the mark at the foot of the page. The drawing state comes back
// with its very font record: a Mac-encoded font stays one, and no font stays none.
TEST(TablesRendering, SavesBalancedAndStateRestoredWhateverIsLeftOpen)
{
    const auto leftOpen = [](Tavlo& pdf) {
        pdf.EndRow();
        pdf.EndTable();
        pdf.BeginSpace(10, 10, 1, 1, 0);
        pdf.BeginTable(0, 0);
        pdf.BeginRow(10);
        pdf.BeginColumn(10);
    };
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    std::vector<float> lengths;
    const std::string path = WriteDocument(pdf, "open.pdf", [&](Tavlo& p) {
                                 p.BeginObject("MARK", 0);
                                 leftOpen(p);
                                 p.EndObject();
                                 p.BeginTiling("DOTS", 0, 0, 10, 10, 10, 10, 0);
                                 leftOpen(p);
                                 p.EndTiling();
                                 p.BeginPage();
                                 for (const int type : {0, 1, 2, 3}) {
                                     p.BeginTable(10, 10);
                                     p.SetFont("Courier", 8, 0, 0);
                                     p.EndTable();
                                     lengths.push_back(p.TextLength("abc"));
                                     p.SetFont("Arial", 12, 0, 1);
                                     const std::string code = type == 0 ? "590123412345" : "12345";
                                     EXPECT_GT(p.DrawBarCode(type, code, 10, 100, true, 1, 0, true), 0);
                                 }
                                 p.DrawText(10, 300, "abc");
                                 p.EndSpace();
                                 p.SetColorFill("Black");
                                 p.DrawRect(20, 20, 10, 10, 5);
                                 p.PlayObject("MARK");
                                 leftOpen(p);
                                 EXPECT_EQ(ErrorRaised([&] { p.DrawBarCode(1, "A", 3.4e38f, 0, true, 1, 0, false); }),
                                           ErrorCode::Overflow);
                                 EXPECT_EQ(peer.State().StateDepth, 2);  // the table's and the row's
                             }).path;
    EXPECT_EQ(lengths, std::vector<float>({0, pdf.TextLength("abc"), pdf.TextLength("abc"), pdf.TextLength("abc")}));
    const QpdfDocument q(path);
    const auto fonts = LinesOf(Operations(q.PageContent(1)), {"Tf"});
    EXPECT_EQ(fonts.back().substr(0, 10), "/MACArial ") << fonts.back();
    for (const std::string stream : {"Root/Pages/Kids/0/Contents", "Root/Pages/Kids/0/Resources/XObject/MARK",
                                     "Root/Pages/Kids/0/Resources/Pattern/DOTS"})
        EXPECT_TRUE(SavesBalanced(Operations(q.StreamData(stream)))) << stream;
    EXPECT_EQ(peer.State().StateDepth, 0);
    for (const Reader reader : {Reader::Poppler, Reader::Mupdf})
        EXPECT_TRUE(RenderPage(path, 1, reader).Dark(25, 25));
}
