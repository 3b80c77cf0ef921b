// BMP files placed on pages: the image poppler and mupdf extract has the pixels ImageMagick
// reads from the same file, for every depth, both row orders, compressed rows and odd widths;
// a file drawn again is one image; unreadable files are recorded errors (where the picture
// lands and key colours: scripts/bmp_images.txt).

#include "pdf/bmp_fields.h"
#include "support/pdf/images.h"
#include "support/pdf/rendering.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace tavlo;
using namespace tavlo::test;

namespace {

Image Drawn(const std::string& pdf)
{
    RenderOptions options;
    options.annotations = false;
    return RenderPage(pdf, 1, Reader::Poppler, options);
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

TEST(BmpImages, ExtractedPixelsMatchImageMagickForEveryDepth)
{
    struct Variant {
        const char* name;
        int width, height, colours;
        const char* options;  // convert's, with the output format
        std::uint32_t bits, compression;
    };
    const Variant variants[] = {
        {"mono", 13, 7, 2, "-type Palette -compress None BMP3:", 1, 0},
        {"nibbles", 7, 5, 16, "-type Palette -compress None BMP3:", 4, 0},
        {"bytes", 33, 9, 200, "-type Palette -compress None BMP3:", 8, 0},
        {"rle8", 21, 6, 9, "-type Palette -compress RLE BMP3:", 8, 1},
        {"rgb", 7, 3, 500, "-type TrueColor -compress None BMP3:", 24, 0},
        {"rgba", 5, 4, 500, "-type TrueColorAlpha BMP:", 32, 3},
    };
    ScratchDir dir;
    std::uint32_t seed = 11;
    for (const Variant& v : variants)
        for (const bool topDown : {false, true}) {
            if (topDown && v.compression == 1)
                continue;  // compressed rows are bottom-up only
            SCOPED_TRACE(std::string(v.name) + (topDown ? " top-down" : ""));
            const std::string ppm = dir.File("p.ppm"), bmp = dir.File(std::string(v.name) + ".bmp");
            WriteFile(ppm, RandomPpm(v.width, v.height, v.colours, seed++));
            ASSERT_TRUE(Convert(Quote(ppm) + " " + v.options + Quote(bmp)));
            const std::string bytes = ReadFile(bmp);
            ASSERT_EQ(Field(bytes, 28, 2), v.bits) << "convert chose another depth";
            ASSERT_EQ(Field(bytes, 30, 4), v.compression);
            if (topDown)
                WriteFile(bmp, TopDown(bytes));
            Tavlo writer;
            const std::string pdf = WriteDocument(writer, "depth.pdf", [&](Tavlo& p) {
                                        p.BeginPage();
                                        p.DrawImage(bmp, 10, 10, 0, 0);
                                    }).path;
            EXPECT_EQ(writer.ErrNumber(), 0);
            // The image is stored bottom row first, for the page's downward y axis; the
            // placement turns it upright (scripts/bmp_images.txt).
            const std::string expected = RgbPixels(bmp, true);
            ASSERT_EQ(expected.size(), 3u * v.width * v.height);
            const ScratchDir out;
            const std::string mupdf = MupdfExtract(pdf, out.Path());
            EXPECT_EQ(SizeOf(mupdf), SizeOf(bmp));
            EXPECT_TRUE(RgbPixels(mupdf) == expected) << "mupdf's pixels differ";
            if (v.bits > 1) {
                EXPECT_TRUE(RgbPixels(PopplerExtract(pdf, out.Path())) == expected) << "poppler's pixels differ";
            }
        }
}

TEST(BmpImages, SameFileDrawnAgainIsOneImage)
{
    ScratchDir dir;
    const std::string ppm = dir.File("p.ppm"), bmp = dir.File("logo.bmp");
    WriteFile(ppm, RandomPpm(6, 4, 300, 3));
    ASSERT_TRUE(Convert(Quote(ppm) + " -type TrueColor " + Quote("BMP3:" + bmp)));
    // The second name differs in case only: the table finds the first record and does not
    // open the (absent) file. A key colour makes another image of the same file.
    Tavlo pdf;
    const auto images = ImagesListed(WriteDocument(pdf, "twice.pdf", [&](Tavlo& p) {
                                         p.BeginPage();
                                         p.DrawImage(bmp, 10, 10, 0, 0);
                                         p.DrawImage(dir.File("LOGO.BMP"), 100, 10, 12, 8);
                                         p.DrawImage(bmp, 200, 10, 12, 8, 1, "Red");
                                     }).path);
    EXPECT_EQ(pdf.ErrNumber(), 0);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].object, images[1].object);
    EXPECT_NE(images[0].object, images[2].object);
    for (const ListedImage& image : images)
        EXPECT_EQ(image.type, "image");  // no soft mask
    // A new document on the same writer begins with an empty table and writes it again.
    pdf.Abort();
    const std::string second = WriteDocument(pdf, "second.pdf", [&](Tavlo& p) {
                                   p.BeginPage();
                                   p.DrawImage(bmp, 10, 10, 0, 0);
                               }).path;
    EXPECT_TRUE(RgbPixels(PopplerExtract(second, dir.Path())) == RgbPixels(bmp, true));
}

TEST(BmpImages, UnreadableFilesAreRecordedAndNothingIsPlaced)
{
    ScratchDir dir;
    const std::string good = dir.File("good.bmp"), missing = dir.File("missing.bmp");
    ASSERT_TRUE(Convert("-size 9x3 xc:navy -type TrueColor " + Quote("BMP3:" + good)));
    std::filesystem::create_directory(dir.File("folder.bmp"));
    const std::string bytes = ReadFile(good);
    auto crafted = [&](const std::string& name, const std::function<void(std::string&)>& change) {
        std::string b = bytes;
        change(b);
        WriteFile(dir.File(name), b);
        return dir.File(name);
    };
    const std::pair<std::string, std::int32_t> cases[] = {
        {missing, 53},
        {dir.File("folder.bmp"), 75},
        {crafted("truncated.bmp", [](std::string& b) { b.resize(b.size() - 5); }), 321},
        {crafted("header.bmp", [](std::string& b) { b.resize(30); }), 321},
        {crafted("huge.bmp", [](std::string& b) { SetField(b, 18, 4, 0x7FFFFFFF), SetField(b, 22, 4, 0x7FFFFFFF); }),
         321},
        {crafted("tall.bmp", [](std::string& b) { SetField(b, 22, 4, 5000); }), 321},
        {crafted("zero.bmp", [](std::string& b) { SetField(b, 18, 4, 0); }), 321},
        {crafted("offset.bmp", [](std::string& b) { SetField(b, 10, 4, 0xFFFFFFF0); }), 321},
        {crafted("bits.bmp", [](std::string& b) { SetField(b, 28, 2, 7); }), 321},
        {crafted("packing.bmp", [](std::string& b) { SetField(b, 30, 4, 9); }), 321},
        {crafted("magic.bmp", [](std::string& b) { b[0] = 'X'; }), 321},
        {dir.File("logo.png"), 321},
    };
    for (const auto& [path, number] : cases) {
        Tavlo pdf;
        const std::string written = WriteDocument(pdf, "bad.pdf", [&](Tavlo& p) {
                                        p.BeginPage();
                                        p.DrawImage(path, 10, 10, 0, 0);  // raises nothing
                                    }).path;
        EXPECT_EQ(pdf.ErrNumber(), number) << path;
        EXPECT_EQ(pdf.ErrSource(), "Tavlo.DrawImage");
        const std::string description = pdf.ErrDescription(), tail = " - " + Upper(path);
        EXPECT_GT(description.size(), tail.size());
        EXPECT_EQ(description.substr(description.size() - tail.size()), tail);
        if (number == 53) {  // the standard text of a missing file
            EXPECT_EQ(description, TavloError::StandardDescription(53) + tail);
        }
        EXPECT_TRUE(ImagesListed(written).empty()) << path;
    }
    // After a failure the next good picture is drawn.
    Tavlo pdf;
    const std::string after = WriteDocument(pdf, "after.pdf", [&](Tavlo& p) {
                                  p.BeginPage();
                                  p.DrawImage(missing, 10, 10, 0, 0);
                                  p.DrawImage(good, 10, 10, 90, 30);
                              }).path;
    EXPECT_EQ(pdf.ErrNumber(), 53);
    EXPECT_EQ(DarkPixelsIn(Drawn(after), 11, 11, 99, 39), 88 * 28);
}
