#include "pdf/Tavlo.h"

#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"

#include <cstdint>
#include <limits>
#include <string>

namespace tavlo {

// The spacings are points and the scaling a percentage, so they are written unscaled.
// Each operator line is formed before the field changes: a value no reader takes raises
// the overflow error and leaves both the content and the state as they were.

void Tavlo::SetCharSpacing(float w)
try {
    const std::string line = PdfNumber(w) + " Tc";
    s_->CharSpacing = w;
    PutContent(line);
} catch (...) {
    RaiseRecorded("SetCharSpacing");
}

void Tavlo::SetWordSpacing(float w)
try {
    const std::string line = PdfNumber(w) + " Tw";
    s_->WordSpacing = w;
    PutContent(line);
} catch (...) {
    RaiseRecorded("SetWordSpacing");
}

void Tavlo::SetTextHorizontalScaling(float percent)
try {
    const std::string line = PdfNumber(percent) + " Tz";
    s_->HorizontalScaling = percent;
    PutContent(line);
} catch (...) {
    RaiseRecorded("SetTextHorizontalScaling");
}

void Tavlo::SetTextLineSpacing(float value)
{
    if (value >= 0)
        s_->LineSpacing = value;
}

void Tavlo::SetTextMode(std::int32_t mode)
{
    if (mode < std::numeric_limits<std::int16_t>::min() || mode > std::numeric_limits<std::int16_t>::max())
        throw TavloError(ErrorCode::Overflow);
    // Readers define the modes 0 to 7 only; any other one would make the content stream
    // unreadable to them, so it is left out and the current mode stays.
    if (mode < 0 || mode > 7)
        return;
    PutContent(std::to_string(mode) + " Tr");
}

} // namespace tavlo
