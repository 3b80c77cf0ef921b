#include "pdf/core/PdfFormat.h"
#include "pdf/media/eps/EpsInterpreter.h"
#include "pdf/media/eps/EpsObjects.h"
#include "pdf/media/eps/EpsPlayback.h"
#include "pdf/media/eps/EpsTokens.h"
#include "pdf/media/VectorPictures.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

TavloError Refused(const std::string& reason)
{
    return TavloError(ErrorCode::InvalidFileFormat,
                      TavloError::StandardDescription(ErrorCode::InvalidFileFormat) + ": " + reason);
}

// Where the tokens stand in the file's structure: the drawing begins with the bounding box
// (or the end of the prolog or setup) and leaves out the prolog, setup and resources; an
// embedded document's comments are its own. A section the file never ends (a prolog without
// its "%%EndProlog") is not taken as one: what follows its beginning is drawing.
class Sections {
public:
    explicit Sections(std::string_view text)
    {
        for (Lines next(text); next.Next(line_);) {
            ended_[0] = ended_[0] || StartsWith(line_, "%%EndProlog");
            ended_[1] = ended_[1] || StartsWith(line_, "%%EndSetup");
            ended_[2] = ended_[2] || StartsWith(line_, "%%EndResource");
        }
    }
    // False when the drawing has ended.
    bool Take(std::string_view comment)
    {
        if (StartsWith(comment, "%%BeginDocument")) {
            ++nested_;
        } else if (StartsWith(comment, "%%EndDocument")) {
            nested_ -= nested_ > 0;
        } else if (nested_ == 0) {
            if (StartsWith(comment, kBoxComment)) {
                begun_ = true;
            } else if ((StartsWith(comment, "%%BeginProlog") && ended_[0]) ||
                       (StartsWith(comment, "%%BeginSetup") && ended_[1]) ||
                       (StartsWith(comment, "%%BeginResource") && ended_[2])) {
                ++apart_;
            } else if (StartsWith(comment, "%%EndProlog") || StartsWith(comment, "%%EndSetup")) {
                apart_ -= apart_ > 0;
                begun_ = true;
            } else if (StartsWith(comment, "%%EndResource")) {
                apart_ -= apart_ > 0;
            } else if (StartsWith(comment, "%%PageTrailer")) {
                return false;
            }
        }
        return true;
    }
    bool Drawing() const { return begun_ && apart_ == 0; }

private:
    std::string_view line_;
    bool ended_[3] = {};
    int nested_ = 0, apart_ = 0;
    bool begun_ = false;
};

// The file's drawing played after the placement's lines: its PostScript followed, or the
// content stream of the PDF it carries.
void PlayDrawing(std::string_view text, EpsPlayback& playback)
{
    // A drawing program's calls run two operators a byte of the file at most (cairo's
    // rectangles), and loops of a small file may draw a hundred thousand shapes; a file that
    // loops without end is refused within seconds.
    const std::uint64_t budget = 2 * static_cast<std::uint64_t>(text.size()) + 8000000;
    EpsInterpreter postScript(playback, budget);
    std::optional<EpsObjects> objects;
    Sections sections(text);
    EpsTokenizer tokens(text);
    postScript.SetSource(&tokens);
    postScript.SetDrawing(false);
    EpsToken token;
    while (!postScript.Ended() && tokens.Next(token)) {
        if (token.kind == EpsToken::kComment) {
            if (StartsWith(token.text, "%%End"))
                postScript.AbandonOpen();
            if (!sections.Take(token.text))
                break;
            postScript.SetDrawing(sections.Drawing());
            continue;
        }
        std::int64_t number = 0;
        if (objects) {
            objects->Take(token, tokens);
        } else if (postScript.Drawing() && !postScript.Reading() && token.kind == EpsToken::kName &&
                   token.text == "obj" && postScript.TwoIntegers(number)) {
            objects.emplace(playback, budget);
            objects->Begin(number);
        } else {
            postScript.Take(token);
        }
    }
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
        int numbers = 0;  // the leading numbers read
        EpsTokenizer fields(line.substr(kBoxComment.size()));
        for (EpsToken field; numbers < 4 && fields.Next(field) && field.kind == EpsToken::kNumber;)
            box[numbers++] = field.value;
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

    EpsPlayback playback(drawing);
    try {
        PlayDrawing(text, playback);
    } catch (const EpsRefusal& refusal) {
        drawing.lines.clear();
        drawing.error = Refused(refusal.reason);
        return drawing;
    } catch (const TavloError&) {  // a number the writer does not write
        drawing.lines.clear();
        drawing.error = Refused("un numero del disegno è oltre i limiti che i lettori PDF accettano");
        return drawing;
    }
    if (!playback.Drawn()) {
        drawing.lines.clear();
        drawing.error = Refused("nessun tracciato da disegnare");
        return drawing;
    }
    playback.Close();
    drawing.Add("Q");
    return drawing;
}

} // namespace tavlo
