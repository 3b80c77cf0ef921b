#pragma once
// The number of the writer's own error a call raises, or 0 when it raises none.

#include "pdf/core/TavloError.h"

#include <cstdint>

namespace tavlo::test {

template <typename Call>
std::int32_t ErrorRaised(Call&& call)
{
    try {
        call();
    } catch (const TavloError& error) {
        return error.Number();
    }
    return 0;
}

} // namespace tavlo::test
