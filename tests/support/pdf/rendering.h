#pragma once
// A page as poppler (pdftoppm) or mupdf (mutool draw) paints it, read back as pixels so a
// test can probe where ink and colour are. Rows run from the top; at 72 dpi one pixel is one
// point.

#include <array>
#include <cstddef>
#include <string>

namespace tavlo::test {

enum class Reader { Poppler, Mupdf };

struct RenderOptions {
    int dpi = 72;
    bool colour = false;      // RGB instead of grey
    bool annotations = true;  // poppler only: false hides them
    bool antialias = false;   // poppler only
    bool cropBox = false;     // poppler only: the crop box, as mupdf always draws, not the media box
    std::string password{};
};

struct Image {
    int width = 0, height = 0, channels = 1;
    std::string pixels;
    // Channel c of the pixel at x, y; 255 outside the picture.
    int At(int x, int y, int c = 0) const;
    bool Dark(int x, int y) const { return At(x, y) < 128; }
    // Strong red: red above 200, green and blue below 100.
    bool Red(int x, int y) const { return At(x, y, 0) > 200 && At(x, y, 1) < 100 && At(x, y, 2) < 100; }
};

// The page (from 1) as the reader draws it; an empty image (width 0) when it cannot.
Image RenderPage(const std::string& pdf, int page, Reader reader, const RenderOptions& options = {});
// A PGM or PPM file's pixels.
Image ReadPnm(const std::string& bytes);

// Dark (or red) pixels inside a region in pixels from the top-left corner.
int DarkPixelsIn(const Image& image, int left, int top, int right, int bottom);
int RedPixelsIn(const Image& image, int left, int top, int right, int bottom);
// The box around every dark pixel as left, bottom, right, top in page points (y upwards,
// for a 72 dpi image); all zero when nothing is dark.
std::array<double, 4> DarkBox(const Image& image);
// How many channel values of two images of one size differ by more than 64 (out of 255):
// what antialiasing leaves apart is not counted, a shape missing or misplaced is.
std::size_t ValuesApart(const Image& a, const Image& b);

} // namespace tavlo::test
