#pragma once
#include <cstddef>
#include <cstdint>

namespace tavlo::deflate {

// The checksum of RFC 1950.
std::uint32_t Adler32(const std::uint8_t* data, std::size_t length);

} // namespace tavlo::deflate
