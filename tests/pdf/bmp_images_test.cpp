// BMP files placed on pages: the image poppler and mupdf extract has the pixels ImageMagick
// reads from the same file, for every depth, both row orders, compressed rows and odd widths;
// the picture lands where it was placed, margins and units included; a key colour is
// transparent; a file drawn again is one image; unreadable files are recorded errors.

#include "pdf/BmpFields.h"
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

// One page drawn by draw (in the unit, inside the margins), accepted by every reader.
std::string Page(const std::function<void(Tavlo&)>& draw, std::int32_t unit = 0, float left = 0, float top = 0)
{
    return WriteDocument("page.pdf", [&](Tavlo& pdf) {
               pdf.SetScale(unit);
               pdf.SetMargins(left, 0, top, 0, false);
               pdf.BeginPage();
               draw(pdf);
           }).path;
}

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
            // placement turns it upright (PictureLandsOnThePlacedRectangle).
            const std::string expected = RgbPixels(bmp, true);
            ASSERT_EQ(expected.size(), 3u * v.width * v.height);
            const ScratchDir out;
            const std::string mupdf = MupdfExtract(pdf, out.Path());
            EXPECT_EQ(SizeOf(mupdf), SizeOf(bmp));
            EXPECT_TRUE(RgbPixels(mupdf) == expected) << "mupdf's pixels differ";
            if (v.bits > 1)
                EXPECT_TRUE(RgbPixels(PopplerExtract(pdf, out.Path())) == expected) << "poppler's pixels differ";
        }
}

TEST(BmpImages, PictureLandsOnThePlacedRectangle)
{
    ScratchDir dir;
    const std::string black = dir.File("black.bmp"), halves = dir.File("halves.bmp");
    ASSERT_TRUE(Convert("-size 40x20 xc:black -type TrueColor " + Quote("BMP3:" + black)));
    const double mm = 72 / 25.4;
    struct Case {
        std::function<void(Tavlo&)> draw;
        std::int32_t unit;
        float left, top;
        std::array<double, 4> box;  // left, bottom, right, top in points
    };
    const Case cases[] = {
        // Pixel size, one pixel a point, inside margins of 20 and 40 points.
        {[&](Tavlo& p) { p.DrawImage(black, 30, 50, 0, 0); }, 0, 20, 40, {50, 842 - 110, 90, 842 - 90}},
        // Width given, height derived from the picture's proportions; height given; both.
        {[&](Tavlo& p) { p.DrawImage(black, 100, 200, 80, 0); }, 0, 0, 0, {100, 842 - 240, 180, 842 - 200}},
        {[&](Tavlo& p) { p.DrawImage(black, 100, 200, 0, 30); }, 0, 0, 0, {100, 842 - 230, 160, 842 - 200}},
        {[&](Tavlo& p) { p.DrawImage(black, 10, 10, 200, 5); }, 0, 0, 0, {10, 842 - 15, 210, 842 - 10}},
        // Millimetres: the derived size is still 40 × 20 points.
        {[&](Tavlo& p) { p.DrawImage(black, 10, 20, 0, 0); }, 2, 0, 0, {10 * mm, 842 - 20 * mm - 20, 10 * mm + 40, 842 - 20 * mm}},
    };
    for (const Case& c : cases) {
        // poppler paints the pixels an image edge only touches: within a point.
        const auto drawn = DarkBox(Drawn(Page(c.draw, c.unit, c.left, c.top)));
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(drawn[i], c.box[i], 1.0) << "side " << i;
    }
    // Upright: the top row of the file is at the top on the page.
    ASSERT_TRUE(Convert("-size 30x10 xc:white -size 30x10 xc:black -append -type Palette " + Quote("BMP3:" + halves)));
    const Image upright = Drawn(Page([&](Tavlo& p) { p.DrawImage(halves, 100, 100, 0, 0); }));
    EXPECT_EQ(DarkPixelsIn(upright, 100, 100, 130, 110), 0);
    EXPECT_EQ(DarkPixelsIn(upright, 101, 111, 129, 119), 28 * 8);
}

TEST(BmpImages, KeyColourIsTransparent)
{
    // Left half pure red, right half black: both dark in grey until red is the key colour.
    ScratchDir dir;
    const std::string rgb = dir.File("rgb.bmp"), indexed = dir.File("indexed.bmp");
    const std::string halves = "-size 20x10 xc:red -size 20x10 xc:black +append ";
    ASSERT_TRUE(Convert(halves + "-type TrueColor " + Quote("BMP3:" + rgb)));
    ASSERT_TRUE(Convert(halves + "-type Palette " + Quote("BMP3:" + indexed)));
    for (const std::string& bmp : {rgb, indexed})
        // A key colour the picture does not hold changes nothing.
        for (const std::string key : {"", "Red", "#FF0000", "@255;0;0", "#00FF00"}) {
            const Image page = Drawn(Page([&](Tavlo& p) { p.DrawImage(bmp, 100, 100, 0, 0, 1, key); }));
            const bool keyed = !key.empty() && key != "#00FF00";
            EXPECT_EQ(DarkPixelsIn(page, 101, 101, 119, 109), keyed ? 0 : 18 * 8) << bmp << key;
            EXPECT_EQ(DarkPixelsIn(page, 122, 101, 139, 109), 17 * 8) << bmp << key;
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
        if (number == 53)  // the standard text of a missing file
            EXPECT_EQ(description, TavloError::StandardDescription(53) + tail);
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
