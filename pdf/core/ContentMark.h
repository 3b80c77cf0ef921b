#pragma once
// Where the content being recorded stood when a member began: a member that writes several
// lines and ends by an error takes them all back, so that no half-drawn box or symbol, and
// no "q" without its "Q", stays behind.

#include "pdf/core/StringBuffer.h"

#include <cstddef>

namespace tavlo {

class ContentMark {
public:
    explicit ContentMark(StringBuffer* content) : content_(content), size_(content ? content->Size() : 0) {}
    ContentMark(const ContentMark&) = delete;
    ContentMark& operator=(const ContentMark&) = delete;
    ~ContentMark()
    {
        if (content_ && !kept_)
            content_->Truncate(size_);
    }
    // The member ended as it should: what it wrote stays.
    void Keep() { kept_ = true; }

private:
    StringBuffer* content_;
    std::size_t size_;
    bool kept_ = false;
};

} // namespace tavlo
