// BMP files placed on pages: the image poppler extracts has the pixels ImageMagick reads
// from the same file, for every depth, both row orders, compressed rows and odd widths;
// the picture lands where it was placed, margins and units included; a key colour is
// transparent; a file drawn again is one image; unreadable files are recorded errors.

#include "pdf/BmpOracle.h"
#include "pdf/PdfCheck.h"
#include "pdf/RenderedBox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iterator>
#include <sstream>

using namespace tavlo;
using namespace tavlo::test;

namespace {

class BmpImagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ReadersAvailable() || !ImageToolsAvailable())
            FAIL() << "qpdf, poppler, mupdf or ImageMagick missing";
    }
    // One page drawn by draw, accepted by every reader; the writer's last error number.
    std::string Page(const std::string& name, const std::function<void(Tavlo&)>& draw, std::int32_t unit = 0,
                     float left = 0, float top = 0, std::int32_t* error = nullptr)
    {
        const std::string path = dir.File(name);
        Tavlo pdf;
        pdf.BeginDoc(path);
        pdf.SetScale(unit);
        pdf.SetMargins(left, 0, top, 0, false);
        pdf.BeginPage();
        draw(pdf);
        if (error)
            *error = pdf.ErrNumber();
        pdf.EndDoc();
        ExpectReadersAccept(path);
        return path;
    }
    // The lines of pdfimages -list after its two header lines.
    std::string ImageList(const std::string& pdf)
    {
        const std::string list = RunTool("pdfimages -list " + Quote(pdf) + " 2>&1").output;
        const std::size_t second = list.find('\n', list.find('\n') + 1);
        return second == std::string::npos ? list : list.substr(second + 1);
    }
    ScratchDir dir;
};

struct Variant {
    const char* name;
    int width, height, colours;
    const char* options;  // convert's, with the output format
    std::uint32_t bits, compression;
};

void ExpectBox(const std::array<double, 4>& drawn, double left, double bottom, double right, double top)
{
    // poppler paints the pixels an image edge only touches: one more on the right and below.
    EXPECT_NEAR(drawn[0], left, 1.0) << "left";
    EXPECT_NEAR(drawn[1], bottom, 1.0) << "bottom";
    EXPECT_NEAR(drawn[2], right, 1.0) << "right";
    EXPECT_NEAR(drawn[3], top, 1.0) << "top";
}

} // namespace

TEST_F(BmpImagesTest, ExtractedPixelsMatchImageMagickForEveryDepth)
{
    const Variant variants[] = {
        {"mono", 13, 7, 2, "-type Palette -compress None BMP3:", 1, 0},
        {"nibbles", 7, 5, 16, "-type Palette -compress None BMP3:", 4, 0},
        {"bytes", 33, 9, 200, "-type Palette -compress None BMP3:", 8, 0},
        {"rle8", 21, 6, 9, "-type Palette -compress RLE BMP3:", 8, 1},
        {"rgb", 7, 3, 500, "-type TrueColor -compress None BMP3:", 24, 0},
        {"rgba", 5, 4, 500, "-type TrueColorAlpha BMP:", 32, 3},
    };
    std::uint32_t seed = 11;
    for (const Variant& v : variants) {
        for (const bool topDown : {false, true}) {
            if (topDown && v.compression == 1)
                continue;  // compressed rows are bottom-up only
            SCOPED_TRACE(std::string(v.name) + (topDown ? " top-down" : ""));
            const std::string ppm = dir.File(std::string(v.name) + ".ppm");
            WriteFile(ppm, RandomPpm(v.width, v.height, v.colours, seed++));
            std::string bmp = dir.File(std::string(v.name) + (topDown ? "-td" : "") + ".bmp");
            ASSERT_TRUE(Convert(Quote(ppm) + " " + v.options + Quote(bmp)));
            std::string bytes = ReadFile(bmp);
            ASSERT_EQ(Field(bytes, 28, 2), v.bits) << "convert chose another depth";
            ASSERT_EQ(Field(bytes, 30, 4), v.compression);
            if (topDown) {
                WriteFile(bmp, TopDown(bytes));
                ASSERT_EQ(SizeOf(bmp), std::to_string(v.width) + "x" + std::to_string(v.height));
            }
            std::int32_t error = -1;
            const std::string pdf = Page(std::string(v.name) + (topDown ? "-td" : "") + ".pdf",
                                         [&](Tavlo& p) { p.DrawImage(bmp, 10, 10, 0, 0); }, 0, 0, 0, &error);
            EXPECT_EQ(error, 0);
            // The image is stored bottom row first, for the page's downward y axis; the
            // placement turns it upright (PictureLandsOnThePlacedRectangle).
            const std::string expected = RgbPixels(bmp, true);
            ASSERT_EQ(expected.size(), 3u * v.width * v.height);
            const ScratchDir out;
            const std::string mupdf = MupdfExtract(pdf, out.File(""));
            EXPECT_EQ(SizeOf(mupdf), SizeOf(bmp));
            EXPECT_TRUE(RgbPixels(mupdf) == expected) << "mupdf's pixels differ";
            if (v.bits > 1) {
                const std::string poppler = PopplerExtract(pdf, out.File(""));
                EXPECT_EQ(SizeOf(poppler), SizeOf(bmp));
                EXPECT_TRUE(RgbPixels(poppler) == expected) << "poppler's pixels differ";
            }
        }
    }
}

TEST_F(BmpImagesTest, PictureLandsOnThePlacedRectangle)
{
    const std::string black = dir.File("black.bmp");
    ASSERT_TRUE(Convert("-size 40x20 xc:black -type TrueColor " + Quote("BMP3:" + black)));
    // Pixel size, one pixel a point, inside margins of 20 and 40 points.
    ExpectBox(DarkBoxOfPage(Page("natural.pdf", [&](Tavlo& p) { p.DrawImage(black, 30, 50, 0, 0); }, 0, 20, 40), 1),
              50, 842 - 110, 90, 842 - 90);
    // Width given, height derived from the picture's proportions.
    ExpectBox(DarkBoxOfPage(Page("derived.pdf", [&](Tavlo& p) { p.DrawImage(black, 100, 200, 80, 0); }), 1), 100,
              842 - 240, 180, 842 - 200);
    // Height given, width derived; both given stretch it.
    ExpectBox(DarkBoxOfPage(Page("height.pdf", [&](Tavlo& p) { p.DrawImage(black, 100, 200, 0, 30); }), 1), 100,
              842 - 230, 160, 842 - 200);
    ExpectBox(DarkBoxOfPage(Page("stretched.pdf", [&](Tavlo& p) { p.DrawImage(black, 10, 10, 200, 5); }), 1), 10,
              842 - 15, 210, 842 - 10);
    // Millimetres: the derived size is still 40 × 20 points.
    // Upright: the top row of the file is at the top on the page.
    const std::string halves = dir.File("halves.bmp");
    ASSERT_TRUE(Convert("-size 30x10 xc:white -size 30x10 xc:black -append -type Palette " + Quote("BMP3:" + halves)));
    const GreyImage upright =
        PopplerPage(Page("upright.pdf", [&](Tavlo& p) { p.DrawImage(halves, 100, 100, 0, 0); }), 1, false);
    EXPECT_EQ(DarkPixelsIn(upright, 100, 100, 130, 110), 0);
    EXPECT_EQ(DarkPixelsIn(upright, 101, 111, 129, 119), 28 * 8);
    const double mm = 72 / 25.4;
    ExpectBox(DarkBoxOfPage(Page("mm.pdf", [&](Tavlo& p) { p.DrawImage(black, 10, 20, 0, 0); }, 2), 1), 10 * mm,
              842 - 20 * mm - 20, 10 * mm + 40, 842 - 20 * mm);
}

TEST_F(BmpImagesTest, KeyColourIsTransparent)
{
    // Left half pure red, right half black: both dark in grey until red is the key colour.
    const std::string rgb = dir.File("rgb.bmp"), indexed = dir.File("indexed.bmp");
    const std::string halves = "-size 20x10 xc:red -size 20x10 xc:black +append ";
    ASSERT_TRUE(Convert(halves + "-type TrueColor " + Quote("BMP3:" + rgb)));
    ASSERT_TRUE(Convert(halves + "-type Palette " + Quote("BMP3:" + indexed)));
    for (const std::string& bmp : {rgb, indexed}) {
        SCOPED_TRACE(bmp);
        const GreyImage plain = PopplerPage(Page("plain.pdf", [&](Tavlo& p) { p.DrawImage(bmp, 100, 100, 0, 0); }), 1,
                                            false);
        EXPECT_EQ(DarkPixelsIn(plain, 101, 101, 139, 109), 38 * 8);
        for (const std::string key : {"Red", "#FF0000", "@255;0;0"}) {
            const GreyImage keyed = PopplerPage(
                Page("keyed.pdf", [&](Tavlo& p) { p.DrawImage(bmp, 100, 100, 0, 0, 1, key); }), 1, false);
            EXPECT_EQ(DarkPixelsIn(keyed, 99, 99, 119, 111), 0) << key;
            EXPECT_EQ(DarkPixelsIn(keyed, 122, 101, 139, 109), 17 * 8) << key;
        }
        // A key colour the picture does not hold changes nothing.
        const GreyImage other = PopplerPage(
            Page("other.pdf", [&](Tavlo& p) { p.DrawImage(bmp, 100, 100, 0, 0, 1, "#00FF00"); }), 1, false);
        EXPECT_EQ(DarkPixelsIn(other, 101, 101, 139, 109), 38 * 8);
    }
}

TEST_F(BmpImagesTest, SameFileDrawnAgainIsOneImage)
{
    const std::string ppm = dir.File("p.ppm");
    WriteFile(ppm, RandomPpm(6, 4, 300, 3));
    const std::string bmp = dir.File("logo.bmp");
    ASSERT_TRUE(Convert(Quote(ppm) + " -type TrueColor " + Quote("BMP3:" + bmp)));
    // The second name differs in case only: the table finds the first record and does not
    // open the (absent) file. A key colour makes another image of the same file.
    const std::string other = dir.File("LOGO.BMP");
    std::int32_t error = -1;
    const std::string list = ImageList(Page("twice.pdf",
                                            [&](Tavlo& p) {
                                                p.DrawImage(bmp, 10, 10, 0, 0);
                                                p.DrawImage(other, 100, 10, 12, 8);
                                                p.DrawImage(bmp, 200, 10, 12, 8, 1, "Red");
                                            },
                                            0, 0, 0, &error));
    EXPECT_EQ(error, 0);
    // Column 11 of each line is the object number of the image placed.
    std::vector<std::string> objects;
    std::istringstream lines(list);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream columns(line);
        std::vector<std::string> column{std::istream_iterator<std::string>(columns), {}};
        if (column.size() > 10)
            objects.push_back(column[10]);
    }
    EXPECT_EQ(list.find("smask"), std::string::npos);
    ASSERT_EQ(objects.size(), 3u) << list;
    EXPECT_EQ(objects[0], objects[1]) << list;
    EXPECT_NE(objects[0], objects[2]) << list;

    // A new document on the same writer begins with an empty table and writes it again.
    const std::string path = dir.File("second.pdf");
    Tavlo pdf;
    for (int doc = 0; doc < 2; ++doc) {
        pdf.BeginDoc(path);
        pdf.BeginPage();
        pdf.DrawImage(bmp, 10, 10, 0, 0);
        pdf.EndDoc();
        pdf.Abort();
    }
    ExpectReadersAccept(path);
    EXPECT_TRUE(RgbPixels(PopplerExtract(path, dir.File(""))) == RgbPixels(bmp, true));
}

TEST_F(BmpImagesTest, UnreadableFilesAreRecordedAndNothingIsPlaced)
{
    const std::string good = dir.File("good.bmp");
    ASSERT_TRUE(Convert("-size 9x3 xc:navy -type TrueColor " + Quote("BMP3:" + good)));
    std::filesystem::create_directory(dir.File("folder.bmp"));
    const std::string bytes = ReadFile(good);
    auto crafted = [&](const std::string& name, const std::function<void(std::string&)>& change) {
        std::string b = bytes;
        change(b);
        WriteFile(dir.File(name), b);
        return dir.File(name);
    };
    const std::string missing = dir.File("missing.bmp");
    struct Case {
        std::string path;
        std::int32_t number;
    };
    const std::vector<Case> cases = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::int32_t number = 0;
        std::string source, description;
        const std::string pdf = Page("bad.pdf",
                                     [&](Tavlo& p) {
                                         p.DrawImage(c.path, 10, 10, 0, 0);  // raises nothing
                                         number = p.ErrNumber();
                                         source = p.ErrSource();
                                         description = p.ErrDescription();
                                     });
        EXPECT_EQ(number, c.number);
        EXPECT_EQ(source, "Tavlo.DrawImage");
        std::string upper = c.path;
        for (char& ch : upper)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        EXPECT_GT(description.size(), upper.size() + 3);
        EXPECT_EQ(description.substr(description.size() - upper.size() - 3), " - " + upper);
        EXPECT_EQ(ImageList(pdf), "");
        EXPECT_EQ(DarkPixelsIn(PopplerPage(pdf, 1, false), 0, 0, 596, 842), 0);
    }
    EXPECT_EQ(TavloError::StandardDescription(53) + " - " + [&] {
        std::string u = missing;
        for (char& ch : u)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        return u;
    }(), [&] {
        Tavlo p;
        p.DrawImage(missing, 0, 0, 10, 10);
        return p.ErrDescription();
    }());
    // After a failure the next good picture is drawn.
    std::int32_t error = -1;
    const std::string pdf = Page("after.pdf",
                                 [&](Tavlo& p) {
                                     p.DrawImage(missing, 10, 10, 0, 0);
                                     p.DrawImage(good, 10, 10, 90, 30);
                                     error = p.ErrNumber();
                                 });
    EXPECT_EQ(error, 53);
    EXPECT_EQ(DarkPixelsIn(PopplerPage(pdf, 1, false), 11, 11, 99, 39), 88 * 28);
}
