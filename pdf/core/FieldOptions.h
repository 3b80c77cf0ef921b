#pragma once
// What the option word of a form field asks for: annotation and field flags, border,
// check mark and rotation. Pure functions, so the widget text is easy to check.

#include <cstdint>
#include <string>

namespace tavlo {

// The field kinds AddField knows.
namespace FieldKind {
constexpr std::int32_t Text = 0;
constexpr std::int32_t CheckBox = 1;
constexpr std::int32_t ListBox = 2;
constexpr std::int32_t ComboBox = 3;
constexpr std::int32_t RadioButton = 4;
constexpr std::int32_t PushButton = 5;
} // namespace FieldKind

// Option bits read directly by AddField; the others are read by the functions below.
namespace FieldOption {
constexpr std::int32_t NoBackground = 4;
constexpr std::int32_t RightAligned = 2048;
constexpr std::int32_t Centred = 4096;
constexpr std::int32_t ViewerFontSize = 8192;
constexpr std::int32_t NoBorder = 16384;
} // namespace FieldOption

struct FieldFlags {
    std::int32_t flags = 0;           // /Ff before the kind adds its own bits
    std::int32_t versionIncrement = 0; // 1 for PDF 1.4, 2 for PDF 1.5
};

// /F: 2 when hidden (bit 0), or-ed with 4 (print) unless bit 1 is set.
std::int32_t FieldAnnotationFlags(std::int32_t options);
FieldFlags FieldFieldFlags(std::int32_t options);
// "/BS << ... >>" content after "/W ": width and style, e.g. "1 /S /S".
std::string FieldBorder(std::int32_t options);
// The check box mark (ZapfDingbats character) chosen by bits 21 to 25; "4" otherwise.
std::string FieldCheckMark(std::int32_t options);
// "/R 90 ", "/R 180 ", "/R 270 " or empty.
std::string FieldRotation(std::int32_t options);

} // namespace tavlo
