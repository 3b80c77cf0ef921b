#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"
#include "pdf/media/Inflate.h"

namespace tavlo {

std::string Tavlo::InflateData(const Bytes& data)
{
    s_->InflateOutput.Reset();
    const Bytes decoded = inflate::InflateData(data);
    s_->InflateOutput.Append(std::string_view(reinterpret_cast<const char*>(decoded.data()), decoded.size()));
    return s_->InflateOutput.Text();
}

} // namespace tavlo
