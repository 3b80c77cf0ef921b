#include "pdf/Tavlo.h"

#include "pdf/core/ContentMark.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"
#include "pdf/draw/BarCodeFrame.h"
#include "pdf/draw/ShapeBox.h"

#include <functional>
#include <string>

namespace tavlo {

float Tavlo::DrawBarCode(std::int32_t barCodeType, const std::string& code, float x, float y, bool showCode,
                         float zoomFactor, float height, bool addCheck)
try {
    // Each encoder refuses what it cannot carry before anything is written; a corner no
    // reader takes is refused before the caption's font is made.
    const double bottom = static_cast<double>(y) + height;
    RequirePdfRange({PageSpaceX(x), PageSpaceY(y), PageSpaceY(bottom), x * s_->Scale, bottom * s_->Scale});
    switch (barCodeType) {
    case 0: return EncodeEan13(code, x, y, showCode, zoomFactor, height);
    case 1: return EncodeCode39(code, x, y, showCode, zoomFactor, height, addCheck);
    case 2: return EncodeInterleaved2of5(code, x, y, showCode, zoomFactor, height, addCheck);
    case 3: return EncodePostnet(code, x, y, showCode, zoomFactor);
    case 4: return EncodeCode128(code, x, y, showCode, zoomFactor, height);
    case 5: return EncodeEan8(code, x, y, showCode, zoomFactor, height);
    default: return 0;
    }
} catch (...) {
    RaiseRecorded("DrawBarCode");
}

float Tavlo::DrawInSavedState(bool showCode, const std::function<float()>& draw)
{
    // The bars' own line settings end with the graphics state; the caption's font and
    // colours with the drawing state. A symbol that fails (a number no reader takes) is
    // taken back whole, and the drawing state comes back without a line written.
    ContentMark mark(ActiveContent());
    if (showCode)
        PushGraphicState();
    PutContent("q");
    float width = 0;
    try {
        width = draw();
    } catch (...) {
        if (showCode) {
            TavloState& s = *s_;
            const StateEntry entry = s.StateStack[static_cast<std::size_t>(s.StateDepth) - 1];
            --s.StateDepth;
            RestoreDrawingState(entry, false);
        }
        throw;
    }
    mark.Keep();
    PutContent("Q");
    if (showCode)
        PopGraphicState();
    return width;
}

float Tavlo::FinishLinearBarCode(const std::string& code, float x, float y, float right, const BarCodeFrame& f,
                                 bool showCode)
{
    if (showCode)
        BarCodeCaption(code, x + (right - x) / 2, y + f.barHeight + 1.6f * f.textBand, f.zoom * 10.08f, true);
    return right - x;
}

void Tavlo::BarCodeCaption(const std::string& text, float atX, float baseline, float fontSize, bool centred)
{
    TavloState& s = *s_;
    SetFont("CourierNew", fontSize, 0, 0);
    if (text.find_first_not_of(' ') == std::string::npos)
        return;
    const double width = static_cast<double>(TextLength(text)) * s.Scale;  // points
    const double left = atX * s.Scale - (centred ? width / 2 : 0);

    // Every line is made before any is written: a failure leaves no text object open.
    const std::string font =
        "/" + s.doc.FontResource + " " + PdfNumber(s.doc.FontSize) + " Tf " + PdfNumber(s.doc.FontSize) + " TL";
    const std::string matrix = "1 0 0 -1 " + PdfNumber(left) + " " + PdfScaledNumber(baseline) + " Tm";
    const std::string fill = s.FillColor + ";" + s.doc.FillColorAlt;
    SetColorFill(s.TextColor + ";" + s.doc.TextColorAlt);
    PutContent("BT\r" + font + "\r" + matrix + "\r(" + EscapeString(text) + ") Tj\rET");
    SetColorFill(fill);
}

} // namespace tavlo
