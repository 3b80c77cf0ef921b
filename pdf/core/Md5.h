#pragma once
// MD5 (RFC 1321) for the keys of the standard security handler.

#include "pdf/core/Bytes.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace tavlo {

using Md5Value = std::array<std::uint8_t, 16>;

// Inputs of 268,435,455 bytes or more raise the overflow error, as the class always did.
Md5Value Md5Digest(const std::uint8_t* data, std::size_t length);
Md5Value Md5Digest(const Bytes& data);
Md5Value Md5Digest(std::string_view data);

// Compression of one 64-byte block into the four state words.
void Md5Transform(std::uint32_t state[4], const std::uint8_t* block);

} // namespace tavlo
