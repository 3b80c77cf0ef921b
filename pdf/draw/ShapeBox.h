#pragma once
// The box a shape records for LastBox, checked before the shape writes anything: a side
// beyond single precision is the overflow error, not an infinite box left behind; one a
// reader would not take (a link placed on the box writes it) is the overflow error too.

#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloError.h"

#include <cmath>
#include <initializer_list>
#include <limits>

namespace tavlo {

inline void RequireSingleRange(std::initializer_list<double> values)
{
    for (const double v : values)
        if (!(std::fabs(v) <= static_cast<double>(std::numeric_limits<float>::max())))
            throw TavloError(ErrorCode::Overflow);
}

inline void RequirePdfRange(std::initializer_list<double> values)
{
    for (const double v : values)
        RequirePdfNumber(v);
}

} // namespace tavlo
