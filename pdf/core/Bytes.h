#pragma once
// Binary data of the writer: keys, digests, encoded streams. Texts that enter binary
// computations are taken as their bytes (Windows-1252) with BytesOf.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo {

using Bytes = std::vector<std::uint8_t>;

inline Bytes BytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

inline std::string TextOf(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

} // namespace tavlo
