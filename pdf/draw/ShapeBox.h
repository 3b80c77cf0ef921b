#pragma once
// The box a shape records for LastBox, checked before the shape writes anything: a side
// beyond single precision is the overflow error, not an infinite box left behind.

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

} // namespace tavlo
