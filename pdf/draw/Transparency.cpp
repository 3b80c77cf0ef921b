#include "pdf/Tavlo.h"

#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"

namespace tavlo {

void Tavlo::SetAlpha(std::int16_t value)
{
    TavloState& s = *s_;
    const std::string a = value < 0 ? "0" : value > 100 ? "1" : PdfNumber(static_cast<float>(value / 100.0));
    const std::int32_t n = NewObj();
    s.doc.AlphaCount += 1;
    PutLine("<</Type /ExtGState /ca " + a + " /CA " + a + " /BM /Normal >>");
    EndObj();
    const std::string name = "/GSTATE_" + std::to_string(s.doc.AlphaCount);
    s.ExtGStates += name + " " + std::to_string(n) + " 0 R ";
    PutContent(name + " gs");
    RequireVersion(1);
}

} // namespace tavlo
