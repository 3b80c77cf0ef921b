#pragma once
// Resource lists as the writer collects them: "/name n 0 R " entries one after the other.

#include <string>

namespace tavlo {

// The list with each name once: a name defined again (two fonts, recorded objects or
// patterns of one name) keeps its latest object, as a dictionary holds each key once. A
// list without repeats comes back unchanged.
std::string UniqueEntries(const std::string& entries);

} // namespace tavlo
