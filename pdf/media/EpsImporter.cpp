#include "pdf/core/PdfFormat.h"
#include "pdf/media/VectorPictures.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace tavlo {

namespace {

using Tokens = std::vector<std::string_view>;

// White space between tokens: PostScript's, less the line ends the lines were split at.
constexpr std::string_view kBlanks(" \t\f\0", 4);

Tokens Tokenise(std::string_view line)
{
    Tokens tokens;
    std::size_t at = 0;
    while (at < line.size()) {
        const char c = line[at];
        if (kBlanks.find(c) != std::string_view::npos) {
            ++at;
        } else if (c == '[' || c == ']') {
            tokens.push_back(line.substr(at++, 1));
        } else {
            const std::size_t end = std::min(line.find_first_of(kBlanks, at), line.find_first_of("[]", at));
            tokens.push_back(line.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
            at = end == std::string_view::npos ? line.size() : end;
        }
    }
    return tokens;
}

// A PostScript number in decimal form (sign, digits, point, exponent); nothing else.
bool Number(std::string_view token, double& value)
{
    std::size_t at = 0;
    if (at < token.size() && (token[at] == '+' || token[at] == '-'))
        ++at;
    const std::size_t mantissa = at;
    bool digits = false;
    while (at < token.size() && ((token[at] >= '0' && token[at] <= '9') || token[at] == '.')) {
        digits = digits || token[at] != '.';
        ++at;
    }
    if (!digits || std::count(token.begin() + static_cast<std::ptrdiff_t>(mantissa),
                              token.begin() + static_cast<std::ptrdiff_t>(at), '.') > 1)
        return false;
    if (at < token.size() && (token[at] == 'e' || token[at] == 'E')) {
        ++at;
        if (at < token.size() && (token[at] == '+' || token[at] == '-'))
            ++at;
        const std::size_t exponent = at;
        while (at < token.size() && token[at] >= '0' && token[at] <= '9')
            ++at;
        if (at == exponent)
            return false;
    }
    if (at != token.size())
        return false;
    const char* first = token.data() + (token[0] == '+' ? 1 : 0);
    const auto result = std::from_chars(first, token.data() + token.size(), value);
    return result.ec == std::errc() && result.ptr == token.data() + token.size();
}

// The operators translated, the numbers each takes and what it becomes in the content.
struct Operator {
    std::string_view name;
    int operands;
    std::string_view written;
    enum Kind { kPath, kStroke, kCorner, kFill, kColour } kind;
};

constexpr Operator kOperators[] = {
    {"m", 2, "m", Operator::kPath},        {"l", 2, "l", Operator::kPath},     {"c", 6, "c", Operator::kPath},
    {"v", 4, "v", Operator::kPath},        {"y", 4, "y", Operator::kPath},     {"k", 4, "k", Operator::kPath},
    {"K", 4, "K", Operator::kPath},        {"g", 1, "g", Operator::kPath},     {"G", 1, "G", Operator::kPath},
    {"J", 1, "J", Operator::kPath},        {"j", 1, "j", Operator::kPath},     {"w", 1, "w", Operator::kPath},
    {"M", 1, "M", Operator::kPath},        {"d", -1, "d", Operator::kPath},    {"n", 0, "n", Operator::kPath},
    {"s", 0, "s", Operator::kStroke},      {"S", 0, "S", Operator::kStroke},   {"Y", 4, "y", Operator::kCorner},
    {"N", 0, "n", Operator::kCorner},      {"L", 2, "l", Operator::kCorner},   {"C", 6, "c", Operator::kCorner},
    {"V", 4, "v", Operator::kCorner},      {"f", 0, "f*", Operator::kFill},    {"F", 0, "f*", Operator::kFill},
    {"b", 0, "b*", Operator::kFill},       {"B", 0, "B*", Operator::kFill},    {"Xa", 3, "rg", Operator::kColour},
    {"XR", 1, "G", Operator::kColour},
};

// The operands of a line in the writer's number form, or false when they are not the
// numbers the operator takes: a dash needs an array of non-negative lengths, not all zero,
// and a phase.
bool Operands(const Tokens& tokens, const Operator& op, std::string& out)
{
    const std::size_t count = tokens.size() - 1;
    double value = 0;
    if (op.operands >= 0) {
        if (count != static_cast<std::size_t>(op.operands))
            return false;
        for (std::size_t i = 0; i < count; ++i) {
            if (!Number(tokens[i], value))
                return false;
            out += PdfNumber(value) + " ";
        }
        return true;
    }
    if (count < 3 || tokens[0] != "[" || tokens[count - 2] != "]")
        return false;
    out = "[";
    bool length = false;
    for (std::size_t i = 1; i + 2 < count; ++i) {
        if (!Number(tokens[i], value) || value < 0)
            return false;
        length = length || value > 0;
        out += (i > 1 ? " " : "") + PdfNumber(value);
    }
    if (count > 3 && !length)
        return false;
    if (!Number(tokens[count - 1], value))
        return false;
    out += "] " + PdfNumber(value) + " ";
    return true;
}

bool StartsWith(std::string_view text, std::string_view head)
{
    return text.substr(0, head.size()) == head;
}

std::string_view Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
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

std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        if (end > at)
            lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

constexpr std::string_view kBoxComment = "%%BoundingBox:";

} // namespace

VectorDrawing ImportEpsData(const Bytes& file, const VectorPlacement& place)
{
    VectorDrawing drawing;
    std::vector<std::string_view> lines;
    try {
        lines = Lines(PostScript(file));
    } catch (const TavloError& error) {
        drawing.error = error;
        return drawing;
    }

    // The first box of four numbers wherever it stands: one placement, also when the
    // header defers the box to the trailer or a file holds several.
    bool boxLine = false, found = false;
    double box[4] = {};
    for (const std::string_view line : lines) {
        if (!StartsWith(line, kBoxComment))
            continue;
        boxLine = true;
        const Tokens fields = Tokenise(line.substr(kBoxComment.size()));
        found = fields.size() >= 4;
        for (std::size_t i = 0; i < 4 && found; ++i)
            found = Number(fields[i], box[i]);
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

    bool translating = false, painted = false, pathOpen = false;
    for (const std::string_view line : lines) {
        if (line[0] == '%') {
            if (StartsWith(line, kBoxComment) || StartsWith(line, "%%EndSetup") || StartsWith(line, "%%EndProlog"))
                translating = true;
            else if (StartsWith(line, "%%PageTrailer"))
                break;
            continue;
        }
        if (StartsWith(line, "showpage"))
            break;
        const std::string_view text = Trim(line);
        if (!translating || text.empty() || text[0] == '/' || text[0] == '(')
            continue;
        const Tokens tokens = Tokenise(text);
        const auto op = std::find_if(std::begin(kOperators), std::end(kOperators),
                                     [&](const Operator& o) { return o.name == tokens.back(); });
        if (op == std::end(kOperators))
            continue;
        std::string operands;
        try {
            if (!Operands(tokens, *op, operands))
                continue;
        } catch (const TavloError& error) {  // a number past single precision
            drawing.error = error;
            continue;
        }
        bool write = true;
        switch (op->kind) {
        case Operator::kPath:
            painted = false;
            pathOpen = true;
            break;
        case Operator::kStroke:
            write = !painted;
            break;
        case Operator::kCorner:
            pathOpen = true;
            break;
        case Operator::kFill:
            write = !painted && pathOpen;
            painted = true;
            pathOpen = false;
            break;
        case Operator::kColour:
            break;
        }
        if (write)
            drawing.Add(operands + std::string(op->written));
    }
    drawing.Add("Q");
    return drawing;
}

} // namespace tavlo
