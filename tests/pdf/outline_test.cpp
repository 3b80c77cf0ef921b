// Bookmarks: the outline tree that qpdf reads back, levels resolved against the entry
// before, destinations in page space (margins included), colours and styles.

#include "pdf/PdfCheck.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

class OutlineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ReadersAvailable())
            FAIL() << "qpdf, poppler or mupdf missing";
    }
    std::string Outlines(const std::string& path, const std::string& password = "")
    {
        const std::string pw = password.empty() ? "" : " --password=" + Quote(password);
        return RunTool("qpdf" + pw + " --json --json-key=outlines " + Quote(path)).output;
    }
    // The qpdf JSON without blanks and line ends, easier to match as a tree.
    static std::string Compact(const std::string& json)
    {
        std::string out;
        bool inString = false;
        for (char c : json) {
            if (c == '"')
                inString = !inString;
            if (!inString && (c == ' ' || c == '\n'))
                continue;
            out += c;
        }
        return out;
    }
    ScratchDir dir;
};

} // namespace

TEST_F(OutlineTest, NoBookmarksNoOutline)
{
    Tavlo pdf;
    const std::string path = dir.File("none.pdf");
    pdf.BeginDoc(path);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    EXPECT_EQ(ReadFile(path).find("/Outlines"), std::string::npos);
    EXPECT_NE(Outlines(path).find("\"outlines\": []"), std::string::npos);
}

TEST_F(OutlineTest, FirstBookmarkAtLevelZeroHangsBelowTheRoot)
{
    Tavlo pdf;
    const std::string path = dir.File("zero.pdf");
    pdf.SetDocProperty("Documento", "", "", "", "", "");
    pdf.BeginDoc(path);
    EXPECT_EQ(pdf.AddBookmark("Primo", 0, 0, 0, 0, 0, 0, 0, "", 0), "@2");
    EXPECT_EQ(pdf.AddBookmark("Negativo", -7, 0, 0, 0, 0, 0, 0, "", 0), "@3");
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string tree = Compact(Outlines(path));
    EXPECT_NE(tree.find("\"kids\":[{\"dest\":[\"4 0 R\",\"/FitB\"],\"destpageposfrom1\":1,\"kids\":[],"), std::string::npos)
        << tree;
    EXPECT_NE(tree.find("\"title\":\"Primo\"},{"), std::string::npos) << tree;
    EXPECT_NE(tree.find("\"title\":\"Negativo\"}],"), std::string::npos) << tree;
    EXPECT_NE(tree.find("\"title\":\"Documento\"}]"), std::string::npos) << tree;
}

TEST_F(OutlineTest, LevelsResolvedAgainstTheEntryBefore)
{
    Tavlo pdf;
    const std::string path = dir.File("levels.pdf");
    pdf.SetDocProperty("R", "", "", "", "", "");
    pdf.BeginDoc(path);
    pdf.AddBookmark("A", 1, 7, 0, 0, 0, 0, 0, "", 0);
    pdf.AddBookmark("A1", -1, 7, 0, 0, 0, 0, 0, "", 0);  // child of A
    pdf.AddBookmark("A2", 0, 7, 0, 0, 0, 0, 0, "", 0);   // sibling of A1
    pdf.AddBookmark("B", 1, 7, 0, 0, 0, 0, 0, "", 0);
    pdf.AddBookmark("B1", 5, 7, 0, 0, 0, 0, 0, "", 0);   // at most one deeper
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string tree = Compact(Outlines(path));
    // Each leaf's object, then the parents that close around it.
    EXPECT_NE(tree.find("\"title\":\"A1\"},{"), std::string::npos) << tree;
    EXPECT_NE(tree.find("\"title\":\"A2\"}],\"object\""), std::string::npos) << tree;
    EXPECT_NE(tree.find("\"title\":\"A\"},{"), std::string::npos) << tree;
    EXPECT_NE(tree.find("\"title\":\"B1\"}],\"object\""), std::string::npos) << tree;
    EXPECT_NE(tree.find("\"title\":\"B\"}],\"object\""), std::string::npos) << tree;
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("/Count 2\r"), std::string::npos);  // two top-level entries under the root
    // Fit 7 names no view: only the root entry has a destination.
    const std::size_t dest = text.find("/Dest");
    ASSERT_NE(dest, std::string::npos);
    EXPECT_EQ(text.find("/Dest", dest + 1), std::string::npos);
}

TEST_F(OutlineTest, NoEntryDeeperThanLevel254)
{
    Tavlo pdf;
    const std::string path = dir.File("deep.pdf");
    pdf.BeginDoc(path);
    for (int level = 1; level <= 254; ++level)
        ASSERT_EQ(pdf.AddBookmark("L" + std::to_string(level), -1, 0, 0, 0, 0, 0, 0, "", 0),
                  "@" + std::to_string(level + 1));
    EXPECT_EQ(pdf.AddBookmark("Troppo", -1, 0, 0, 0, 0, 0, 0, "", 0), "");
    EXPECT_EQ(pdf.AddBookmark("Fratello", 0, 0, 0, 0, 0, 0, 0, "", 0), "@256");
    pdf.EndDoc();
    ExpectReadersAccept(path);
    // qpdf's JSON stops at a smaller depth; the objects themselves tell the tree.
    const std::string text = ReadFile(path);
    const std::size_t l254 = text.find("/Title (L254)");
    const std::size_t sibling = text.find("/Title (Fratello)");
    ASSERT_NE(l254, std::string::npos);
    ASSERT_NE(sibling, std::string::npos);
    EXPECT_EQ(text.find("Troppo"), std::string::npos);
    auto parentOf = [&](std::size_t at) {
        const std::size_t from = text.find("/Parent", at);
        return text.substr(from, text.find('\r', from) - from);
    };
    EXPECT_EQ(parentOf(sibling), parentOf(l254));
    EXPECT_NE(text.find("/Prev", sibling), std::string::npos);
}

TEST_F(OutlineTest, DestinationsInPageSpaceWithMargins)
{
    Tavlo pdf;
    const std::string path = dir.File("dest.pdf");
    pdf.BeginDoc(path);
    pdf.SetMargins(30, 10, 40, 10, false);
    pdf.BeginPage();
    pdf.BeginPage();
    pdf.AddBookmark("XYZ", 1, 4, 10, 20, 0, 0, 150, "", 0);
    pdf.AddBookmark("R", 1, 3, 10, 20, 100, 50, 0, "", 0);
    pdf.AddBookmark("H", 1, 2, 0, 100, 0, 0, 0, "", 0);
    pdf.AddBookmark("V", 1, 1, 5, 0, 0, 0, 0, "", 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string tree = Compact(Outlines(path));
    // x = 30 + 10, y = 842 − 40 − 20.
    EXPECT_NE(tree.find("\"/XYZ\",40,782,1.5],\"destpageposfrom1\":2"), std::string::npos) << tree;
    EXPECT_NE(tree.find("\"/FitR\",40,782,140,732]"), std::string::npos) << tree;
    EXPECT_NE(tree.find("\"/FitH\",702]"), std::string::npos) << tree;
    EXPECT_NE(tree.find("\"/FitV\",35]"), std::string::npos) << tree;
}

TEST_F(OutlineTest, ColourAndStyleAskForVersion14)
{
    Tavlo pdf;
    const std::string path = dir.File("style.pdf");
    pdf.BeginDoc(path);
    pdf.AddBookmark("Rosso", 1, 0, 0, 0, 0, 0, 0, "Red", 3);
    pdf.AddBookmark("Corsivo", 1, 0, 0, 0, 0, 0, 0, "#FF8000", 2);
    pdf.AddBookmark("Motivo", 1, 0, 0, 0, 0, 0, 0, "stripes", 0);
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string text = ReadFile(path);
    EXPECT_EQ(text.substr(0, 8), "%PDF-1.4");
    EXPECT_NE(text.find("/C [1 0 0]\r/F 3\r"), std::string::npos);
    EXPECT_NE(text.find("/C [1 0.502 0]\r/F 1\r"), std::string::npos);
    // A pattern name gives no colour entry.
    EXPECT_EQ(text.find("/C []"), std::string::npos);
}

TEST_F(OutlineTest, EncryptedTitlesReadBack)
{
    Tavlo pdf;
    const std::string path = dir.File("secret.pdf");
    pdf.SetProtection(4096, "", "chiave");
    pdf.SetDocProperty("Radice (segreta)", "", "", "", "", "");
    pdf.BeginDoc(path);
    pdf.BeginPage();
    pdf.AddBookmark("Capitolo \\ 1", 1, 0, 0, 0, 0, 0, 0, "", 0);
    pdf.EndDoc();
    ExpectReadersAccept(path, "chiave");
    const std::string tree = Compact(Outlines(path, "chiave"));
    EXPECT_NE(tree.find("\"title\":\"Capitolo \\\\ 1\""), std::string::npos) << tree;
    EXPECT_NE(tree.find("\"title\":\"Radice (segreta)\""), std::string::npos) << tree;
}
