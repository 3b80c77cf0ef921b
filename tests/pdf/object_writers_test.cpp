// Font and image objects as the loaders hand them over, read back by poppler's pdffonts and
// pdfimages and rendered by both readers.

#include "pdf/PdfCheck.h"
#include "pdf/TavloTestPeer.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tavlo;
using namespace tavlo::test;

namespace {

class ObjectWritersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ReadersAvailable() || !ToolAvailable("pdfimages") || !ToolAvailable("pdffonts"))
            FAIL() << "qpdf, poppler or mupdf missing";
    }
    ScratchDir dir;
};

// The columns of one pdfimages -list line, blanks collapsed.
std::string ImageLine(const std::string& list, int index)
{
    std::size_t at = 0;
    for (int i = 0; i < index + 2; ++i)
        at = list.find('\n', at) + 1;
    std::string line = list.substr(at, list.find('\n', at) - at), out;
    for (char c : line)
        if (c != ' ' || (!out.empty() && out.back() != ' '))
            out += c;
    return out;
}

} // namespace

TEST_F(ObjectWritersTest, PaletteAndDirectColourImages)
{
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("images.pdf");
    pdf.SetCompression(Filter::Flate, 2);
    pdf.BeginDoc(path);
    Bytes palette(768, 0);
    palette[3] = 255;                    // entry 1: red
    palette[7] = 255;                    // entry 2: green
    const Bytes indexed = {0, 1, 2, 1};  // 2 × 2, one byte per pixel
    const std::int32_t gif = peer.WriteImageXObject("GIF", indexed, palette, 2, 2, 8, "/_IMG_1", "", "", "");
    const Bytes rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    const std::int32_t tga = peer.WriteImageXObject("TGA", rgb, Bytes(), 2, 2, 24, "/_IMG_2", "", "", "");
    const Bytes bits = {0x80, 0x40};    // 1 bit per pixel, rows padded to a byte
    const Bytes mono = {0, 0, 0, 255, 255, 255};
    const std::int32_t bmp = peer.WriteImageXObject("BMP", bits, mono, 2, 2, 1, "/_IMG_3", "", "", "0 0");
    peer.State().ImageResources = "/_IMG_1 " + std::to_string(gif) + " 0 R /_IMG_2 " + std::to_string(tga) +
                                  " 0 R /_IMG_3 " + std::to_string(bmp) + " 0 R ";
    pdf.BeginPage();
    peer.PutContent("q 100 0 0 100 10 10 cm /_IMG_1 Do Q");
    peer.PutContent("q 100 0 0 100 120 10 cm /_IMG_2 Do Q");
    peer.PutContent("q 100 0 0 100 230 10 cm /_IMG_3 Do Q");
    pdf.EndDoc();
    ExpectReadersAccept(path);
    EXPECT_EQ(bmp, tga + 1);
    EXPECT_EQ(tga, gif + 2);  // the palette object follows its image
    const std::string list = RunTool("pdfimages -list " + Quote(path)).output;
    EXPECT_EQ(ImageLine(list, 0).substr(0, 36), "1 0 image 2 2 index 1 8 image no 4 0") << list;
    EXPECT_EQ(ImageLine(list, 1).substr(0, 34), "1 1 image 2 2 rgb 3 8 image no 6 0") << list;
    EXPECT_EQ(ImageLine(list, 2).substr(0, 34), "1 2 image 2 2 index 1 1 image no 7") << list;
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("/ColorSpace [/Indexed /DeviceRGB 255 5 0 R]"), std::string::npos);
    EXPECT_NE(text.find("/ColorSpace [/Indexed /DeviceRGB 1 8 0 R]"), std::string::npos);
    EXPECT_NE(text.find("/Mask [0 0]"), std::string::npos);
    EXPECT_NE(text.find("/ProcSet [/PDF /Text /ImageB /ImageC /ImageI ]"), std::string::npos);
}

TEST_F(ObjectWritersTest, JpegDataKeptAsGiven)
{
    if (!ToolAvailable("convert"))
        FAIL() << "ImageMagick missing";
    const std::string jpeg = dir.File("pixel.jpg");
    ASSERT_EQ(RunTool("convert -size 4x4 xc:orange " + jpeg).exitCode, 0);
    const Bytes data = BytesOf(ReadFile(jpeg));
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("jpeg.pdf");
    pdf.SetCompression(Filter::Flate | Filter::AsciiHex, 1);
    pdf.BeginDoc(path);
    const std::int32_t n =
        peer.WriteImageXObject("JPG", data, Bytes(), 4, 4, 24, "/_IMG_1", "DeviceRGB", "/DCTDecode ", "");
    peer.State().ImageResources = "/_IMG_1 " + std::to_string(n) + " 0 R ";
    pdf.BeginPage();
    peer.PutContent("q 50 0 0 50 10 10 cm /_IMG_1 Do Q");
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("/Filter [/ASCIIHexDecode /DCTDecode ]"), std::string::npos);
    // Only the text encoding is undone: the JPEG bytes come back unchanged.
    EXPECT_EQ(RunTool("qpdf --show-object=" + std::to_string(n) + " --raw-stream-data " + Quote(path)).output.size(),
              2 * data.size() + 1);
    const std::string list = RunTool("pdfimages -list " + Quote(path)).output;
    EXPECT_NE(ImageLine(list, 0).find(" jpeg "), std::string::npos) << list;
}

TEST_F(ObjectWritersTest, TrueTypeFontWithAndWithoutProgram)
{
    const std::string ttf = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!std::filesystem::exists(ttf))
        FAIL() << "DejaVu fonts missing";
    const Bytes program = BytesOf(ReadFile(ttf));
    Tavlo pdf;
    TavloTestPeer peer(pdf);
    const std::string path = dir.File("truetype.pdf");
    pdf.SetCompression(Filter::Flate, 3);
    pdf.BeginDoc(path);
    auto& fonts = peer.State().doc.Fonts;
    FontEntry font;
    font.FontType = -1;
    font.BaseFont = "DejaVuSans";
    font.Widths.fill(600);
    font.Key = font.ResourceName = "DejaVuSans";
    fonts.push_back(font);
    font.BaseFont = font.Key = font.ResourceName = "DejaVu Light";
    fonts.push_back(font);
    const std::string descriptor = "/Flags 32 /FontBBox [-1021 -463 1793 1232] /ItalicAngle 0 /Ascent 928 "
                                   "/Descent -236 /CapHeight 729 /StemV 80";
    peer.State().CurrentFont = 1;
    const std::int32_t embedded =
        peer.WriteFont("DejaVuSans", program, static_cast<std::int32_t>(program.size()), descriptor);
    peer.State().CurrentFont = 2;
    const std::int32_t named = peer.WriteFont("DejaVu#20Light", Bytes(), 0, descriptor);
    EXPECT_EQ(named, embedded + 3);
    pdf.BeginPage();
    peer.PutContent("BT /DejaVuSans 14 Tf 1 0 0 -1 20 40 Tm (Quercino) Tj ET");
    peer.PutContent("BT /DejaVu#20Light 14 Tf 1 0 0 -1 20 80 Tm (Quercino) Tj ET");
    pdf.EndDoc();
    ExpectReadersAccept(path);
    const std::string fontsList = RunTool("pdffonts " + Quote(path)).output;
    EXPECT_NE(fontsList.find("DejaVuSans                           TrueType          WinAnsi          yes no  no"),
              std::string::npos)
        << fontsList;
    EXPECT_NE(fontsList.find("DejaVu Light"), std::string::npos) << fontsList;
    EXPECT_EQ(StreamOf(path, embedded + 2), TextOf(program));
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("/Length1 " + std::to_string(program.size()) + "\n"), std::string::npos);
    EXPECT_NE(text.find("/Widths [600 600 600 600 600 600 600 600 600 600 600 600 600 600 600 600 \r600 "),
              std::string::npos);
    EXPECT_NE(text.find("/FontDescriptor " + std::to_string(embedded + 1) + " 0 R\r"), std::string::npos);
}
