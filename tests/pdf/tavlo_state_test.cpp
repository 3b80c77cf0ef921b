// The default author, the document date, error capture and the direct Flate call (the
// defaults, memory levels and the creation date's offset: scripts/tavlo_state.txt).

#include "pdf/error_raised.h"
#include "pdf/tavlo_test_peer.h"
#include "pdf/core/CreationDate.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

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

// What a call records: number, member and description, the description read as Windows-1252
// by iconv. A refused call (5) is recorded and raised like an overflow; accented letters of
// the messages, of a caller's text quoted (in Windows-1252) and of a file name (the file
// system's UTF-8) come out in Windows-1252, a character the code page lacks as "?".
TEST(TavloState, ErrorsAreRecordedInWindows1252)
{
    ScratchDir dir;
    const std::string folder = dir.File("città €ł");
    std::filesystem::create_directories(folder);
    const std::string damaged = folder + "/x.pdf";
    WriteFile(damaged, "%PDF-1.4\nxref\n0 2000000000\n0000000000 65535 f \ntrailer\n<< /Root 1 0 R >>\n"
                       "startxref\n9\n%%EOF\n");
    const std::string fonts = "/usr/share/fonts/truetype/dejavu/";
    struct Row {
        std::string name;
        std::function<void(Tavlo&)> call;
        std::int32_t raised, number;
        std::string source, description;  // UTF-8
    };
    const std::vector<Row> rows = {
        {"arc past its vertices", [](Tavlo& p) { p.DrawArc(100, 100, 50, 0, 1e9f, 1, false, 1, 0); }, 5, 5,
         "Tavlo.DrawArc", "Chiamata di routine o argomento non validi"},
        {"arc of no step", [](Tavlo& p) { p.DrawArc(100, 100, 50, 0, 90, 1, false, 0, 0); }, 5, 5, "Tavlo.DrawArc",
         "Chiamata di routine o argomento non validi"},
        {"paper too small", [](Tavlo& p) { p.SetPaperSize(255, 2, 100); }, 5, 5, "Tavlo.SetPaperSize",
         "Chiamata di routine o argomento non validi"},
        {"paper too large", [](Tavlo& p) { p.SetPaperSize(255, 100, 15000); }, 5, 5, "Tavlo.SetPaperSize",
         "Chiamata di routine o argomento non validi"},
        {"scale of zero", [](Tavlo& p) { p.SetScale(255, 0); }, 5, 5, "Tavlo.SetScale",
         "Chiamata di routine o argomento non validi"},
        {"protection too late",
         [&](Tavlo& p) {
             p.BeginDoc(dir.File("late.pdf"));
             p.BeginPage();
             p.EndPage();
             p.SetProtection(0, "capo", "");
         },
         5, 5, "Tavlo.SetProtection", "Protezione non applicabile: il documento contiene già oggetti scritti"},
        {"second document", [&](Tavlo& p) {
             p.BeginDoc(dir.File("first.pdf"));
             p.BeginPage();
             p.EndDoc();
             p.BeginDoc(dir.File("second.pdf"));
         },
         0, 5, "Tavlo.BeginDoc",
         "Il documento precedente non è stato azzerato: chiamare Abort prima di BeginDoc - " + dir.File("second.pdf")},
        {"alias taken", [&](Tavlo& p) {
             p.SetFont("Citt\xE0", 12, 0, 0);
             p.AddFont(fonts + "DejaVuSans-Bold.ttf", "Citt\xE0", 0, 0);
         },
         0, 5, "Tavlo.AddFont", "Il nome Città è già usato da un altro font - " + fonts + "DejaVuSans-Bold.ttf"},
        {"EAN of letters", [](Tavlo& p) { p.DrawBarCode(0, "Citt\xE0 \x80", 10, 10, true, 1, 0, false); }, 0, 5,
         "Tavlo.DrawBarCode", "Il codice EAN-13 richiede 12 cifre (13 con quella di controllo) - Città €"},
        {"damaged file in an accented folder",
         [&](Tavlo& p) {
             std::string title, subject, author;
             std::int16_t encrypted = 0;
             p.GetInfo(damaged, title, subject, author, encrypted);
         },
         0, 321, "Tavlo.GetInfo",
         "Formato di file non valido: tabella dei riferimenti incrociati più lunga del file - " + dir.File("città €?") +
             "/x.pdf"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Tavlo pdf;
        pdf.SetPaperSize(255, 300, 200);
        EXPECT_EQ(ErrorRaised([&] { row.call(pdf); }), row.raised);
        EXPECT_EQ(pdf.ErrNumber(), row.number);
        EXPECT_EQ(pdf.ErrSource(), row.source);
        WriteFile(dir.File("description.txt"), pdf.ErrDescription());
        EXPECT_EQ(RunTool("iconv -f WINDOWS-1252 -t UTF-8 " + Quote(dir.File("description.txt"))).output,
                  row.description);
        // A refused page size leaves the one in force.
        EXPECT_EQ(pdf.GetPageWidth(false), 300);
        EXPECT_EQ(pdf.GetPageHeight(false), 200);
    }
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
