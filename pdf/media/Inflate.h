#pragma once
// Decoder of deflate data (stored, fixed-code and dynamic-code blocks), the counterpart of
// the Flate encoder: it also takes distance codes 30 and 31 (distances from 32769 and
// 49153). The data are the deflate blocks alone, without the zlib header; what follows
// the final block (the Adler-32 checksum) is never read.
//
// Damaged data raise TavloError: 9 (subscript out of range) for data that end too soon
// or a bit sequence that is no code; 5 (invalid procedure call) for a distance before the
// first byte, a length symbol 286 or 287, and code sets that do not add up (over-subscribed
// codes, an incomplete code-length or literal/length code, a repeat with nothing to repeat
// or past the declared lengths); 6 (overflow) when the output would exceed outputLimit.
// A type-3 block and a stored block whose NLEN is not the complement of LEN are let pass.

#include "pdf/core/Bytes.h"

#include <cstddef>
#include <cstdint>

namespace tavlo::inflate {

// The output cap: a page's contents take a few megabytes and a picture of twenty million
// RGB pixels fits, while a few hundred kilobytes of hostile data (deflate expands at most
// about a thousandfold) cannot claim gigabytes.
constexpr std::size_t kMaxInflateOutput = std::size_t{64} << 20;

Bytes InflateData(const std::uint8_t* data, std::size_t size, std::size_t outputLimit = kMaxInflateOutput);

inline Bytes InflateData(const Bytes& data, std::size_t outputLimit = kMaxInflateOutput)
{
    return InflateData(data.data(), data.size(), outputLimit);
}

} // namespace tavlo::inflate
