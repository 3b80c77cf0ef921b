#pragma once
// The current colours and the drawing-state stack's depth. The line width outlives a reset
// (LastingState).

#include <cstdint>
#include <string>

namespace tavlo {

struct DrawingState {
    std::string FillColor = "#FFFFFF", LineColor = "#000000", TextColor = "#000000";
    std::int32_t StateDepth = 0;  // saved drawing states
};

} // namespace tavlo
