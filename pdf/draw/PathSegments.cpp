#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"
#include "pdf/draw/ShapeBox.h"

namespace tavlo {

void Tavlo::MoveTo(float x, float y)
try {
    PutContent(PdfScaledNumber(x) + " " + PdfScaledNumber(y) + " m");
    SetXY(x, y);
} catch (...) {
    RaiseRecorded("MoveTo");
}

void Tavlo::DrawLine(float x1, float y1, float x2, float y2, std::int32_t options)
try {
    const double left = PageSpaceX(x1), top = PageSpaceY(y1), right = PageSpaceX(x2), bottom = PageSpaceY(y2);
    RequirePdfRange({left, top, right, bottom});
    PutContent(PdfScaledNumber(x1) + " " + PdfScaledNumber(y1) + " m " + PdfScaledNumber(x2) + " " +
               PdfScaledNumber(y2) + " l");
    PaintPath(options);
    SetXY(x2, y2);
    SetLastBox(left, top, right, bottom);
} catch (...) {
    RaiseRecorded("DrawLine");
}

void Tavlo::DrawLineTo(float x, float y, std::int32_t options)
try {
    PutContent(PdfScaledNumber(x) + " " + PdfScaledNumber(y) + " l");
    PaintPath(options);
    SetXY(x, y);
} catch (...) {
    RaiseRecorded("DrawLineTo");
}

void Tavlo::DrawCurve(std::int16_t curveType, float x1, float y1, float x2, float y2, float x3, float y3,
                      std::int32_t options)
try {
    // Another type writes only the painting operator: its points are not read.
    auto first = [&] { return PdfScaledNumber(x1) + " " + PdfScaledNumber(y1) + " "; };
    switch (curveType) {
    case 1:
        PutContent(first() + PdfScaledNumber(x2) + " " + PdfScaledNumber(y2) + " " + PdfScaledNumber(x3) + " " +
                   PdfScaledNumber(y3) + " c");
        break;
    case 2:
        // From the current point, its first control point there too.
        PutContent(first() + PdfScaledNumber(x2) + " " + PdfScaledNumber(y2) + " v");
        break;
    case 3:
        // The second control point on the end point.
        PutContent(first() + PdfScaledNumber(x2) + " " + PdfScaledNumber(y2) + " y");
        break;
    default: break;
    }
    PaintPath(options);
    if (curveType == 1)
        SetXY(x3, y3);
    else if (curveType == 2 || curveType == 3)
        SetXY(x2, y2);
} catch (...) {
    RaiseRecorded("DrawCurve");
}

} // namespace tavlo
