#pragma once
// The program's files (configuration, backups, logs, XML) are Windows-1252 bytes; every
// conversion between those bytes and QString goes through here.

#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>
#include <vector>

namespace quercino {

// The character a byte stands for. The five codes the code page leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters U+0081 etc., so that
// every byte survives a round trip.
char16_t windows1252Char(std::uint8_t code);

// The byte of a character, or -1 when the code page has no such character.
int windows1252Code(char16_t c);

// The byte of a character, with "?" (63) standing for a character the code page lacks:
// the value the procedures testing character codes work with.
std::uint8_t windows1252CodeOrQuestionMark(char16_t c);

QString decodeWindows1252(std::span<const std::uint8_t> bytes);

// One byte per character; a character the code page lacks (a surrogate pair counting as
// one character) becomes "?". `lossless`, when given, tells whether none did.
std::vector<std::uint8_t> encodeWindows1252(QStringView text, bool* lossless = nullptr);

// True when every character of the text has a byte of its own in the code page.
bool fitsWindows1252(QStringView text);

} // namespace quercino
