// Every scenario script of tests/pdf/scripts (the language: README.md there) as a case of
// its own.

#include "support/pdf/tavlo_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

std::vector<std::string> Scripts()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(QUERCINO_SOURCE_DIR "/tests/pdf/scripts"))
        if (entry.path().extension() == ".txt")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class Script : public ::testing::TestWithParam<std::string> {};

TEST_P(Script, GivesWhatItExpects)
{
    tavlo::test::RunScript(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Pdf, Script, ::testing::ValuesIn(Scripts()),
                         [](const auto& info) { return info.param.substr(0, info.param.find('.')); });

} // namespace
