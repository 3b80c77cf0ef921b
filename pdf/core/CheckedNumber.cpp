#include "pdf/core/CheckedNumber.h"

#include "pdf/core/TavloError.h"

#include <cmath>

namespace tavlo {

double CheckedNumber(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > 2147483647.0)
        throw TavloError(ErrorCode::Overflow);
    return value;
}

} // namespace tavlo
