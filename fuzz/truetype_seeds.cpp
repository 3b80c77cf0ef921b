// Small TrueType fonts made by fontTools through the TrueType tests' oracle: a symbol cmap,
// bold italic, missing and odd names (the font of 9001 glyphs is left to the tests).

#include "fuzz/FuzzHarness.h"
#include "support/pdf/tools.h"

namespace quercino::fuzz {

bool GeneraSemi(const std::filesystem::path& cartella)
{
    const tavlo::test::ToolResult forgia = tavlo::test::RunTool(
        "/usr/bin/python3 " QUERCINO_SOURCE_DIR "/tests/pdf/truetype_oracle.py forge " +
        tavlo::test::Quote(cartella.string()));
    std::error_code ignorato;
    std::filesystem::remove(cartella / "grande.ttf", ignorato);
    return forgia.exitCode == 0 && std::filesystem::exists(cartella / "simboli.ttf");
}

} // namespace quercino::fuzz
