#include "pdf/media/EpsPlayback.h"

namespace tavlo {

namespace {

void Append(std::string& line, std::string_view text)
{
    if (!line.empty())
        line += ' ';
    line += text;
}

} // namespace

void EpsPlayback::Play(const EpsCall& call, std::string& line)
{
    const EpsOperator& op = *call.op;
    int& space = op.stroking ? spaces_.stroke : spaces_.fill;
    bool write = true;
    switch (op.kind) {
    case EpsOperator::kPath:
        // A colour given by its components needs the space they belong to.
        write = op.operands != EpsOperator::kComponents || call.components == space;
        painted_ = false;
        pathOpen_ = true;
        break;
    case EpsOperator::kStroke:
        write = !painted_;
        break;
    case EpsOperator::kCorner:
        pathOpen_ = true;
        break;
    case EpsOperator::kFill:
        write = !painted_ && pathOpen_;
        painted_ = true;
        pathOpen_ = false;
        break;
    case EpsOperator::kColour:
    case EpsOperator::kMatrixChange:
    case EpsOperator::kClip:
        break;
    case EpsOperator::kSave:
        saved_.push_back(spaces_);
        break;
    case EpsOperator::kRestore:
        write = !saved_.empty();  // never the placement's own state
        if (write) {
            spaces_ = saved_.back();
            saved_.pop_back();
        }
        break;
    }
    if (write && (op.sets != 0 || op.operands == EpsOperator::kSpace))
        space = op.sets != 0 ? op.sets : call.components;
    // A clipping path ends with the painting that follows it, or with "n".
    const bool paints = op.kind == EpsOperator::kStroke || op.kind == EpsOperator::kFill;
    if (clipOpen_ && !(write && (paints || op.written == "n")))
        Append(line, "n");
    if (write)
        Append(line, call.text);
    clipOpen_ = write && op.kind == EpsOperator::kClip;
    drawn_ = drawn_ || (write && paints);
}

std::vector<std::string> EpsPlayback::Close() const
{
    std::vector<std::string> lines;
    if (clipOpen_)
        lines.emplace_back("n");
    lines.insert(lines.end(), saved_.size(), "Q");
    return lines;
}

} // namespace tavlo
