#include "pdf/core/ResourceEntries.h"

#include <map>
#include <sstream>
#include <utility>
#include <vector>

namespace tavlo {

std::string UniqueEntries(const std::string& entries)
{
    std::istringstream in(entries);
    std::vector<std::pair<std::string, std::string>> found;
    std::map<std::string, std::size_t> latest;
    std::string name, number, generation, r;
    while (in >> name >> number >> generation >> r) {
        latest[name] = found.size();
        found.emplace_back(name, number);
    }
    if (latest.size() == found.size())
        return entries;
    std::string out;
    for (std::size_t i = 0; i < found.size(); ++i)
        if (latest[found[i].first] == i)
            out += found[i].first + " " + found[i].second + " 0 R \r";
    return out;
}

} // namespace tavlo
