// Bookmarks: the outline tree that qpdf reads back, levels resolved against the entry
// before, destinations in page space (margins included), colours and styles.

#include "support/pdf/qpdf_json.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

using Titles = std::vector<std::string>;

TEST(Outline, LevelsResolvedAgainstTheEntryBefore)
{
    EXPECT_EQ(QpdfDocument(WriteDocument("none.pdf", [](Tavlo&) {}).path).Text("Root/Outlines"), "<none>");
    std::vector<std::string> records;
    const std::string path = WriteDocument(
                                 "levels.pdf",
                                 [&](Tavlo& pdf) {
                                     const std::pair<const char*, std::int16_t> entries[] = {
                                         {"Primo", 0},  // level 0 first: below the root
                                         {"Negativo", -7}, {"A", 1},
                                         {"A1", -1},  // child of A
                                         {"A2", 0},   // sibling of A1
                                         {"B", 1},
                                         {"B1", 5}};  // at most one deeper
                                     for (const auto& [title, level] : entries)
                                         records.push_back(pdf.AddBookmark(title, level, 7, 0, 0, 0, 0, 0, "", 0));
                                 },
                                 {[](Tavlo& pdf) { pdf.SetDocProperty("Documento", "", "", "", "", ""); }})
                                 .path;
    EXPECT_EQ(records, (Titles{"@2", "@3", "@4", "@5", "@6", "@7", "@8"}));
    const QpdfDocument q(path);
    EXPECT_EQ(q.OutlineTitles(),
              (Titles{"Documento", "  Primo", "  Negativo", "  A", "    A1", "    A2", "  B", "    B1"}));
    // Fit 7 names no view: only the root entry has a destination.
    EXPECT_EQ(Show(q.Root()["outlines"][0]["dest"]).substr(0, 1), "[");
    EXPECT_EQ(Show(q.Root()["outlines"][0]["kids"][0]["dest"]), "<none>");
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

TEST(Outline, DestinationsColoursAndStyles)
{
    const WrittenPdf doc = WriteDocument("dest.pdf", [](Tavlo& pdf) {
        pdf.SetMargins(30, 10, 40, 10, false);
        pdf.BeginPage();
        pdf.BeginPage();
        pdf.AddBookmark("XYZ", 1, 4, 10, 20, 0, 0, 150, "Red", 3);
        pdf.AddBookmark("R", 1, 3, 10, 20, 100, 50, 0, "#FF8000", 2);
        pdf.AddBookmark("H", 1, 2, 0, 100, 0, 0, 0, "stripes", 0);  // a pattern name: no colour
        pdf.AddBookmark("V", 1, 1, 5, 0, 0, 0, 0, "", 0);
    });
    EXPECT_EQ(doc.bytes.substr(0, 8), "%PDF-1.4");  // for the colours and styles
    const QpdfDocument q(doc.path);
    // x = 30 + 10, y = 842 − 40 − 20.
    const std::pair<const char*, const char*> expected[] = {
        {"Dest", "[2 0 R /XYZ 40 782 1.5]"}, {"C", "[1 0 0]"}, {"F", "3"},
        {"Next/Dest", "[2 0 R /FitR 40 782 140 732]"}, {"Next/C", "[1 0.502 0]"}, {"Next/F", "1"},
        {"Next/Next/Dest", "[2 0 R /FitH 702]"}, {"Next/Next/C", "<none>"},
        {"Next/Next/Next/Dest", "[2 0 R /FitV 35]"}};
    const std::string page2 = q.Pages()[1];
    for (auto [key, value] : expected) {
        std::string text = value;
        if (text.rfind("[2 0 R", 0) == 0)
            text.replace(1, 5, page2);
        EXPECT_EQ(q.Text(std::string("Root/Outlines/First/First/") + key), text) << key;
    }
}

TEST(Outline, EncryptedTitlesReadBack)
{
    const std::string path = WriteDocument("secret.pdf",
                                           [](Tavlo& pdf) {
                                               pdf.BeginPage();
                                               pdf.AddBookmark("Capitolo \\ 1", 1, 0, 0, 0, 0, 0, 0, "", 0);
                                           },
                                           {[](Tavlo& pdf) {
                                                pdf.SetProtection(4096, "", "chiave");
                                                pdf.SetDocProperty("Radice (segreta)", "", "", "", "", "");
                                            },
                                            "chiave"})
                                 .path;
    EXPECT_EQ(QpdfDocument(path, "chiave").OutlineTitles(), (Titles{"Radice (segreta)", "  Capitolo \\ 1"}));
}
