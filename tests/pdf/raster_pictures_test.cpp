// GIF, JPEG and TGA pictures made by ImageMagick and PIL, placed on a green page: each is one
// image of the picture's size and colour space; the extracted pixels are those ImageMagick
// or PIL read from the file (a JPEG byte for byte); keyed and soft-masked pixels show the
// green behind (keyed GIFs in poppler and mupdf); damaged and forged files are recorded errors.

#include "support/pdf/images.h"
#include "support/pdf/rendering.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace tavlo;
using namespace tavlo::test;

namespace {

const std::string kPictures = "/usr/bin/python3 " + Quote(QUERCINO_SOURCE_DIR "/tests/pdf/pictures.py");
constexpr int kLeft = 20, kTop = 30;  // where every picture is placed, in points

// The picture at (kLeft, kTop), natural size, on a green page, and the writer's last error.
std::pair<std::string, std::int32_t> Place(const std::string& picture, std::int16_t frame = 1)
{
    Tavlo p;
    const std::string pdf = WriteDocument(p, "page.pdf", [&](Tavlo& t) {
                                t.BeginPage();
                                t.SetColorFill("#00FF00");
                                t.DrawRect(0, 0, 596, 842, 5);
                                t.DrawImage(picture, kLeft, kTop, 0, 0, frame);
                            }).path;
    return {pdf, p.ErrNumber()};
}

// The page painted at 288 dpi: poppler applies colour-key masks exactly only when it
// enlarges an image. Points are probed at their centres (soft-mask edges are smoothed).
Image Painted(const std::string& pdf, Reader reader = Reader::Poppler)
{
    return RenderPage(pdf, 1, reader, {288, true});
}

int Channel(const Image& page, int x, int y, int c)
{
    return page.At(4 * (kLeft + x) + 2, 4 * (kTop + y) + 2, c);
}

// Points of the picture's area where the green page shows.
int GreenPoints(const Image& page, int width, int height)
{
    int count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            count += Channel(page, x, y, 0) == 0 && Channel(page, x, y, 1) == 255 && Channel(page, x, y, 2) == 0;
    return count;
}

// What pdfimages lists: type, size, colour space and encoding of each image, each after a blank.
std::string Listed(const std::string& pdf)
{
    std::string listed;
    for (const ListedImage& i : ImagesListed(pdf))
        listed += " " + i.type + " " + std::to_string(i.width) + "x" + std::to_string(i.height) + " " + i.colour + " " +
                  i.encoding;
    return listed;
}

std::string Magick(const std::string& picture, const std::string& output)
{
    return RunTool("/usr/bin/convert " + Quote(picture) + " " + output + " 2>/dev/null").output;
}

struct Case {
    std::string name, make;  // make: the shell command writing the picture to {}
    std::int16_t frame = 1;
    std::string listed = "";  // JPEG: what pdfimages lists
    std::string file = "photo.jpg";
};

std::string Made(const std::string& make, const std::string& path)
{
    std::string command = make;
    command.replace(command.find("{}"), 2, Quote(path));
    EXPECT_EQ(RunTool(command + " >/dev/null 2>&1").exitCode, 0) << command;
    return path;
}

} // namespace

TEST(RasterPictures, GifFramesMatchImageMagick)
{
    ScratchDir dir;
    const std::string im = "/usr/bin/convert ", source = Quote(dir.File("source.ppm")) + " ", py = kPictures + " gif {} ";
    WriteFile(dir.File("source.ppm"), RandomPpm(23, 11, 7, 5));
    const std::vector<Case> cases = {
        {"two colours", im + source + "-colors 2 {}"},
        {"four colours", im + "-size 4x1 xc:navy -colors 4 {}"},
        {"eight, interlaced", im + source + "-interlace GIF {}"},
        {"keyed colour", im + source + "-transparent \"$(" + im + source + "-format '%[pixel:p{3,3}]' info:)\" {}"},
        {"keyed, two colours", py + "w=20 h=10 colours=2 transparent=1"},
        {"keyed, four colours", py + "w=20 h=10 colours=4 transparent=2"},
        {"second frame", im + "-page 40x30+0+0 " + source + "-page 40x30+9+6 " + source + "{}", 2},
        {"frame past the screen", im + "-page 40x30+0+0 " + source + "-page 40x30+30+25 " + source + "{}", 2},
        {"full table, no clear", py + "w=100 h=100 colours=16 seed=3"},
        {"offset keyed interlaced frames", py + "w=40 h=30 frames=0,0,40,30:5,4,20,10 transparent=3 interlace=1", 2},
        {"unknown extension", py + "w=9 h=9 colours=200 unknown=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string frame = Made(c.make, dir.File("picture.gif")) + "[" + std::to_string(c.frame - 1) + "]";
        int screenW = 0, screenH = 0, x = 0, y = 0, w = 0, h = 0;
        std::istringstream(RunTool("/usr/bin/identify -format '%W %H %X %Y %w %h' " + Quote(frame)).output) >>
            screenW >> screenH >> x >> y >> w >> h;
        const auto [pdf, error] = Place(dir.File("picture.gif"), c.frame);
        EXPECT_EQ(error, 0);
        // The samples are stored bottom row first; the placement turns them upright.
        const std::string canvas = RgbPixels(MupdfExtract(pdf, dir.Path()), true);
        const std::string pixels = Magick(frame, "-alpha off -depth 8 rgb:-");
        const std::string alpha = Magick(frame, "-alpha extract -depth 8 gray:-");
        ASSERT_EQ(canvas.size(), 3u * screenW * screenH);
        int differ = 0, clear = 0, covered = 0;
        for (int row = 0; row < h && y + row < screenH; ++row)
            for (int col = 0; col < w && x + col < screenW; ++col, ++covered) {
                const std::size_t at = static_cast<std::size_t>(row) * w + col;
                clear += alpha[at] == 0;
                differ += alpha[at] != 0 && canvas.compare(3 * ((y + row) * screenW + x + col), 3, pixels, 3 * at, 3);
            }
        EXPECT_EQ(differ, 0);
        // A keyed picture (all of fewer than 8 bits here) carries a stencil of its keyed pixels.
        const std::string size = std::to_string(screenW) + "x" + std::to_string(screenH);
        EXPECT_EQ(Listed(pdf), " image " + size + " index image" + (clear > 0 ? " mask " + size + " - image" : ""));
        // Keyed pixels show the page, and so does the screen the frame leaves uncovered.
        for (const Reader reader : {Reader::Poppler, Reader::Mupdf})
            EXPECT_EQ(GreenPoints(Painted(pdf, reader), screenW, screenH),
                      clear + (clear > 0 ? screenW * screenH - covered : 0));
    }
}

TEST(RasterPictures, JpegFilesPassUnchangedAndShowUpright)
{
    ScratchDir dir;
    // A top band and a bottom band: colours far apart, also once inverted.
    const std::string bands = "/usr/bin/convert -size 30x10 xc:'#C03020' -size 30x10 xc:'#2040C0' -append ";
    Made(bands + "{}", dir.File("bands.png"));
    auto pil = [&](const std::string& mode) {
        return "/usr/bin/python3 -c \"from PIL import Image; import sys; Image.open(sys.argv[1]).convert('" + mode +
               "').save(sys.argv[2], 'JPEG', progressive=True)\" " + Quote(dir.File("bands.png")) + " {}";
    };
    const std::vector<Case> cases = {
        {"grey", bands + "-colorspace Gray {}", 1, "gray"},
        {"grey, progressive", pil("L"), 1, "gray"},
        {"RGB", bands + "{}", 1, "rgb"},
        {"RGB, progressive", bands + "-interlace JPEG {}", 1, "rgb"},
        {"Adobe CMYK", bands + "-colorspace CMYK {}", 1, "cmyk"},
        {"Adobe CMYK, progressive", pil("CMYK"), 1, "cmyk"},
        {"RGB named .jpeg", bands + "{}", 1, "rgb", "photo.jpeg"},
        {"grey named .JPEG", bands + "-colorspace Gray {}", 1, "gray", "PHOTO.JPEG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string jpg = Made(c.make, dir.File(c.file));
        const auto [pdf, error] = Place(jpg);
        EXPECT_EQ(error, 0);
        EXPECT_EQ(Listed(pdf), " image 30x20 " + c.listed + " jpeg");
        RunTool("pdfimages -j " + Quote(pdf) + " " + Quote(dir.File("out")));
        EXPECT_TRUE(ReadFile(dir.File("out-000.jpg")) == ReadFile(jpg)) << "not the file byte for byte";
        // Each band where it belongs, in ImageMagick's colours (CMYK converted as naively).
        const Image page = Painted(pdf);
        const std::string magick = Magick(jpg, "-colorspace sRGB -depth 8 rgb:-");
        for (const int y : {5, 15})
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(Channel(page, 15, y, k), static_cast<unsigned char>(magick[3 * (30 * y + 15) + k]), 64)
                    << "band " << y << " channel " << k;
    }
}

TEST(RasterPictures, TgaPicturesMatchPil)
{
    ScratchDir dir;
    const std::string py = kPictures + " tga {} w=13 h=7 ";
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
        const auto [pdf, error] = Place(Made(c.make, tga));
        EXPECT_EQ(error, 0);
        // PIL reads the picture (ImageMagick leaves bottom-up grey files upside down); a
        // picture with a colour map it does not use is read without it.
        const std::string plain = std::filesystem::exists(tga + ".plain") ? tga + ".plain" : tga;
        const std::string rgba = RunTool("/usr/bin/python3 -c \"from PIL import Image; import sys; sys.stdout.buffer."
                                         "write(Image.open(sys.argv[1]).convert('RGBA').tobytes())\" " +
                                         Quote(plain))
                                     .output;
        std::string rgb, alpha;
        for (std::size_t i = 0; i + 3 < rgba.size(); i += 4)
            rgb += rgba.substr(i, 3), alpha += rgba[i + 3];
        ASSERT_EQ(alpha.size(), 13u * 7);
        const bool masked = alpha.find_first_not_of('\xFF') != std::string::npos;
        EXPECT_EQ(Listed(pdf), std::string(" image 13x7 rgb image") + (masked ? " smask 13x7 gray image" : ""));
        // A soft mask needs PDF 1.4.
        EXPECT_EQ(ReadFile(pdf).substr(0, 8), masked ? "%PDF-1.4" : "%PDF-1.3");
        EXPECT_TRUE(RgbPixels(PopplerExtract(pdf, dir.Path()), true) == rgb) << "pixels differ";
        if (masked) {
            EXPECT_TRUE(Magick(dir.File("poppler-001.png"), "-flip -depth 8 gray:-") == alpha) << "alpha differs";
        }
        EXPECT_EQ(GreenPoints(Painted(pdf), 13, 7), std::count(alpha.begin(), alpha.end(), '\0'));
    }
}

TEST(RasterPictures, DamagedFilesAreRecordedErrors)
{
    ScratchDir dir;
    const std::string gif = ReadFile(Made(kPictures + " gif {} w=30 h=20 frames=0,0,30,20:0,0,30,20", dir.File("a.gif")));
    const std::string tga = ReadFile(Made(kPictures + " tga {} w=9 h=5 mode=RGB rle=1", dir.File("a.tga")));
    const std::string jpg = ReadFile(Made("/usr/bin/convert -size 30x20 xc:navy {}", dir.File("a.jpg")));
    const std::size_t sof = jpg.find("\xFF\xC0"), sos = jpg.find("\xFF\xDA");
    auto with = [](std::string bytes, std::size_t at, std::initializer_list<int> part) {
        for (int b : part)
            bytes[at++] = static_cast<char>(b);
        return bytes;
    };
    // A 2 × 1 GIF with or without its colour table, whose data say clear, then code 7 (unknown).
    auto tiny = [](bool table) {
        return "GIF89a" + std::string("\2\0\1\0", 4) + (table ? "\x80" : std::string(1, '\0')) + std::string(2, '\0') +
               (table ? std::string("\0\0\0\xFF\xFF\xFF", 6) : "") + std::string("\x2C\0\0\0\0\2\0\1\0\0\2\1\x3C\0;", 15);
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
        {"headers.jpg", jpg.substr(0, sos), 1, 321, false},
        {"scan.jpg", jpg.substr(0, (sos + jpg.size()) / 2), 1, 321, false},
        {"end.jpg", jpg.substr(0, jpg.size() - 2), 1, 321, false},
        {"empty.tga", with(tga, 12, {0, 0}), 1, 321, false},
        {"kind.tga", with(tga, 2, {4}), 1, 321, false},
        {"huge.tga", with(tga, 12, {255, 255, 255, 255}), 1, 321, false},
        {"cut.tga", tga.substr(0, 30), 1, 321, false},
        {"missing.gif", "", 1, 53, false},
    };
    for (const Damaged& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.bytes.empty())
            WriteFile(dir.File(c.name), c.bytes);
        const auto [pdf, error] = Place(dir.File(c.name), c.frame);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(Listed(pdf).empty(), !c.placed);
    }
}
