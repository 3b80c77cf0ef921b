#pragma once
// What the writer keeps of one source PDF file (GetInfo, ImportPage): its pages, its
// document information and the numbers its objects were given in the output.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tavlo {

struct SourcePage {
    // The object that holds the page: the page itself or, for a page written out in /Kids,
    // the node whose /Kids leads to it through the places of KidPath.
    std::int32_t ObjectNumber = 0, Generation = 0;
    std::vector<std::uint32_t> KidPath;
    // Set when the page is imported, its form then reused: the size as shown in points, the
    // visible box in the page's own space and the clockwise rotation.
    bool Imported = false;
    float Width = 0, Height = 0;
    double Box[4] = {0, 0, 0, 0};
    std::int32_t Rotate = 0;
};

struct SourceEntry {
    std::int32_t VersionNeed = 0;  // how far the source's minor version exceeds 1.3
    std::string Path;              // upper-cased: the key a file is found again by
    std::string OpenPath;          // as first given, for reading it again
    std::int32_t PageCount = 0;
    std::vector<SourcePage> Pages;  // page n at index n - 1
    // Output number of each source object copied, by its number and generation.
    std::map<std::pair<std::int32_t, std::int32_t>, std::int32_t> NewNumbers;
    std::string Title, Author, Creator, Producer, Subject;
    std::int16_t IsEncrypted = 0;
};

} // namespace tavlo
