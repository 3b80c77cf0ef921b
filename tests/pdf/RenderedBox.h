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

// left, bottom, right, top in points; all zero when nothing dark was drawn.
inline std::array<double, 4> DarkBoxOfPage(const std::string& path, int page)
{
    ScratchDir dir;
    const std::string prefix = dir.File("page");
    // 72 dots per inch: one pixel is one point.
    RunTool("pdftoppm -r 72 -gray -aa no -aaVector no -hide-annotations -singlefile -f " + std::to_string(page) +
            " -l " + std::to_string(page) + " " + Quote(path) + " " + Quote(prefix));
    const std::string image = ReadFile(prefix + ".pgm");
    std::array<double, 4> box{};
    if (image.compare(0, 2, "P5") != 0)
        return box;
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
    const int width = number(), height = number();
    number();
    ++at;
    int minX = width, minY = height, maxX = -1, maxY = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t i = at + static_cast<std::size_t>(y) * width + x;
            if (i < image.size() && static_cast<unsigned char>(image[i]) < 128) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
        }
    if (maxX < 0)
        return box;
    return {double(minX), double(height - maxY - 1), double(maxX + 1), double(height - minY)};
}

} // namespace tavlo::test
