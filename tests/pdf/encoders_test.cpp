// Every combination of the five filters decoded by qpdf, and the filter names a stream gets
// (the four simple encoders' bytes: scripts/encoders.txt).

#include "pdf/mini_pdf.h"
#include "support/pdf/tools.h"
#include "pdf/core/StreamEncoding.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// A small document carrying `data` as object 7 under the given filters (and protection,
// when not negative): qpdf checks it and decodes the stream to `data`.
void ExpectQpdfDecodes(const std::string& file, const Bytes& data, std::uint32_t filters, std::uint8_t level,
                       std::int32_t protection, const std::string& label)
{
    Tavlo tavlo;
    tavlo.SetCompression(filters, level);
    if (protection >= 0)
        tavlo.SetProtection(protection, "o", "u");
    MiniPdfContent content;
    content.extraStream = data;
    WriteFile(file, BuildMiniPdf(tavlo, content));
    const std::string pw = protection >= 0 ? " --password=u" : "";
    const ToolResult decoded = RunTool("qpdf" + pw + " --show-object=7 --filtered-stream-data " + file + " 2>&1");
    EXPECT_EQ(decoded.exitCode, 0) << label << ": " << decoded.output.substr(0, 300);
    EXPECT_TRUE(decoded.output == TextOf(data)) << label;
    EXPECT_EQ(RunTool("qpdf --check" + pw + " " + file + " >/dev/null 2>&1").exitCode, 0) << label;
}

} // namespace

TEST(StreamEncoding, FilterNamesInDecodingOrderAndPresetData)
{
    deflate::FlateWorkspace workspace;
    EncodedStream s = EncodeStream(BytesOf("abc"), Filter::Flate | Filter::AsciiHex, 0, "", workspace);
    EXPECT_EQ(s.filters, "/ASCIIHexDecode /FlateDecode ");
    EXPECT_EQ(s.data.back(), '>');  // readers want the end marker inside the stream
    // Already encoded data keep their bytes under compression; only text filters apply.
    s = EncodeStream(BytesOf("JPEGDATA"), Filter::Flate | Filter::RunLength | Filter::Lzw, 2, "/DCTDecode ",
                     workspace);
    EXPECT_EQ(s.filters, "/DCTDecode ");
    EXPECT_EQ(TextOf(s.data), "JPEGDATA");
    s = EncodeStream(BytesOf("JPEGDATA"), Filter::AsciiHex, 2, "/DCTDecode ", workspace);
    EXPECT_EQ(s.filters, "/ASCIIHexDecode /DCTDecode ");
    s = EncodeStream(BytesOf("x"), 0, 0, "", workspace);
    EXPECT_EQ(s.filters, "");
    EXPECT_EQ(TextOf(s.data), "x");
}

TEST(StreamEncoding, EveryFilterCombinationDecodesInQpdf)
{
    ScratchDir dir;
    Bytes data = RandomBytes(20000, 32, 8);
    const Bytes tail = RandomBytes(3000, 33);
    data.insert(data.end(), tail.begin(), tail.end());
    data.insert(data.end(), 400, 0);  // zero groups and long runs
    for (std::int32_t protection : {-1, 0, 4096})
        for (std::uint32_t combination = 0; combination < 32; ++combination)
            ExpectQpdfDecodes(dir.File("c" + std::to_string(combination) + ".pdf"), data, combination,
                              static_cast<std::uint8_t>(combination % 4), protection,
                              "filters " + std::to_string(combination) + ", protection " + std::to_string(protection));
}

TEST(Lzw, EveryLevelWrapsItsDictionaryCorrectly)
{
    ScratchDir dir;
    // Enough different strings to fill the 4096-code dictionary several times.
    const Bytes data = RandomBytes(200000, 4, 64);
    for (std::uint8_t level = 0; level <= 3; ++level)
        for (const Bytes& input : {data, BytesOf("x"), Bytes(5000, 'q')})
            ExpectQpdfDecodes(dir.File("lzw.pdf"), input, Filter::Lzw, level, -1,
                              "level " + std::to_string(level) + ", " + std::to_string(input.size()) + " bytes");
}

TEST(StreamEncoding, EdgeSizesDecodeInQpdfForEachFilter)
{
    ScratchDir dir;
    const Bytes source = RandomBytes(300, 11, 3);
    for (std::size_t size : {0u, 1u, 2u, 3u, 4u, 5u, 127u, 128u, 129u, 255u, 256u, 257u}) {
        const Bytes data(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(size));
        for (std::uint32_t filter : {Filter::RunLength, Filter::Flate, Filter::Lzw, Filter::Ascii85, Filter::AsciiHex})
            ExpectQpdfDecodes(dir.File("edge.pdf"), data, filter, 3, -1,
                              "filter " + std::to_string(filter) + ", " + std::to_string(size) + " bytes");
    }
}
