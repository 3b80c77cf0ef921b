// GIF, JPEG and TGA pictures made by ImageMagick and PIL, placed on a green page: each is one
// image of the picture's size and colour space; poppler extracts the pixels ImageMagick
// reads from the file (a JPEG byte for byte); keyed and soft-masked pixels show the green
// behind; damaged and forged files are recorded errors.

#include "pdf/BmpFields.h"
#include "support/pdf/images.h"
#include "support/pdf/rendering.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iterator>
#include <sstream>

using namespace tavlo;
using namespace tavlo::test;

namespace {

const std::string kPictures = Quote(QUERCINO_SOURCE_DIR "/tests/pdf/pictures.py");
constexpr int kLeft = 20, kTop = 30;  // where every picture is placed, in points

// An RGB image, rows from the top.
struct RgbImage {
    int width = 0, height = 0;
    std::string pixels;
    std::string At(int x, int y) const { return pixels.substr((static_cast<std::size_t>(y) * width + x) * 3, 3); }
};

// The picture's area of the page as poppler draws it at 288 dpi, 4 × 4 pixels a point (it
// applies colour-key masks exactly only when it enlarges an image).
RgbImage Rendered(const std::string& pdf, int width, int height, const ScratchDir& dir)
{
    RunTool("pdftoppm -r 288 -aa no -aaVector no -singlefile -x " + std::to_string(4 * kLeft) + " -y " +
            std::to_string(4 * kTop) + " -W " + std::to_string(4 * width) + " -H " + std::to_string(4 * height) + " " +
            Quote(pdf) + " " + Quote(dir.File("page")));
    const std::string ppm = ReadFile(dir.File("page.ppm"));
    return {4 * width, 4 * height, ReadPnm("P5" + ppm.substr(std::min<std::size_t>(2, ppm.size()))).pixels};
}

// Points of the picture's area where the green page shows (at their centres: edges of soft
// masks are smoothed).
int GreenPointsIn(const RgbImage& area)
{
    int count = 0;
    for (int y = 2; y < area.height; y += 4)
        for (int x = 2; x < area.width; x += 4)
            count += area.At(x, y) == std::string("\0\xFF\0", 3) ? 1 : 0;
    return count;
}

// The rows of pdfimages -list, split into columns.
std::vector<std::vector<std::string>> ImageRows(const std::string& pdf)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(RunTool("pdfimages -list " + Quote(pdf)).output);
    std::string line;
    for (int header = 0; header < 2 && std::getline(lines, line); ++header) {
    }
    while (std::getline(lines, line)) {
        std::istringstream columns(line);
        rows.emplace_back(std::istream_iterator<std::string>(columns), std::istream_iterator<std::string>());
    }
    return rows;
}

class RasterPicturesTest : public ::testing::Test {
protected:
    // The picture at (kLeft, kTop), natural size, on a green page; the writer's last error.
    std::string Place(const std::string& picture, std::int16_t frame, std::int32_t* error = nullptr)
    {
        const std::string pdf = dir.File("page.pdf");
        Tavlo p;
        p.BeginDoc(pdf);
        p.BeginPage();
        p.SetColorFill("#00FF00");
        p.DrawRect(0, 0, 596, 842, 5);
        p.DrawImage(picture, kLeft, kTop, 0, 0, frame);
        if (error)
            *error = p.ErrNumber();
        p.EndDoc();
        ExpectReadersAccept(pdf);
        return pdf;
    }
    // The picture's pixels and alpha as ImageMagick reads them (frame: which image).
    static std::string Magick(const std::string& picture, const std::string& output)
    {
        return RunTool("/usr/bin/convert " + Quote(picture) + " " + output + " 2>/dev/null").output;
    }
    static std::string Made(const std::string& command)
    {
        EXPECT_EQ(RunTool(command + " >/dev/null 2>&1").exitCode, 0) << command;
        return command;
    }
    ScratchDir dir;
};

struct Case {
    std::string name, make;  // make: the shell command writing the picture to {}
    std::int16_t frame = 1;
    std::string colour = "";  // JPEG: the colour space pdfimages names
};

std::string Command(const Case& c, const std::string& path)
{
    std::string command = c.make;
    command.replace(command.find("{}"), 2, Quote(path));
    return command;
}

} // namespace

TEST_F(RasterPicturesTest, GifFramesMatchImageMagick)
{
    const std::string py = "/usr/bin/python3 " + kPictures + " gif {} ";
    const std::string source = Quote(dir.File("source.ppm"));
    WriteFile(dir.File("source.ppm"), RandomPpm(23, 11, 7, 5));
    const std::vector<Case> cases = {
        {"two colours", "/usr/bin/convert " + source + " -colors 2 {}", 1},
        {"four colours", "/usr/bin/convert -size 4x1 xc:navy -colors 4 {}", 1},
        {"eight, interlaced", "/usr/bin/convert " + source + " -interlace GIF {}", 1},
        {"keyed colour", "/usr/bin/convert " + source + " -transparent \"$(/usr/bin/convert " + source +
                             " -format '%[pixel:p{3,3}]' info:)\" {}", 1},
        {"second frame", "/usr/bin/convert -page 40x30+0+0 " + source + " -page 40x30+9+6 " + source +
                             " -page 40x30+30+25 " + source + " {}", 2},
        {"frame past the screen", "/usr/bin/convert -page 40x30+0+0 " + source + " -page 40x30+30+25 " + source +
                                      " {}", 2},
        {"full table, no clear", py + "w=100 h=100 colours=16 seed=3", 1},
        {"offset keyed interlaced frames", py + "w=40 h=30 frames=0,0,40,30:5,4,20,10 transparent=3 interlace=1", 2},
        {"unknown extension", py + "w=9 h=9 colours=200 unknown=1", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string gif = dir.File("picture.gif");
        Made(Command(c, gif));
        const std::string frame = gif + "[" + std::to_string(c.frame - 1) + "]";
        int screenW = 0, screenH = 0, x = 0, y = 0, w = 0, h = 0;
        std::istringstream(RunTool("/usr/bin/identify -format '%W %H %X %Y %w %h' " + Quote(frame)).output) >>
            screenW >> screenH >> x >> y >> w >> h;
        ASSERT_GT(w * h, 0);
        std::int32_t error = -1;
        const std::string pdf = Place(gif, c.frame, &error);
        EXPECT_EQ(error, 0);
        const auto rows = ImageRows(pdf);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][3] + "x" + rows[0][4] + " " + rows[0][5], std::to_string(screenW) + "x" +
                                                                        std::to_string(screenH) + " index");
        // The samples are stored bottom row first; the placement turns them upright.
        const RgbImage canvas{screenW, screenH, RgbPixels(MupdfExtract(pdf, dir.File("")), true)};
        const RgbImage pixels{w, h, Magick(frame, "-alpha off -depth 8 rgb:-")};
        const RgbImage alpha{w, h, Magick(frame, "-alpha extract -depth 8 gray:-")};
        ASSERT_EQ(canvas.pixels.size(), 3u * screenW * screenH);
        int differ = 0, clear = 0, covered = 0;
        for (int row = 0; row < h; ++row)
            for (int col = 0; col < w; ++col) {
                if (x + col >= screenW || y + row >= screenH)
                    continue;
                ++covered;
                if (alpha.pixels[static_cast<std::size_t>(row) * w + col] == 0)
                    ++clear;
                else
                    differ += canvas.At(x + col, y + row) != pixels.At(col, row);
            }
        EXPECT_EQ(differ, 0);
        // Keyed pixels show the page, and so does the screen the frame leaves uncovered.
        const int uncovered = clear > 0 ? screenW * screenH - covered : 0;
        EXPECT_EQ(GreenPointsIn(Rendered(pdf, screenW, screenH, dir)), clear + uncovered);
    }
}

TEST_F(RasterPicturesTest, JpegFilesPassUnchangedAndShowUpright)
{
    // A top band and a bottom band: colours far apart, also once inverted.
    const std::string bands = "/usr/bin/convert -size 30x10 xc:'#C03020' -size 30x10 xc:'#2040C0' -append ";
    const std::string pil = "/usr/bin/python3 -c \"from PIL import Image; import sys; "
                            "Image.open(sys.argv[1]).convert('%s').save(sys.argv[2], 'JPEG', progressive=True)\" " +
                            Quote(dir.File("bands.png")) + " {}";
    auto viaPil = [&](const std::string& mode) { return std::string(pil).replace(pil.find("%s"), 2, mode); };
    Made(bands + Quote(dir.File("bands.png")));
    const std::vector<Case> cases = {
        {"grey", bands + "-colorspace Gray {}", 1, "gray"},
        {"grey, progressive", viaPil("L"), 1, "gray"},
        {"RGB", bands + "{}", 1, "rgb"},
        {"RGB, progressive", bands + "-interlace JPEG {}", 1, "rgb"},
        {"Adobe CMYK", bands + "-colorspace CMYK {}", 1, "cmyk"},
        {"Adobe CMYK, progressive", viaPil("CMYK"), 1, "cmyk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string jpg = dir.File("photo.jpg");
        Made(Command(c, jpg));
        std::int32_t error = -1;
        const std::string pdf = Place(jpg, 1, &error);
        EXPECT_EQ(error, 0);
        const auto rows = ImageRows(pdf);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][3] + "x" + rows[0][4] + " " + rows[0][5] + " " + rows[0][8], "30x20 " + c.colour + " jpeg");
        RunTool("pdfimages -j " + Quote(pdf) + " " + Quote(dir.File("out")));
        EXPECT_TRUE(ReadFile(dir.File("out-000.jpg")) == ReadFile(jpg)) << "not the file byte for byte";
        // Each band where it belongs, in ImageMagick's colours (CMYK converted as naively).
        const RgbImage page = Rendered(pdf, 30, 20, dir);
        const RgbImage magick{30, 20, Magick(jpg, "-colorspace sRGB -depth 8 rgb:-")};
        for (const int y : {5, 15})
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(static_cast<unsigned char>(page.At(60, 4 * y)[k]),
                            static_cast<unsigned char>(magick.At(15, y)[k]), 64)
                    << "band " << y << " channel " << k;
    }
}

TEST_F(RasterPicturesTest, TgaPicturesMatchImageMagick)
{
    const std::string py = "/usr/bin/python3 " + kPictures + " tga {} w=13 h=7 ";
    const std::vector<Case> cases = {
        {"8-bit grey", py + "mode=L"},
        {"8-bit colour map, run-length, top first", py + "mode=P rle=1 top=1"},
        {"16-bit grey and alpha", py + "mode=LA"},
        {"16-bit colour, top first", py + "mode=555 top=1"},
        {"24-bit", py + "mode=RGB"},
        {"24-bit, run-length, top first", py + "mode=RGB rle=1 top=1"},
        {"24-bit with a colour map it does not use", py + "mode=RGB map=1"},
        {"32-bit alpha", py + "mode=RGBA"},
        {"32-bit alpha, run-length, top first", py + "mode=RGBA rle=1 top=1"},
        {"ImageMagick's run-length alpha", "/usr/bin/convert -size 13x7 gradient:red-none -compress RLE {}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string tga = dir.File("shot.tga");
        std::filesystem::remove(tga + ".plain");
        Made(Command(c, tga));
        std::int32_t error = -1;
        const std::string pdf = Place(tga, 1, &error);
        EXPECT_EQ(error, 0);
        // PIL reads the picture (ImageMagick leaves bottom-up grey files upside down); a
        // picture with a colour map it does not use is read without it.
        const std::string plain = std::filesystem::exists(tga + ".plain") ? tga + ".plain" : tga;
        const std::string rgba = RunTool("/usr/bin/python3 -c \"from PIL import Image; import sys; sys.stdout.buffer."
                                         "write(Image.open(sys.argv[1]).convert('RGBA').tobytes())\" " +
                                         Quote(plain)).output;
        ASSERT_EQ(rgba.size(), 4u * 13 * 7);
        std::string rgb, alpha;
        for (std::size_t i = 0; i < rgba.size(); i += 4) {
            rgb += rgba.substr(i, 3);
            alpha += rgba[i + 3];
        }
        const int clear = static_cast<int>(std::count(alpha.begin(), alpha.end(), '\0'));
        const bool masked = alpha.find_first_not_of('\xFF') != std::string::npos;
        const auto rows = ImageRows(pdf);
        ASSERT_EQ(rows.size(), masked ? 2u : 1u);
        EXPECT_EQ(rows[0][2] + " " + rows[0][3] + "x" + rows[0][4] + " " + rows[0][5], "image 13x7 rgb");
        if (masked)
            EXPECT_EQ(rows[1][2] + " " + rows[1][3] + "x" + rows[1][4] + " " + rows[1][5], "smask 13x7 gray");
        // A soft mask needs PDF 1.4.
        EXPECT_EQ(ReadFile(pdf).substr(0, 8), masked ? "%PDF-1.4" : "%PDF-1.3");
        const std::string image = PopplerExtract(pdf, dir.File(""));
        EXPECT_TRUE(RgbPixels(image, true) == rgb) << "pixels differ";
        if (masked)
            EXPECT_TRUE(Magick(dir.File("poppler-001.png"), "-flip -depth 8 gray:-") == alpha) << "alpha differs";
        EXPECT_EQ(GreenPointsIn(Rendered(pdf, 13, 7, dir)), clear);
    }
}

TEST_F(RasterPicturesTest, DamagedFilesAreRecordedErrors)
{
    Made("/usr/bin/python3 " + kPictures + " gif " + Quote(dir.File("two.gif")) + " w=30 h=20 frames=0,0,30,20:0,0,30,20");
    Made("/usr/bin/python3 " + kPictures + " tga " + Quote(dir.File("base.tga")) + " w=9 h=5 mode=RGB rle=1");
    Made("/usr/bin/convert -size 30x20 xc:navy " + Quote(dir.File("base.jpg")));
    const std::string gif = ReadFile(dir.File("two.gif")), tga = ReadFile(dir.File("base.tga"));
    const std::string jpg = ReadFile(dir.File("base.jpg"));
    const std::size_t sof = jpg.find("\xFF\xC0");
    auto with = [](std::string bytes, std::size_t at, std::initializer_list<int> part) {
        for (int b : part)
            bytes[at++] = static_cast<char>(b);
        return bytes;
    };
    // A 2 × 1 GIF: screen flags, then an image whose data say clear, then code 7 (unknown).
    auto tiny = [](bool table) {
        std::string bytes = "GIF89a" + std::string("\2\0\1\0", 4) + (table ? "\x80" : std::string(1, '\0')) +
                            std::string(2, '\0') + (table ? std::string("\0\0\0\xFF\xFF\xFF", 6) : "");
        return bytes + "\x2C" + std::string("\0\0\0\0\2\0\1\0\0\2\1\x3C\0;", 14);
    };
    struct Damaged {
        std::string name, bytes;
        std::int16_t frame;
        std::int32_t error;
        bool placed;  // what was decoded is placed, the error recorded
    };
    const std::vector<Damaged> cases = {
        {"screen.gif", with(gif, 6, {255, 255, 255, 255}), 1, 321, false},
        {"third.gif", gif, 3, 321, false},
        {"none.gif", gif, 0, 321, false},
        {"cut.gif", gif.substr(0, gif.size() - 30), 2, 62, true},
        {"code.gif", tiny(true), 1, 321, true},
        {"table.gif", tiny(false), 1, 321, false},
        {"twelve.jpg", with(jpg, sof + 4, {12}), 1, 321, false},
        {"two.jpg", with(jpg, sof + 9, {2}), 1, 321, false},
        {"dnl.jpg", with(jpg, sof + 5, {0, 0}), 1, 321, false},
        {"start.jpg", with(jpg, 0, {0, 0}), 1, 321, false},
        {"segment.jpg", with(jpg, 4, {0, 1}), 1, 321, false},
        {"empty.tga", with(tga, 12, {0, 0}), 1, 321, false},
        {"kind.tga", with(tga, 2, {4}), 1, 321, false},
        {"huge.tga", with(tga, 12, {255, 255, 255, 255}), 1, 321, false},
        {"cut.tga", tga.substr(0, 30), 1, 321, false},
        {"missing.gif", "", 1, 53, false},
    };
    for (const Damaged& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File(c.name);
        if (!c.bytes.empty())
            WriteFile(path, c.bytes);
        std::int32_t error = -1;
        const std::string pdf = Place(path, c.frame, &error);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(ImageRows(pdf).size(), c.placed ? 1u : 0u);
    }
}
