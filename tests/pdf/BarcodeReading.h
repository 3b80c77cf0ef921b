#pragma once
// Barcodes read back from a finished file: each page rendered by poppler at 300 dpi and
// scanned by zbar, which only reports symbols whose check characters are right.

#include "pdf/OracleTools.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace tavlo::test {

// Every symbol zbar finds on pages 1..pages, one entry per line of its output, sorted;
// `zbarOptions` chooses the symbologies and the output form. Empty when a page cannot be
// rendered.
inline std::vector<std::string> BarcodesReadByZbar(const std::string& pdf, int pages, const std::string& imageStem,
                                                   const std::string& zbarOptions)
{
    std::vector<std::string> read;
    for (int page = 1; page <= pages; ++page) {
        const std::string image = imageStem + std::to_string(page);
        const std::string number = std::to_string(page);
        if (RunTool("pdftoppm -r 300 -gray -f " + number + " -l " + number + " -singlefile " + Quote(pdf) + " " +
                    Quote(image))
                .exitCode != 0)
            return {};
        std::istringstream lines(RunTool("zbarimg -q " + zbarOptions + " " + Quote(image + ".pgm")).output);
        for (std::string line; std::getline(lines, line);)
            read.push_back(line);
    }
    std::sort(read.begin(), read.end());
    return read;
}

} // namespace tavlo::test
