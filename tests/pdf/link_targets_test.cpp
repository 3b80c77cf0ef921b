// JavaScript string literals of link targets (evaluated by Node.js against Python's
// Windows-1252 codec) and the layer-switch script (run by Node.js over stand-in layers); the
// numbers and page words of a target: scripts/links.txt.

#include "support/pdf/tools.h"
#include "pdf/core/JavaScriptString.h"
#include "pdf/core/LinkTargets.h"

#include <gtest/gtest.h>


using namespace tavlo;
using namespace tavlo::test;

TEST(LinkTargets, JavaScriptStringsMeanTheWindows1252Text)
{
    ScratchDir dir;
    // Every byte but NUL, one literal per byte, evaluated by Node.js: the code point it
    // gives must be what Python's codec makes of the byte.
    std::string program = "const values = [\n";
    for (int byte = 1; byte < 256; ++byte)
        program += JavaScriptString(std::string(1, static_cast<char>(byte))) + ",\n";
    program += "];\nconsole.log(values.map(v => v.codePointAt(0)).join(' '));\n";
    for (unsigned char c : program)
        ASSERT_LT(c, 0x80) << "the literals are plain ASCII";
    WriteFile(dir.File("literals.js"), program);
    const std::string fromNode = RunTool("node " + Quote(dir.File("literals.js"))).output;
    const std::string fromPython =
        RunTool("/usr/bin/python3 -c \"print(' '.join(str(ord(bytes([b]).decode('cp1252', 'ignore') or "
                "chr(b))) for b in range(1, 256)))\"")
            .output;
    ASSERT_FALSE(fromPython.empty());
    EXPECT_EQ(fromNode, fromPython);

    WriteFile(dir.File("quotes.js"), "console.log(" + JavaScriptString("l'a\\b\"c") + ");\n");
    EXPECT_EQ(RunTool("node " + Quote(dir.File("quotes.js"))).output, "l'a\\b\"c\n");
}

TEST(LinkTargets, LayerSwitchScriptRunsOverLayersOfAnyCase)
{
    ScratchDir dir;
    // Names as a viewer gives them (Unicode); the target names them in other cases, with
    // a quote, a backslash and accented letters in Windows-1252.
    const std::string script =
        LayerSwitchScript("ON(note, L'\xE9t\xE9) OFF(prezzi,Spento) TOGGLE(BACK\\SLASH,altro,  Assente)");
    WriteFile(dir.File("script.js"), script);
    const std::string program = R"JS(
const fs = require('fs');
const script = fs.readFileSync(process.argv[2], 'latin1');
const layers = [
  { name: 'Note', state: false }, { name: 'l\'\u00C9t\u00E9', state: false },
  { name: 'PREZZI', state: true }, { name: 'spento', state: false },
  { name: 'back\\slash', state: true }, { name: 'Altro', state: false },
  { name: 'Intatto', state: true }, { name: 'Notes', state: false },
];
new Function(script).call({ getOCGs: () => layers });
console.log(layers.map(l => l.name + '=' + l.state).join('\n'));
new Function(script).call({ getOCGs: () => null });
console.log('senza livelli: ok');
)JS";
    WriteFile(dir.File("run.js"), program);
    const ToolResult result = RunTool("node " + Quote(dir.File("run.js")) + " " + Quote(dir.File("script.js")) + " 2>&1");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output, "Note=true\nl'\xC3\x89t\xC3\xA9=true\nPREZZI=false\nspento=false\nback\\slash=false\n"
                             "Altro=true\nIntatto=true\nNotes=false\nsenza livelli: ok\n");
}
