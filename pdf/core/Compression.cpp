#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"

namespace tavlo {

void Tavlo::SetCompression(std::uint32_t flags, std::uint8_t level)
{
    s_->Compression = flags;
    s_->CompressionLevel = level > 3 ? 3 : level;
}

void Tavlo::zzToFlateDecode(Bytes& data, std::int32_t& lastIndex, std::uint8_t level)
{
    Bytes encoded = deflate::FlateEncode(data.data(), data.size(), level, s_->flate);
    lastIndex = CheckedInt32(static_cast<std::int64_t>(encoded.size()) - 1);
    data = std::move(encoded);
}

EncodedStream Tavlo::EncodeStreamData(Bytes data, const std::string& presetFilters)
{
    return EncodeStream(std::move(data), s_->Compression, s_->CompressionLevel, presetFilters, s_->flate);
}

} // namespace tavlo
