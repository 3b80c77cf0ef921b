#pragma once
// Text files edited by hand may be saved as UTF-8 or in Windows-1252: read them as
// UTF-8 when the bytes are valid UTF-8, otherwise as Windows-1252.

#include <QString>

#include <cstdint>
#include <span>

namespace quercino {

bool isValidUtf8(std::span<const std::uint8_t> bytes);

// A leading UTF-8 byte-order mark is dropped.
QString decodeUtf8OrWindows1252(std::span<const std::uint8_t> bytes);

} // namespace quercino
