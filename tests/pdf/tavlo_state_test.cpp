// The default author, the document date, error capture and the direct Flate call (the
// defaults, memory levels and the creation date's offset: scripts/tavlo_state.txt).

#include "pdf/tavlo_test_peer.h"
#include "pdf/core/CreationDate.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>


using namespace tavlo;
using namespace tavlo::test;

TEST(TavloState, DefaultAuthorComesFromTheHostAndDocDateTheDay)
{
    Tavlo::SetDefaultAuthorSource([] { return std::string("ROSSI MARIO"); });
    Tavlo pdf;
    const auto info = PdfInfo(WriteDocument(pdf, "author.pdf", [](Tavlo&) {}).path);
    for (const char* key : {"Author", "Creator", "Producer"})
        EXPECT_EQ(info.at(key), "ROSSI MARIO") << key;
    Tavlo::SetDefaultAuthorSource(nullptr);
    // The next Abort takes the day from DocDate, any separators.
    for (const char* date : {"25/12/2008", "25-12-2008"}) {
        pdf.DocDate = date;
        pdf.Abort();
        const QpdfDocument q(WriteDocument(pdf, "dated.pdf", [](Tavlo&) {}).path);
        EXPECT_EQ(q.Text("Info/CreationDate").substr(0, 10), "D:20081225");
        EXPECT_EQ(q.Text("Info/Author"), "");
    }
    // Four characters "2008": characters 4-5 ("8") and 1-2 ("20") replace three characters.
    const std::string now = CreationDateText(0, "");
    const std::string partial = CreationDateText(0, "2008");
    EXPECT_EQ(partial.substr(0, 5), "D:820");
    EXPECT_EQ(partial.substr(5), now.substr(5));
}

TEST(TavloState, ErrorCaptureKeepsTheSourceAcrossAbort)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    // An error made by its number carries its standard text.
    for (const auto& [number, text] : {std::pair{53, "Impossibile trovare il file"}, {13, "Tipo non corrispondente"}}) {
        peer.CaptureError("AddFont", "", TavloError(number));
        EXPECT_EQ(pdf.ErrSource(), "Tavlo.AddFont");
        EXPECT_EQ(pdf.ErrDescription(), text);
    }
    // Any other failure is the invalid-argument error with its own text.
    peer.CaptureError("DrawImage", "x.bmp", std::runtime_error("broken"));
    EXPECT_EQ(pdf.ErrNumber(), 5);
    EXPECT_EQ(pdf.ErrDescription(), "broken - x.bmp");
    pdf.Abort();
    EXPECT_EQ(pdf.ErrNumber(), 0);
    EXPECT_EQ(pdf.ErrSource(), "Tavlo.DrawImage");
}

TEST(TavloState, CompressionSettingsAndDirectFlateCall)
{
    Tavlo pdf;
    pdf.SetCompression(2, 9);  // a level above 3 is 3
    Bytes data;
    std::int32_t last = 99;
    pdf.zzToFlateDecode(data, last, 0);
    EXPECT_EQ(last, 7);
    EXPECT_EQ(Hex(data), "785e030000000001");
    Bytes kept = BytesOf("abc");
    EXPECT_THROW(pdf.zzToFlateDecode(kept, last, 6), TavloError);
    EXPECT_EQ(TextOf(kept), "abc");  // a failed call leaves the data alone
    const QpdfDocument q(WriteDocument(pdf, "packed.pdf", [](Tavlo& p) {
                             p.BeginPage();
                             p.DrawRect(1, 1, 1, 1, 0);
                         }).path,
                         "", false);
    EXPECT_EQ(q.Text("Root/Pages/Kids/0/Contents/Filter"), "[/FlateDecode]");
}
