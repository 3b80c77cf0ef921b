#pragma once
// What every picture reader shares: the file read whole (its size capped), the pixel limit
// no forged header can pass, and the error a damaged file raises. The decoders are pure
// functions over the bytes; only the Tavlo members write objects and record errors.

#include "pdf/core/Bytes.h"
#include "pdf/core/TavloError.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tavlo {

// Far beyond any picture placed on a page, small enough that a forged header cannot make
// the writer claim gigabytes.
constexpr std::uint64_t kMaxImagePixels = std::uint64_t{1} << 26;

// Error 321 with the reason after the standard text.
[[noreturn]] void InvalidImage(const std::string& why);

// Larger than any raster the decoders accept (2^26 pixels of 4 bytes plus headers).
constexpr std::uintmax_t kMaxRasterFileSize = (std::uintmax_t{1} << 28) + (1 << 20);
// Vector pictures grow several times over as content lines: kept to what a page can carry.
constexpr std::uintmax_t kMaxVectorFileSize = std::uintmax_t{1} << 25;

// The whole file: error 53 when it does not exist, 75 when it cannot be read, 321 when it
// is larger than limit.
Bytes ReadImageFile(const std::string& path, std::uintmax_t limit = kMaxRasterFileSize);

// A raster picture ready for its image object: samples bottom row first (a JPEG file as it
// stands), the RGB palette of indexed data, one alpha byte per pixel when the picture has
// partial transparency. damage: the file broke off or held a bad code part way through;
// what was decoded is still written and the error recorded.
struct RasterImage {
    Bytes samples, palette, alpha;
    std::int32_t width = 0, height = 0;
    std::uint8_t bits = 0;
    std::string colourSpace;  // JPEG only: DeviceGray, DeviceRGB or DeviceCMYK
    std::string decode;       // JPEG only: the /Decode array of inverted CMYK data
    std::string mask;         // colour-key ranges for /Mask, or empty
    std::optional<TavloError> damage;
};

} // namespace tavlo
