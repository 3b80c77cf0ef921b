#include "pdf/Tavlo.h"

#include "pdf/core/TavloError.h"
#include "pdf/draw/ShapeBox.h"

#include <cmath>
#include <string>
#include <vector>

namespace tavlo {

namespace {

constexpr double kRadiansPerDegree = 0.0174532925199433;
// Control offset of a quarter ellipse drawn as one cubic curve, per unit of radius.
const double kQuarterCurve = (std::sqrt(2.0) - 1) * 4 / 3;
// More chord vertices than any arc needs; a range beyond it is a mistaken argument that
// would otherwise fill memory or, where single precision stops counting, never end.
constexpr std::size_t kMaxArcVertices = 1000000;

} // namespace

void Tavlo::DrawEllipse(float x, float y, float xRay, float yRay, std::int32_t options)
try {
    const float a = xRay, b = yRay;
    const float ka = static_cast<float>(kQuarterCurve * a);
    const float kb = static_cast<float>(kQuarterCurve * b);
    const float left = x - a, top = y - b, right = x + a, bottom = y + b;
    const double box[] = {PageSpaceX(left), PageSpaceY(top), PageSpaceX(right), PageSpaceY(bottom)};
    RequireSingleRange({static_cast<double>(left), static_cast<double>(top), static_cast<double>(right),
                        static_cast<double>(bottom)});
    RequirePdfRange({box[0], box[1], box[2], box[3]});
    auto point = [&](float px, float py) { return PdfScaledNumber(px) + " " + PdfScaledNumber(py); };
    // From the right end over the top, the left end and the bottom.
    std::string path = point(x + a, y) + " m\r";
    path += point(x + a, y - kb) + " " + point(x + ka, y - b) + " " + point(x, y - b) + " c\r";
    path += point(x - ka, y - b) + " " + point(x - a, y - kb) + " " + point(x - a, y) + " c\r";
    path += point(x - a, y + kb) + " " + point(x - ka, y + b) + " " + point(x, y + b) + " c\r";
    path += point(x + ka, y + b) + " " + point(x + a, y + kb) + " " + point(x + a, y) + " c";
    PutContent(path);
    PaintPath(options);
    SetXY(x, y);
    SetLastBox(box[0], box[1], box[2], box[3]);
} catch (...) {
    RaiseRecorded("DrawEllipse");
}

void Tavlo::DrawCircle(float x, float y, float ray, std::int32_t options)
try {
    DrawEllipse(x, y, ray, ray, options);
} catch (...) {
    RaiseRecorded("DrawCircle");
}

void Tavlo::DrawArc(float x, float y, float ray, float startAngle, float endAngle, float ratio, bool pie,
                    std::int16_t quality, std::int32_t options)
try {
    // A zero step never reaches the end angle.
    if (quality == 0)
        throw TavloError(ErrorCode::InvalidArgument);
    if (!std::isfinite(startAngle) || !std::isfinite(endAngle))
        throw TavloError(ErrorCode::Overflow);
    if (options & 4)
        pie = true;
    const float step = quality;

    // The vertex angles, counted in single precision from the start while the end is not
    // passed; all of them are known before anything is written.
    std::vector<float> angles;
    for (float a = startAngle; step > 0 ? a <= endAngle : a >= endAngle;) {
        if (angles.size() == kMaxArcVertices)
            throw TavloError(ErrorCode::InvalidArgument);
        angles.push_back(a);
        const float next = a + step;
        if (next == a)  // beyond 2^24 a step of a few degrees no longer counts
            throw TavloError(ErrorCode::InvalidArgument);
        a = next;
    }

    const float r = ray;
    const float left = x - r, top = y - r, right = x + r, bottom = y + r;
    const double box[] = {PageSpaceX(left), PageSpaceY(top), PageSpaceX(right), PageSpaceY(bottom)};
    RequireSingleRange({static_cast<double>(left), static_cast<double>(top), static_cast<double>(right),
                        static_cast<double>(bottom)});
    RequirePdfRange({box[0], box[1], box[2], box[3]});
    auto point = [&](float px, float py) { return PdfScaledNumber(px) + " " + PdfScaledNumber(py); };
    std::vector<std::string> lines;
    lines.reserve(angles.size() + 2);
    for (const float a : angles) {
        const float ra = static_cast<float>(a * kRadiansPerDegree);
        const float dx = static_cast<float>(r * std::cos(static_cast<double>(ra)));
        const float dy = static_cast<float>(static_cast<double>(r * ratio) * std::sin(static_cast<double>(ra)));
        const std::string vertex = point(x + dx, y + dy);
        if (lines.empty() && !pie)
            lines.push_back(vertex + " m");
        lines.push_back(vertex + " l");
    }
    const std::string centre = point(x, y);
    PutContent(centre + " m");
    for (const std::string& line : lines)
        PutContent(line);
    if (pie)
        PutContent(centre + " l");
    PaintPath(options);
    SetLastBox(box[0], box[1], box[2], box[3]);
    SetXY(x, y);
} catch (...) {
    RaiseRecorded("DrawArc");
}

} // namespace tavlo
