#include "support/pdf/barcodes.h"
#include "support/pdf/tools.h"

#include <algorithm>
#include <sstream>

namespace tavlo::test {

std::vector<std::string> BarcodesReadByZbar(const std::string& pdf, int pages, const std::string& zbarOptions)
{
    ScratchDir dir;
    std::vector<std::string> read;
    for (int page = 1; page <= pages; ++page) {
        const std::string image = dir.File("page" + std::to_string(page));
        const std::string number = std::to_string(page);
        if (RunTool("pdftoppm -r 300 -gray -f " + number + " -l " + number + " -singlefile " + Quote(pdf) + " " +
                    Quote(image))
                .exitCode != 0)
            return {};
        std::istringstream lines(RunTool("zbarimg -q " + zbarOptions + " " + Quote(image + ".pgm") + " 2>/dev/null").output);
        for (std::string line; std::getline(lines, line);)
            read.push_back(line);
    }
    std::sort(read.begin(), read.end());
    return read;
}

} // namespace tavlo::test
