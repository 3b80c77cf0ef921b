#pragma once
#include <cstdint>

namespace tavlo::deflate {

// The best earlier occurrence found for a position.
struct Match {
    std::int32_t length = 2;  // below 3: no match
    std::int32_t position = 0;
};

} // namespace tavlo::deflate
