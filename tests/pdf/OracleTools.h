#pragma once
// Kept while the tests move to the helpers in tests/support/pdf.

#include "support/pdf/Tools.h"

#include <random>

namespace tavlo::test {

inline bool ToolAvailable(const std::string& name)
{
    return ::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Text without every piece from `open` up to and including the next `close`.
inline std::string WithoutPieces(std::string text, const std::string& open, const std::string& close)
{
    for (std::size_t at; (at = text.find(open)) != std::string::npos;) {
        const std::size_t end = text.find(close, at + open.size());
        text.erase(at, end == std::string::npos ? std::string::npos : end + close.size() - at);
    }
    return text;
}

} // namespace tavlo::test
