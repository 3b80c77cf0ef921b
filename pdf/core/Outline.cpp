#include "pdf/Tavlo.h"

#include "pdf/core/Colors.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"
#include "pdf/core/Windows1252.h"

#include <array>

namespace tavlo {

std::string Tavlo::AddBookmark(const std::string& title, std::int16_t level, std::int32_t fit, float x, float y,
                               float w, float h, float zoom, const std::string& colour, std::int32_t style)
try {
    TavloState& s = *s_;
    auto& records = s.doc.Bookmarks;
    std::int32_t resolved = level;
    if (records.empty()) {
        resolved = 0;
    } else {
        const std::int32_t last = records.back().level;
        if (level == -1)
            resolved = last + 1;
        else if (level == 0)
            resolved = last;
        else if (level > last + 1)
            resolved = last + 1;
        // Only the root sits at level 0: an entry at 0 or below would have no parent.
        if (resolved < 1)
            resolved = 1;
    }
    if (resolved >= 255)
        return std::string();

    BookmarkEntry entry;
    entry.title = title;
    entry.level = static_cast<std::int16_t>(resolved);
    entry.page = s.PageCount < 1 ? 1 : s.PageCount;

    const double px = PageSpaceX(x), py = PageSpaceY(y);
    switch (fit) {
    case 0: entry.destination = "/FitB"; break;
    case 1: entry.destination = "/FitV " + PdfNumber(px); break;
    case 2: entry.destination = "/FitH " + PdfNumber(py); break;
    case 3:
        entry.destination = "/FitR " + PdfNumber(px) + " " + PdfNumber(py) + " " + PdfNumber(px + w * s.Scale) + " " +
                            PdfNumber(py - h * s.Scale);
        break;
    case 4: entry.destination = "/XYZ " + PdfNumber(px) + " " + PdfNumber(py) + " " + PdfNumber(zoom / 100.0); break;
    default: break;
    }

    if (!colour.empty()) {
        const ParsedColor parsed = ParseColor(colour);
        // A pattern name is no colour for an outline entry.
        if (!parsed.form.empty() && parsed.form[0] == '#')
            entry.colour = HexColorToRgb(parsed.form);
        RequireVersion(1);
    }
    if (style != 0) {
        entry.style = (style & 2) ? 1 : 0;
        if (style & 1)
            entry.style = static_cast<std::int16_t>(entry.style + 2);
        RequireVersion(1);
    }
    records.push_back(entry);
    s.BookmarkCount = static_cast<std::int32_t>(records.size());
    return "@" + std::to_string(s.BookmarkCount);
} catch (...) {
    RaiseRecorded("AddBookmark");
}

std::int32_t Tavlo::WriteOutlines()
{
    TavloState& s = *s_;
    auto& records = s.doc.Bookmarks;
    const std::int32_t count = static_cast<std::int32_t>(records.size());
    if (count < 2)
        return 0;
    const std::int32_t root = s.LastObjectNumber + 1;
    auto at = [&](std::int32_t i) -> BookmarkEntry& { return records[static_cast<std::size_t>(i - 1)]; };

    for (auto& record : records)
        record.parent = record.own = record.first = record.last = record.next = record.prev = 0;
    at(1).own = root + 1;
    at(1).parent = root;

    std::array<std::int32_t, 256> latest{};
    latest[0] = 1;
    std::int32_t top = 0;
    for (std::int32_t i = 2; i <= count; ++i) {
        BookmarkEntry& record = at(i);
        const std::int32_t level = record.level;
        record.own = root + i;
        latest[static_cast<std::size_t>(level)] = i;
        if (level < 255)
            latest[static_cast<std::size_t>(level) + 1] = 0;
        const std::int32_t parentIndex = latest[static_cast<std::size_t>(level) - 1];
        BookmarkEntry& parent = at(parentIndex > 0 ? parentIndex : 1);
        record.parent = parent.own;
        if (parent.first == 0)
            parent.first = record.own;
        parent.last = record.own;
        if (level == 1)
            ++top;
        for (std::int32_t j = i + 1; j <= count; ++j) {
            if (at(j).level == level) {
                record.next = root + j;
                at(j).prev = record.own;
                break;
            }
            if (at(j).level < level)
                break;
        }
    }

    std::int32_t number = root;
    NewObj(number);
    PutLine("<< /Count 1 /First " + std::to_string(root + 1) + " 0 R /Last " + std::to_string(root + 1) + " 0 R >>");
    EndObj();

    auto ref = [](std::int32_t n) { return std::to_string(n) + " 0 R\r"; };
    for (std::int32_t i = 1; i <= count; ++i) {
        const BookmarkEntry& record = at(i);
        std::int32_t own = record.own;
        NewObj(own);
        std::string line = "<< /Title " + MakeTextString(PdfTextFromWindows1252(record.title)) + "\r/Parent " + ref(record.parent);
        if (record.first > 0)
            line += "/First " + ref(record.first);
        if (record.last > 0)
            line += "/Last " + ref(record.last);
        if (record.prev > 0)
            line += "/Prev " + ref(record.prev);
        if (record.next > 0)
            line += "/Next " + ref(record.next);
        if (i == 1 && top != 0)
            line += "/Count " + std::to_string(top) + "\r";
        if (!record.destination.empty())
            line += "/Dest [" + std::to_string(s.PageObjects[static_cast<std::size_t>(record.page)]) + " 0 R " +
                    record.destination + "]\r";
        if (!record.colour.empty())
            line += "/C [" + record.colour + "]\r";
        if (record.style != 0)
            line += "/F " + std::to_string(record.style) + "\r";
        line += ">>";
        PutLine(line);
        EndObj();
    }
    return root;
}

} // namespace tavlo
