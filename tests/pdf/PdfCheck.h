#pragma once
// Kept while the tests move to the helpers in tests/support/pdf.

#include "pdf/OracleTools.h"
#include "support/pdf/WrittenDocument.h"

namespace tavlo::test {

// The decoded data of one object's stream, through qpdf.
inline std::string StreamOf(const std::string& path, int object, const std::string& password = "")
{
    return RunTool("qpdf" + QpdfPassword(password) + " --show-object=" + std::to_string(object) +
                   " --filtered-stream-data " + Quote(path))
        .output;
}

inline std::string ObjectOf(const std::string& path, const std::string& object, const std::string& password = "")
{
    return RunTool("qpdf" + QpdfPassword(password) + " --show-object=" + object + " " + Quote(path)).output;
}

inline bool ReadersAvailable()
{
    return true;
}

} // namespace tavlo::test
