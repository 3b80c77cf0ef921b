#pragma once
// Sizes the linear barcodes share, in user units (points × zoom / Scale).

#include <cstdint>

namespace tavlo {

struct BarCodeFrame {
    float zoom = 1;      // after the clamp to 0.8 ... 2.0
    float module = 0;    // the narrow element, 0.72 points at zoom 1
    float textBand = 0;  // 4.68 points at zoom 1 when the text is shown, else 0
    float barHeight = 0;
};

// module and default height in points at zoom 1. height 0 chooses the default; otherwise
// the bars take what the text band leaves, and never less than one module.
inline BarCodeFrame MakeBarCodeFrame(float zoomFactor, float scale, bool showCode, float height,
                                     float modulePoints = 0.72f, float defaultHeightPoints = 14.4f)
{
    BarCodeFrame f;
    f.zoom = zoomFactor < 0.8f ? 0.8f : (zoomFactor > 2.0f ? 2.0f : zoomFactor);
    f.module = f.zoom * modulePoints / scale;
    f.textBand = showCode ? f.zoom * 4.68f / scale : 0.0f;
    f.barHeight = height == 0 ? f.zoom * defaultHeightPoints / scale : height - f.textBand;
    if (f.barHeight <= 0)
        f.barHeight = f.module;
    return f;
}

} // namespace tavlo
