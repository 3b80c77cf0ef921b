#include "pdf/Tavlo.h"

#include "pdf/core/AsciiCase.h"
#include "pdf/core/TavloState.h"
#include "pdf/draw/BuiltinFontWidths.h"

#include <algorithm>
#include <cctype>

namespace tavlo {

namespace {

using WidthTable = std::array<std::int16_t, 256>;

// Fills the newest record: type, name (with the style suffix where the family has styles),
// widths, line height, descent and the key the loader gives it.
void FillBuiltin(FontEntry& font, const std::string& baseFont, const WidthTable& widths, std::int16_t lineHeight,
                 std::int32_t descent)
{
    font.FontType = 0;
    font.BaseFont = baseFont;
    font.Widths = widths;
    font.LineHeight = lineHeight;
    font.Descent = descent;
    font.Key = AsciiUpper(baseFont);
}

std::string Styled(const std::string& family, std::int32_t style)
{
    static const char* const suffixes[] = {"", ",Bold", ",Italic", ",BoldItalic"};
    return family + suffixes[style & 3];
}

} // namespace

void Tavlo::LoadArialMetrics(std::int32_t style)
{
    static const std::array<const WidthTable*, 4> tables = {&widths::kArialRegular, &widths::kArialBold,
                                                            &widths::kArialItalic, &widths::kArialBoldItalic};
    FillBuiltin(s_->doc.Fonts.back(), Styled("Arial", style), *tables[static_cast<std::size_t>(style & 3)], 1221, -221);
}

void Tavlo::LoadTimesNewRomanMetrics(std::int32_t style)
{
    static const std::array<const WidthTable*, 4> tables = {&widths::kTimesRegular, &widths::kTimesBold,
                                                            &widths::kTimesItalic, &widths::kTimesBoldItalic};
    FillBuiltin(s_->doc.Fonts.back(), Styled("TimesNewRoman", style), *tables[static_cast<std::size_t>(style & 3)],
                1107, -216);
}

void Tavlo::LoadCourierNewMetrics(std::int32_t style)
{
    WidthTable widths;
    widths.fill(600);
    FillBuiltin(s_->doc.Fonts.back(), Styled("CourierNew", style), widths, 1133, -300);
}

void Tavlo::LoadSymbolMetrics()
{
    FillBuiltin(s_->doc.Fonts.back(), "Symbol", widths::kSymbol, 1225, -220);
}

void Tavlo::LoadZapfDingbatsMetrics()
{
    FillBuiltin(s_->doc.Fonts.back(), "ZapfDingbats", widths::kZapfDingbats, 1221, -221);
}

} // namespace tavlo
