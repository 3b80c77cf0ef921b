// Windows metafiles and EPS files written here, placed on pages: poppler's drawing of the
// placed box matches, region by region, Ghostscript's drawing of the same EPS (for a
// metafile: of an EPS that draws the same shapes).

#include "pdf/media/VectorPictures.h"
#include "pdf/vector_samples.h"
#include "support/pdf/images.h"
#include "support/pdf/rendering.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include <gtest/gtest.h>

#include <map>

using namespace tavlo;
using namespace tavlo::test;

namespace {

constexpr int kLeft = 50, kTop = 100;  // where every picture is placed, in points

// The largest difference of mean colour over regions of 16 × 16 pixels of two pictures, 0 to 1:
// the readers may round an edge to the neighbouring pixel, which moves a mean by 1/16.
double RegionDifference(const std::string& a, const std::string& b)
{
    return std::stod(RunTool("/usr/bin/convert " + Quote(a) + " " + Quote(b) +
                             " -scale 6.25% -compose difference -composite -format '%[fx:maxima]' info:")
                         .output);
}

struct Case {
    std::string name, file, eps;  // file: the bytes placed; eps: what Ghostscript draws
    float width, height;          // as DrawImage is given them
    int dpi;                      // Ghostscript's resolution for that size at one pixel a point
    std::int32_t error = 0;       // 321: refused, nothing placed, though Ghostscript draws it
};

} // namespace

TEST(VectorPicturesTest, PlacedPicturesMatchGhostscript)
{
    const std::string art = kArtEps;
    const std::string postScript = art.substr(0, art.find("%%Trailer"));
    // A binary EPS header: the PostScript's place and length, no previews, no checksum.
    std::string binary = std::string("\xC5\xD0\xD3\xC6\x1E\0\0\0", 8);
    for (int i = 0; i < 4; ++i)
        binary += static_cast<char>(postScript.size() >> (8 * i));
    binary += std::string(16, '\0') + "\xFF\xFF" + postScript + std::string(64, '\x01');
    ScratchDir dir;
    std::map<std::string, std::string> produced;
    for (const char* producer : {"eps2write", "pdftops", "soffice", "convert"}) {
        produced[producer] = ProducedEps(producer, dir.Path());
        ASSERT_FALSE(produced[producer].empty()) << producer;
    }
    const std::vector<Case> cases = {
        {"drawing.wmf", Drawing(), kDrawingEps, 0, 0, 72},
        {"drawing-wide.wmf", Drawing(), kDrawingEps, 288, 0, 144},
        {"art.eps", art, art, 0, 0, 72},
        {"art.ai", art, art, 0, 100, 72},
        {"binary.eps", binary, binary, 400, 200, 144},
        // Content operators several to a line, the 0.1 scale of the coordinates among them.
        {"eps2write.eps", produced["eps2write"], produced["eps2write"], 0, 0, 72},
        {"pdftops.eps", produced["pdftops"], produced["pdftops"], 288, 0, 144},
        // Its own abbreviations (c for a colour, m with y turned over) and a raster picture.
        {"soffice.eps", produced["soffice"], produced["soffice"], 0, 0, 72, 321},
        {"convert.eps", produced["convert"], produced["convert"], 0, 0, 72, 321},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string picture = dir.File(c.name), pdf = dir.File("page.pdf"), eps = dir.File("same.eps");
        WriteFile(picture, c.file);
        WriteFile(eps, c.eps);
        ASSERT_EQ(RunTool("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -dGraphicsAlphaBits=1 -sDEVICE=ppmraw -r" +
                          std::to_string(c.dpi) + " -o " + Quote(dir.File("gs.ppm")) + " " + Quote(eps))
                      .exitCode,
                  0);
        int width = 0, height = 0;
        std::sscanf(SizeOf(dir.File("gs.ppm")).c_str(), "%dx%d", &width, &height);
        Tavlo p;
        p.BeginDoc(pdf);
        p.BeginPage();
        p.DrawImage(picture, kLeft, kTop, c.width, c.height);
        EXPECT_EQ(p.ErrNumber(), c.error) << p.ErrDescription();
        p.EndDoc();
        ExpectReadersAccept(pdf);
        RunTool("pdftoppm -r 72 -aa no -aaVector no -singlefile -x " + std::to_string(kLeft) + " -y " +
                std::to_string(kTop) + " -W " + std::to_string(width) + " -H " + std::to_string(height) + " " +
                Quote(pdf) + " " + Quote(dir.File("page")));
        EXPECT_EQ(SizeOf(dir.File("page.ppm")), SizeOf(dir.File("gs.ppm")));
        if (c.error == 0)
            EXPECT_LT(RegionDifference(dir.File("page.ppm"), dir.File("gs.ppm")), 40 / 255.0);
        else
            EXPECT_GT(RegionDifference(dir.File("page.ppm"), dir.File("gs.ppm")), 40 / 255.0);
        // Nothing strays outside the box; a refused file leaves the page blank.
        EXPECT_EQ(DarkPixelsIn(RenderPage(pdf, 1, Reader::Poppler, {72, false, false}), 0, 0, 596,
                               c.error == 0 ? kTop - 2 : 842),
                  0);
    }
}

TEST(VectorPicturesTest, DamagedFilesAreRecordedErrors)
{
    // The damaged part, then a black square: drawn when playback goes on after the error.
    auto metafile = [](std::initializer_list<int> damaged, int extent) {
        Metafile m;
        m.Record(0x020B, {50, 100}).Record(0x020C, {720, extent});
        for (int word : damaged)
            m.Word(word);
        m.Record(0x02FC, {0, 0, 0, 0}).Record(0x012D, {0}).Record(0x0324, {4, 200, 150, 700, 150, 700, 450, 200, 450});
        return m.bytes;
    };
    const std::string box = "%%BoundingBox: 0 0 100 100\n";
    const std::vector<std::tuple<std::string, std::string, std::int32_t, bool>> cases = {
        {"size.wmf", metafile({0, 0, 0x0324}, 1440), 321, false},
        {"count.wmf", metafile({8, 0, 0x0324, 1000, 1, 1, 2, 2}, 1440), 9, true},
        {"object.wmf", metafile({4, 0, 0x012D, 7}, 1440), 9, true},
        {"function.wmf", metafile({3, 0, 0x8324}, 1440), 6, true},
        {"past.wmf", metafile({60000, 0, 0x0324}, 1440), 62, false},
        {"extent.wmf", metafile({}, 0), 11, false},
        {"nobox.eps", "%!PS\n0 0 m\n", 321, false},
        {"atend.eps", "%%BoundingBox: (atend)\n", 9, false},
        {"flat.eps", "%%BoundingBox: 0 0 0 10\n", 11, false},
        {"binary.eps", "\xC5\xD0\xD3\xC6\xFF\xFF\xFF\x0F\1\0\0\0" + box, 321, false},
        {"huge.eps", box + "1e39 0 m\n10 10 m\n90 90 l\nS\n", 6, true},
        // Nothing drawable: text, a line holding something else, a procedure's body.
        {"text.eps", box + "/Helvetica findfont 12 scalefont setfont\n10 10 moveto (Ciao) show\n", 321, false},
        {"mixed.eps", box + "10 10 m 90 90 l\n5 setlinewidth S\n", 321, false},
        {"procedure.eps", box + "/p {\n10 10 m 90 90 l S\n} def\n", 321, false},
        {"missing.wmf", "", 53, false},
    };
    ScratchDir dir;
    for (const auto& [name, bytes, error, drawn] : cases) {
        SCOPED_TRACE(name);
        const std::string path = dir.File(name), pdf = dir.File("page.pdf");
        if (!bytes.empty())
            WriteFile(path, bytes);
        Tavlo p;
        p.BeginDoc(pdf);
        p.BeginPage();
        p.DrawImage(path, kLeft, kTop, 0, 0);
        EXPECT_EQ(p.ErrNumber(), error);
        EXPECT_EQ(p.ErrSource(), "Tavlo.DrawImage");
        EXPECT_EQ(p.ErrDescription().substr(p.ErrDescription().size() - path.size() - 3), " - " + path);
        p.EndDoc();
        ExpectReadersAccept(pdf);
        EXPECT_EQ(DarkPixelsIn(RenderPage(pdf, 1, Reader::Poppler, {72, false, false}), 0, 0, 596, 842) > 0, drawn);
    }
}

// One line of 4 MB, read once from its start to its end: a reader that looked ahead to the
// line's end from every token would take hours, past ctest's timeout.
TEST(VectorPicturesTest, LongLineIsReadInOnePass)
{
    constexpr std::size_t kSquares = 400000;
    std::string eps = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\n";
    for (std::size_t i = 0; i < kSquares; ++i)
        eps += "1 2 3 4 re ";
    eps += "f\n";
    const VectorDrawing drawing = ImportEpsData(Bytes(eps.begin(), eps.end()), {});
    EXPECT_FALSE(drawing.error);
    std::size_t squares = 0;
    for (std::size_t at = drawing.lines.find(" re"); at != std::string::npos; at = drawing.lines.find(" re", at + 1))
        ++squares;
    EXPECT_EQ(squares, kSquares);
}
