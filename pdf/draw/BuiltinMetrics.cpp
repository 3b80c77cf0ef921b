#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"
#include "pdf/draw/BuiltinFontWidths.h"

#include <algorithm>
#include <cctype>

namespace tavlo {

void Tavlo::LoadBuiltinMetrics(const std::string& family, std::int32_t style)
{
    FontEntry& font = s_->doc.Fonts.back();
    font.FontType = 0;
    const std::int32_t styled = style & 3;
    if (family == "TimesNewRoman") {
        static const std::array<const std::array<std::int16_t, 256>*, 4> tables = {
            &widths::kTimesRegular, &widths::kTimesBold, &widths::kTimesItalic, &widths::kTimesBoldItalic};
        font.BaseFont = family;
        font.Widths = *tables[static_cast<std::size_t>(styled)];
        font.LineHeight = 1107;
        font.Descent = -216;
    } else if (family == "CourierNew") {
        font.BaseFont = family;
        font.Widths.fill(600);
        font.LineHeight = 1133;
        font.Descent = -300;
    } else if (family == "Symbol") {
        font.BaseFont = family;
        font.Widths = widths::kSymbol;
        font.LineHeight = 1225;
        font.Descent = -220;
    } else if (family == "ZapfDingbats") {
        font.BaseFont = family;
        font.Widths = widths::kZapfDingbats;
        font.LineHeight = 1221;
        font.Descent = -221;
    } else {
        static const std::array<const std::array<std::int16_t, 256>*, 4> tables = {
            &widths::kArialRegular, &widths::kArialBold, &widths::kArialItalic, &widths::kArialBoldItalic};
        font.BaseFont = "Arial";
        font.Widths = *tables[static_cast<std::size_t>(styled)];
        font.LineHeight = 1221;
        font.Descent = -221;
    }
    if (font.BaseFont != "Symbol" && font.BaseFont != "ZapfDingbats") {
        static const char* const suffixes[] = {"", ",Bold", ",Italic", ",BoldItalic"};
        font.BaseFont += suffixes[styled];
    }
    font.Key = font.BaseFont;
    std::transform(font.Key.begin(), font.Key.end(), font.Key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
}

} // namespace tavlo
