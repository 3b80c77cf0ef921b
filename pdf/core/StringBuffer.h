#pragma once
// Growable buffer in which content streams are built from many small appends.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavlo {

class StringBuffer {
public:
    void Reset() { text_.clear(); }
    void Append(std::string_view value) { text_.append(value); }
    void AppendChar(std::uint8_t code) { text_.push_back(static_cast<char>(code)); }
    // Back to the first size bytes: what was appended since is taken back.
    void Truncate(std::size_t size) { text_.resize(std::min(size, text_.size())); }
    const std::string& Text() const { return text_; }
    std::size_t Size() const { return text_.size(); }

private:
    std::string text_;
};

} // namespace tavlo
