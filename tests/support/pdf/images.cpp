#include "support/pdf/images.h"
#include "support/pdf/tools.h"

#include <sstream>

namespace tavlo::test {

std::vector<ListedImage> ImagesListed(const std::string& pdf)
{
    std::istringstream lines(RunTool("pdfimages -list " + Quote(pdf) + " 2>/dev/null").output);
    std::vector<ListedImage> images;
    std::string line;
    std::getline(lines, line);  // the column names
    std::getline(lines, line);  // their underline
    while (std::getline(lines, line)) {
        std::istringstream in(line);
        ListedImage i;
        if (in >> i.page >> i.number >> i.type >> i.width >> i.height >> i.colour >> i.components >> i.bits >>
            i.encoding >> i.interpolate >> i.object)
            images.push_back(i);
    }
    return images;
}

std::string RandomPpm(int width, int height, int colours, std::uint32_t seed)
{
    const Bytes palette = RandomBytes(3 * static_cast<std::size_t>(colours), seed);
    const Bytes picks = RandomBytes(static_cast<std::size_t>(width) * height, seed + 1, colours);
    std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (const std::uint8_t pick : picks)
        for (int c = 0; c < 3; ++c)
            ppm += static_cast<char>(palette[3 * pick + c]);
    return ppm;
}

bool Convert(const std::string& arguments)
{
    return RunTool("/usr/bin/convert " + arguments + " 2>/dev/null").exitCode == 0;
}

std::string RgbPixels(const std::string& path, bool flipped)
{
    return RunTool("/usr/bin/convert " + Quote(path) + (flipped ? " -flip" : "") +
                   " -alpha off -depth 8 rgb:- 2>/dev/null")
        .output;
}

std::string SizeOf(const std::string& path)
{
    return RunTool("/usr/bin/identify -format %wx%h " + Quote(path) + " 2>/dev/null").output;
}

std::string PopplerExtract(const std::string& pdf, const std::string& folder)
{
    RunTool("pdfimages -png " + Quote(pdf) + " " + Quote(folder + "/poppler"));
    return folder + "/poppler-000.png";
}

std::string MupdfExtract(const std::string& pdf, const std::string& folder)
{
    RunTool("cd " + Quote(folder) + " && mutool extract " + Quote(pdf) + " >/dev/null 2>&1");
    return RunTool("ls " + Quote(folder) + "/image-*.png 2>/dev/null | head -1 | tr -d '\\n'").output;
}

} // namespace tavlo::test
