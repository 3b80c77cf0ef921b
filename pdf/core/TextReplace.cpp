#include "pdf/core/TextReplace.h"

namespace tavlo {

std::string ReplaceText(std::string_view text, std::string_view find, std::string_view replacement,
                        std::int32_t position, std::int32_t count)
{
    if (find.empty() || count <= 0)
        return std::string(text);
    std::size_t from = position > 1 ? static_cast<std::size_t>(position - 1) : 0;
    if (from >= text.size())
        return std::string(text);

    std::string result;
    result.reserve(text.size());
    result.append(text.substr(0, from));
    std::int32_t done = 0;
    while (done < count) {
        const std::size_t hit = text.find(find, from);
        if (hit == std::string_view::npos)
            break;
        result.append(text.substr(from, hit - from));
        result.append(replacement);
        from = hit + find.size();
        ++done;
    }
    result.append(text.substr(from));
    return result;
}

std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter)
{
    std::vector<std::string> parts;
    if (text.empty() || delimiter.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    std::size_t from = 0;
    for (;;) {
        const std::size_t hit = text.find(delimiter, from);
        if (hit == std::string_view::npos)
            break;
        parts.emplace_back(text.substr(from, hit - from));
        from = hit + delimiter.size();
    }
    parts.emplace_back(text.substr(from));
    return parts;
}

} // namespace tavlo
