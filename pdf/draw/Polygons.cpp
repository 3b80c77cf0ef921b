#include "pdf/Tavlo.h"

#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloError.h"
#include "pdf/core/TavloState.h"
#include "pdf/draw/ShapeBox.h"

#include <cmath>
#include <string>

namespace tavlo {

namespace {

constexpr double kRadiansPerDegree = 0.0174532925199433;
constexpr std::int32_t kDivisionByZero = 11;

} // namespace

void Tavlo::DrawPolygon(float x, float y, float ray, std::int16_t sides, std::int32_t options)
try {
    if (sides == 0)
        throw TavloError(kDivisionByZero, "Divisione per zero");
    const float r = std::fabs(ray);
    const float left = x - r, top = y - r, right = x + r, bottom = y + r;
    const double box[] = {PageSpaceX(left), PageSpaceY(top), PageSpaceX(right), PageSpaceY(bottom)};
    RequireSingleRange({static_cast<double>(left), static_cast<double>(top), static_cast<double>(right),
                        static_cast<double>(bottom)});
    RequirePdfRange({box[0], box[1], box[2], box[3]});
    const float step = static_cast<float>(360.0 / sides);
    // A negative count mirrors the polygon: it begins at the left of the centre.
    const float sign = step < 0 ? -1.0f : 1.0f;
    std::string path = PdfScaledNumber(x + sign * r) + " " + PdfScaledNumber(y) + " m";
    for (float a = step; std::fabs(a) < 360.0f; a += step) {
        const double radians = a * kRadiansPerDegree;
        path += "\r" + PdfScaledNumber(x + sign * r * std::cos(radians)) + " " +
                PdfScaledNumber(y + r * std::sin(radians)) + " l";
    }
    PutContent(path);
    PaintPath(options | 2);  // always closed
    SetLastBox(box[0], box[1], box[2], box[3]);
    SetXY(x, y);
} catch (...) {
    RaiseRecorded("DrawPolygon");
}

void Tavlo::DrawPolyline(const std::vector<float>& points, std::int32_t options)
try {
    // A point needs both its coordinates, and a path at least one point: refused before
    // anything is written or recorded.
    if (points.empty() || points.size() % 2 != 0)
        throw TavloError(ErrorCode::SubscriptOutOfRange);
    TavloState& s = *s_;
    std::string path;
    double left = 0, bottom = 0, right = 0, top = 0;
    float firstX = 0, firstY = 0, lastX = 0, lastY = 0;
    for (std::size_t i = 0; i < points.size(); i += 2) {
        const double scaledX = points[i] * s.Scale, scaledY = points[i + 1] * s.Scale;
        RequirePdfRange({scaledX, scaledY});
        const float px = static_cast<float>(scaledX);
        const float py = static_cast<float>(scaledY);
        path += PdfNumber(px) + " " + PdfNumber(py) + (i == 0 ? " m\r" : " l\r");
        const double pageX = s.MarginLeft + px, pageY = s.PageHeight - s.MarginTop - py;
        if (i == 0) {
            left = right = pageX;
            bottom = top = pageY;
            firstX = points[i], firstY = points[i + 1];
        } else {
            left = std::fmin(left, pageX), right = std::fmax(right, pageX);
            bottom = std::fmin(bottom, pageY), top = std::fmax(top, pageY);
        }
        lastX = points[i], lastY = points[i + 1];
    }
    RequirePdfRange({left, bottom, right, top});
    PutContent(path);
    PaintPath(options);
    // The extent of the points, the smaller values first.
    SetLastBox(left, bottom, right, top);
    if (options & 2)
        SetXY(firstX, firstY);
    else
        SetXY(lastX, lastY);
} catch (...) {
    RaiseRecorded("DrawPolyline");
}

} // namespace tavlo
