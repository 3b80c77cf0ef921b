#pragma once
// TrueType (sfnt) files read for the font records of AddFont: names, metrics and the width
// of each single-byte code. Every read is bounds-checked against the file and the table it
// belongs to; a damaged, forged or foreign file (a collection, CFF outlines, another format)
// raises TavloError 321 with the reason, so no record is made from it.

#include "pdf/core/Bytes.h"

#include <array>
#include <cstdint>
#include <string>

namespace tavlo {

// A big-endian integer of 2 or 4 bytes at offset; another size gives 0. Unsigned 4-byte
// values above 2^31 - 1 raise the overflow error, offsets outside the bytes the subscript
// error.
std::int32_t ReadBigEndian(const Bytes& bytes, std::int64_t offset, int size, bool isUnsigned);

enum class CodePage { Windows1252, MacRoman };

struct TrueTypeMetrics {
    std::string FullName;        // Windows-1252, blanks dropped; empty when the font has none
    std::string PostScriptName;  // likewise
    std::array<std::int16_t, 256> Widths{};  // 1/1000 em, per single-byte code
    std::int32_t Ascent = 0, Descent = 0;    // 1/1000 em, the descent negative
    std::int32_t AvgWidth = 0, MaxWidth = 0, MissingWidth = 0;
    std::array<std::int32_t, 4> BoundingBox{};  // of the glyphs the codes use, origin included
    std::int32_t Weight = 0;
    float ItalicAngle = 0;
    bool Symbolic = false, FixedPitch = false;
};

// The codes are read in the given code page and looked up by their Unicode characters;
// a symbol font's codes are looked up in its private range F000-F0FF first.
TrueTypeMetrics ReadTrueType(const Bytes& font, CodePage codes);

} // namespace tavlo
