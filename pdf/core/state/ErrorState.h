#pragma once
// The number of the last error recorded (CaptureError). Its source and description outlive
// a reset (LastingState): only a new instance begins with them empty.

#include <cstdint>

namespace tavlo {

struct ErrorState {
    std::int32_t LastErrNumber = 0;
};

} // namespace tavlo
