#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"
#include "pdf/draw/ShapeBox.h"

#include <cstdint>
#include <limits>
#include <string>

namespace tavlo {

namespace {

const FontEntry* CurrentFontEntry(const TavloState& s)
{
    if (s.CurrentFont < 1 || static_cast<std::size_t>(s.CurrentFont) > s.doc.Fonts.size())
        return nullptr;
    return &s.doc.Fonts[static_cast<std::size_t>(s.CurrentFont) - 1];
}

} // namespace

float Tavlo::TextLength(const std::string& phrase) const
{
    const TavloState& s = *s_;
    const FontEntry* font = CurrentFontEntry(s);
    if (font == nullptr)
        return 0;
    // Callers count characters in 16 bits; a longer text is the overflow error.
    if (phrase.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
        throw TavloError(ErrorCode::Overflow);

    // Texts are Windows-1252 bytes already: each byte is the code the font's widths use.
    // The widths add up exactly, however long the text.
    std::int64_t widths = 0;
    std::int32_t blanks = 0;
    for (const char ch : phrase) {
        const auto code = static_cast<unsigned char>(ch);
        widths += font->Widths[code];
        if (code == 32)
            ++blanks;
    }
    const long double n = static_cast<long double>(phrase.size());
    const long double points = static_cast<long double>(widths) * s.doc.FontSize / 1000.0L +
                               blanks * static_cast<long double>(s.WordSpacing) +
                               n * static_cast<long double>(s.CharSpacing);
    const long double length = points * (static_cast<long double>(s.HorizontalScaling) / 100.0L) /
                               static_cast<long double>(s.Scale);
    RequireSingleRange({static_cast<double>(length)});
    return static_cast<float>(length);
}

float Tavlo::TextHeight() const
{
    const TavloState& s = *s_;
    const FontEntry* font = CurrentFontEntry(s);
    if (font == nullptr)
        return 0;
    const double height = static_cast<double>(font->LineHeight) * s.doc.FontSize / 1000.0 / s.Scale;
    RequireSingleRange({height});
    return static_cast<float>(height);
}

} // namespace tavlo
