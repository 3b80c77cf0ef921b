#include "pdf/core/PdfFormat.h"
#include "pdf/media/EpsPlayback.h"
#include "pdf/media/VectorPictures.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo {

namespace {

bool StartsWith(std::string_view text, std::string_view head)
{
    return text.substr(0, head.size()) == head;
}

// The PostScript section of a file: a binary EPS begins with a header giving its place.
std::string_view PostScript(const Bytes& file)
{
    const std::string_view all(reinterpret_cast<const char*>(file.data()), file.size());
    if (file.size() < 4 || !(file[0] == 0xC5 && file[1] == 0xD0 && file[2] == 0xD3 && file[3] == 0xC6))
        return all;
    auto u32 = [&](std::size_t at) {
        return std::uint64_t{file[at]} | std::uint64_t{file[at + 1]} << 8 | std::uint64_t{file[at + 2]} << 16 |
               std::uint64_t{file[at + 3]} << 24;
    };
    if (file.size() < 12 || u32(4) + u32(8) > file.size())
        throw TavloError(ErrorCode::InvalidFileFormat, TavloError::StandardDescription(ErrorCode::InvalidFileFormat) +
                                                           ": intestazione EPS binaria non valida");
    return all.substr(static_cast<std::size_t>(u32(4)), static_cast<std::size_t>(u32(8)));
}

// The text lines of the PostScript in turn: a line ends at CR, LF or both; empty ones are
// skipped.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line)
    {
        while (at_ < text_.size()) {
            const std::size_t end = std::min(text_.find_first_of("\r\n", at_), text_.size());
            line = text_.substr(at_, end - at_);
            at_ = end + 1;
            if (!line.empty())
                return true;
        }
        return false;
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

constexpr std::string_view kBoxComment = "%%BoundingBox:";

// The line's calls played, each as it is complete, when the line holds nothing else; of a
// line not drawn, only its saves and restores, so the rest of the file stays in step. A
// copy of the reader reads the line first to tell which.
std::string PlayLine(std::string_view line, EpsTokenReader& reader, EpsPlayback& playback, bool& overflow)
{
    EpsTokenReader first = reader;
    EpsCallReader check;
    const bool whole = first.Read(line, [&](const EpsToken& token) { check.Take(token); });
    overflow = whole && check.Overflow();
    std::string played;
    if (!whole) {  // a procedure's or a string's
        reader = first;
        return played;
    }
    if (check.Whole()) {
        EpsCallReader calls([&](const EpsCall& call) { playback.Play(call, played); });
        reader.Read(line, [&](const EpsToken& token) { calls.Take(token); });
    } else {
        reader.Read(line, [&](const EpsToken& token) {
            if (token.kind == EpsToken::kOperator && (token.text == "q" || token.text == "Q"))
                playback.Play({FindEpsOperator(token.text), std::string(token.text)}, played);
        });
    }
    return played;
}

} // namespace

VectorDrawing ImportEpsData(const Bytes& file, const VectorPlacement& place)
{
    VectorDrawing drawing;
    std::string_view text, line;
    try {
        text = PostScript(file);
    } catch (const TavloError& error) {
        drawing.error = error;
        return drawing;
    }

    // The first box of four numbers wherever it stands: one placement, also when the
    // header defers the box to the trailer or a file holds several.
    bool boxLine = false, found = false;
    double box[4] = {};
    for (Lines next(text); next.Next(line);) {
        if (!StartsWith(line, kBoxComment))
            continue;
        boxLine = true;
        int numbers = 0;  // the leading numbers read; -1 after anything else
        EpsTokenReader().Read(line.substr(kBoxComment.size()), [&](const EpsToken& field) {
            if (numbers < 0 || numbers == 4)
                return;
            if (field.kind == EpsToken::kNumber)
                box[numbers++] = field.value;
            else
                numbers = -1;
        });
        found = numbers == 4;
        if (found)
            break;
    }
    if (!found) {
        drawing.error = boxLine ? TavloError(ErrorCode::SubscriptOutOfRange)
                                : TavloError(ErrorCode::InvalidFileFormat,
                                             TavloError::StandardDescription(ErrorCode::InvalidFileFormat) +
                                                 ": BoundingBox mancante");
        return drawing;
    }
    const double llx = std::min(box[0], box[2]), lly = std::min(box[1], box[3]);
    const double bw = std::max(box[0], box[2]) - llx, bh = std::max(box[1], box[3]) - lly;
    try {
        if (bw == 0 || bh == 0)
            throw TavloError(ErrorCode::DivisionByZero);
        // The box is in points: at its natural size one unit of the file is one point.
        const double scale = place.scale;
        float w = place.width, h = place.height;
        if (w == 0 && h == 0) {
            w = static_cast<float>(bw / scale);
            h = static_cast<float>(bh / scale);
        } else if (w == 0) {
            w = static_cast<float>(bw * h / bh);
        } else if (h == 0) {
            h = static_cast<float>(bh * w / bw);
        }
        const std::string placement = PdfNumber(w * scale / bw) + " 0 0 " + PdfNumber(h * scale / bh) + " " +
                                      PdfScaledNumber(place.x, scale) + " " + PdfScaledNumber(place.y, scale) + " cm";
        const std::string turnOver = "1 0 0 -1 " + PdfNumber(-llx) + " " + PdfNumber(bh + lly) + " cm";
        drawing.Add("q");
        drawing.Add(placement);
        drawing.Add(turnOver);
    } catch (const TavloError& error) {
        drawing.error = error;
        return drawing;
    }

    EpsTokenReader reader;
    EpsPlayback playback;
    bool translating = false;
    for (Lines next(text); next.Next(line);) {
        if (line[0] == '%') {
            if (StartsWith(line, "%%End"))
                reader.Reset();
            if (StartsWith(line, kBoxComment) || StartsWith(line, "%%EndSetup") || StartsWith(line, "%%EndProlog"))
                translating = true;
            else if (StartsWith(line, "%%PageTrailer"))
                break;
            continue;
        }
        if (StartsWith(line, "showpage") && EpsTokenReader(reader).Read(line, [](const EpsToken&) {}))
            break;
        // Every line is read, the prolog's too: a procedure's body is no drawing.
        if (!translating) {
            reader.Read(line, [](const EpsToken&) {});
            continue;
        }
        bool overflow = false;
        const std::string played = PlayLine(line, reader, playback, overflow);
        if (overflow)
            drawing.error = TavloError(ErrorCode::Overflow);
        if (!played.empty())
            drawing.Add(played);
    }
    if (!playback.Drawn()) {
        drawing.lines.clear();
        drawing.error = TavloError(ErrorCode::InvalidFileFormat,
                                   TavloError::StandardDescription(ErrorCode::InvalidFileFormat) +
                                       ": nessun tracciato da disegnare (testo, immagini e procedure PostScript "
                                       "non sono riprodotti)");
        return drawing;
    }
    for (const std::string& closing : playback.Close())
        drawing.Add(closing);
    drawing.Add("Q");
    return drawing;
}

} // namespace tavlo
