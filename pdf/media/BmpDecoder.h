#pragma once
// Windows bitmaps read into the samples of an image object: palette indexes (1, 4, 8 bits)
// with their RGB palette, or RGB bytes for the direct-colour depths, bottom row first.
// Damaged or hostile files raise TavloError before anything is written; memory stays
// bounded by the file's size and a fixed pixel limit.

#include "pdf/core/Bytes.h"

#include <cstdint>
#include <string>

namespace tavlo {

struct DecodedBmp {
    Bytes samples;   // rows bottom first, no row padding
    Bytes palette;   // RGB triples, 2^bits of them, for indexed data only
    std::int32_t width = 0, height = 0;
    std::uint8_t bits = 0;  // 1, 4, 8 or 24
    std::string mask;       // colour-key ranges for /Mask, or empty
};

// keyColour: the "#RRGGBB" form of the colour to leave transparent, or empty.
DecodedBmp DecodeBmp(const Bytes& file, const std::string& keyColour);

} // namespace tavlo
