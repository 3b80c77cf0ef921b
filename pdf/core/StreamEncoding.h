#pragma once
// The filters a stream goes through before it is written: RunLength, Flate and LZW
// (only for data not already encoded), then ASCII85 and ASCIIHex. The filter list reads in
// decoding order, each name followed by a blank, as the /Filter array wants it.

#include "pdf/core/Bytes.h"
#include "pdf/core/deflate/FlateEncoder.h"

#include <cstdint>
#include <string>

namespace tavlo {

namespace Filter {
constexpr std::uint32_t RunLength = 1;
constexpr std::uint32_t Flate = 2;
constexpr std::uint32_t Lzw = 4;
constexpr std::uint32_t Ascii85 = 8;
constexpr std::uint32_t AsciiHex = 16;
} // namespace Filter

struct EncodedStream {
    Bytes data;
    std::string filters;  // e.g. "/ASCIIHexDecode /FlateDecode "
};

// presetFilters names what data are already encoded with ("/DCTDecode "): the compression
// filters then stay out. An ASCIIHex result gets its ">" end marker, which readers expect.
EncodedStream EncodeStream(Bytes data, std::uint32_t compression, int level, const std::string& presetFilters,
                           deflate::FlateWorkspace& workspace);

} // namespace tavlo
