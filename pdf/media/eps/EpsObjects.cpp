#include "pdf/media/eps/EpsObjects.h"

#include <cmath>

namespace tavlo {

EpsObjects::EpsObjects(EpsPlayback& playback, std::uint64_t budget) : content_(playback, budget, true)
{
    content_.SetDrawing(true);
}

void EpsObjects::Begin(std::int64_t number)
{
    object_ = number;
    filter_ = contentsKey_ = inArray_ = false;
    integers_.clear();
}

void EpsObjects::Take(const EpsToken& token, EpsTokenizer& tokens)
{
    if (inStream_) {
        if (token.kind == EpsToken::kName && token.text == "endstream")
            inStream_ = false;
        else
            content_.Take(token);
        return;
    }
    const bool integer = token.kind == EpsToken::kNumber && token.value == std::floor(token.value) &&
                         std::fabs(token.value) < 1e15;
    auto header = [&] { return integers_.size() >= 2 ? integers_[integers_.size() - 2] : -1; };
    if (token.kind == EpsToken::kName && token.text == "obj") {
        Begin(header());
    } else if (token.kind == EpsToken::kName && token.text == "R") {
        if (contentsKey_ && integers_.size() >= 2)
            contents_.insert(header());
        contentsKey_ = contentsKey_ && inArray_;
    } else if (token.kind == EpsToken::kLiteralName) {
        contentsKey_ = token.text == "Contents" || (contentsKey_ && inArray_);
        filter_ = filter_ || token.text == "Filter";
    } else if (token.kind == EpsToken::kArrayOpen) {
        inArray_ = contentsKey_;
    } else if (token.kind == EpsToken::kArrayClose) {
        contentsKey_ = inArray_ = false;
    } else if (token.kind == EpsToken::kName && token.text == "stream") {
        if (contents_.count(object_) == 0) {
            tokens.SkipPast("endstream");
        } else if (filter_) {
            throw EpsRefusal{"contenuto della pagina compresso"};
        } else {
            content_.ClearStack();
            inStream_ = true;
        }
    } else if (token.kind == EpsToken::kName && token.text == "endobj") {
        object_ = -1;
    }
    if (integer)
        integers_.push_back(static_cast<std::int64_t>(token.value));
    else
        integers_.clear();
    if (integers_.size() > 2)
        integers_.erase(integers_.begin());
}

} // namespace tavlo
