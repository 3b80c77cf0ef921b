#include "pdf/media/source/PageTree.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <set>

namespace tavlo::source {

namespace {

// A box is four numbers, each of them possibly a reference, in any corner order.
std::optional<std::array<double, 4>> ReadBox(const SourceDocument& document, const PdfValue& value)
{
    if (!value.Is(ValueKind::Array) || value.items.size() != 4)
        return std::nullopt;
    std::array<double, 4> v{};
    for (std::size_t i = 0; i < 4; ++i) {
        const PdfValue item = document.Resolve(value.items[i]);
        if (!item.IsNumber() || !std::isfinite(item.Number()) || std::fabs(item.Number()) > 1e7)
            return std::nullopt;
        v[i] = item.Number();
    }
    return std::array<double, 4>{std::min(v[0], v[2]), std::min(v[1], v[3]), std::max(v[0], v[2]),
                                 std::max(v[1], v[3])};
}

bool IsEmpty(const std::array<double, 4>& box)
{
    return !(box[2] > box[0] && box[3] > box[1]);
}

} // namespace

std::vector<ObjectId> WalkPageTree(const SourceDocument& document)
{
    std::vector<ObjectId> pages;
    std::set<ObjectId> seen;
    const auto catalog = document.Load(document.Root());
    const PdfValue* root = catalog ? catalog->value.Get("Pages") : nullptr;
    if (!root || !root->Is(ValueKind::Reference))
        Damaged("catalogo senza albero delle pagine");
    std::vector<ObjectId> stack{root->Reference()};
    bool circle = false;  // a kid already met: a node among its own descendants
    while (!stack.empty()) {
        const ObjectId id = stack.back();
        stack.pop_back();
        if (!seen.insert(id).second)
            continue;
        const auto object = document.Load(id);
        if (!object || !object->value.Is(ValueKind::Dictionary))
            continue;
        const PdfValue& node = object->value;
        const PdfValue* type = node.Get("Type");
        const PdfValue kids = node.Get("Kids") ? document.Resolve(*node.Get("Kids")) : PdfValue();
        const bool typed = type && type->Is(ValueKind::Name);
        if (typed ? type->IsName("Pages") : kids.Is(ValueKind::Array)) {
            // Pushed last first, so the first kid comes off the stack next.
            for (auto kid = kids.items.rbegin(); kid != kids.items.rend(); ++kid) {
                if (!kid->Is(ValueKind::Reference))
                    continue;
                if (seen.count(kid->Reference()))
                    circle = true;
                else
                    stack.push_back(kid->Reference());
            }
        } else if (typed ? type->IsName("Page") : true) {
            pages.push_back(id);
        }
    }
    // Pages found around a circle are read, as viewers read them; a circle with none is no tree.
    if (pages.empty() && circle)
        Damaged("albero delle pagine chiuso in un cerchio");
    return pages;
}

PdfValue InheritedValue(const SourceDocument& document, const PdfValue& page, std::string_view key)
{
    std::set<ObjectId> seen;
    PdfValue node = page;
    for (;;) {
        if (const PdfValue* value = node.Get(key))
            return document.Resolve(*value);
        const PdfValue* parent = node.Get("Parent");
        if (!parent || !parent->Is(ValueKind::Reference) || !seen.insert(parent->Reference()).second)
            return PdfValue();
        const auto object = document.Load(parent->Reference());
        if (!object)
            return PdfValue();
        node = object->value;
    }
}

PageGeometry ReadPageGeometry(const SourceDocument& document, const PdfValue& page)
{
    const auto media = ReadBox(document, InheritedValue(document, page, "MediaBox"));
    if (!media || IsEmpty(*media))
        Damaged("pagina senza MediaBox o con MediaBox vuoto");
    std::array<double, 4> box = *media;
    // The crop box shows what of the media box lies inside it; one that misses the media
    // box altogether is ignored, as viewers do.
    if (const auto crop = ReadBox(document, InheritedValue(document, page, "CropBox"))) {
        const std::array<double, 4> inside{std::max(box[0], (*crop)[0]), std::max(box[1], (*crop)[1]),
                                           std::min(box[2], (*crop)[2]), std::min(box[3], (*crop)[3])};
        if (!IsEmpty(inside))
            box = inside;
    }
    PageGeometry geometry{box[0], box[1], box[2], box[3], 0};
    const PdfValue rotate = InheritedValue(document, page, "Rotate");
    if (rotate.Is(ValueKind::Integer) && rotate.integer % 90 == 0)
        geometry.rotate = static_cast<int>(((rotate.integer % 360) + 360) % 360);
    return geometry;
}

} // namespace tavlo::source
