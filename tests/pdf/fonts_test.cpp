// The built-in fonts' width tables recomputed from the URW AFM files (font selection:
// scripts/fonts.txt).

#include "support/pdf/tools.h"

#include <gtest/gtest.h>

using namespace tavlo::test;

TEST(BuiltinWidths, TablesRecomputedFromTheAfmFiles)
{
    ScratchDir dir;
    const std::string out = dir.File("widths.cpp");
    const ToolResult run = RunTool("/usr/bin/python3 " QUERCINO_SOURCE_DIR "/tools/pdf/afm_widths.py "
                                   "/usr/share/fonts/type1/urw-base35 " + out + " 2>&1");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(ReadFile(out) == ReadFile(QUERCINO_SOURCE_DIR "/pdf/draw/BuiltinFontWidths.cpp"));
}
