#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"
#include "pdf/draw/BarCodeFrame.h"
#include "pdf/draw/Interleaved2of5Symbols.h"

#include <string>

namespace tavlo {

float Tavlo::EncodeInterleaved2of5(const std::string& code, float x, float y, bool showCode, float zoomFactor,
                                   float height, bool addCheck)
{
    if (code.size() > 32767)
        throw TavloError(ErrorCode::Overflow);
    const std::string digits = Interleaved2of5Digits(code, addCheck);
    if (digits.empty())
        return 0;
    const std::string elements = Interleaved2of5Elements(digits);
    const BarCodeFrame f = MakeBarCodeFrame(zoomFactor, static_cast<float>(s_->Scale), showCode, height);
    const float m = f.module;
    return DrawInSavedState(showCode, [&] {
        const std::string top = " " + PdfScaledNumber(y) + " ";
        const std::string tail = " " + PdfScaledNumber(f.barHeight) + " re f*";
        float p = x + 5 * m;
        for (std::size_t j = 0; j < elements.size(); ++j) {
            const float w = elements[j] == 'w' ? 3 * m : m;
            if (j % 2 == 0)
                PutContent(PdfScaledNumber(p) + top + PdfScaledNumber(w) + tail);
            p += w;
        }
        // The caption is the caller's text, without the check digit or the leading zero.
        return FinishLinearBarCode(code, x, y, p + 5 * m, f, showCode);
    });
}

} // namespace tavlo
