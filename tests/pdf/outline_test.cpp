// Bookmarks nested as deep as the outline goes (the rest of the outline: scripts/outline.txt).

#include "support/pdf/qpdf_json.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

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
