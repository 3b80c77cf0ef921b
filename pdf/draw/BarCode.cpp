#include "pdf/Tavlo.h"

#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"
#include "pdf/draw/BarCodeFrame.h"

#include <optional>
#include <string>

namespace tavlo {

namespace {

// The settings the caption changes, put back when the barcode is done, also when an
// encoder raises an error, so a failed barcode leaves no Courier New behind.
class CaptionStateGuard {
public:
    explicit CaptionStateGuard(TavloState& s)
        : s_(s), fontName_(s.doc.FontName), fontResource_(s.doc.FontResource), fontStyle_(s.doc.FontStyle),
          fontSize_(s.doc.FontSize), currentFont_(s.CurrentFont), fillColor_(s.FillColor),
          fillColorAlt_(s.doc.FillColorAlt), currentX_(s.CurrentX), currentY_(s.CurrentY)
    {
    }
    ~CaptionStateGuard()
    {
        s_.doc.FontName = fontName_;
        s_.doc.FontResource = fontResource_;
        s_.doc.FontStyle = fontStyle_;
        s_.doc.FontSize = fontSize_;
        s_.CurrentFont = currentFont_;
        s_.FillColor = fillColor_;
        s_.doc.FillColorAlt = fillColorAlt_;
        s_.CurrentX = currentX_;
        s_.CurrentY = currentY_;
    }
    CaptionStateGuard(const CaptionStateGuard&) = delete;
    CaptionStateGuard& operator=(const CaptionStateGuard&) = delete;

private:
    TavloState& s_;
    std::string fontName_, fontResource_;
    std::int32_t fontStyle_;
    float fontSize_;
    std::int32_t currentFont_;
    std::string fillColor_, fillColorAlt_;
    double currentX_, currentY_;
};

} // namespace

float Tavlo::DrawBarCode(std::int32_t barCodeType, const std::string& code, float x, float y, bool showCode,
                         float zoomFactor, float height, bool addCheck)
{
    (void)addCheck;  // only the symbologies with an optional check character read it
    std::optional<CaptionStateGuard> guard;
    if (showCode)
        guard.emplace(*s_);
    float width = 0;
    switch (barCodeType) {
    case 0:
        width = EncodeEan13(code, x, y, showCode, zoomFactor, height);
        break;
    case 5:
        width = EncodeEan8(code, x, y, showCode, zoomFactor, height);
        break;
    case 4:
        width = EncodeCode128(code, x, y, showCode, zoomFactor, height);
        break;
    default:
        break;
    }
    return width;
}

void Tavlo::BarCodeCaption(const std::string& text, float atX, float baseline, float fontSize, bool centred)
{
    TavloState& s = *s_;
    SetFont("CourierNew", fontSize, 0, 0);
    if (text.find_first_not_of(' ') == std::string::npos)
        return;
    const double width = static_cast<double>(TextLength(text)) * s.Scale;  // points
    const double left = atX * s.Scale - (centred ? width / 2 : 0);

    const std::string fill = s.FillColor + ";" + s.doc.FillColorAlt;
    SetColorFill(s.TextColor + ";" + s.doc.TextColorAlt);
    PutContent("BT");
    PutContent("/" + s.doc.FontResource + " " + PdfNumber(s.doc.FontSize) + " Tf " + PdfNumber(s.doc.FontSize) +
               " TL");
    PutContent("1 0 0 -1 " + PdfNumber(left) + " " + PdfScaledNumber(baseline) + " Tm");
    PutContent("(" + EscapeString(text) + ") Tj");
    PutContent("ET");
    SetColorFill(fill);
}

} // namespace tavlo
