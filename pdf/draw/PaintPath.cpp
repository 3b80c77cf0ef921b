#include "pdf/Tavlo.h"

namespace tavlo {

void Tavlo::PaintPath(std::int32_t options)
{
    std::string op;
    if (options & 4) {
        op = (options & 1) ? "f*" : (options & 2) ? "b*" : "B*";
    } else {
        if (options & 2)
            op = "h";
        if (!(options & 1))
            op += op.empty() ? "S" : " S";
    }
    if (options & 128)
        op = "W " + op;
    // Also an empty line: bit 1 alone leaves the path open for the next segment.
    PutContent(op);
}

} // namespace tavlo
