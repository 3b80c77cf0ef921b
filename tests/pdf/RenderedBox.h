#pragma once
// Kept while the tests move to the helpers in tests/support/pdf.

#include "support/pdf/Rendering.h"

namespace tavlo::test {

using GreyImage = Image;

inline Image PopplerPage(const std::string& path, int page, bool annotations)
{
    RenderOptions options;
    options.annotations = annotations;
    return RenderPage(path, page, Reader::Poppler, options);
}

inline Image MupdfPage(const std::string& path, int page)
{
    return RenderPage(path, page, Reader::Mupdf);
}

inline std::array<int, 2> RedPixelsIn(const std::string& path, int page, int left, int top, int right, int bottom)
{
    RenderOptions colour;
    colour.colour = true;
    std::array<int, 2> counts{};
    int i = 0;
    for (const Reader reader : {Reader::Poppler, Reader::Mupdf}) {
        const Image image = RenderPage(path, page, reader, colour);
        counts[i++] = image.width == 0 ? -1 : RedPixelsIn(image, left, top, right, bottom);
    }
    return counts;
}

inline std::array<double, 4> DarkBoxOfPage(const std::string& path, int page)
{
    return DarkBox(PopplerPage(path, page, false));
}

} // namespace tavlo::test
