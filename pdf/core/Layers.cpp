#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"

#include <algorithm>
#include <cctype>

namespace tavlo {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::toupper(x) == std::toupper(y);
           });
}

} // namespace

void Tavlo::BeginLayer(const std::string& name, std::int16_t visible, std::int16_t listed)
{
    TavloState& s = *s_;
    auto& layers = s.doc.Layers;
    auto found = std::find_if(layers.begin(), layers.end(),
                              [&](const LayerEntry& layer) { return SameIgnoringCase(layer.name, name); });
    std::size_t index;
    if (found == layers.end()) {
        layers.push_back(LayerEntry{name, visible != 0, listed != 0});
        s.LayerCount = static_cast<std::int32_t>(layers.size());
        index = layers.size();
    } else {
        index = static_cast<std::size_t>(found - layers.begin()) + 1;
    }
    PutContent("/OC /_LAY_" + std::to_string(index) + " BDC");
}

void Tavlo::EndLayer()
{
    if (s_->LayerCount > 0)
        PutContent("EMC");
}

} // namespace tavlo
