#include "support/pdf/golden_files.h"
#include "support/pdf/tools.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tavlo::test {

std::string GoldenPath(const std::string& name)
{
    return std::string(QUERCINO_SOURCE_DIR "/tests/pdf/golden/") + name;
}

void ExpectGolden(const std::string& name, const std::string& actual)
{
    const std::string path = GoldenPath(name);
    if (std::getenv("QUERCINO_UPDATE_GOLDEN"))
        WriteFile(path, actual);
    const std::string expected = ReadFile(path);
    EXPECT_FALSE(expected.empty()) << "no golden file " << path;
    EXPECT_TRUE(actual == expected) << "differs from " << path << ":\n" << actual.substr(0, 4000);
}

} // namespace tavlo::test
