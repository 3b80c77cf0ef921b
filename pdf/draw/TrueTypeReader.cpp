#include "pdf/draw/TrueTypeReader.h"

#include "pdf/core/TavloError.h"
#include "pdf/core/Windows1252.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <vector>

namespace tavlo {

namespace {

[[noreturn]] void Invalid(const std::string& why)
{
    throw TavloError(ErrorCode::InvalidFileFormat,
                     TavloError::StandardDescription(ErrorCode::InvalidFileFormat) + ": " + why);
}

struct Table {
    std::string tag;
    std::int64_t offset = 0, length = 0;
};

// Reads inside one table: anything past its end is damage, not a value of 0.
class TableReader {
public:
    TableReader(const Bytes& font, const Table& table) : font_(font), table_(table) {}
    std::uint32_t U8(std::int64_t at) const
    {
        Check(at, 1);
        return font_[static_cast<std::size_t>(table_.offset + at)];
    }
    std::uint32_t U16(std::int64_t at) const { return static_cast<std::uint16_t>(Read(at, 2)); }
    std::int32_t S16(std::int64_t at) const { return static_cast<std::int16_t>(Read(at, 2)); }
    std::uint32_t U32(std::int64_t at) const
    {
        Check(at, 4);
        return (U16(at) << 16) | U16(at + 2);
    }
    bool Holds(std::int64_t at, std::int64_t size) const { return at >= 0 && size >= 0 && at + size <= table_.length; }

private:
    void Check(std::int64_t at, std::int64_t size) const
    {
        if (!Holds(at, size))
            Invalid("tabella " + table_.tag + " troncata");
    }
    std::int32_t Read(std::int64_t at, int size) const
    {
        Check(at, size);
        return ReadBigEndian(font_, table_.offset + at, size, true);
    }
    const Bytes& font_;
    const Table& table_;
};

// The tables this reader uses, all of which a TrueType font must have.
constexpr const char* kRequired[] = {"head", "hhea", "hmtx", "maxp", "cmap", "loca", "glyf", "name", "post", "OS/2"};

std::map<std::string, Table> TableDirectory(const Bytes& font)
{
    if (font.size() < 12)
        Invalid("file troppo corto per un font TrueType");
    const auto version = static_cast<std::uint32_t>(ReadBigEndian(font, 0, 2, true)) << 16 |
                         static_cast<std::uint32_t>(ReadBigEndian(font, 2, 2, true));
    if (version == 0x74746366)  // "ttcf"
        Invalid("raccolta di font (TTC), non un singolo font TrueType");
    if (version == 0x4F54544F)  // "OTTO"
        Invalid("font OpenType con contorni CFF, non TrueType");
    if (version != 0x00010000 && version != 0x74727565)  // 1.0 or "true"
        Invalid("non è un font TrueType");
    const std::int64_t count = ReadBigEndian(font, 4, 2, true);
    if (12 + 16 * count > static_cast<std::int64_t>(font.size()))
        Invalid("indice delle tabelle troncato");
    std::map<std::string, Table> tables;
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int64_t entry = 12 + 16 * i;
        Table table;
        for (int k = 0; k < 4; ++k)
            table.tag += static_cast<char>(font[static_cast<std::size_t>(entry + k)]);
        table.tag.erase(table.tag.find_last_not_of(' ') + 1);
        table.offset = static_cast<std::uint32_t>(ReadBigEndian(font, entry + 8, 2, true)) << 16 |
                       static_cast<std::uint32_t>(ReadBigEndian(font, entry + 10, 2, true));
        table.length = static_cast<std::uint32_t>(ReadBigEndian(font, entry + 12, 2, true)) << 16 |
                       static_cast<std::uint32_t>(ReadBigEndian(font, entry + 14, 2, true));
        // The whole file may be embedded: no table of it may lie outside.
        if (table.offset + table.length > static_cast<std::int64_t>(font.size()))
            Invalid("tabella " + table.tag + " fuori dal file");
        tables[table.tag] = table;
    }
    for (const char* tag : kRequired)
        if (tables.find(tag) == tables.end())
            Invalid(std::string("manca la tabella ") + tag);
    return tables;
}

// x font units in 1/1000 em, to the nearest integer with halves to even.
std::int32_t Thousandths(double x, float scale)
{
    return static_cast<std::int32_t>(std::nearbyint(static_cast<double>(scale) * x));
}

std::int16_t Narrow(std::int32_t value)
{
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        Invalid("metriche fuori misura");
    return static_cast<std::int16_t>(value);
}

// A format-4 cmap subtable: the glyph of a character, 0 when it has none.
class CharacterMap {
public:
    CharacterMap(const TableReader& cmap, std::int64_t subtable) : cmap_(cmap), at_(subtable)
    {
        segments_ = cmap.U16(subtable + 6) / 2;
    }
    std::uint32_t Glyph(std::uint32_t character) const
    {
        if (character > 0xFFFF)
            return 0;
        const std::int64_t ends = at_ + 14, starts = ends + 2 * segments_ + 2;
        const std::int64_t deltas = starts + 2 * segments_, ranges = deltas + 2 * segments_;
        for (std::int64_t s = 0; s < segments_; ++s) {
            if (character > cmap_.U16(ends + 2 * s))
                continue;
            const std::uint32_t first = cmap_.U16(starts + 2 * s);
            if (character < first)
                return 0;
            const std::uint32_t delta = cmap_.U16(deltas + 2 * s);
            const std::uint32_t range = cmap_.U16(ranges + 2 * s);
            if (range == 0)
                return (character + delta) & 0xFFFF;
            const std::uint32_t glyph = cmap_.U16(ranges + 2 * s + range + 2 * (character - first));
            return glyph == 0 ? 0 : (glyph + delta) & 0xFFFF;
        }
        return 0;
    }

private:
    const TableReader& cmap_;
    std::int64_t at_;
    std::int64_t segments_ = 0;
};

// Big-endian UTF-16 to Windows-1252 without blanks; characters the code page lacks are left out.
std::string NameText(const TableReader& name, std::int64_t at, std::int64_t length)
{
    std::string text;
    for (std::int64_t i = 0; i + 1 < length; i += 2) {
        const int byte = Windows1252Byte(name.U16(at + i));
        if (byte > 32)
            text += static_cast<char>(byte);
    }
    return text;
}

bool English(std::uint32_t language)
{
    return language == 1033 || language == 2057 || language == 3081 || language == 4105 || language == 5129 ||
           language == 6153;
}

// The Windows record of nameID: the first one found, unless an English one follows. Symbol
// and Unicode records are both UTF-16; PostScript names may also come from a Macintosh
// (8-bit) record.
std::string FindName(const TableReader& name, std::uint32_t nameId)
{
    const std::int64_t count = name.U16(2), strings = name.U16(4);
    std::string found;
    bool taken = false;
    for (std::int64_t k = 0; k < count; ++k) {
        const std::int64_t record = 6 + 12 * k;
        if (!name.Holds(record, 12))
            Invalid("tabella name troncata");
        const std::uint32_t platform = name.U16(record), id = name.U16(record + 6);
        const std::int64_t length = name.U16(record + 8), at = strings + name.U16(record + 10);
        if (id != nameId || !name.Holds(at, length))
            continue;
        if (platform == 3 && name.U16(record + 2) <= 1 && (!taken || English(name.U16(record + 4)))) {
            const bool english = taken;
            found = NameText(name, at, length);
            taken = true;
            if (english)
                break;
        } else if (platform == 1 && nameId == 6 && !taken && found.empty()) {
            for (std::int64_t i = 0; i < length; ++i) {
                const std::uint32_t c = name.U8(at + i);
                if (c > 32 && c < 127)
                    found += static_cast<char>(c);
            }
        }
    }
    return found;
}

} // namespace

std::int32_t ReadBigEndian(const Bytes& bytes, std::int64_t offset, int size, bool isUnsigned)
{
    if (size != 2 && size != 4)
        return 0;
    if (offset < 0 || offset + size > static_cast<std::int64_t>(bytes.size()))
        throw TavloError(ErrorCode::SubscriptOutOfRange);
    std::uint32_t v = 0;
    for (int i = 0; i < size; ++i)
        v = (v << 8) | bytes[static_cast<std::size_t>(offset + i)];
    if (size == 2)
        return isUnsigned ? static_cast<std::int32_t>(v) : static_cast<std::int16_t>(v);
    if (isUnsigned && v > 0x7FFFFFFFu)
        throw TavloError(ErrorCode::Overflow);
    return static_cast<std::int32_t>(v);
}

TrueTypeMetrics ReadTrueType(const Bytes& font, CodePage codes)
{
    const std::map<std::string, Table> tables = TableDirectory(font);
    const TableReader head(font, tables.at("head")), hhea(font, tables.at("hhea")), hmtx(font, tables.at("hmtx"));
    const TableReader maxp(font, tables.at("maxp")), cmap(font, tables.at("cmap")), loca(font, tables.at("loca"));
    const TableReader glyf(font, tables.at("glyf")), name(font, tables.at("name")), post(font, tables.at("post"));
    const TableReader os2(font, tables.at("OS/2"));

    if (head.U32(12) != 0x5F0F3CF5)
        Invalid("tabella head danneggiata");
    const std::uint32_t unitsPerEm = head.U16(18);
    if (unitsPerEm < 16 || unitsPerEm > 16384)
        Invalid("unitsPerEm fuori misura");
    const std::int32_t locFormat = head.S16(50);
    if (locFormat != 0 && locFormat != 1)
        Invalid("indexToLocFormat sconosciuto");
    const std::uint32_t glyphCount = maxp.U16(4);
    // Glyphs past the last full metric share its advance (monospaced fonts keep one).
    const std::uint32_t fullMetrics = hhea.U16(34);
    if (glyphCount == 0)
        Invalid("nessun glifo");
    if (fullMetrics == 0)
        Invalid("nessuna larghezza nella tabella hmtx");
    auto advance = [&](std::uint32_t glyph) { return hmtx.U16(4 * std::int64_t{std::min(glyph, fullMetrics - 1)}); };

    const float scale = 1000.0f / static_cast<float>(unitsPerEm);
    TrueTypeMetrics m;
    m.AvgWidth = Thousandths(os2.S16(2), scale);
    m.Weight = static_cast<std::int32_t>(os2.U16(4));
    m.Ascent = Thousandths(os2.U16(74), scale);
    m.Descent = Thousandths(-static_cast<double>(os2.U16(76)), scale);
    Narrow(m.Ascent - m.Descent);  // the record's line height
    m.MaxWidth = Thousandths(hhea.U16(10), scale);
    m.MissingWidth = Thousandths(advance(0), scale);
    const double angle = post.S16(4) + post.U16(6) / 65535.0;
    m.ItalicAngle = static_cast<float>(std::nearbyint(angle * 100) / 100);
    m.FixedPitch = post.U32(12) != 0;

    // The first Windows subtable of format 4.
    std::int64_t subtable = -1;
    const std::int64_t records = cmap.U16(2);
    for (std::int64_t j = 0; j < records && subtable < 0; ++j) {
        if (cmap.U16(4 + 8 * j) != 3)
            continue;
        m.Symbolic = cmap.U16(4 + 8 * j + 2) == 0;
        const std::int64_t at = cmap.U32(4 + 8 * j + 4);
        if (cmap.U16(at) == 4)
            subtable = at;
    }
    std::array<std::uint32_t, 256> glyphs{};
    if (subtable >= 0) {
        const CharacterMap map(cmap, subtable);
        for (std::uint32_t c = 0; c < 256; ++c) {
            std::uint32_t glyph = 0;
            if (m.Symbolic)
                glyph = map.Glyph(0xF000 | c);
            if (glyph == 0) {
                const auto byte = static_cast<unsigned char>(c);
                glyph = map.Glyph(m.Symbolic                         ? c
                                  : codes == CodePage::Windows1252 ? Windows1252CodePoint(byte)
                                                                   : MacRomanCodePoint(byte));
            }
            glyphs[c] = glyph < glyphCount ? glyph : 0;
        }
    }

    std::array<std::int32_t, 4> box{};
    std::vector<bool> visited(glyphCount, false);
    for (std::size_t c = 0; c < 256; ++c) {
        const std::uint32_t g = glyphs[c];
        m.Widths[c] = Narrow(Thousandths(advance(g), scale));
        if (visited[g])
            continue;
        visited[g] = true;
        const std::int64_t offset = locFormat == 0 ? 2 * std::int64_t{loca.U16(2 * std::int64_t{g})}
                                                   : std::int64_t{loca.U32(4 * std::int64_t{g})};
        const std::int64_t next = locFormat == 0 ? 2 * std::int64_t{loca.U16(2 * std::int64_t{g} + 2)}
                                                 : std::int64_t{loca.U32(4 * std::int64_t{g} + 4)};
        if (next <= offset)
            continue;  // no outline (the blank)
        if (!glyf.Holds(offset, 10))
            Invalid("glifo fuori dalla tabella glyf");
        if (glyf.S16(offset) < 0)
            continue;  // composite glyphs do not enter the box
        box[0] = std::min(box[0], glyf.S16(offset + 2));
        box[1] = std::min(box[1], glyf.S16(offset + 4));
        box[2] = std::max(box[2], glyf.S16(offset + 6));
        box[3] = std::max(box[3], glyf.S16(offset + 8));
    }
    for (std::size_t i = 0; i < 4; ++i)
        m.BoundingBox[i] = Thousandths(box[i], scale);

    m.FullName = FindName(name, 4);
    m.PostScriptName = FindName(name, 6);
    return m;
}

} // namespace tavlo
