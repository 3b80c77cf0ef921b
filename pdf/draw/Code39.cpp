#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"
#include "pdf/draw/BarCodeFrame.h"
#include "pdf/draw/Code39Symbols.h"

#include <string>

namespace tavlo {

float Tavlo::EncodeCode39(const std::string& code, float x, float y, bool showCode, float zoomFactor, float height,
                          bool addCheck)
{
    if (code.size() > 32767)
        throw TavloError(ErrorCode::Overflow);
    const std::vector<int> values = Code39Values(code);
    if (values.empty())
        return 0;
    // One narrow space between symbols, two before the check character and the stop.
    std::string elements = Code39Word(code39::StartStop) + "w";
    for (std::size_t k = 0; k < values.size(); ++k)
        elements += Code39Word(values[k]) + (k + 1 < values.size() ? "w" : "ww");
    if (addCheck)
        elements += Code39Word(Code39Check(values)) + "ww";
    elements += Code39Word(code39::StartStop) + "w";

    const BarCodeFrame f = MakeBarCodeFrame(zoomFactor, static_cast<float>(s_->Scale), showCode, height);
    const float m = f.module;
    return DrawInSavedState(showCode, [&] {
        // Each bar is a line stroked as wide as the bar: the caller's dash pattern or round
        // caps would break or lengthen it, so the bars are stroked solid with butt caps.
        PutContent("[ ] 0 d 0 J");
        const std::string top = " " + PdfScaledNumber(y) + " m ";
        const std::string foot = " " + PdfScaledNumber(y + f.barHeight) + " l S";
        float p = x + 10 * m;
        for (char e : elements) {
            const float w = (e == 'B' || e == 'W') ? 3 * m : m;
            if (e == 'b' || e == 'B') {
                const std::string middle = PdfScaledNumber(p + w / 2);
                PutContent(PdfScaledNumber(w) + " w");
                PutContent(middle + top + middle + foot);
            }
            p += w;
        }
        return FinishLinearBarCode(code, x, y, p + 9 * m, f, showCode);
    });
}

} // namespace tavlo
