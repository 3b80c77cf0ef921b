#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"
#include "pdf/draw/BarCodeFrame.h"
#include "pdf/draw/PostnetSymbols.h"

#include <string>

namespace tavlo {

float Tavlo::EncodePostnet(const std::string& code, float x, float y, bool showCode, float zoomFactor)
{
    const std::string digits = PostnetDigits(code);
    if (digits.empty())
        return 0;
    const std::string bars = PostnetBars(digits);
    const float scale = static_cast<float>(s_->Scale);
    // The bar is 0.02 inch wide, a full bar 0.125 inch high.
    const BarCodeFrame f = MakeBarCodeFrame(zoomFactor, scale, showCode, 0, 1.44f, 9);
    const float b = f.module;
    const float full = f.barHeight;
    const float half = f.zoom * 3.6f / scale;
    const float pitch = f.zoom * 3.6f / scale;
    return DrawInSavedState(showCode, [&] {
        const std::string width = " " + PdfScaledNumber(b) + " ";
        const std::string fullBar = " " + PdfScaledNumber(y) + width + PdfScaledNumber(full) + " re f*";
        // Half bars stand on the same foot as the full ones.
        const std::string halfBar = " " + PdfScaledNumber(y + full - half) + width + PdfScaledNumber(half) + " re f*";
        float xc = x + 5 * b;
        for (char bar : bars) {
            PutContent(PdfScaledNumber(xc) + (bar == '1' ? fullBar : halfBar));
            xc += pitch;
        }
        const float right = xc + 5 * b;
        if (showCode)
            BarCodeCaption(code, x + (right - x) / 2, y + f.zoom * 14.4f / scale + f.textBand, f.zoom * 10.08f,
                           true);
        return right - x;
    });
}

} // namespace tavlo
