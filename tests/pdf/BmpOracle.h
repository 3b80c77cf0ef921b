#pragma once
// Bitmaps written by ImageMagick from pictures the tests make, and the pixels ImageMagick
// reads back from any picture file: the independent side of the image tests.

#include "pdf/OracleTools.h"

#include <cstdint>
#include <string>

namespace tavlo::test {

inline bool ImageToolsAvailable()
{
    return ToolAvailable("/usr/bin/convert") && ToolAvailable("pdfimages");
}

// A binary PPM of width × height pixels, each one of colours random colours (seeded).
inline std::string RandomPpm(int width, int height, int colours, std::uint32_t seed)
{
    const Bytes palette = RandomBytes(3 * static_cast<std::size_t>(colours), seed);
    const Bytes picks = RandomBytes(static_cast<std::size_t>(width) * height, seed + 1, colours);
    std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (const std::uint8_t pick : picks)
        for (int c = 0; c < 3; ++c)
            ppm += static_cast<char>(palette[3 * pick + c]);
    return ppm;
}

// convert with its arguments as given (the caller quotes paths).
inline bool Convert(const std::string& arguments)
{
    return RunTool("/usr/bin/convert " + arguments + " 2>/dev/null").exitCode == 0;
}

// The picture's pixels as ImageMagick reads them: 8-bit RGB, top row first, no alpha;
// flipped: bottom row first.
inline std::string RgbPixels(const std::string& path, bool flipped = false)
{
    return RunTool("/usr/bin/convert " + Quote(path) + (flipped ? " -flip" : "") +
                   " -alpha off -depth 8 rgb:- 2>/dev/null")
        .output;
}

// The first image of a PDF as each reader extracts it, colour space applied (pdfimages
// leaves 1-bit images in black and white whatever their palette): path of a PNG file.
inline std::string PopplerExtract(const std::string& pdf, const std::string& folder)
{
    RunTool("pdfimages -png " + Quote(pdf) + " " + Quote(folder + "/poppler"));
    return folder + "/poppler-000.png";
}

inline std::string MupdfExtract(const std::string& pdf, const std::string& folder)
{
    RunTool("cd " + Quote(folder) + " && mutool extract " + Quote(pdf) + " >/dev/null 2>&1");
    return RunTool("ls " + Quote(folder) + "/image-*.png 2>/dev/null | head -1 | tr -d '\\n'").output;
}

inline std::string SizeOf(const std::string& path)
{
    return RunTool("/usr/bin/identify -format %wx%h " + Quote(path) + " 2>/dev/null").output;
}

// Little-endian fields of a BMP header.
inline std::uint32_t Field(const std::string& bmp, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bmp[at + i]);
    return value;
}

inline void SetField(std::string& bmp, std::size_t at, int size, std::uint32_t value)
{
    for (int i = 0; i < size; ++i)
        bmp[at + i] = static_cast<char>(value >> (8 * i));
}

// The same bitmap stored top row first (negative height), for an uncompressed BMP.
inline std::string TopDown(const std::string& bmp)
{
    const std::uint32_t offset = Field(bmp, 10, 4), width = Field(bmp, 18, 4), height = Field(bmp, 22, 4);
    const std::uint32_t bits = Field(bmp, 28, 2);
    const std::size_t stride = (width * bits + 31) / 32 * 4;
    std::string out = bmp.substr(0, offset);
    for (std::uint32_t row = height; row-- > 0;)
        out += bmp.substr(offset + row * stride, stride);
    SetField(out, 22, 4, static_cast<std::uint32_t>(-static_cast<std::int32_t>(height)));
    return out;
}

} // namespace tavlo::test
