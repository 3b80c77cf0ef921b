// A metafile's polygons fill by the even-odd rule until the metafile asks for another: a
// shape with a hole, as LibreOffice writes it (one poly-polygon, no fill-mode record), keeps
// its hole, as LibreOffice itself draws it.

#include "support/pdf/rendering.h"
#include "support/pdf/tools.h"
#include "support/pdf/written_document.h"

#include "pdf/Tavlo.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// A blue frame 180 x 80 with a 80 x 40 hole in the middle, both drawn the same way round.
constexpr const char* kFrameSvg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="200pt" height="100pt" viewBox="0 0 200 100">
<path d="M10 10 H190 V90 H10 Z M60 30 H140 V70 H60 Z" fill="#0000ff" fill-rule="evenodd"/>
</svg>
)";

constexpr std::uint16_t kSetPolyFillMode = 0x0106, kPolyPolygon = 0x0538;

std::uint16_t Word(const std::string& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// Where the records begin and the offset of each record's function.
std::size_t FirstRecord(const std::string& wmf) { return (Word(wmf, 0) == 0xCDD7 ? 22 : 0) + 18; }

std::vector<std::uint16_t> Functions(const std::string& wmf)
{
    std::vector<std::uint16_t> functions;
    for (std::size_t at = FirstRecord(wmf); at + 6 <= wmf.size();) {
        const std::uint32_t words = Word(wmf, at) | static_cast<std::uint32_t>(Word(wmf, at + 2)) << 16;
        functions.push_back(Word(wmf, at + 4));
        if (words < 3)
            break;
        at += 2 * static_cast<std::size_t>(words);
    }
    return functions;
}

// The metafile with a SetPolyFillMode record of the given mode before its first record (the
// header's size in words grown to match).
std::string WithFillMode(std::string wmf, std::uint16_t mode)
{
    const std::size_t header = FirstRecord(wmf) - 18;
    const std::string record{'\x04', '\0', '\0', '\0', '\x06', '\x01', static_cast<char>(mode), '\0'};
    wmf.insert(FirstRecord(wmf), record);
    std::uint32_t size = Word(wmf, header + 6) | static_cast<std::uint32_t>(Word(wmf, header + 8)) << 16;
    size += 4;
    for (int i = 0; i < 4; ++i)
        wmf[header + 6 + static_cast<std::size_t>(i)] = static_cast<char>(size >> (8 * i));
    return wmf;
}

bool Blue(const Image& image, int x, int y) { return image.At(x, y, 2) > 200 && image.At(x, y, 0) < 60 && image.At(x, y, 1) < 60; }
bool White(const Image& image, int x, int y) { return image.At(x, y, 0) > 230 && image.At(x, y, 1) > 230 && image.At(x, y, 2) > 230; }

// The frame's box in pixels: the extent of the blue pixels.
struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Box BlueBox(const Image& image)
{
    Box box;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (Blue(image, x, y)) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

// Whether the middle of the frame (the hole) is painted; the frame's band left of it must be.
bool MiddlePainted(const Image& image)
{
    const Box box = BlueBox(image);
    EXPECT_GT(box.right - box.left, 100) << "no frame drawn";
    const int middleY = (box.top + box.bottom) / 2;
    EXPECT_TRUE(Blue(image, box.left + (box.right - box.left) / 9, middleY)) << "the frame's left band";
    const bool blue = Blue(image, (box.left + box.right) / 2, middleY);
    EXPECT_TRUE(blue || White(image, (box.left + box.right) / 2, middleY));
    return blue;
}

} // namespace

TEST(MetafileFillMode, HolesAsTheMetafileAsksForThem)
{
    ScratchDir dir;
    WriteFile(dir.File("frame.svg"), kFrameSvg);
    ASSERT_EQ(RunTool("soffice -env:UserInstallation=file://" + dir.Path() + "/profile --headless --convert-to wmf --outdir " +
                      Quote(dir.Path()) + " " + Quote(dir.File("frame.svg")))
                  .exitCode,
              0);
    const std::string libreOffice = ReadFile(dir.File("frame.wmf"));
    const std::vector<std::uint16_t> functions = Functions(libreOffice);
    ASSERT_NE(std::find(functions.begin(), functions.end(), kPolyPolygon), functions.end());
    ASSERT_EQ(std::find(functions.begin(), functions.end(), kSetPolyFillMode), functions.end())
        << "LibreOffice now writes the fill mode: the case of the initial mode is gone";

    // LibreOffice's own drawing of its metafile shows the hole.
    ASSERT_EQ(RunTool("soffice -env:UserInstallation=file://" + dir.Path() + "/profile --headless --convert-to pdf --outdir " +
                      Quote(dir.Path()) + " " + Quote(dir.File("frame.wmf")))
                  .exitCode,
              0);
    EXPECT_FALSE(MiddlePainted(RenderPage(dir.File("frame.pdf"), 1, Reader::Poppler, {.colour = true})));

    const struct {
        const char* name;
        std::string metafile;
        bool holeFilled;
    } cases[] = {
        {"libreoffice.wmf", libreOffice, false},
        {"alternate.wmf", WithFillMode(libreOffice, 1), false},
        {"winding.wmf", WithFillMode(libreOffice, 2), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(dir.File(c.name), c.metafile);
        const WrittenPdf written = WriteDocument(c.name + std::string(".pdf"), [&](Tavlo& pdf) {
            pdf.BeginPage();
            pdf.DrawImage(dir.File(c.name), 50, 100, 200, 100);
            EXPECT_EQ(pdf.ErrNumber(), 0) << pdf.ErrDescription();
        });
        for (const Reader reader : {Reader::Poppler, Reader::Mupdf})
            EXPECT_EQ(MiddlePainted(RenderPage(written.path, 1, reader, {.colour = true})), c.holeFilled)
                << (reader == Reader::Mupdf ? "mupdf" : "poppler");
    }
}
