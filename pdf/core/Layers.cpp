#include "pdf/Tavlo.h"

#include "pdf/core/AsciiCase.h"
#include "pdf/core/LayerSections.h"
#include "pdf/core/TavloState.h"

#include <algorithm>
#include <cctype>

namespace tavlo {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

// The open-section count of the stream that content goes to now; none when no stream is open.
std::int32_t* OpenSections(TavloState& s)
{
    if (s.InObject)
        return &s.doc.ObjectLayers;
    if (s.InTiling)
        return &s.doc.TilingLayers;
    return s.InPage ? &s.doc.PageLayers : nullptr;
}

} // namespace

void CloseLayerSections(StringBuffer& content, std::int32_t& open)
{
    for (; open > 0; --open)
        content.Append("\rEMC");
}

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
    if (std::int32_t* open = OpenSections(s))
        ++*open;
}

void Tavlo::EndLayer()
{
    // An EMC with no section open is an error readers report.
    std::int32_t* open = OpenSections(*s_);
    if (open && *open > 0) {
        PutContent("EMC");
        --*open;
    }
}

} // namespace tavlo
