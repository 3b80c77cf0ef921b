// Objects written at the end of a document: named destinations whatever their records hold,
// and the shared resources and encryption dictionary of a document without pages.

#include "pdf/TavloTestPeer.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

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
