#pragma once
// Where a page's dark pixels are, as poppler draws the page without its annotations: the
// box a test drew, in page space (points, y upwards), to set against the rectangles the
// annotations were given.

#include "pdf/OracleTools.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <string>

namespace tavlo::test {

// A grey image at 72 dots per inch: one pixel is one point, rows from the top.
struct GreyImage {
    int width = 0, height = 0;
    std::string pixels;
    bool Dark(int x, int y) const
    {
        const std::size_t i = static_cast<std::size_t>(y) * width + x;
        return i < pixels.size() && static_cast<unsigned char>(pixels[i]) < 128;
    }
};

inline GreyImage ReadPgm(const std::string& image)
{
    GreyImage out;
    if (image.compare(0, 2, "P5") != 0)
        return out;
    // Header: "P5", width, height, maximum value, each after white space; then the bytes.
    std::size_t at = 2;
    auto number = [&]() {
        while (at < image.size() && std::isspace(static_cast<unsigned char>(image[at])))
            ++at;
        std::size_t end = at;
        while (end < image.size() && std::isdigit(static_cast<unsigned char>(image[end])))
            ++end;
        const int value = std::atoi(image.substr(at, end - at).c_str());
        at = end;
        return value;
    };
    out.width = number();
    out.height = number();
    number();
    out.pixels = image.substr(at + 1);
    return out;
}

// The page as poppler draws it, with or without its annotations.
inline GreyImage PopplerPage(const std::string& path, int page, bool annotations)
{
    ScratchDir dir;
    const std::string prefix = dir.File("page");
    RunTool("pdftoppm -r 72 -gray -aa no -aaVector no -singlefile" +
            std::string(annotations ? "" : " -hide-annotations") + " -f " + std::to_string(page) + " -l " +
            std::to_string(page) + " " + Quote(path) + " " + Quote(prefix) + " 2>/dev/null");
    return ReadPgm(ReadFile(prefix + ".pgm"));
}

// The page as mupdf draws it, annotations included.
inline GreyImage MupdfPage(const std::string& path, int page)
{
    ScratchDir dir;
    const std::string file = dir.File("page.pgm");
    RunTool("mutool draw -q -r 72 -c gray -o " + Quote(file) + " " + Quote(path) + " " + std::to_string(page) +
            " 2>/dev/null");
    return ReadPgm(ReadFile(file));
}

// Pixels of a strong red inside a region given in points from the top-left corner of the
// page, as poppler and as mupdf draw it in colour, annotations included: {poppler, mupdf},
// -1 for a reader that drew nothing.
inline std::array<int, 2> RedPixelsIn(const std::string& path, int page, int left, int top, int right, int bottom)
{
    ScratchDir dir;
    const std::string poppler = dir.File("poppler"), mupdf = dir.File("mupdf.ppm");
    RunTool("pdftoppm -r 72 -aa no -aaVector no -singlefile -f " + std::to_string(page) + " -l " +
            std::to_string(page) + " " + Quote(path) + " " + Quote(poppler) + " 2>/dev/null");
    RunTool("mutool draw -q -r 72 -c rgb -o " + Quote(mupdf) + " " + Quote(path) + " " + std::to_string(page) +
            " 2>/dev/null");
    std::array<int, 2> counts{};
    int reader = 0;
    for (const std::string& file : {poppler + ".ppm", mupdf}) {
        const std::string image = ReadFile(file);
        // The header is that of a grey image with three bytes a pixel.
        GreyImage header = ReadPgm("P5" + image.substr(std::min<std::size_t>(2, image.size())));
        if (image.compare(0, 2, "P6") != 0 || header.width == 0) {
            counts[reader++] = -1;
            continue;
        }
        const std::string& rgb = header.pixels;
        int count = 0;
        for (int y = top; y < bottom && y < header.height; ++y)
            for (int x = left; x < right && x < header.width; ++x) {
                const std::size_t i = (static_cast<std::size_t>(y) * header.width + x) * 3;
                if (i + 2 < rgb.size() && static_cast<unsigned char>(rgb[i]) > 200 &&
                    static_cast<unsigned char>(rgb[i + 1]) < 100 && static_cast<unsigned char>(rgb[i + 2]) < 100)
                    ++count;
            }
        counts[reader++] = count;
    }
    return counts;
}

// Dark pixels inside a region given in points from the top-left corner of the page.
inline int DarkPixelsIn(const GreyImage& image, int left, int top, int right, int bottom)
{
    int count = 0;
    for (int y = top; y < bottom && y < image.height; ++y)
        for (int x = left; x < right && x < image.width; ++x)
            count += image.Dark(x, y) ? 1 : 0;
    return count;
}

// left, bottom, right, top in points; all zero when nothing dark was drawn.
inline std::array<double, 4> DarkBoxOfPage(const std::string& path, int page)
{
    const GreyImage image = PopplerPage(path, page, false);
    std::array<double, 4> box{};
    int minX = image.width, minY = image.height, maxX = -1, maxY = -1;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.Dark(x, y)) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    if (maxX < 0)
        return box;
    return {double(minX), double(image.height - maxY - 1), double(maxX + 1), double(image.height - minY)};
}

} // namespace tavlo::test
