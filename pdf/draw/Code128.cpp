#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"
#include "pdf/draw/BarCodeFrame.h"
#include "pdf/draw/Code128Symbols.h"

#include <algorithm>
#include <string>

namespace tavlo {

float Tavlo::EncodeCode128(const std::string& code, float x, float y, bool showCode, float zoomFactor,
                           float height)
{
    // The whole symbol is built before any bar is written, so an error leaves nothing behind.
    const std::vector<int> values = Code128Values(code);
    if (values.empty())
        return 0;
    std::string modules;
    for (int v : values)
        modules += Code128Modules(v);

    const BarCodeFrame f = MakeBarCodeFrame(zoomFactor, static_cast<float>(s_->Scale), showCode, height);
    const float m = f.module;
    return DrawInSavedState(showCode, [&] {
        float p = x + 10 * m;
        const std::string tail = " " + PdfScaledNumber(f.barHeight) + " re f*";
        // One rectangle per bar, however many modules wide: adjacent one-module rectangles
        // leave hairline seams in anti-aliased rendering that scanners read as spaces.
        std::size_t at = 0;
        while (at < modules.size()) {
            if (modules[at] == '1') {
                const std::size_t end = std::min(modules.find('0', at), modules.size());
                const auto run = static_cast<float>(end - at);
                PutContent(PdfScaledNumber(p) + " " + PdfScaledNumber(y) + " " + PdfScaledNumber(run * m) + tail);
                for (std::size_t j = at; j < end; ++j)
                    p += m;
                at = end;
            } else {
                p += m;
                ++at;
            }
        }
        return FinishLinearBarCode(code, x, y, p + 9 * m, f, showCode);
    });
}

} // namespace tavlo
