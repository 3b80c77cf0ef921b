#include "pdf/media/source/SourceDocument.h"

#include <algorithm>
#include <limits>
#include <set>

namespace tavlo::source {

namespace {

// The shortest table entry a tolerant reading accepts: "0 0 n" and a line end.
constexpr std::size_t kMinXrefEntryBytes = 6;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsKeyword(const Token& token, std::string_view word)
{
    return token.kind == TokenKind::Keyword && token.text == word;
}

std::optional<std::size_t> OffsetIn(std::int64_t value, std::size_t size)
{
    if (value < 0 || static_cast<std::uint64_t>(value) >= size)
        return std::nullopt;
    return static_cast<std::size_t>(value);
}

} // namespace

SourceDocument::SourceDocument(std::string_view bytes) : data_(bytes)
{
    ReadHeader();
    ReadXrefChain(StartXref());
    if (root_.number == 0)
        Damaged("il trailer non indica il catalogo (/Root)");
}

void SourceDocument::ReadHeader()
{
    // Some producers put a few bytes before the header; readers look for it in the first
    // kilobyte.
    const std::size_t at = data_.substr(0, 1024).find("%PDF-");
    if (at == std::string_view::npos || at + 8 > data_.size())
        Damaged("intestazione %PDF mancante");
    const char major = data_[at + 5], minor = data_[at + 7];
    if (!IsDigit(major) || data_[at + 6] != '.' || !IsDigit(minor))
        Damaged("versione PDF non valida");
    const int version = major >= '2' ? 7 : std::min(minor - '0', 7);
    versionNeed_ = version - 3;
}

std::size_t SourceDocument::StartXref() const
{
    // The last one: an update appends its own, and bytes may follow %%EOF.
    const std::size_t at = data_.rfind("startxref");
    if (at == std::string_view::npos)
        Damaged("startxref non trovato");
    Lexer lexer(data_, at + 9);
    const Token offset = lexer.Next();
    const auto position = OffsetIn(offset.kind == TokenKind::Integer ? offset.integer : -1, data_.size());
    if (!position)
        Damaged("startxref non indica una posizione del file");
    return *position;
}

void SourceDocument::ReadXrefChain(std::size_t offset)
{
    std::set<std::size_t> visited;
    std::optional<std::size_t> next = offset;
    while (next && visited.insert(*next).second) {
        if (static_cast<int>(visited.size()) > kMaxXrefSections)
            Damaged("troppe sezioni di riferimenti incrociati");
        const PdfValue trailer = ReadXrefSection(*next);
        if (trailer.Get("Encrypt"))
            Damaged("file PDF cifrato, non leggibile");
        // A hybrid file lists in a stream the objects that only newer readers find.
        if (trailer.Get("XRefStm"))
            Damaged("riferimenti incrociati in un flusso (PDF 1.5), non supportati");
        const PdfValue* root = trailer.Get("Root");
        if (root_.number == 0 && root && root->Is(ValueKind::Reference))
            root_ = root->Reference();
        const PdfValue* info = trailer.Get("Info");
        if (info_.number == 0 && info && info->Is(ValueKind::Reference))
            info_ = info->Reference();
        const PdfValue* prev = trailer.Get("Prev");
        next = prev && prev->Is(ValueKind::Integer) ? OffsetIn(prev->integer, data_.size()) : std::nullopt;
    }
}

PdfValue SourceDocument::ReadXrefSection(std::size_t offset)
{
    Parser parser(data_, offset);
    Lexer& tokens = parser.Tokens();
    Token token = tokens.Next();
    if (!IsKeyword(token, "xref")) {
        // "n g obj" here is a cross-reference stream.
        const Token generation = tokens.Next();
        if (token.kind == TokenKind::Integer && generation.kind == TokenKind::Integer && IsKeyword(tokens.Next(), "obj"))
            Damaged("riferimenti incrociati in un flusso (PDF 1.5), non supportati");
        Damaged("tabella dei riferimenti incrociati non trovata");
    }
    for (token = tokens.Next(); !IsKeyword(token, "trailer"); token = tokens.Next()) {
        const Token count = tokens.Next();
        if (token.kind != TokenKind::Integer || count.kind != TokenKind::Integer || token.integer < 0 ||
            count.integer < 0 || token.integer + count.integer > std::numeric_limits<std::int32_t>::max())
            Damaged("sottosezione della tabella dei riferimenti incrociati non valida");
        if (static_cast<std::uint64_t>(count.integer) > (data_.size() - tokens.Position()) / kMinXrefEntryBytes)
            Damaged("tabella dei riferimenti incrociati più lunga del file");
        for (std::int64_t i = 0; i < count.integer; ++i) {
            const Token where = tokens.Next(), generation = tokens.Next(), type = tokens.Next();
            const bool inUse = IsKeyword(type, "n");
            if (where.kind != TokenKind::Integer || generation.kind != TokenKind::Integer ||
                (!inUse && !IsKeyword(type, "f")))
                Damaged("voce della tabella dei riferimenti incrociati non valida");
            // Sections are read newest first: the first entry of a number is the one in force.
            xref_.try_emplace(static_cast<std::int32_t>(token.integer + i),
                              XrefEntry{where.integer, static_cast<std::int32_t>(generation.integer), inUse});
        }
    }
    PdfValue trailer = parser.ParseValue();
    if (!trailer.Is(ValueKind::Dictionary))
        Damaged("trailer non valido");
    return trailer;
}

std::optional<std::size_t> SourceDocument::BodyAt(std::size_t offset, ObjectId id) const
{
    Lexer lexer(data_, offset);
    const Token number = lexer.Next(), generation = lexer.Next(), keyword = lexer.Next();
    if (number.kind == TokenKind::Integer && number.integer == id.number && generation.kind == TokenKind::Integer &&
        generation.integer == id.generation && IsKeyword(keyword, "obj"))
        return lexer.Position();
    return std::nullopt;
}

std::optional<std::size_t> SourceDocument::FindBody(ObjectId id) const
{
    const auto entry = xref_.find(id.number);
    if (entry == xref_.end() || !entry->second.inUse || entry->second.generation != id.generation)
        return std::nullopt;
    if (const auto offset = OffsetIn(entry->second.offset, data_.size()))
        if (const auto body = BodyAt(*offset, id))
            return body;
    if (!headers_) {
        // One pass over the file: each "obj" preceded by two numbers. A later header of the
        // same object (an update) wins.
        headers_.emplace();
        for (std::size_t at = data_.find("obj"); at != std::string_view::npos; at = data_.find("obj", at + 3)) {
            if (at + 3 < data_.size() && !IsWhiteSpace(data_[at + 3]) && !IsDelimiter(data_[at + 3]))
                continue;
            std::size_t begin = at;
            for (int field = 0; field < 2; ++field) {
                std::size_t end = begin;
                while (end > 0 && IsWhiteSpace(data_[end - 1]))
                    --end;
                begin = end;
                while (begin > 0 && end - begin < 10 && IsDigit(data_[begin - 1]))
                    --begin;
                if (begin == end)
                    break;
            }
            if (begin < at && IsDigit(data_[begin]) && (begin == 0 || IsWhiteSpace(data_[begin - 1]) || IsDelimiter(data_[begin - 1]))) {
                Lexer lexer(data_, begin);
                const Token n = lexer.Next(), g = lexer.Next();
                if (n.kind == TokenKind::Integer && g.kind == TokenKind::Integer &&
                    n.integer <= std::numeric_limits<std::int32_t>::max() &&
                    g.integer <= std::numeric_limits<std::int32_t>::max())
                    (*headers_)[{static_cast<std::int32_t>(n.integer), static_cast<std::int32_t>(g.integer)}] = begin;
            }
        }
    }
    const auto found = headers_->find(id);
    return found == headers_->end() ? std::nullopt : BodyAt(found->second, id);
}

std::optional<IndirectObject> SourceDocument::Load(ObjectId id) const
{
    const auto body = FindBody(id);
    if (!body)
        return std::nullopt;
    Parser parser(data_, *body);
    IndirectObject object;
    object.value = parser.ParseValue();
    // A missing "endobj" is let pass: the value is complete.
    const Token next = parser.Tokens().Next();
    if (IsKeyword(next, "stream")) {
        if (!object.value.Is(ValueKind::Dictionary))
            Damaged("flusso senza dizionario nell'oggetto " + std::to_string(id.number));
        object.hasStream = true;
        object.stream = StreamData(object.value, next.start + 6);
    }
    return object;
}

PdfValue SourceDocument::Resolve(const PdfValue& value) const
{
    PdfValue current = value;
    // An object whose value is a reference again: followed a few steps, not round a loop.
    for (int step = 0; current.Is(ValueKind::Reference); ++step) {
        if (step == kMaxNesting)
            return PdfValue();
        const auto body = FindBody(current.Reference());
        if (!body)
            return PdfValue();
        current = Parser(data_, *body).ParseValue();
    }
    return current;
}

std::optional<std::int64_t> SourceDocument::StreamLength(const PdfValue& dictionary) const
{
    const PdfValue* length = dictionary.Get("Length");
    if (!length)
        return std::nullopt;
    // Resolve reads only the value, so a length never leads to another stream's length.
    const PdfValue value = Resolve(*length);
    if (!value.Is(ValueKind::Integer) || value.integer < 0)
        return std::nullopt;
    return value.integer;
}

std::string_view SourceDocument::StreamData(const PdfValue& dictionary, std::size_t afterKeyword) const
{
    // "stream" ends with CR LF or LF; a lone CR is let pass.
    std::size_t start = afterKeyword;
    if (start < data_.size() && data_[start] == '\r')
        ++start;
    if (start < data_.size() && data_[start] == '\n')
        ++start;
    const std::size_t available = data_.size() - start;
    if (const auto length = StreamLength(dictionary); length && static_cast<std::uint64_t>(*length) <= available) {
        Lexer after(data_, start + static_cast<std::size_t>(*length));
        after.SkipBlanks();
        if (data_.substr(after.Position(), 9) == "endstream")
            return data_.substr(start, static_cast<std::size_t>(*length));
    }
    // A missing or wrong /Length: the data run to "endstream", less the line end before it.
    std::size_t end = data_.find("endstream", start);
    if (end == std::string_view::npos)
        Damaged("flusso senza endstream");
    if (end > start && data_[end - 1] == '\n')
        --end;
    if (end > start && data_[end - 1] == '\r')
        --end;
    return data_.substr(start, end - start);
}

} // namespace tavlo::source
