#include "pdf/media/source/PageCopy.h"

#include "pdf/core/TavloError.h"
#include "pdf/media/Inflate.h"
#include "pdf/media/source/ValueWriter.h"

#include <deque>
#include <limits>
#include <map>

namespace tavlo::source {

namespace {

class Copier {
public:
    Copier(const SourceDocument& document, const CopyNumbering& numbering)
        : document_(document), numbering_(numbering), next_(numbering.formNumber + 1)
    {
        writer_.reference = [this](ObjectId id) { return std::to_string(NumberFor(id)) + " 0 R"; };
        writer_.string = [this](std::string_view bytes) { return numbering_.string(current_, bytes); };
    }

    // A value written inside the object numbered `owner`.
    std::string Write(const PdfValue& value, std::int32_t owner)
    {
        current_ = owner;
        return writer_.Write(value);
    }

    // Every object referred to so far, and those they refer to in turn.
    void CopyPending(PageCopy& copy)
    {
        while (!pending_.empty()) {
            const auto [id, number] = pending_.front();
            pending_.pop_front();
            CopiedObject object;
            object.number = number;
            current_ = number;
            const auto source = document_.Load(id);
            const PdfValue* type = source ? source->value.Get("Type") : nullptr;
            if (!source || (type && (type->IsName("Page") || type->IsName("Pages")))) {
                object.value = "null";
            } else if (source->hasStream) {
                object.hasStream = true;
                object.stream = source->stream;
                object.value = writer_.WriteDictionary(source->value, "Length",
                                                       "/Length " + std::to_string(source->stream.size()));
            } else {
                object.value = writer_.Write(source->value);
            }
            copy.objects.push_back(std::move(object));
            copy.copied.emplace_back(id, number);
        }
    }

private:
    std::int32_t NumberFor(ObjectId id)
    {
        if (const std::int32_t earlier = numbering_.earlier(id))
            return earlier;
        const auto [entry, added] = assigned_.try_emplace(id, next_);
        if (added) {
            if (next_ == std::numeric_limits<std::int32_t>::max())
                Damaged("troppi oggetti da copiare");
            ++next_;
            pending_.emplace_back(id, entry->second);
        }
        return entry->second;
    }

    const SourceDocument& document_;
    const CopyNumbering& numbering_;
    ValueWriter writer_;
    std::int32_t next_;
    std::int32_t current_ = 0;
    std::map<ObjectId, std::int32_t> assigned_;
    std::deque<std::pair<ObjectId, std::int32_t>> pending_;
};

bool IsFlate(const PdfValue& filter)
{
    if (filter.Is(ValueKind::Array))
        return filter.items.size() == 1 && filter.items[0].IsName("FlateDecode");
    return filter.IsName("FlateDecode");
}

// One piece of a page's content as plain operators, within what is left of the budget.
std::string DecodedPiece(const SourceDocument& document, const IndirectObject& piece, std::size_t budget)
{
    const PdfValue filter = piece.value.Get("Filter") ? document.Resolve(*piece.value.Get("Filter")) : PdfValue();
    if (filter.Is(ValueKind::Null) || (filter.Is(ValueKind::Array) && filter.items.empty())) {
        if (piece.stream.size() > budget)
            Damaged("contenuto della pagina troppo grande");
        return std::string(piece.stream);
    }
    const PdfValue parms = piece.value.Get("DecodeParms") ? document.Resolve(*piece.value.Get("DecodeParms")) : PdfValue();
    const PdfValue* predictor = parms.Get("Predictor");
    if (!IsFlate(filter) || (predictor && !(predictor->Is(ValueKind::Integer) && predictor->integer <= 1)))
        Damaged("contenuto in più parti con un filtro diverso da FlateDecode");
    // The zlib header: deflate data, no preset dictionary, a valid check.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(piece.stream.data());
    if (piece.stream.size() < 2 || (bytes[0] & 0x0F) != 8 || (bytes[1] & 0x20) != 0 ||
        (bytes[0] * 256 + bytes[1]) % 31 != 0)
        Damaged("dati FlateDecode senza intestazione zlib valida");
    try {
        const Bytes decoded = inflate::InflateData(bytes + 2, piece.stream.size() - 2, budget);
        return std::string(decoded.begin(), decoded.end());
    } catch (const TavloError& error) {
        Damaged(error.Number() == ErrorCode::Overflow ? "contenuto della pagina troppo grande"
                                                      : "contenuto FlateDecode danneggiato");
    }
}

void CopyContent(const SourceDocument& document, const PdfValue& page, Copier& copier, std::int32_t form,
                 PageCopy& copy)
{
    const PdfValue* contents = page.Get("Contents");
    if (!contents)
        return;
    std::vector<ObjectId> pieces;
    PdfValue list = *contents;
    if (list.Is(ValueKind::Reference)) {
        const auto object = document.Load(list.Reference());
        if (object && object->hasStream)
            pieces.push_back(list.Reference());
        else if (object)
            list = object->value;
    }
    if (list.Is(ValueKind::Array))
        for (const PdfValue& item : list.items)
            if (item.Is(ValueKind::Reference))
                pieces.push_back(item.Reference());

    std::vector<IndirectObject> streams;
    for (const ObjectId& id : pieces)
        if (auto object = document.Load(id); object && object->hasStream)
            streams.push_back(std::move(*object));
    if (streams.size() == 1) {
        // One stream is kept as stored, with what decodes it.
        const IndirectObject& only = streams.front();
        copy.content = std::string(only.stream);
        for (const char* key : {"Filter", "DecodeParms"})
            if (const PdfValue* value = only.value.Get(key))
                copy.filterEntries += std::string(copy.filterEntries.empty() ? "/" : " /") + key + " " +
                                      copier.Write(*value, form);
        return;
    }
    // Pieces may split the operators anywhere between tokens: a line feed keeps the last
    // token of one from running into the first of the next.
    for (const IndirectObject& piece : streams) {
        if (!copy.content.empty())
            copy.content += '\n';
        const std::size_t used = copy.content.size();
        if (used > inflate::kMaxInflateOutput)
            Damaged("contenuto della pagina troppo grande");
        copy.content += DecodedPiece(document, piece, inflate::kMaxInflateOutput - used);
    }
}

} // namespace

PageCopy CopyPage(const SourceDocument& document, const PageLocation& page, const CopyNumbering& numbering)
{
    const PageInTree found = LoadPage(document, page);
    PageCopy copy;
    copy.geometry = ReadPageGeometry(document, found);
    Copier copier(document, numbering);
    CopyContent(document, found.page, copier, numbering.formNumber, copy);
    const PdfValue resources = InheritedValue(document, found, "Resources");
    copy.resources = resources.Is(ValueKind::Dictionary) ? copier.Write(resources, numbering.formNumber) : "<< >>";
    copier.CopyPending(copy);
    return copy;
}

} // namespace tavlo::source
