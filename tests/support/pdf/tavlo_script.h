#pragma once
// Scenario scripts: the writer driven from a text file, one call or question a line, each
// with what it must give; the questions go to the readers of the document written last
// (qpdf, pdfinfo, poppler, mupdf). The language is described in tests/pdf/scripts/README.md.

#include <string>

namespace tavlo::test {

// Runs a script of tests/pdf/scripts; every expectation not met fails at its line.
void RunScript(const std::string& name);

} // namespace tavlo::test
