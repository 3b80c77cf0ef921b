#include "pdf/Tavlo.h"

#include "pdf/core/PdfFormat.h"
#include "pdf/core/TavloState.h"
#include "pdf/draw/ShapeBox.h"
#include "pdf/core/InputFile.h"
#include "pdf/media/source/PageCopy.h"

#include <array>

namespace tavlo {

void Tavlo::ImportPage(const std::string& fileName, std::int32_t pageNumber, float destX, float destY, float xDim,
                       float yDim)
try {
    TavloState& s = *s_;
    // A corner or a size no reader takes is refused before the page's objects are copied.
    RequirePdfRange({PageSpaceX(destX), PageSpaceY(destY), destX * s.Scale, destY * s.Scale, xDim * s.Scale,
                     yDim * s.Scale});
    std::string title, subject, author;
    std::int16_t encrypted = 0;
    GetInfo(fileName, title, subject, author, encrypted);
    const std::int32_t source = s.CurrentSource;
    if (source == 0)
        return;
    if (pageNumber < 0) {
        CaptureError("ImportPage", fileName, TavloError(ErrorCode::SubscriptOutOfRange));
        return;
    }
    const SourceEntry& entry = s.Sources[static_cast<std::size_t>(source - 1)];
    if (entry.IsEncrypted != 0 || pageNumber == 0 || pageNumber > entry.PageCount)
        return;
    const std::string name = "_PDF_" + std::to_string(source) + "." + std::to_string(pageNumber);
    if (!entry.Pages[static_cast<std::size_t>(pageNumber - 1)].Imported &&
        !WriteImportedPage(source, pageNumber, name))
        return;
    const SourcePage& page = s.Sources[static_cast<std::size_t>(source - 1)].Pages[static_cast<std::size_t>(pageNumber - 1)];

    // The size asked for, the missing side keeping the page's proportions.
    SetXY(destX, destY);
    const double w = page.Width, h = page.Height;
    double width = xDim, height = yDim;
    if (width == 0 && height == 0) {
        width = w / s.Scale;
        height = h / s.Scale;
    } else if (width == 0) {
        width = height * w / h;
    } else if (height == 0) {
        height = width * h / w;
    }
    const double x = destX * s.Scale, y = destY * s.Scale;
    const double sx = width * s.Scale / w, sy = height * s.Scale / h, bottom = y + height * s.Scale;
    // The page's own space, y upwards from its box's corner and turned as it is shown, into
    // the content's, y downwards from the placed corner.
    const double left = page.Box[0], low = page.Box[1], right = page.Box[2], top = page.Box[3];
    std::array<double, 6> m{};
    switch (page.Rotate) {
    case 90: m = {0, sy, sx, 0, x - low * sx, bottom - right * sy}; break;
    case 180: m = {-sx, 0, 0, sy, x + right * sx, bottom - top * sy}; break;
    case 270: m = {0, -sy, -sx, 0, x + top * sx, bottom + left * sy}; break;
    default: m = {sx, 0, 0, -sy, x - left * sx, bottom + low * sy}; break;
    }
    const double box[] = {PageSpaceX(destX), PageSpaceY(destY), PageSpaceX(destX + width), PageSpaceY(destY + height)};
    RequireSingleRange({m[0], m[1], m[2], m[3], m[4], m[5], box[0], box[1], box[2], box[3]});
    std::string cm;
    for (const double value : m)
        cm += PdfNumber(value) + " ";
    PutContent("q");
    PutContent(cm + "cm");
    // A page is drawn from a page's initial state, which its content may take for granted
    // (one-operand colours, the default width and dash, no spacing): nothing set on this page
    // may reach it. Colours stay out of an uncoloured pattern's cell, which has none.
    PutContent(std::string(s.ColorLocked ? "" : "0 g 0 G ") +
               "1 w 0 J 0 j 10 M [] 0 d 0 Tc 0 Tw 100 Tz 0 TL 0 Tr 0 Ts");
    // Nor a translucency set by SetAlpha; only once one was set can it be in force.
    if (s.doc.AlphaCount > 0) {
        if (!s.doc.OpaqueState) {
            const std::int32_t n = NewObj();
            PutLine("<</Type /ExtGState /ca 1 /CA 1 /BM /Normal >>");
            EndObj();
            s.ExtGStates += "/GSTATE_0 " + std::to_string(n) + " 0 R ";
            s.doc.OpaqueState = true;
        }
        PutContent("/GSTATE_0 gs");
    }
    PutContent("/" + name + " Do");
    PutContent("Q");
    SetLastBox(box[0], box[1], box[2], box[3]);
    RequireVersion(s.Sources[static_cast<std::size_t>(source - 1)].VersionNeed);
} catch (...) {
    RaiseRecorded("ImportPage");
}

bool Tavlo::WriteImportedPage(std::int32_t source, std::int32_t pageNumber, const std::string& name)
{
    TavloState& s = *s_;
    SourceEntry& entry = s.Sources[static_cast<std::size_t>(source - 1)];
    SourcePage& page = entry.Pages[static_cast<std::size_t>(pageNumber - 1)];
    const std::int32_t form = CheckedInt32(static_cast<std::int64_t>(s.LastObjectNumber) + 1);
    // Everything is read and checked before the first object is written, so a damaged
    // source leaves no part of a page behind.
    Bytes bytes;
    source::PageCopy copy;
    try {
        bytes = ReadWholeFile(entry.OpenPath, source::kMaxSourceFileSize, "file PDF troppo grande");
        const source::SourceDocument document(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        source::CopyNumbering numbering;
        numbering.formNumber = form;
        numbering.earlier = [&entry](source::ObjectId id) {
            const auto found = entry.NewNumbers.find({id.number, id.generation});
            return found == entry.NewNumbers.end() ? 0 : found->second;
        };
        numbering.string = [this](std::int32_t number, std::string_view text) {
            if (!s_->Encrypted || text.empty())
                return "(" + EscapeString(text) + ")";
            return "(" + EscapeString(TextOf(Rc4Crypt(ObjectKey(number), BytesOf(text)))) + ")";
        };
        copy = source::CopyPage(document, {{page.ObjectNumber, page.Generation}, page.KidPath}, numbering);
    } catch (const std::exception& error) {
        CaptureError("ImportPage", entry.OpenPath, error);
        return false;
    }

    for (const source::CopiedObject& object : copy.objects) {
        std::int32_t number = object.number;
        NewObj(number);
        if (object.hasStream) {
            Bytes data(object.stream.begin(), object.stream.end());
            EncryptStreamData(data, number);
            std::string text = object.value + "\nstream\n";
            text.append(data.begin(), data.end());
            text += "\nendstream";
            PutLine(text);
        } else {
            PutLine(object.value);
        }
        EndObj();
    }
    for (const auto& [id, number] : copy.copied)
        entry.NewNumbers[{id.number, id.generation}] = number;

    const source::PageGeometry& g = copy.geometry;
    std::int32_t number = form;
    NewObj(number);
    PutLine("<< /Type /XObject /Subtype /Form /FormType 1");
    PutLine("   /BBox [" + PdfNumber(g.left) + " " + PdfNumber(g.bottom) + " " + PdfNumber(g.right) + " " +
            PdfNumber(g.top) + " ]");
    PutLine("   /Resources " + copy.resources);
    Bytes data = BytesOf(copy.content);
    EncryptStreamData(data, number);
    PutLine("   /Length " + std::to_string(data.size()) + (copy.filterEntries.empty() ? "" : " " + copy.filterEntries));
    std::string text = ">>\nstream\n";
    text.append(data.begin(), data.end());
    text += "\nendstream";
    PutLine(text);
    EndObj();
    s.XObjectResources += "/" + name + " " + std::to_string(number) + " 0 R \r";

    page.Imported = true;
    page.Width = static_cast<float>(g.ShownWidth());
    page.Height = static_cast<float>(g.ShownHeight());
    page.Box[0] = g.left;
    page.Box[1] = g.bottom;
    page.Box[2] = g.right;
    page.Box[3] = g.top;
    page.Rotate = g.rotate;
    return true;
}

} // namespace tavlo
