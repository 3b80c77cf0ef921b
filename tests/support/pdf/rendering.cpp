#include "support/pdf/rendering.h"
#include "support/pdf/tools.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace tavlo::test {

int Image::At(int x, int y, int c) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 255;
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * channels + (channels == 1 ? 0 : c);
    return i < pixels.size() ? static_cast<unsigned char>(pixels[i]) : 255;
}

Image ReadPnm(const std::string& bytes)
{
    Image out;
    if (bytes.size() < 2 || bytes[0] != 'P' || (bytes[1] != '5' && bytes[1] != '6'))
        return out;
    out.channels = bytes[1] == '6' ? 3 : 1;
    std::size_t at = 2;
    auto number = [&]() {
        // Blanks and comments (Ghostscript names itself in one) before each number.
        while (at < bytes.size() && (std::isspace(static_cast<unsigned char>(bytes[at])) || bytes[at] == '#')) {
            if (bytes[at] == '#')
                at = std::min(bytes.find('\n', at), bytes.size());
            else
                ++at;
        }
        std::size_t end = at;
        while (end < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[end])))
            ++end;
        const int value = std::atoi(bytes.substr(at, end - at).c_str());
        at = end;
        return value;
    };
    out.width = number();
    out.height = number();
    number();
    out.pixels = bytes.substr(at + 1);
    return out;
}

Image RenderPage(const std::string& pdf, int page, Reader reader, const RenderOptions& options)
{
    ScratchDir dir;
    const std::string n = std::to_string(page), dpi = std::to_string(options.dpi);
    std::string file;
    if (reader == Reader::Poppler) {
        const std::string prefix = dir.File("page");
        RunTool("pdftoppm -r " + dpi + (options.colour ? "" : " -gray") +
                (options.antialias ? "" : " -aa no -aaVector no") + (options.annotations ? "" : " -hide-annotations") + (options.cropBox ? " -cropbox" : "") +
                (options.password.empty() ? "" : " -upw " + Quote(options.password)) + " -singlefile -f " + n +
                " -l " + n + " " + Quote(pdf) + " " + Quote(prefix) + " 2>/dev/null");
        file = prefix + (options.colour ? ".ppm" : ".pgm");
    } else {
        file = dir.File("page.pnm");
        RunTool("mutool draw -q -r " + dpi + (options.colour ? " -c rgb" : " -c gray") +
                (options.password.empty() ? "" : " -p " + Quote(options.password)) + " -o " + Quote(file) + " " +
                Quote(pdf) + " " + n + " 2>/dev/null");
    }
    return ReadPnm(ReadFile(file));
}

namespace {

template <typename Test>
int CountIn(const Image& image, int left, int top, int right, int bottom, Test test)
{
    int count = 0;
    for (int y = std::max(top, 0); y < bottom && y < image.height; ++y)
        for (int x = std::max(left, 0); x < right && x < image.width; ++x)
            count += test(x, y) ? 1 : 0;
    return count;
}

} // namespace

int DarkPixelsIn(const Image& image, int left, int top, int right, int bottom)
{
    return CountIn(image, left, top, right, bottom, [&](int x, int y) { return image.Dark(x, y); });
}

int RedPixelsIn(const Image& image, int left, int top, int right, int bottom)
{
    return CountIn(image, left, top, right, bottom, [&](int x, int y) { return image.Red(x, y); });
}

std::array<double, 4> DarkBox(const Image& image)
{
    int minX = image.width, minY = image.height, maxX = -1, maxY = -1;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.Dark(x, y)) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    if (maxX < 0)
        return {};
    return {double(minX), double(image.height - maxY - 1), double(maxX + 1), double(image.height - minY)};
}

std::size_t ValuesApart(const Image& a, const Image& b)
{
    std::size_t apart = 0;
    for (std::size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i)
        apart += std::abs(static_cast<unsigned char>(a.pixels[i]) - static_cast<unsigned char>(b.pixels[i])) > 64;
    return apart;
}

} // namespace tavlo::test
