#include "pdf/core/StreamEncoding.h"

#include "pdf/core/Ascii85Encoder.h"
#include "pdf/core/AsciiHexEncoder.h"
#include "pdf/core/LzwEncoder.h"
#include "pdf/core/RunLengthEncoder.h"

namespace tavlo {

EncodedStream EncodeStream(Bytes data, std::uint32_t compression, int level, const std::string& presetFilters,
                           deflate::FlateWorkspace& workspace)
{
    EncodedStream result;
    result.filters = presetFilters;
    if (presetFilters.empty()) {
        if (compression & Filter::RunLength) {
            data = RunLengthEncode(data);
            result.filters.insert(0, "/RunLengthDecode ");
        }
        if (compression & Filter::Flate) {
            data = deflate::FlateEncode(data.data(), data.size(), level, workspace);
            result.filters.insert(0, "/FlateDecode ");
        }
        if (compression & Filter::Lzw) {
            data = LzwEncode(data, level);
            result.filters.insert(0, "/LZWDecode ");
        }
    }
    if (compression & Filter::Ascii85) {
        data = Ascii85Encode(data);
        result.filters.insert(0, "/ASCII85Decode ");
    }
    if (compression & Filter::AsciiHex) {
        data = AsciiHexEncode(data);
        data.push_back('>');
        result.filters.insert(0, "/ASCIIHexDecode ");
    }
    result.data = std::move(data);
    return result;
}

} // namespace tavlo
