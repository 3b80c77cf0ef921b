#pragma once
// A page's drawing as operators: the decoded content stream (from qpdf, see qpdf_json.h)
// cut into operands and operators the way a reader reads it, so tests count and find
// operators (q/Q balance, text objects, painting) instead of searching for byte fragments.

#include <string>
#include <vector>

namespace tavlo::test {

struct Operation {
    std::string op;                     // "re", "Tf", "BI" (its image data skipped)...
    // Each token as written ("12", "/F1", "(text)"), arrays with single spaces ("[1 2]").
    std::vector<std::string> operands;
    // Operands and operator joined by single spaces: "10 20 30 40 re".
    std::string Line() const;
};

std::vector<Operation> Operations(const std::string& content);

// How many times op appears.
int CountOf(const std::vector<Operation>& operations, const std::string& op);
// Every q has its Q, and no Q comes before its q.
bool SavesBalanced(const std::vector<Operation>& operations);
// The lines (Operation::Line) of the operations named in ops, in order; all of them when ops is empty.
std::vector<std::string> LinesOf(const std::vector<Operation>& operations, const std::vector<std::string>& ops = {});

} // namespace tavlo::test
