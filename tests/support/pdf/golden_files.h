#pragma once
// Long expected outputs kept in files beside the tests (tests/pdf/golden): one comparison,
// and QUERCINO_UPDATE_GOLDEN=1 in the environment rewrites the files after a deliberate change,
// for a new review by hand.

#include <string>

namespace tavlo::test {

// The file's path under tests/pdf/golden.
std::string GoldenPath(const std::string& name);
// actual equals the golden file byte for byte.
void ExpectGolden(const std::string& name, const std::string& actual);

} // namespace tavlo::test
