#include "pdf/Tavlo.h"

#include "pdf/core/LinkTargets.h"
#include "pdf/core/PdfFormat.h"
#include "pdf/core/PdfName.h"
#include "pdf/core/TavloState.h"
#include "pdf/core/Windows1252.h"

namespace tavlo {

namespace {

bool StartsWith(const std::string& text, std::string_view prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string BorderText(std::int16_t border, std::int32_t highlight)
{
    std::string b = border == 0 ? std::string("/Border [ 0 0 0] ") : "/Border [ 0 0 " + std::to_string(border) + "]\r";
    switch (highlight) {
    case 0: b += " /H /N\r"; break;
    case 1: b += " /H /I\r"; break;
    case 2: b += " /H /O\r"; break;
    case 3: b += " /H /P\r"; break;
    default: break;
    }
    return b;
}

// The view of a destination, every number of it within the range readers accept.
std::string CheckedView(std::int32_t fit, const DestinationBox& box, double zoom)
{
    if (fit >= 0 && fit <= 4) {
        RequirePdfNumber(box.x);
        RequirePdfNumber(box.y);
        RequirePdfNumber(box.x + box.width);
        RequirePdfNumber(box.y - box.height);
        RequirePdfNumber(zoom / 100.0);
    }
    return DestinationView(fit, box, zoom);
}

} // namespace

void Tavlo::DefineRef(const std::string& name, std::int32_t fit, float x, float y, float w, float h, float zoom)
try {
    TavloState& s = *s_;
    // A coordinate of exactly 0 stands for the current position.
    DestinationBox box;
    box.x = x == 0 ? PageSpaceX(s.CurrentX / s.Scale) : PageSpaceX(x);
    box.y = y == 0 ? PageSpaceY(s.CurrentY / s.Scale) : PageSpaceY(y);
    box.width = w * s.Scale;
    box.height = h * s.Scale;

    DestEntry entry;
    entry.page = s.PageCount;
    entry.name = PdfName("_REF_" + name);
    entry.view = CheckedView(fit, box, zoom);
    s.doc.Destinations.push_back(entry);
    s.DestinationCount = static_cast<std::int32_t>(s.doc.Destinations.size());
} catch (...) {
    RaiseRecorded("DefineRef");
}

void Tavlo::LinkTo(const std::string& target, std::int16_t border, std::int32_t highlight, std::int32_t fit, float x,
                   float y, float w, float h, float zoom)
try {
    TavloState& s = *s_;
    const auto& box = s.doc.LastBox;
    const std::string rect = PdfNumber(RequirePdfNumber(box[0])) + " " + PdfNumber(RequirePdfNumber(box[1])) + " " +
                             PdfNumber(RequirePdfNumber(box[2])) + " " + PdfNumber(RequirePdfNumber(box[3]));
    const std::string b = BorderText(border, highlight);

    const bool web = StartsWith(target, "http:") || StartsWith(target, "https:") || StartsWith(target, "mailto:");
    const bool file = StartsWith(target, "file:");
    const bool script = StartsWith(target, "script:");
    const bool layer = StartsWith(target, "layer:");
    const bool ref = StartsWith(target, "ref:");
    if (web || file || script || layer || ref) {
        std::string d = "<< /Type /Annot\r/Subtype /Link /Rect [" + rect + "]\r" + b + "\r";
        if (web || file) {
            WriteAnnotation(d, std::string(), std::string(), std::string(), target);
        } else if (script) {
            // The script, a text stream, in characters a viewer reads as the caller meant.
            const std::int32_t m = WriteTextStreamObject(PdfTextFromWindows1252(target.substr(7)));
            d += "/A << /S /JavaScript /JS " + std::to_string(m) + " 0 R >>";
            WriteAnnotation(d, std::string(), std::string(), std::string(), std::string());
        } else if (layer) {
            const std::int32_t m = WriteTextStreamObject(LayerSwitchScript(target.substr(6)));
            d += "/A << /S /JavaScript /JS " + std::to_string(m) + " 0 R >> ";
            WriteAnnotation(d, std::string(), std::string(), std::string(), std::string());
        } else {
            d += "/Dest " + PdfName("_REF_" + target.substr(4));
            WriteAnnotation(d, std::string(), std::string(), std::string(), std::string());
        }
        return;
    }

    const bool page = StartsWith(target, "page:");
    if (!page && !StartsWith(target, "bookmark:"))
        return;

    DestEntry entry;
    if (page) {
        entry.page = LinkTargetPage(std::string_view(target).substr(5), s.PageCount);
        DestinationBox view;
        view.x = PageSpaceX(x);
        view.y = PageSpaceY(y);
        view.width = w * s.Scale;
        view.height = h * s.Scale;
        const std::string text = CheckedView(fit, view, zoom);
        entry.view = text.empty() ? text : " " + text;
    } else {
        // Only "bookmark:@" and the number AddBookmark returned name a destination.
        const std::string rest = target.substr(9);
        if (rest.empty() || rest[0] != '@')
            return;
        const double number = LeadingNumber(std::string_view(rest).substr(1));
        if (!(number >= 1 && number <= s.doc.Bookmarks.size()) || number != static_cast<std::int32_t>(number))
            throw TavloError(ErrorCode::SubscriptOutOfRange);
        const BookmarkEntry& bookmark = s.doc.Bookmarks[static_cast<std::size_t>(number) - 1];
        entry.page = bookmark.page;
        entry.view = bookmark.destination;
    }
    const std::int32_t k = CheckedInt32(static_cast<std::int64_t>(s.doc.Destinations.size()) + 1);
    entry.name = "/_LINK_" + std::to_string(k);
    const std::string d = "<< /Type /Annot\r/Subtype /Link\r/Rect [" + rect + "]\r" + b + "/Dest " + entry.name;
    // The record only once its link is written: a refused link leaves no stray destination.
    WriteAnnotation(d, std::string(), std::string(), std::string(), std::string());
    s.doc.Destinations.push_back(entry);
    s.DestinationCount = k;
} catch (...) {
    RaiseRecorded("LinkTo");
}

} // namespace tavlo
