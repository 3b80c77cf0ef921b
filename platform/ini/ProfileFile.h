#pragma once
// Reader of profile files ("[section]" lines and "key=value" lines) such as
// configurazione.ini, by these rules:
// - section and key names match ignoring case; the first match wins;
// - blanks and tabs around names and values are removed, then one pair of surrounding
//   double or single quotes;
// - lines starting with ";" are comments; a ";" inside a value is part of the value;
// - CR LF or LF line ends; the bytes are UTF-8 when valid, otherwise Windows-1252;
// - a missing file, section or key reads as "", and a value is cut at `maxLength`
//   characters; only the first MiB of a file is read.

#include <QString>

#include <cstdint>
#include <span>

namespace quercino {

inline constexpr int ProfileValueMaxLength = 127;

QString readProfileValue(const QString& path, const QString& section, const QString& key,
                         int maxLength = ProfileValueMaxLength);

// The same lookup on a file's bytes already in memory.
QString readProfileValueFromBytes(std::span<const std::uint8_t> bytes, const QString& section,
                                  const QString& key, int maxLength = ProfileValueMaxLength);

} // namespace quercino
