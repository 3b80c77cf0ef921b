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

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>

#include <sys/wait.h>
#include <unistd.h>

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
    for (const char* producer : {"eps2write", "pdftops", "ps2ai", "soffice", "convert"}) {
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
        // An Illustrator 88 file on a letter page: its prolog defines the short operators.
        {"ps2ai.ai", produced["ps2ai"], produced["ps2ai"], 306, 0, 36},
        // Its own abbreviations (c for a colour, m with y turned over, the space saved and set
        // again by setmatrix); a raster picture.
        {"soffice.eps", produced["soffice"], produced["soffice"], 0, 0, 72},
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

namespace {

struct Ink {
    int ghostscript = 0;  // pixels Ghostscript inks
    int covered = 0;      // of them, inked by the reader within a pixel
    int extra = 0;        // pixels the reader inks where Ghostscript inks none within a pixel
    int recoloured = 0;   // inside a patch of one colour of Ghostscript's, pixels the reader inks in
                          // a colour apart by more than a quarter of a channel
};

bool Inked(const Image& image, int x, int y)
{
    return std::min({image.At(x, y, 0), image.At(x, y, 1), image.At(x, y, 2)}) < 240;
}

// Ink at x, y of a box of width × height whose corner is at left, top, or at a pixel next to
// it within the box.
bool InkedNear(const Image& image, int x, int y, int left, int top, int width, int height)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (x + dx >= 0 && x + dx < width && y + dy >= 0 && y + dy < height &&
                Inked(image, left + x + dx, top + y + dy))
                return true;
    return false;
}

// The pixel and the eight around it of one colour: no edge, where two readers may round apart.
bool Uniform(const Image& image, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            for (int c = 0; c < 3; ++c)
                if (image.At(x + dx, y + dy, c) != image.At(x, y, c))
                    return false;
    return true;
}

// Ghostscript's picture against the reader's page, whose box begins at left, top.
Ink CompareInk(const Image& ghostscript, const Image& page, int left, int top)
{
    const int w = ghostscript.width, h = ghostscript.height;
    Ink ink;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (Inked(ghostscript, x, y)) {
                ++ink.ghostscript;
                ink.covered += InkedNear(page, x, y, left, top, w, h);
                if (Inked(page, left + x, top + y) && Uniform(ghostscript, x, y)) {
                    int apart = 0;
                    for (int c = 0; c < 3; ++c)
                        apart = std::max(apart, std::abs(ghostscript.At(x, y, c) - page.At(left + x, top + y, c)));
                    ink.recoloured += apart > 64;
                }
            } else if (Inked(page, left + x, top + y) && !InkedNear(ghostscript, x, y, 0, 0, w, h)) {
                ++ink.extra;
            }
        }
    return ink;
}


// The EPS file picture placed at its natural size on a grey page: the box holds at least
// 99 % of Ghostscript's ink in its colours and next to nothing else, the grey around it stays
// untouched, and the readers take the page without a word; or, when refused is given, the
// file is refused with that in the reason and nothing of it is drawn.
void ExpectDrawnAsGhostscript(const ScratchDir& dir, const std::string& picture, const std::string& refused)
{
    const std::string pdf = picture + ".pdf";
    // Ghostscript ends a file at an error it does not catch, before its page is shown.
    const bool shown = RunTool("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -dGraphicsAlphaBits=1 -sDEVICE=ppmraw -r72 "
                               "-o " + Quote(dir.File("gs.ppm")) + " " + Quote(picture))
                           .exitCode == 0;
    ASSERT_TRUE(shown || !refused.empty());
    const Image ghostscript = shown ? ReadPnm(ReadFile(dir.File("gs.ppm"))) : Image{};
    const int width = ghostscript.width, height = ghostscript.height;
    Tavlo p;
    p.BeginDoc(pdf);
    p.BeginPage();
    p.SetColorFill("#808080");
    p.DrawRect(0, 0, 596, kTop, 5);
    p.DrawRect(0, kTop + height, 596, 842 - kTop - height, 5);
    p.DrawRect(0, kTop, kLeft, height, 5);
    p.DrawRect(kLeft + width, kTop, 596 - kLeft - width, height, 5);
    p.DrawImage(picture, kLeft, kTop, 0, 0);
    const std::int32_t error = p.ErrNumber();
    const std::string reason = p.ErrDescription();
    p.EndDoc();
    ExpectReadersAccept(pdf);
    const Image page = RenderPage(pdf, 1, Reader::Poppler, {72, true});
    const Ink ink = CompareInk(ghostscript, page, kLeft, kTop);
    std::printf("%s: %d of Ghostscript's %d inked pixels, %d outside, %d recoloured; error %d %s\n", picture.c_str(),
                ink.covered, ink.ghostscript, ink.extra, ink.recoloured, error, reason.c_str());
    if (!refused.empty()) {
        EXPECT_EQ(error, 321);
        EXPECT_NE(reason.find(refused), std::string::npos) << reason;
        int inked = 0;
        for (int y = 0; y < page.height; ++y)
            for (int x = 0; x < page.width; ++x)
                inked += Inked(page, x, y) && (page.At(x, y, 0) != 128 || page.At(x, y, 1) != 128);
        EXPECT_EQ(inked, 0);
        return;
    }
    EXPECT_EQ(error, 0) << reason;
    EXPECT_GT(ink.ghostscript, 100);
    EXPECT_GE(ink.covered, ink.ghostscript * 99 / 100) << ink.covered << " of " << ink.ghostscript;
    EXPECT_LE(ink.extra, ink.ghostscript / 100) << ink.extra << " of " << ink.ghostscript;
    EXPECT_LE(ink.recoloured, ink.ghostscript / 100) << ink.recoloured << " of " << ink.ghostscript;
    int changed = 0;
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x) {
            const bool inBox = x >= kLeft && x < kLeft + width && y >= kTop && y < kTop + height;
            changed += !inBox && (page.At(x, y, 0) != 128 || page.At(x, y, 1) != 128 || page.At(x, y, 2) != 128);
        }
    EXPECT_EQ(changed, 0);
}

} // namespace

// EPS files of today's producers: cairo's (lines broken in the middle of a call's operands, a
// prolog that gives the short operators PostScript's meanings), gnuplot's classic terminal,
// fig2dev, graphviz, matplotlib, LibreOffice, ImageMagick and groff, each with and without
// text, drawn as Ghostscript draws them or refused with the reason.
TEST(VectorPicturesTest, ProducersMatchGhostscript)
{
    struct Case {
        std::string producer;
        std::string refused;  // a part of the reason, for a file refused
    };
    const std::vector<Case> cases = {
        {"pycairo", ""}, {"rsvg", ""}, {"gnuplot", ""}, {"pdftocairo", ""}, {"pdftocairo-plot", ""},
        // The axes' numbers: cairo's text procedures show glyphs of a font the file carries.
        {"gnuplot-text", "show"}, {"pdftocairo-text", "show"},
        {"gnuplot-ps", ""}, {"gnuplot-ps-mono", ""}, {"gnuplot-ps-text", "stringwidth"},
        {"gnuplot-ps-mono-text", "stringwidth"},
        {"fig2dev", ""}, {"fig2dev-text", "show"},
        {"dot", ""}, {"dot-text", "stringwidth"},
        {"matplotlib", ""}, {"matplotlib-text", "show"},
        // LibreOffice writes its words as outlines.
        {"soffice", ""}, {"soffice-text", ""},
        {"convert", "image"},
        // Ghostscript's PDF in PostScript, its reader compressed.
        {"groff", "compresso"}, {"groff-text", "compresso"},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.producer);
        const std::string eps = ProducedEps(c.producer, dir.Path());
        ASSERT_FALSE(eps.empty());
        ExpectDrawnAsGhostscript(dir, dir.File(c.producer + ".eps"), c.refused);
    }
}

// Files written by hand for what PostScript does that drawing programs rely on, drawn as
// Ghostscript draws them or refused with the reason.
TEST(VectorPicturesTest, HandWrittenFilesMatchGhostscript)
{
    struct Case {
        std::string name, drawing;  // after the box of 0 0 120 120
        std::string refused;
    };
    const std::vector<Case> cases = {
        // An operator PostScript defines and the reader does not follow, inside a procedure
        // the drawing calls: refused, naming it.
        {"unfollowed", "/p { 10 10 moveto 100 100 lineto pathbbox pop pop pop pop } def p stroke\n", "pathbbox"},
        // An error the file does not catch ends the drawing; one its stopped catches does not.
        {"error", "10 10 moveto 100 100 lineto 4 setlinewidth stroke 10 100 moveto (a) 10 lineto stroke\n", "lineto"},
        {"undefined in drawing", "10 10 moveto 100 100 lineto stroke 10 100 moveto 0 -90 rlineto stroke\n"
                                 "/p { pathbbox } def { p } stopped pop\n", "pathbbox"},
        {"stopped", "{ (a) 10 lineto } stopped pop 10 10 moveto 100 100 lineto 4 setlinewidth stroke\n", ""},
        // The state the setup sets holds in the drawing.
        {"setup state", "%%BeginSetup\n8 setlinewidth 1 0 0 setrgbcolor\n%%EndSetup\n10 60 moveto 110 60 lineto stroke\n",
         ""},
        {"setup scale", "%%BeginProlog\n/L {lineto} def\n%%EndProlog\n%%BeginSetup\n2 2 scale\n%%EndSetup\n"
                        "5 5 moveto 55 20 L 30 55 L closepath 0 0 1 setrgbcolor fill\n", ""},
        {"no end of prolog", "%%BeginProlog\n/L {lineto} def\n0 1 0 setrgbcolor 10 10 moveto 110 30 L 60 110 L fill\n",
         ""},
        // Arcs as curves, a whole circle, the turn of a rounded corner and one drawn backwards.
        {"arcs", "4 setlinewidth 60 60 40 0 360 arc closepath stroke 0 0 1 setrgbcolor 10 10 moveto 110 10 110 110 30 "
                 "arct 110 110 lineto stroke 1 0 0 setrgbcolor 60 60 20 90 200 arcn fill\n", ""},
        // A clip, then a change of space while its path is still current, then newpath.
        {"clip translate", "newpath 0 0 moveto 80 0 lineto 80 80 lineto 0 80 lineto closepath clip 20 20 translate "
                           "newpath 0 0 moveto 100 100 lineto 0 100 lineto closepath 0 0 1 setrgbcolor fill\n", ""},
        // A path begun in one space and ended in another, then the space set back.
        {"setmatrix", "/m matrix currentmatrix def 10 10 moveto 2 2 scale 50 10 lineto 30 50 lineto closepath "
                      "m setmatrix 1 0 0 setrgbcolor fill\n", ""},
        // Two nested loops of 90,000 squares.
        {"loops", "0 0 1 setrgbcolor 0 1 299 { /y exch def 0 1 299 { 0.3 mul 10 add y 0.3 mul 10 add 0.3 0.3 rectfill "
                  "} for } for\n", ""},
        // ImageMagick's way: the picture's data read from the file itself.
        {"picture", "/buffer 8 string def 10 10 moveto 110 110 lineto stroke currentfile buffer readline\n"
                    "ff00ff00\npop pop 2 1 8 [0.02 0 0 0.01 0 0] currentfile /ASCIIHexDecode filter image\n00ff>\n",
         "image"},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string picture = dir.File(c.name + ".eps");
        WriteFile(picture, "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 120 120\n" + c.drawing + "showpage\n");
        ExpectDrawnAsGhostscript(dir, picture, c.refused);
    }
}

// A 33 MB file whose drawing adds segments to its path without end: refused, its work
// bounded by the steps it may run and its memory by the content it may hold, both measured
// in a child process that does nothing else.
TEST(VectorPicturesTest, EndlessLoopIsRefusedInBoundedMemory)
{
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer keeps freed blocks in quarantine (256 MiB) and a shadow of an eighth.
    constexpr long kMostKiB = 512 * 1024 * 9 / 8 + 256 * 1024;
#else
    constexpr long kMostKiB = 512 * 1024;
#endif
    ScratchDir dir;
    const std::string path = dir.File("endless.eps");
    std::string eps = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\n";
    const std::string comment = "% " + std::string(77, 'x') + "\n";
    while (eps.size() < 33000000)
        eps += comment;
    eps += "0 0 moveto {1 1 lineto} loop\n";
    WriteFile(path, eps);
    eps = std::string();
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The peak counted from here: what the test process held before does not count.
        if (FILE* clear = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", clear);
            std::fclose(clear);
        }
        Tavlo p;
        p.BeginDoc(dir.File("endless.pdf"));
        p.BeginPage();
        p.DrawImage(path, kLeft, kTop, 0, 0);
        long peak = -1;
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmHWM:", 0) == 0)
                peak = std::stol(line.substr(6));
        const long result[2] = {p.ErrNumber(), peak};
        [[maybe_unused]] const auto written = ::write(pipe[1], result, sizeof result);
        ::_exit(0);
    }
    ::close(pipe[1]);
    long result[2] = {0, -1};
    EXPECT_EQ(::read(pipe[0], result, sizeof result), static_cast<ssize_t>(sizeof result));
    ::close(pipe[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(result[0], 321);
    EXPECT_GT(result[1], 0);
    EXPECT_LE(result[1], kMostKiB) << result[1] << " KiB";
    std::printf("endless loop refused, peak %ld KiB\n", result[1]);
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
        // A number no reader takes: the drawing is refused whole.
        {"huge.eps", box + "1e39 0 m\n10 10 m\n90 90 l\nS\n", 321, false},
        // Text, a path with an arc, a procedure's body: nothing drawn. A call is judged
        // whole across lines, PostScript's operators among the short ones.
        {"text.eps", box + "/Helvetica findfont 12 scalefont setfont\n10 10 moveto (Ciao) show\n", 321, false},
        {"mixed.eps", box + "10 10 m 90 90 l\n5 setlinewidth S\n", 0, true},
        {"arc.eps", box + "10 10 m 90 90 l\n50 50 20 0 360 arc S\n", 0, true},
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
        if (error != 0) {
            EXPECT_EQ(p.ErrSource(), "Tavlo.DrawImage");
            ASSERT_GT(p.ErrDescription().size(), path.size() + 3);
            EXPECT_EQ(p.ErrDescription().substr(p.ErrDescription().size() - path.size() - 3), " - " + path);
        }
        p.EndDoc();
        ExpectReadersAccept(pdf);
        EXPECT_EQ(DarkPixelsIn(RenderPage(pdf, 1, Reader::Poppler, {72, false, false}), 0, 0, 596, 842) > 0, drawn);
    }
}

// What a drawing's PostScript means, written as content lines: calls whose operands run over
// line ends, names the prolog defines (cairo's, poppler's, Illustrator's), PostScript's own
// painting, clipping and state operators; refused (321, the reason given) when a played
// name means what cannot be written, or a number is past what readers take.
TEST(VectorPicturesTest, DrawingFollowsTheFilesPostScript)
{
    struct Row {
        std::string name, drawing;
        std::vector<std::string> written;  // content lines, in order
        std::string refused;               // a part of the reason
    };
    const std::string cairo = "/q { gsave } bind def /Q { grestore } bind def /cm { 6 array astore concat } bind def\n"
                              "/m { moveto } bind def /l { lineto } bind def /c { curveto } bind def\n"
                              "/h { closepath } bind def /S { stroke } bind def /f { fill } bind def\n"
                              "/W { clip } bind def /n { newpath } bind def /w { setlinewidth } bind def\n"
                              "/g { setgray } bind def /rg { setrgbcolor } bind def\n"
                              "/re { exch dup neg 3 1 roll 5 3 roll moveto 0 rlineto\n"
                              "      0 exch rlineto 0 rlineto closepath } bind def\n%%EndProlog\n";
    const std::vector<Row> rows = {
        // Lines broken in the middle of the operands.
        {"wrapped", "10 10 m 20\n 20 l 30\r\n30 l\rS\n", {"10 10 m 20 20 l 30 30 l S"}, ""},
        {"wrapped curve", cairo + "0 1 0 rg 61 36 m 61 49.809 49.809 61 36 61 c 22.191 61 11 49.809 11 36 c 11 22.191\n"
                                  " 22.191 11 36 11 c h S\n",
         {"0 1 0 rg 0 1 0 RG", "61 36 m 61 49.809 49.809 61 36 61 c 22.191 61 11 49.809 11 36 c 11 22.191 22.191 11 36 "
                               "11 c h S"},
         ""},
        // The prolog's meanings: colours for the strokes too, a fill by the non-zero rule,
        // a rectangle and a matrix written out in PostScript, the clip of a rectangle.
        {"cairo prolog", cairo + "q 9 9 80 50 rectclip\n1 0 0 -1 0 72 cm q\n0.5 g 2 w 10 10 20 30 re f\nQ Q\n",
         {"q", "9 9 80 50 re W n", "1 0 0 -1 0 72 cm", "q", "0.5 g 0.5 G", "2 w",
          "10 10 m 30 10 l 30 40 l 10 40 l h f", "Q", "Q"},
         ""},
        {"load", "/m /moveto load def /l /lineto load def /S /stroke load def 1 2 m 3 4 l S\n", {"1 2 m 3 4 l S"}, ""},
        {"bdef", "/bdef {bind def} bind def /c {setrgbcolor} bdef /p {neg lineto} bdef\n"
                 "1 0 0 c 10 10 moveto 20 20 p stroke\n",
         {"1 0 0 rg 1 0 0 RG", "10 10 m 20 -20 l S"}, ""},
        // A path painted twice, its state saved with it; a clip that keeps its path.
        {"gsave fill", "10 10 moveto 50 10 lineto 50 50 lineto closepath gsave 0 0 1 setrgbcolor fill grestore\n"
                       "4 setlinewidth stroke\n",
         {"q", "0 0 1 rg 0 0 1 RG", "10 10 m 50 10 l 50 50 l h f", "Q", "4 w", "10 10 m 50 10 l 50 50 l h S"}, ""},
        {"clip keeps path", "0 0 moveto 90 0 lineto 90 90 lineto clip fill\n",
         {"0 0 m 90 0 l 90 90 l W n", "0 0 m 90 0 l 90 90 l f"}, ""},
        // Illustrator's short operators, undefined: every fill even-odd, colours for the fill.
        {"illustrator", "0 0 1 0 k 10 10 m 50 10 L 50 50 l f 0 G 10 10 m 50 50 l S\n",
         {"0 0 1 0 k", "10 10 m 50 10 l 50 50 l f*", "0 G", "10 10 m 50 50 l S"}, ""},
        // Procedures, conditions and loops of a prolog run as PostScript runs them.
        {"procedures", "/t 0.5 def /x {1 exch sub /t exch def pop 4 {t mul 4 1 roll} repeat setcmykcolor} def\n"
                       "0 0.5 1 0 (Orange) 0.2 x /sq {dup 0 rlineto 0 exch rlineto closepath} def\n"
                       "true {10 10 moveto 20 sq fill} if\n",
         {"0 0.4 0.8 0 k 0 0.4 0.8 0 K", "10 10 m 30 10 l 30 30 l h f"}, ""},
        {"save and dictionaries", "/d 2 dict def d begin /k 0.5 def end save d /k get setgray 10 10 moveto\n"
                                  "{ stop } stopped { 20 } { 30 } ifelse dup lineto stroke restore\n",
         {"q", "0.5 g 0.5 G", "10 10 m 20 20 l S", "Q"}, ""},
        // The prolog and setup paint nothing, by PostScript's operators or the short ones, but
        // the state they set holds; a name neither the file nor PostScript defines is passed
        // over with its operands.
        {"prolog", "%%BeginProlog\n10 10 moveto 20 20 lineto stroke /L {lineto} def 2 w 1 2 3 4 re f\n"
                   "%%EndProlog\n1 2 Ln 10 10 moveto 30 30 L stroke\n",
         {"2 w", "10 10 m 30 30 l S"}, ""},
        {"prolog never ended", "%%BeginProlog\n/L {lineto} def\n10 10 moveto 30 30 L stroke\n", {"10 10 m 30 30 l S"},
         ""},
        // A PDF page carried as objects: its content stream in a content stream's meanings
        // (rg for the fill alone, f by the non-zero rule), a font's data passed over.
        {"pdf objects", "4 0 obj\n<</Type/Page/Contents 5 0 R>>\nendobj\n6 0 obj\n<</Length 4>>stream\n((((\n"
                        "endstream\nendobj\n5 0 obj\n<</Length 40>>stream\nq 0 1 0 rg 0 0 1 RG 10 10 m 20 20 l 30 10 l"
                        "\nf 10 10 m 20 20 l S Q\nendstream\nendobj\n",
         {"q", "0 1 0 rg", "0 0 1 RG", "10 10 m 20 20 l 30 10 l f", "10 10 m 20 20 l S", "Q"}, ""},
        {"compressed page", "4 0 obj\n<</Contents [5 0 R]>>\nendobj\n5 0 obj\n<</Filter/FlateDecode/Length 3>>stream\n"
                            "xyz\nendstream\nendobj\n",
         {}, "compresso"},
        // A played name given what cannot be written, text, an arc, a segment from nowhere.
        {"rg shows", "/rg { show } bind def 0 1 0 rg 10 10 moveto 20 20 lineto stroke\n", {}, "show"},
        {"text", "10 10 moveto 20 20 lineto stroke 10 10 moveto (a) show\n", {}, "show"},
        // A quarter of a circle of radius 20 is one curve whose control points lie 20 × 0.5523
        // along the tangents.
        {"arc", "10 10 moveto 50 50 20 0 90 arc stroke\n", {"10 10 m 70 50 l 70 61.046 61.046 70 50 70 c S"}, ""},
        {"arcn", "50 50 20 90 0 arcn stroke\n", {"50 70 m 61.046 70 70 61.046 70 50 c S"}, ""},
        {"arct", "0 0 moveto 20 0 20 20 10 arct stroke\n", {"0 0 m 10 0 l 15.523 0 20 4.477 20 10 c S"}, ""},
        {"no point", "/l {lineto} def 10 10 l S\n", {}, "punto corrente"},
        // The path keeps its place on the page when the space changes under it.
        {"matrix", "10 10 moveto 2 2 scale 20 20 lineto stroke\n", {"2 0 0 2 0 0 cm", "5 5 m 20 20 l S"}, ""},
        {"clip translate", "0 0 moveto 60 0 lineto 60 60 lineto clip 20 20 translate newpath 0 0 moveto 9 9 lineto stroke\n",
         {"0 0 m 60 0 l 60 60 l W n", "1 0 0 1 20 20 cm", "0 0 m 9 9 l S"}, ""},
        // A number no reader takes, as a wrapped cairo path may hold one.
        {"huge", "0 0 m 2333333380250004053553053696 0 l S\n", {}, "limiti"},
        {"image", "10 10 moveto 20 20 lineto stroke 1 1 8 [1 0 0 1 0 0] {<ff>} image\n", {}, "image"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string eps = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\n" + row.drawing;
        const VectorDrawing drawing = ImportEpsData(Bytes(eps.begin(), eps.end()), {});
        if (!row.refused.empty()) {
            ASSERT_TRUE(drawing.error);
            EXPECT_EQ(drawing.error->Number(), 321);
            EXPECT_NE(drawing.error->Description().find(row.refused), std::string::npos)
                << drawing.error->Description();
            EXPECT_EQ(drawing.lines, "");
            continue;
        }
        EXPECT_FALSE(drawing.error) << drawing.error->Description();
        // After "q" and the two lines of the placement, before the closing "Q".
        std::vector<std::string> lines;
        for (std::size_t at = 0; at <= drawing.lines.size();) {
            const std::size_t end = std::min(drawing.lines.find('\r', at), drawing.lines.size());
            lines.push_back(drawing.lines.substr(at, end - at));
            at = end + 1;
        }
        ASSERT_GE(lines.size(), 4u) << drawing.lines;
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.end() - 1), row.written);
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
