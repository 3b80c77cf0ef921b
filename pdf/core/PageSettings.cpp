#include "pdf/Tavlo.h"

#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"

#include <array>
#include <cmath>

namespace tavlo {

namespace {

struct PaperSize {
    float width, height;
};

// Portrait sizes in points for the even codes -8 to 16; the odd code after each is landscape.
constexpr std::array<PaperSize, 13> kPapers = {{
    {2384, 3371}, {1685, 2384}, {1192, 1685}, {842, 1192}, {596, 842}, {421, 596}, {298, 421},
    {210, 298}, {612, 792}, {792, 1224}, {612, 1008}, {396, 612}, {522, 756},
}};

const char* TransitionStyle(std::int32_t style)
{
    static const char* const kStyles[] = {
        "/S /Split /Dm /H /M /I >> ", "/S /Split /Dm /V /M /I >> ", "/S /Split /Dm /H /M /O >> ",
        "/S /Split /Dm /V /M /O >> ", "/S /Wipe /Di 180 >> ",        "/S /Wipe /Di 0 >> ",
        "/S /Wipe /Di 270 >> ",       "/S /Wipe /Di 90 >> ",         "/S /Box /M /I >> ",
        "/S /Box /M /O >> ",          "/S /Blinds /Dm /H >> ",       "/S /Blinds /Dm /V >> ",
        "/S /Dissolve >> ",           "/S /Glitter /Di 0 >> ",       "/S /Glitter /Di 270 >> ",
        "/S /Glitter /Di 315 >> ",    "/S /R >> ",
    };
    return style >= 1 && style <= 17 ? kStyles[style - 1] : nullptr;
}

constexpr double kLargestPageSide = 14400;

bool UsablePageSide(float points)
{
    return points >= 3 && points <= kLargestPageSide;
}

} // namespace

void Tavlo::SetPaperSize(std::int32_t code, float width, float height)
try {
    TavloState& s = *s_;
    if (code == 255) {
        const float pageWidth = static_cast<float>(width * s.Scale);
        const float pageHeight = static_cast<float>(height * s.Scale);
        // Readers draw pages from 3 to 14400 points a side; outside that (an empty or huge
        // page) they refuse the page or run out of memory drawing it.
        if (!UsablePageSide(pageWidth) || !UsablePageSide(pageHeight))
            throw TavloError(ErrorCode::InvalidArgument);
        s.PageWidth = pageWidth;
        s.PageHeight = pageHeight;
        return;
    }
    if (code < -8 || code > 17)
        return;
    const PaperSize& paper = kPapers[static_cast<std::size_t>((code + 8) / 2)];
    const bool landscape = (code + 8) % 2 == 1;
    s.PageWidth = landscape ? paper.height : paper.width;
    s.PageHeight = landscape ? paper.width : paper.height;
} catch (...) {
    RaiseRecorded("SetPaperSize");
}

void Tavlo::SetScale(std::int32_t unit, float factor)
try {
    TavloState& s = *s_;
    switch (unit) {
    case 0: s.Scale = 1.0; break;
    case 1: s.Scale = 72.0; break;
    case 2: s.Scale = static_cast<float>(72.0 / 25.4); break;
    case 3: s.Scale = static_cast<float>(72.0 / 2.54); break;
    case 255:
        // Every later value is multiplied or divided by it.
        if (!(factor > 0) || !std::isfinite(factor))
            throw TavloError(ErrorCode::InvalidArgument);
        s.Scale = factor;
        break;
    default: break;
    }
} catch (...) {
    RaiseRecorded("SetScale");
}

void Tavlo::SetMargins(float left, float right, float top, float bottom, bool clip)
try {
    TavloState& s = *s_;
    // Margins are written in every page's frame, alone and subtracted from the page's sides
    // (14400 points at most): one no reader takes raises now, not when a page is half written.
    for (const float margin : {left, right, top, bottom})
        PdfNumber(static_cast<double>(margin) * s.Scale);
    RequirePdfNumber(kLargestPageSide + (std::fabs(left) + std::fabs(right)) * s.Scale);
    RequirePdfNumber(kLargestPageSide + (std::fabs(top) + std::fabs(bottom)) * s.Scale);
    s.MarginLeft = left * s.Scale;
    s.MarginRight = right * s.Scale;
    s.MarginTop = top * s.Scale;
    s.MarginBottom = bottom * s.Scale;
    s.ClipToMargins = clip;
} catch (...) {
    RaiseRecorded("SetMargins");
}

void Tavlo::SetPageView(std::int32_t rotation)
{
    (s_->InPage ? s_->PageRotation : s_->DefaultRotation) = rotation;
}

void Tavlo::SetPageTransition(std::int32_t style, float duration, float transitionDuration)
try {
    TavloState& s = *s_;
    // A style outside the table gives no transition: half a dictionary would break the page.
    const char* text = TransitionStyle(style);
    PdfNumber(duration);  // a duration no reader takes raises now, not when the page is written
    const std::string transition =
        text ? "<< /Type /Trans /D " + PdfNumber(transitionDuration) + " " + text : std::string();
    if (s.InPage) {
        s.PageTransition = transition;
        s.PageDuration = duration;
    } else {
        s.DefaultTransition = transition;
        s.DefaultDuration = duration;
    }
} catch (...) {
    RaiseRecorded("SetPageTransition");
}

void Tavlo::SetLabel(std::int32_t style, const std::string& prefix, std::int16_t first)
{
    TavloState& s = *s_;
    if (style < 1 || style > 5)
        return;
    const std::int32_t index = s.InPage ? s.PageCount - 1 : s.PageCount;
    // One range per page index, the latest winning; the catalog writes them in page order.
    s.doc.PageLabels[index] = PageLabelEntry{style, prefix, first};
}

void Tavlo::SetXY(float x, float y)
{
    s_->CurrentX = x * s_->Scale;
    s_->CurrentY = y * s_->Scale;
}

float Tavlo::GetX() const
{
    return static_cast<float>(s_->CurrentX / s_->Scale);
}

float Tavlo::GetY() const
{
    return static_cast<float>(s_->CurrentY / s_->Scale);
}

std::int32_t Tavlo::GetPage() const
{
    return s_->PageCount;
}

float Tavlo::GetPageWidth(bool withinMargins) const
{
    const TavloState& s = *s_;
    return static_cast<float>((s.PageWidth - (withinMargins ? s.MarginLeft + s.MarginRight : 0)) / s.Scale);
}

float Tavlo::GetPageHeight(bool withinMargins) const
{
    const TavloState& s = *s_;
    return static_cast<float>((s.PageHeight - (withinMargins ? s.MarginTop + s.MarginBottom : 0)) / s.Scale);
}

double Tavlo::PageSpaceX(double x) const
{
    return s_->MarginLeft + x * s_->Scale;
}

double Tavlo::PageSpaceY(double y) const
{
    return s_->PageHeight - s_->MarginTop - y * s_->Scale;
}

void Tavlo::SetLastBox(double left, double top, double right, double bottom)
{
    s_->doc.LastBox = {left, top, right, bottom};
}

} // namespace tavlo
