#pragma once
// Advance widths of the built-in fonts for the codes 0-255, in 1/1000 em (WinAnsiEncoding
// for Arial and TimesNewRoman, the fonts' own encodings for Symbol and ZapfDingbats).
// CourierNew needs no table: every code is 600.

#include <array>
#include <cstdint>

namespace tavlo::widths {

extern const std::array<std::int16_t, 256> kArialRegular, kArialBold, kArialItalic, kArialBoldItalic;
extern const std::array<std::int16_t, 256> kTimesRegular, kTimesBold, kTimesItalic, kTimesBoldItalic;
extern const std::array<std::int16_t, 256> kSymbol, kZapfDingbats;

} // namespace tavlo::widths
