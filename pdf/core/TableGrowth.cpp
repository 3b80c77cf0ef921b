#include "pdf/core/TableGrowth.h"

#include "pdf/core/TavloError.h"

#include <cmath>

namespace tavlo {

std::int32_t InitialUpperBound(int memoryUsage)
{
    return memoryUsage * 10;
}

std::int32_t GrownUpperBound(std::int32_t neededIndex, int memoryUsage)
{
    const std::int64_t n = neededIndex;
    if (memoryUsage == 1)
        return CheckedInt32(n + 10);
    // Rounded to the nearest integer, ties to even.
    const double extra = std::nearbyint(static_cast<double>(memoryUsage) * static_cast<double>(n) / 5.0);
    return CheckedInt32(n + 10 + static_cast<std::int64_t>(extra));
}

} // namespace tavlo
