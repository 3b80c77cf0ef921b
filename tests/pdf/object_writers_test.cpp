// Font and image objects as the loaders hand them over, read back by qpdf, poppler's
// pdffonts and pdfimages, and rendered by both readers.

#include "pdf/tavlo_test_peer.h"
#include "support/pdf/images.h"
#include "support/pdf/qpdf_json.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

// Indexed images (8 and 1 bits, the 1-bit one's colour key as a stencil of its keyed pixels)
// and direct colour, the palette object after its image; JPEG data kept as given under the
// text filters.
TEST(ObjectWriters, PaletteDirectColourAndJpegImages)
{
    ScratchDir dir;
    const std::string jpeg = dir.File("pixel.jpg");
    ASSERT_TRUE(Convert("-size 4x4 xc:orange " + Quote(jpeg)));
    const Bytes jpegData = BytesOf(ReadFile(jpeg));
    std::vector<std::int32_t> objects;
    const std::string path = WriteDocument(
                                 "images.pdf",
                                 [&](Tavlo& pdf) {
                                     TavloTestPeer peer(pdf);
                                     Bytes palette(768, 0);
                                     palette[3] = 255;  // entry 1: red
                                     palette[7] = 255;  // entry 2: green
                                     objects = {
                                         peer.WriteImageXObject("GIF", {0, 1, 2, 1}, palette, 2, 2, 8, "/_IMG_1", "", "", ""),
                                         peer.WriteImageXObject("TGA", {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255},
                                                                Bytes(), 2, 2, 24, "/_IMG_2", "", "", ""),
                                         // 1 bit per pixel, rows padded to a byte
                                         peer.WriteImageXObject("BMP", {0x80, 0x40}, {0, 0, 0, 255, 255, 255}, 2, 2, 1,
                                                                "/_IMG_3", "", "", "0 0"),
                                         peer.WriteImageXObject("JPG", jpegData, Bytes(), 4, 4, 24, "/_IMG_4",
                                                                "DeviceRGB", "/DCTDecode ", "")};
                                     std::string resources;
                                     for (std::size_t i = 0; i < objects.size(); ++i)
                                         resources += "/_IMG_" + std::to_string(i + 1) + " " +
                                                      std::to_string(objects[i]) + " 0 R ";
                                     peer.State().ImageResources = resources;
                                     pdf.BeginPage();
                                     for (int i = 0; i < 4; ++i)
                                         peer.PutContent("q 100 0 0 100 " + std::to_string(10 + 110 * i) +
                                                         " 10 cm /_IMG_" + std::to_string(i + 1) + " Do Q");
                                 },
                                 {[](Tavlo& pdf) { pdf.SetCompression(Filter::Flate | Filter::AsciiHex, 2); }})
                                 .path;
    EXPECT_EQ(objects[1], objects[0] + 2);  // the palette object follows its image
    EXPECT_EQ(objects[2], objects[1] + 1);
    const auto images = ImagesListed(path);
    ASSERT_EQ(images.size(), 5u);  // the stencil listed after its image, under its number
    const std::tuple<const char*, int, int, const char*> expected[] = {{"index", 1, 8, "image"}, {"rgb", 3, 8, "image"},
                                                                      {"index", 1, 1, "image"}, {"-", 1, 1, "image"},
                                                                      {"rgb", 3, 8, "jpeg"}};
    const std::int32_t listedUnder[] = {objects[0], objects[1], objects[2], objects[2], objects[3]};
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto& [colour, components, bits, encoding] = expected[i];
        EXPECT_EQ(images[i].colour, colour) << i;
        EXPECT_EQ(images[i].components, components) << i;
        EXPECT_EQ(images[i].bits, bits) << i;
        EXPECT_EQ(images[i].encoding, encoding) << i;
        EXPECT_EQ(images[i].object, listedUnder[i]) << i;
    }
    const QpdfDocument q(path, "", false);
    EXPECT_EQ(q.Text(std::to_string(objects[0]) + " 0 R/ColorSpace"),
              "[/Indexed /DeviceRGB 255 " + std::to_string(objects[0] + 1) + " 0 R]");
    EXPECT_EQ(q.Text(std::to_string(objects[2]) + " 0 R/Mask/ImageMask"), "true");
    EXPECT_EQ(Hex(BytesOf(QpdfDocument(path).StreamData(std::to_string(objects[2]) + " 0 R/Mask"))), "4080");
    EXPECT_EQ(q.Text(std::to_string(objects[3]) + " 0 R/Filter"), "[/ASCIIHexDecode /DCTDecode]");
    EXPECT_EQ(q.Text("2 0 R/ProcSet"), "[/PDF /Text /ImageB /ImageC /ImageI]");
    // The JPEG bytes as they were, under the text encoding only.
    std::string hex = Hex(jpegData);
    for (char& c : hex)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(RunTool("qpdf --show-object=" + std::to_string(objects[3]) + " --raw-stream-data " + Quote(path)).output,
              hex + ">");
}

TEST(ObjectWriters, TrueTypeFontWithAndWithoutProgram)
{
    const Bytes program = BytesOf(ReadFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    ASSERT_FALSE(program.empty());
    std::int32_t embedded = 0, named = 0;
    const std::string path = WriteDocument(
                                 "truetype.pdf",
                                 [&](Tavlo& pdf) {
                                     TavloTestPeer peer(pdf);
                                     auto& fonts = peer.State().doc.Fonts;
                                     FontEntry font;
                                     font.FontType = -1;
                                     font.Widths.fill(600);
                                     font.BaseFont = font.Key = font.ResourceName = "DejaVuSans";
                                     fonts.push_back(font);
                                     font.BaseFont = font.Key = font.ResourceName = "DejaVu Light";
                                     fonts.push_back(font);
                                     const std::string descriptor =
                                         "/Flags 32 /FontBBox [-1021 -463 1793 1232] /ItalicAngle 0 /Ascent 928 "
                                         "/Descent -236 /CapHeight 729 /StemV 80";
                                     peer.State().CurrentFont = 1;
                                     embedded = peer.WriteFont("DejaVuSans", program,
                                                               static_cast<std::int32_t>(program.size()), descriptor);
                                     peer.State().CurrentFont = 2;
                                     named = peer.WriteFont("DejaVu#20Light", Bytes(), 0, descriptor);
                                     pdf.BeginPage();
                                     peer.PutContent("BT /DejaVuSans 14 Tf 1 0 0 -1 20 40 Tm (Quercino) Tj ET");
                                     peer.PutContent("BT /DejaVu#20Light 14 Tf 1 0 0 -1 20 80 Tm (Quercino) Tj ET");
                                 },
                                 {[](Tavlo& pdf) { pdf.SetCompression(Filter::Flate, 3); }})
                                 .path;
    EXPECT_EQ(named, embedded + 3);
    const std::string fonts = FontsListed(path);
    EXPECT_NE(fonts.find("DejaVuSans                           TrueType          WinAnsi          yes no  no"),
              std::string::npos)
        << fonts;
    EXPECT_NE(fonts.find("DejaVu Light"), std::string::npos) << fonts;
    const QpdfDocument q(path);
    const std::string font = std::to_string(embedded) + " 0 R";
    EXPECT_TRUE(q.StreamData(font + "/FontDescriptor/FontFile2") == TextOf(program));
    EXPECT_EQ(q.Text(font + "/FontDescriptor/FontFile2/Length1"), std::to_string(program.size()));
    EXPECT_EQ(q.Get(font + "/Widths").Size(), 256u);
    EXPECT_EQ(q.Text(font + "/Widths/65"), "600");
}
