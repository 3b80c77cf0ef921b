// The writer's defaults, reset, error capture, output file and content targets.

#include "pdf/ErrorRaised.h"
#include "pdf/OracleTools.h"
#include "pdf/TavloTestPeer.h"
#include "pdf/core/CreationDate.h"
#include "pdf/core/TableGrowth.h"

#include <gtest/gtest.h>


using namespace tavlo;
using namespace tavlo::test;

namespace {

bool Digits(const std::string& text, std::size_t from, std::size_t count)
{
    if (text.size() < from + count)
        return false;
    for (std::size_t i = from; i < from + count; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

// "D:" and fourteen digits, then "Z" or an offset such as +01'00'.
bool IsPdfDate(const std::string& text)
{
    if (text.rfind("D:", 0) != 0 || !Digits(text, 2, 14))
        return false;
    const std::string zone = text.substr(16);
    if (zone == "Z")
        return true;
    return zone.size() == 7 && (zone[0] == '+' || zone[0] == '-') && Digits(zone, 1, 2) && zone[3] == '\'' &&
           Digits(zone, 4, 2) && zone[6] == '\'';
}

} // namespace

TEST(TavloState, NewInstanceDefaults)
{
    Tavlo tavlo;
    TavloTestPeer peer(tavlo);
    const TavloState& s = peer.State();
    EXPECT_EQ(tavlo.ErrNumber(), 0);
    EXPECT_EQ(tavlo.ErrSource(), "");
    EXPECT_EQ(tavlo.ErrDescription(), "");
    EXPECT_EQ(tavlo.FileSize(), 0);
    EXPECT_EQ(tavlo.Version(), "2.4.8");
    EXPECT_EQ(s.InfoTitle, "(senza titolo)");
    EXPECT_EQ(s.PageWidth, 596);
    EXPECT_EQ(s.PageHeight, 842);
    EXPECT_EQ(s.Scale, 1);
    EXPECT_EQ(s.FillColor, "#FFFFFF");
    EXPECT_EQ(s.LineColor, "#000000");
    EXPECT_EQ(s.HorizontalScaling, 100);
    EXPECT_EQ(s.Compression, 0u);
    EXPECT_EQ(s.MemoryUsage, 1);
    EXPECT_FALSE(s.Encrypted);
    EXPECT_EQ(s.XrefEntries.size(), 1u);
    EXPECT_TRUE(IsPdfDate(s.CreationDate)) << s.CreationDate;
}

TEST(TavloState, DefaultAuthorComesFromTheHost)
{
    Tavlo::SetDefaultAuthorSource([] { return std::string("ROSSI MARIO"); });
    Tavlo tavlo;
    const TavloState& s = TavloTestPeer(tavlo).State();
    EXPECT_EQ(s.InfoAuthor, "ROSSI MARIO");
    EXPECT_EQ(s.InfoCreator, "ROSSI MARIO");
    EXPECT_EQ(s.InfoProducer, "ROSSI MARIO");
    Tavlo::SetDefaultAuthorSource(nullptr);
    tavlo.Abort();
    EXPECT_EQ(s.InfoAuthor, "");
}

TEST(TavloState, DocDateSuppliesTheCreationDay)
{
    Tavlo tavlo;
    const TavloState& s = TavloTestPeer(tavlo).State();
    tavlo.DocDate = "25/12/2008";
    EXPECT_NE(s.CreationDate.substr(2, 8), "20081225");  // only the next Abort reads it
    tavlo.Abort();
    EXPECT_EQ(s.CreationDate.substr(0, 10), "D:20081225");
    EXPECT_TRUE(IsPdfDate(s.CreationDate)) << s.CreationDate;
    tavlo.DocDate = "25-12-2008";  // any separators
    tavlo.Abort();
    EXPECT_EQ(s.CreationDate.substr(0, 10), "D:20081225");

    // Four characters "2008": characters 4-5 ("8") and 1-2 ("20") replace three characters.
    const std::string now = CreationDateText(0, "");
    const std::string partial = CreationDateText(0, "2008");
    EXPECT_EQ(partial.substr(0, 5), "D:820");
    EXPECT_EQ(partial.substr(5), now.substr(5));
    EXPECT_EQ(CreationDateText(0, ""), now);
}

TEST(TavloState, CreationDateCarriesTheLocalOffset)
{
    const char* saved = std::getenv("TZ");
    const std::string keep = saved ? saved : "";
    ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    ::tzset();
    EXPECT_EQ(CreationDateText(1230213000, ""), "D:20081225145000+01'00'");  // 25/12/2008 13:50 UTC
    EXPECT_EQ(CreationDateText(1215000000, ""), "D:20080702140000+02'00'");  // summer time
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    EXPECT_EQ(CreationDateText(1230213000, ""), "D:20081225135000Z");
    ::setenv("TZ", "EST5", 1);
    ::tzset();
    EXPECT_EQ(CreationDateText(1230213000, ""), "D:20081225085000-05'00'");
    if (saved)
        ::setenv("TZ", keep.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

TEST(TavloState, MemoryUsageLevels)
{
    Tavlo tavlo;
    const TavloState& s = TavloTestPeer(tavlo).State();
    tavlo.SetMemoryUsage(7);
    EXPECT_EQ(s.MemoryUsage, 7);
    tavlo.SetMemoryUsage(11);
    EXPECT_EQ(s.MemoryUsage, 7);
    tavlo.SetMemoryUsage(1000);
    EXPECT_EQ(s.MemoryUsage, 7);
    tavlo.SetMemoryUsage(0);
    EXPECT_EQ(s.MemoryUsage, 0);
    EXPECT_EQ(ErrorRaised([&] { tavlo.SetMemoryUsage(-1); }), 6) << "negative level accepted";
    tavlo.Abort();
    EXPECT_EQ(s.MemoryUsage, 1);
}

TEST(TableGrowth, UpperBoundsByLevel)
{
    EXPECT_EQ(InitialUpperBound(0), 0);
    EXPECT_EQ(InitialUpperBound(1), 10);
    EXPECT_EQ(GrownUpperBound(11, 1), 21);
    EXPECT_EQ(GrownUpperBound(1, 0), 11);  // level 0 grows like level 1
    EXPECT_EQ(GrownUpperBound(21, 2), 21 + 10 + 8);  // 2 × 21 / 5 = 8.4
    EXPECT_EQ(GrownUpperBound(3, 10), 3 + 10 + 6);
    EXPECT_EQ(GrownUpperBound(9, 3), 9 + 10 + 5);  // 5.4
    EXPECT_THROW(GrownUpperBound(2147483647, 1), TavloError);
}

TEST(ErrorCapture, RecordsSourceAndDescriptionWithExtra)
{
    Tavlo tavlo;
    TavloTestPeer peer(tavlo);
    ScratchDir dir;
    const std::string path = dir.File("manca/documento.pdf");
    try {
        peer.State().file.Open(path);
        FAIL() << "opened a file in a missing folder";
    } catch (const TavloError& e) {
        peer.CaptureError("BeginDoc", path, e);
    }
    EXPECT_EQ(tavlo.ErrNumber(), 76);
    EXPECT_EQ(tavlo.ErrSource(), "Tavlo.BeginDoc");
    EXPECT_EQ(tavlo.ErrDescription(), "Impossibile trovare il percorso - " + path);
    peer.CaptureError("AddFont", "", TavloError(53));
    EXPECT_EQ(tavlo.ErrSource(), "Tavlo.AddFont");
    EXPECT_EQ(tavlo.ErrDescription(), "Impossibile trovare il file");
    peer.CaptureError("DrawImage", "x.bmp", std::runtime_error("broken"));
    EXPECT_EQ(tavlo.ErrNumber(), 5);
    EXPECT_EQ(tavlo.ErrDescription(), "broken - x.bmp");
    tavlo.Abort();
    EXPECT_EQ(tavlo.ErrNumber(), 0);
    EXPECT_EQ(tavlo.ErrSource(), "Tavlo.DrawImage");  // kept by Abort
}

TEST(OutputFile, LinesSizeAndCloseOnAbort)
{
    Tavlo tavlo;
    TavloTestPeer peer(tavlo);
    ScratchDir dir;
    const std::string path = dir.File("out.pdf");
    peer.PutLine("ignored: no file");
    peer.State().file.Open(path);
    peer.PutLine("%PDF-1.3");
    peer.PutLine("a\rb");
    EXPECT_EQ(tavlo.FileSize(), 9 + 4);
    EXPECT_FALSE(peer.State().file.Failed());
    tavlo.Abort();
    EXPECT_EQ(tavlo.FileSize(), 0);
    EXPECT_EQ(ReadFile(path), "%PDF-1.3\na\rb\n");  // what was written stays
}

TEST(OutputFile, AFullDiskIsRemembered)
{
    if (!std::filesystem::exists("/dev/full"))
        FAIL() << "no /dev/full";
    Tavlo tavlo;
    TavloTestPeer peer(tavlo);
    OutputFile& file = peer.State().file;
    file.Open("/dev/full");
    for (int i = 0; i < 2000; ++i)
        peer.PutLine(std::string(100, 'x'));
    file.Close();
    EXPECT_TRUE(file.Failed());
    EXPECT_EQ(file.FailureCode(), 61);
}

TEST(ContentTargets, LinesGoToTheActiveTarget)
{
    Tavlo tavlo;
    TavloTestPeer peer(tavlo);
    TavloState& s = peer.State();
    peer.PutContent("dropped");
    EXPECT_EQ(s.PageContent.Text(), "");
    s.InPage = true;
    peer.PutContent("10 20 m");
    peer.PutContent("30 40 l");
    EXPECT_EQ(s.PageContent.Text(), "\r10 20 m\r30 40 l");
    s.InTiling = true;
    peer.PutContent("t");
    s.InObject = true;
    peer.PutContent("o");
    EXPECT_EQ(s.TilingContent.Text(), "\rt");
    EXPECT_EQ(s.ObjectContent.Text(), "\ro");
    EXPECT_EQ(s.PageContent.Text(), "\r10 20 m\r30 40 l");
    s.PageContent.Reset();
    EXPECT_EQ(s.PageContent.Text(), "");
    s.PageContent.Append("ab");
    s.PageContent.Append("cd");
    EXPECT_EQ(s.PageContent.Text(), "abcd");
}

TEST(RequireVersion, KeepsTheHighestRequest)
{
    Tavlo tavlo;
    TavloTestPeer peer(tavlo);
    peer.RequireVersion(2);
    peer.RequireVersion(1);
    EXPECT_EQ(peer.State().VersionBump, 2);
    tavlo.Abort();
    EXPECT_EQ(peer.State().VersionBump, 0);
}

TEST(Compression, SettingsAndDirectFlateCall)
{
    Tavlo tavlo;
    TavloTestPeer peer(tavlo);
    tavlo.SetCompression(2, 9);
    EXPECT_EQ(peer.State().Compression, 2u);
    EXPECT_EQ(peer.State().CompressionLevel, 3);
    tavlo.SetCompression(0, 2);
    EXPECT_EQ(peer.State().CompressionLevel, 2);
    Bytes data;
    std::int32_t last = 99;
    tavlo.zzToFlateDecode(data, last, 0);
    EXPECT_EQ(last, 7);
    EXPECT_EQ(Hex(data), "785e030000000001");
    Bytes kept = BytesOf("abc");
    EXPECT_THROW(tavlo.zzToFlateDecode(kept, last, 6), TavloError);
    EXPECT_EQ(TextOf(kept), "abc");  // a failed call leaves the data alone
}
