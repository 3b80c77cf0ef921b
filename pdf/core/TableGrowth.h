#pragma once
// How the writer's record tables grow: created with upper bound MemoryUsage × 10, then
// enlarged past the index needed, by more the higher the memory-usage level.

#include <cstdint>

namespace tavlo {

std::int32_t InitialUpperBound(int memoryUsage);
std::int32_t GrownUpperBound(std::int32_t neededIndex, int memoryUsage);

} // namespace tavlo
