#pragma once
// Barcodes read back from a written document: each page rendered by poppler at 300 dpi and
// scanned by zbar (zbarimg), which reports only symbols whose check characters are right.

#include <string>
#include <vector>

namespace tavlo::test {

// Every symbol zbar finds on pages 1..pages, one entry per line of its output, sorted;
// zbarOptions chooses the symbologies and the output form. Empty when a page cannot be
// rendered.
std::vector<std::string> BarcodesReadByZbar(const std::string& pdf, int pages, const std::string& zbarOptions);

} // namespace tavlo::test
