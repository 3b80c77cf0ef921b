#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"

namespace tavlo {

void Tavlo::OnDocEvent(std::int32_t event, const std::string& script, bool replace)
{
    // Event number to its place among the document scripts (open, will close, will save,
    // did save, will print, did print, page open, page close, document level).
    static constexpr int kSlot[] = {6, 7, 0, 1, 4, 2, 5, 3, 8};
    if (event < 0 || event > 8)
        return;
    if (event >= 3 && event <= 7)
        RequireVersion(1);
    std::string& text = s_->DocScripts[static_cast<std::size_t>(kSlot[event])];
    if (replace)
        text = script;
    else
        text += script;
}

} // namespace tavlo
