#include "pdf/Tavlo.h"

#include "pdf/draw/ShapeBox.h"

#include <string>

namespace tavlo {

void Tavlo::DrawRect(float x, float y, float width, float height, std::int32_t options, float ray,
                     std::int32_t roundedCorner)
try {
    const float w = width, h = height;
    float r = ray;
    const float right = x + w, bottom = y + h;
    const double box[] = {PageSpaceX(x), PageSpaceY(y), PageSpaceX(right), PageSpaceY(bottom)};
    RequireSingleRange({static_cast<double>(right), static_cast<double>(bottom)});
    RequirePdfRange({box[0], box[1], box[2], box[3]});
    auto point = [&](float px, float py) { return PdfScaledNumber(px) + " " + PdfScaledNumber(py); };
    if (r <= 0) {
        PutContent(point(x, y) + " " + PdfScaledNumber(w) + " " + PdfScaledNumber(h) + " re");
    } else {
        // A radius larger than half a side would bend the corners past each other.
        if (w / 2 < r)
            r = w / 2;
        if (h / 2 < r)
            r = h / 2;
        const float k = 0.55f * r;
        const float c1 = (roundedCorner & 1) ? 1.0f : 0.0f;  // top left
        const float c2 = (roundedCorner & 2) ? 1.0f : 0.0f;  // top right
        const float c3 = (roundedCorner & 4) ? 1.0f : 0.0f;  // bottom right
        const float c4 = (roundedCorner & 8) ? 1.0f : 0.0f;  // bottom left
        // Clockwise on the page from the top edge; bit 2 of the options closes it.
        std::string path = point(x + c1 * r, y) + " m\r";
        path += point(x + w - c2 * r, y) + " l\r";
        if (c2 != 0)
            path += point(x + w - r + k, y) + " " + point(x + w, y + r - k) + " " + point(x + w, y + r) + " c\r";
        path += point(x + w, y + h - c3 * r) + " l\r";
        if (c3 != 0)
            path += point(x + w, y + h - r + k) + " " + point(x + w - r + k, y + h) + " " + point(x + w - r, y + h) +
                    " c\r";
        path += point(x + c4 * r, y + h) + " l\r";
        if (c4 != 0)
            path += point(x + r - k, y + h) + " " + point(x, y + h - r + k) + " " + point(x, y + h - r) + " c\r";
        path += point(x, y + c1 * r) + " l";
        if (c1 != 0)
            path += "\r" + point(x, y + r - k) + " " + point(x + r - k, y) + " " + point(x + r, y) + " c";
        else
            path += "\r";
        PutContent(path);
    }
    PaintPath(options);
    SetXY(x, y);
    SetLastBox(box[0], box[1], box[2], box[3]);
} catch (...) {
    RaiseRecorded("DrawRect");
}

} // namespace tavlo
