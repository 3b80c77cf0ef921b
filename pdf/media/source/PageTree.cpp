#include "pdf/media/source/PageTree.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <map>
#include <memory>
#include <set>
#include <string>

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

std::string Named(ObjectId id)
{
    return std::to_string(id.number) + " " + std::to_string(id.generation) + " R";
}

enum class TreeRole { Page, Node, Other };

TreeRole RoleOf(const SourceDocument& document, const PdfValue& value)
{
    if (!value.Is(ValueKind::Dictionary))
        return TreeRole::Other;
    const PdfValue* type = value.Get("Type");
    if (type && type->Is(ValueKind::Name))
        return type->IsName("Pages") ? TreeRole::Node : type->IsName("Page") ? TreeRole::Page : TreeRole::Other;
    const PdfValue* kids = value.Get("Kids");
    return kids && document.Resolve(*kids).Is(ValueKind::Array) ? TreeRole::Node : TreeRole::Page;
}

std::size_t ValueCount(const PdfValue& value)
{
    std::size_t count = 1;
    for (const PdfValue& item : value.items)
        count += ValueCount(item);
    return count;
}

class TreeWalk {
public:
    explicit TreeWalk(const SourceDocument& document) : document_(document) {}

    std::vector<PageLocation> Run(ObjectId root)
    {
        VisitObject(root);
        while (!stack_.empty()) {
            Frame& frame = stack_.back();
            if (frame.next == frame.kids->items.size()) {
                if (frame.own)
                    onPath_.erase(frame.holder);
                stack_.pop_back();
                continue;
            }
            const std::size_t at = frame.next++;
            const PdfValue& kid = frame.kids->items[at];
            if (kid.Is(ValueKind::Reference)) {
                VisitObject(kid.Reference());
            } else {
                std::vector<std::uint32_t> path = frame.path;
                path.push_back(static_cast<std::uint32_t>(at));
                VisitWrittenOut(kid, frame.holder, std::move(path));
            }
        }
        // Pages found around a circle are read, as viewers read them; a circle with none is no tree.
        if (pages_.empty() && circle_)
            Damaged("albero delle pagine chiuso in un cerchio");
        return std::move(pages_);
    }

private:
    struct Frame {
        std::shared_ptr<const PdfValue> kids;  // the node's /Kids array
        std::size_t next = 0;
        ObjectId holder;                       // the node, or the object it is written out in
        std::vector<std::uint32_t> path;       // from the holder down to the node
        bool own = false;                      // the node is an object of its own
    };

    // A node read before, or a page (no kids).
    struct Known {
        TreeRole role = TreeRole::Page;
        std::shared_ptr<const PdfValue> kids;
    };

    void Charge(std::size_t entries)
    {
        used_ += entries;
        if (used_ > kMaxPageTreeEntries)
            Damaged("albero delle pagine troppo grande");
    }

    std::shared_ptr<const PdfValue> KidsOf(const PdfValue& node, const std::string& what)
    {
        const PdfValue* kids = node.Get("Kids");
        auto resolved = std::make_shared<const PdfValue>(kids ? document_.Resolve(*kids) : PdfValue());
        if (kids && !resolved->Is(ValueKind::Array))
            Damaged(what + " dell'albero delle pagine con /Kids non valido");
        Charge(ValueCount(*resolved));
        return resolved;
    }

    void VisitObject(ObjectId id)
    {
        Charge(1);
        if (onPath_.count(id)) {
            circle_ = true;
            return;
        }
        auto known = known_.find(id);
        if (known == known_.end()) {
            const auto object = document_.Load(id);
            if (!object)
                Damaged("oggetto " + Named(id) + " dell'albero delle pagine mancante o illeggibile");
            Known entry;
            entry.role = RoleOf(document_, object->value);
            if (entry.role == TreeRole::Other)
                Damaged("oggetto " + Named(id) + " dell'albero delle pagine che non è una pagina né un nodo");
            if (entry.role == TreeRole::Node)
                entry.kids = KidsOf(object->value, "nodo " + Named(id));
            known = known_.emplace(id, std::move(entry)).first;
        }
        if (known->second.role == TreeRole::Page) {
            pages_.push_back(PageLocation{id, {}});
        } else if (!known->second.kids->items.empty()) {
            onPath_.insert(id);
            stack_.push_back(Frame{known->second.kids, 0, id, {}, true});
        }
    }

    void VisitWrittenOut(const PdfValue& kid, ObjectId holder, std::vector<std::uint32_t> path)
    {
        Charge(1);
        switch (RoleOf(document_, kid)) {
        case TreeRole::Page: pages_.push_back(PageLocation{holder, std::move(path)}); break;
        case TreeRole::Node: {
            auto kids = KidsOf(kid, "nodo scritto in /Kids di " + Named(holder));
            if (!kids->items.empty())
                stack_.push_back(Frame{std::move(kids), 0, holder, std::move(path), false});
            break;
        }
        case TreeRole::Other: Damaged("elemento di /Kids di " + Named(holder) + " che non è una pagina né un nodo");
        }
    }

    const SourceDocument& document_;
    std::vector<PageLocation> pages_;
    std::vector<Frame> stack_;
    std::set<ObjectId> onPath_;  // the nodes from the root down to the kid being examined
    std::map<ObjectId, Known> known_;
    std::size_t used_ = 0;
    bool circle_ = false;
};

} // namespace

std::vector<PageLocation> WalkPageTree(const SourceDocument& document)
{
    const auto catalog = document.Load(document.Root());
    const PdfValue* root = catalog ? catalog->value.Get("Pages") : nullptr;
    if (!root || !root->Is(ValueKind::Reference))
        Damaged("catalogo senza albero delle pagine");
    return TreeWalk(document).Run(root->Reference());
}

PageInTree LoadPage(const SourceDocument& document, const PageLocation& location)
{
    const auto object = document.Load(location.object);
    if (!object || !object->value.Is(ValueKind::Dictionary))
        Damaged("oggetto della pagina mancante");
    PageInTree found;
    found.page = object->value;
    for (const std::uint32_t at : location.kids) {
        const PdfValue* kids = found.page.Get("Kids");
        PdfValue list = kids ? document.Resolve(*kids) : PdfValue();
        if (!list.Is(ValueKind::Array) || at >= list.items.size() || !list.items[at].Is(ValueKind::Dictionary))
            Damaged("pagina scritta in /Kids mancante");
        PdfValue inner = std::move(list.items[at]);
        found.enclosing.insert(found.enclosing.begin(), std::move(found.page));
        found.page = std::move(inner);
    }
    return found;
}

PdfValue InheritedValue(const SourceDocument& document, const PageInTree& page, std::string_view key)
{
    if (const PdfValue* value = page.page.Get(key))
        return document.Resolve(*value);
    for (const PdfValue& node : page.enclosing)
        if (const PdfValue* value = node.Get(key))
            return document.Resolve(*value);
    const PdfValue* parent = (page.enclosing.empty() ? page.page : page.enclosing.back()).Get("Parent");
    std::set<ObjectId> seen;
    PdfValue node;
    for (;;) {
        if (!parent || !parent->Is(ValueKind::Reference) || !seen.insert(parent->Reference()).second)
            return PdfValue();
        auto object = document.Load(parent->Reference());
        if (!object)
            return PdfValue();
        node = std::move(object->value);
        if (const PdfValue* value = node.Get(key))
            return document.Resolve(*value);
        parent = node.Get("Parent");
    }
}

PageGeometry ReadPageGeometry(const SourceDocument& document, const PageInTree& page)
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
