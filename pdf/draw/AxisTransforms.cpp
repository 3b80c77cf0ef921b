#include "pdf/Tavlo.h"

#include "pdf/core/PdfFormat.h"

#include <cmath>

namespace tavlo {

namespace {

constexpr double kRadiansPerDegree = 0.0174532925199433;

} // namespace

void Tavlo::AxisRotation(float angle)
try {
    // Whole turns (to the nearest degree, halves to even) leave the axes where they are.
    if (std::isfinite(angle) && std::fmod(std::nearbyint(static_cast<double>(angle)), 360.0) == 0)
        return;
    const double r = angle * kRadiansPerDegree;
    const float c = static_cast<float>(std::cos(r));
    const float s = static_cast<float>(std::sin(r));
    PutContent(PdfNumber(c) + " " + PdfNumber(-s) + " " + PdfNumber(s) + " " + PdfNumber(c) + " 0 0 cm");
} catch (...) {
    RaiseRecorded("AxisRotation");
}

void Tavlo::AxisScaling(float scaleX, float scaleY)
try {
    PutContent(PdfNumber(scaleX) + " 0 0 " + PdfNumber(scaleY) + " 0 0 cm");
} catch (...) {
    RaiseRecorded("AxisScaling");
}

void Tavlo::AxisSkewing(float angleX, float angleY)
try {
    const float tanX = static_cast<float>(std::tan(angleX * kRadiansPerDegree));
    const float tanY = static_cast<float>(std::tan(angleY * kRadiansPerDegree));
    PutContent("1 " + PdfNumber(tanX) + " " + PdfNumber(tanY) + " 1 0 0 cm");
} catch (...) {
    RaiseRecorded("AxisSkewing");
}

void Tavlo::AxisTranslation(float translateX, float translateY)
try {
    PutContent("1 0 0 1 " + PdfScaledNumber(translateX) + " " + PdfScaledNumber(translateY) + " cm");
    // The new origin is where drawing continues.
    SetXY(0, 0);
} catch (...) {
    RaiseRecorded("AxisTranslation");
}

} // namespace tavlo
