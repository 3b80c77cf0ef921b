#pragma once
// Workbooks for the seed inputs, made by the tests' generators: one written by
// libxlsxwriter as the import tests write theirs, and hand-built ones with the cell kinds
// the sheet tests use (shared and inline strings, phonetic runs, escapes, dates of both
// systems, formulas).

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace quercino::fuzz {

// (name, bytes of the .xlsx file); `lavoro` is a folder for the library's own output.
std::vector<std::pair<std::string, std::string>> CartelleDiProva(const std::filesystem::path& lavoro);

} // namespace quercino::fuzz
