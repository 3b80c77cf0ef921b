#pragma once
// The fields of a BMP file's headers, to forge and turn the bitmaps ImageMagick writes.

#include <cstdint>
#include <string>

namespace tavlo::test {

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
