#pragma once
// Pictures on the independent side: ImageMagick (/usr/bin/convert, identify) writes the
// bitmaps the tests feed the writer and reads any picture's pixels; poppler (pdfimages) and
// mupdf (mutool extract) list and extract the images of a written document.

#include <cstdint>
#include <string>
#include <vector>

namespace tavlo::test {

// One line of `pdfimages -list`.
struct ListedImage {
    int page = 0, number = 0;
    std::string type, colour, encoding, interpolate;  // "image" / "smask"; "rgb", "index"...; "image", "jpeg"...
    int width = 0, height = 0, components = 0, bits = 0, object = 0;
};
std::vector<ListedImage> ImagesListed(const std::string& pdf);

// A binary PPM of width × height pixels, each one of `colours` random colours (seeded).
std::string RandomPpm(int width, int height, int colours, std::uint32_t seed);
// convert with its arguments as given (the caller quotes paths); true when it succeeded.
bool Convert(const std::string& arguments);
// The picture's pixels as ImageMagick reads them: 8-bit RGB, top row first (bottom row
// first when flipped), no alpha.
std::string RgbPixels(const std::string& path, bool flipped = false);
// "WIDTHxHEIGHT" as identify reads it.
std::string SizeOf(const std::string& path);
// The first image of a PDF extracted by each reader as a PNG file in folder (colour space
// applied; pdfimages leaves 1-bit images black and white whatever their palette): its path.
std::string PopplerExtract(const std::string& pdf, const std::string& folder);
std::string MupdfExtract(const std::string& pdf, const std::string& folder);

} // namespace tavlo::test
